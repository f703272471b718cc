// The one owner whose release depends on how the taking went: OLE, which must be
// uninitialised after a successful initialisation only.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "win/handles.h"

namespace {

HRESULT initialize_result;
int uninitialize_calls;

HRESULT WINAPI counted_initialize(LPVOID) { return initialize_result; }
void WINAPI counted_uninitialize() { ++uninitialize_calls; }

struct Initialisation {
    const char* name;
    HRESULT result;
    bool initialized;
};

const Initialisation initialisations[] = {
    {"S_OK", S_OK, true},
    {"S_FALSE: already initialised, and counted all the same", S_FALSE, true},
    {"RPC_E_CHANGED_MODE: the thread is in another apartment", RPC_E_CHANGED_MODE, false},
    {"E_OUTOFMEMORY", E_OUTOFMEMORY, false},
};

TEST(OleSession, UninitialisesOnlyAfterASuccessfulInitialisation) {
    for (const Initialisation& c : initialisations) {
        SCOPED_TRACE(c.name);
        initialize_result = c.result;
        uninitialize_calls = 0;
        {
            BasicOleSession<&counted_initialize, &counted_uninitialize> ole;
            EXPECT_EQ(ole.initialized(), c.initialized);
            EXPECT_EQ(uninitialize_calls, 0);
        }
        EXPECT_EQ(uninitialize_calls, c.initialized ? 1 : 0);
    }
}

// The real calls on a thread already in the multithreaded apartment, where
// OleInitialize fails: the apartment that belongs to someone else stays.
TEST(OleSession, LeavesAnApartmentItCouldNotJoin) {
    std::thread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            OleSession ole;
            EXPECT_FALSE(ole.initialized());
        }
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "the apartment was left";
        CoUninitialize();
        CoUninitialize();
    }).join();
}

}  // namespace
