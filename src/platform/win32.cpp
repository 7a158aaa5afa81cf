#include "platform/win32.h"

#ifdef _WIN32
#include <windows.h>

// shellapi.h needs what windows.h defines.
#include <shellapi.h>

#include <io.h>
#else
#include <cerrno>

#include <fcntl.h>
// clock_gettime and CLOCK_BOOTTIME are POSIX, declared by <time.h> and not by <ctime>.
#include <time.h> // NOLINT(modernize-deprecated-headers)
#include <unistd.h>
#endif

namespace Win32 {

#ifdef _WIN32

long registryOpenKey(std::uintptr_t root, const std::string& subKey, std::uint32_t options,
                     std::uint32_t access, std::uintptr_t& result)
{
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(reinterpret_cast<HKEY>(root), subKey.c_str(), options,
                                      static_cast<REGSAM>(access), &key);
    result = reinterpret_cast<std::uintptr_t>(key);
    return status;
}

long registryQueryValue(std::uintptr_t key, const std::string& name, std::uint32_t& type,
                        std::string& data, std::uint32_t& size)
{
    DWORD valueType = 0;
    DWORD dataSize = size;
    const LONG status =
        RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &valueType,
                         reinterpret_cast<BYTE*>(data.data()), &dataSize);
    type = valueType;
    size = dataSize;
    return status;
}

long registryCloseKey(std::uintptr_t key)
{
    return RegCloseKey(reinterpret_cast<HKEY>(key));
}

bool shellOpen(const std::string& address)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

double bootClockSeconds()
{
    // GetTickCount64 keeps counting while the computer sleeps.
    return static_cast<double>(GetTickCount64()) / 1000.0;
}

int flushFile(int descriptor)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE)
        return ERROR_INVALID_HANDLE;
    return FlushFileBuffers(handle) ? 0 : static_cast<int>(GetLastError());
}

int flushFolder(const std::string& /*path*/)
{
    return 0;
}

bool endsSession(const void* message)
{
    const auto* msg = static_cast<const MSG*>(message);
    return msg->message == WM_ENDSESSION && msg->wParam != 0;
}

#else

long registryOpenKey(std::uintptr_t /*root*/, const std::string& /*subKey*/,
                     std::uint32_t /*options*/, std::uint32_t /*access*/, std::uintptr_t& result)
{
    result = 0;
    return 2; // ERROR_FILE_NOT_FOUND: this system has no registry.
}

long registryQueryValue(std::uintptr_t /*key*/, const std::string& /*name*/, std::uint32_t& type,
                        std::string& /*data*/, std::uint32_t& size)
{
    type = 0;
    size = 0;
    return 6; // ERROR_INVALID_HANDLE: no key can have been opened.
}

long registryCloseKey(std::uintptr_t /*key*/)
{
    return 6;
}

bool shellOpen(const std::string& /*address*/)
{
    return false;
}

double bootClockSeconds()
{
    // CLOCK_BOOTTIME keeps counting while the computer sleeps, unlike
    // CLOCK_MONOTONIC, and ignores changes of the wall clock.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int flushFile(int descriptor)
{
    // The data and the size that finds it; other metadata (times) may lag.
    return fdatasync(descriptor) == 0 ? 0 : errno;
}

int flushFolder(const std::string& path)
{
    const int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder the user may write but not read cannot be opened to be synced,
    // and some file systems cannot sync a folder at all: the program can do no
    // more there, and a save must not fail for it.
    if (folder < 0)
        return errno == EACCES ? 0 : errno;
    const int status = fsync(folder) == 0 || errno == EINVAL ? 0 : errno;
    close(folder);
    return status;
}

bool endsSession(const void* /*message*/)
{
    return false;
}

#endif

} // namespace Win32
