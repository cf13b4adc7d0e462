#pragma once
// Owning wrappers of Win32 handles and the German message of a failed system call.
#include <windows.h>

#include <string>
#include <utility>

namespace velmora::app::win32 {

// A handle closed by Close when the wrapper goes away.
template <typename Handle, auto Close> class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~OwnedHandle() {
        if (handle_)
            Close(handle_);
    }
    Handle get() const { return handle_; }
    // For functions that hand back a new handle through a pointer.
    Handle* receive() { return &handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    Handle handle_ = nullptr;
};

using RegistryKey = OwnedHandle<HKEY, &RegCloseKey>;    // an open registry key
using KernelHandle = OwnedHandle<HANDLE, &CloseHandle>; // a kernel object such as a mutex

// "<what>: <the system's description of code>".
std::wstring describeSystemError(const std::wstring& what, DWORD code);

} // namespace velmora::app::win32
