// Owns one WinInet handle, so that no path out of a download can leave a
// connection or request open.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

class InternetHandle {
public:
    InternetHandle() noexcept = default;
    explicit InternetHandle(HINTERNET handle) noexcept : handle_(handle) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    InternetHandle(InternetHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~InternetHandle() {
        if (handle_) InternetCloseHandle(handle_);
    }

    HINTERNET get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

private:
    HINTERNET handle_ = nullptr;
};
