// Owners for the Windows handles and paired calls the program and its skin engine
// use, so that every path out of a function gives back what it took without
// cleanup labels. The lowest layer: it knows nothing of the program.
#pragma once

#include <windows.h>
#include <ole2.h>

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
// CreateFileA and FindFirstFileA report failure as INVALID_HANDLE_VALUE instead.
template <auto release_handle>
struct InvalidWhenAbsent {
    using Handle = HANDLE;
    static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { release_handle(h); }
};

using UniqueFile = UniqueHandle<InvalidWhenAbsent<&CloseHandle>>;
using UniqueFileSearch = UniqueHandle<InvalidWhenAbsent<&FindClose>>;
using UniqueGlobal = UniqueHandle<NullWhenAbsent<HGLOBAL, &GlobalFree>>;
using UniqueModule = UniqueHandle<NullWhenAbsent<HMODULE, &FreeLibrary>>;
using UniqueHook = UniqueHandle<NullWhenAbsent<HHOOK, &UnhookWindowsHookEx>>;
// Icons from LoadImageA without LR_SHARED.
using UniqueIcon = UniqueHandle<NullWhenAbsent<HICON, &DestroyIcon>>;
// GDI objects the caller created; never one still selected into a DC.
using UniqueFont = UniqueHandle<NullWhenAbsent<HFONT, &DeleteObject>>;
using UniqueBrush = UniqueHandle<NullWhenAbsent<HBRUSH, &DeleteObject>>;
using UniquePen = UniqueHandle<NullWhenAbsent<HPEN, &DeleteObject>>;
using UniqueRegion = UniqueHandle<NullWhenAbsent<HRGN, &DeleteObject>>;
using UniqueBitmap = UniqueHandle<NullWhenAbsent<HBITMAP, &DeleteObject>>;
// From CreateCompatibleDC; a window's DC goes back through WindowDC instead.
using UniqueMemoryDC = UniqueHandle<NullWhenAbsent<HDC, &DeleteDC>>;

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

// A window's DC from GetDC (its client area) or GetWindowDC (the whole window,
// frame included), given back with ReleaseDC. Null window: the screen.
class WindowDC {
public:
    static WindowDC client_area(HWND window) noexcept { return WindowDC(window, ::GetDC(window)); }
    static WindowDC whole_window(HWND window) noexcept { return WindowDC(window, ::GetWindowDC(window)); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    WindowDC(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    HWND window_;
    HDC dc_;
};

// The DC that BeginPaint hands out for WM_PAINT, ended with EndPaint.
class PaintingDC {
public:
    explicit PaintingDC(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintingDC(const PaintingDC&) = delete;
    PaintingDC& operator=(const PaintingDC&) = delete;
    ~PaintingDC() { ::EndPaint(window_, &paint_); }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// One object (font, pen, brush or bitmap; not a region, whose SelectObject gives
// no handle back) selected into a DC while this lives; then the one it replaced.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), replaced_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (replaced_ && replaced_ != HGDI_ERROR) ::SelectObject(dc_, replaced_);
    }

private:
    HDC dc_;
    HGDIOBJ replaced_;
};

// Everything selected into a DC or set on it while this lives (objects, colours,
// modes, clipping) is put back as it was when this ends.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) noexcept : dc_(dc), saved_(::SaveDC(dc)) {}
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;
    ~SavedDCState() {
        if (saved_) ::RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_;
};

// The clipboard, opened for the calling thread while this lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner = nullptr) noexcept : opened_(::OpenClipboard(owner) != 0) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (opened_) ::CloseClipboard();
    }
    bool opened() const noexcept { return opened_; }

private:
    bool opened_;
};

// OLE on the calling thread while this lives. OleUninitialize runs only after an
// OleInitialize that succeeded (S_FALSE too: it counts as well): after a failed
// one it would undo an initialisation that belongs to someone else. The two calls
// are parameters so that a test can count them.
template <auto initialize = &::OleInitialize, auto uninitialize = &::OleUninitialize>
class BasicOleSession {
public:
    BasicOleSession() noexcept : initialized_(SUCCEEDED(initialize(nullptr))) {}
    BasicOleSession(const BasicOleSession&) = delete;
    BasicOleSession& operator=(const BasicOleSession&) = delete;
    ~BasicOleSession() {
        if (initialized_) uninitialize();
    }
    bool initialized() const noexcept { return initialized_; }

private:
    bool initialized_;
};
using OleSession = BasicOleSession<>;
