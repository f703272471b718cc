// Owners for the Windows handles the program opens, so that every path out of a
// function releases what it took without cleanup labels.
#pragma once

#include <windows.h>

#include <utility>

// One owner per handle kind: Traits names the empty value and the release call.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

    // Gives the handle up, e.g. to the clipboard that now owns it.
    Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::empty();
};

// Most handle kinds are absent when null and have one release call.
template <class H, auto release_handle>
struct NullWhenAbsent {
    using Handle = H;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { release_handle(h); }
};
struct FileHandleTraits {  // CreateFileA reports failure as INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { CloseHandle(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueGlobal = UniqueHandle<NullWhenAbsent<HGLOBAL, &GlobalFree>>;
using UniqueModule = UniqueHandle<NullWhenAbsent<HMODULE, &FreeLibrary>>;
using UniqueFont = UniqueHandle<NullWhenAbsent<HFONT, &DeleteObject>>;
// Icons from LoadImageA without LR_SHARED.
using UniqueIcon = UniqueHandle<NullWhenAbsent<HICON, &DestroyIcon>>;

// The bytes of a moveable global block for as long as this lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block) noexcept : block_(block), bytes_(::GlobalLock(block)) {}
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    ~LockedGlobal() {
        if (bytes_) ::GlobalUnlock(block_);
    }
    // Null when the block could not be locked.
    void* bytes() const noexcept { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};
