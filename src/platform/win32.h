#pragma once

// The only calls into Win32. Plain C++ without Qt, so that the file compiles
// with a Windows cross compiler against the real windows.h. On other systems
// these are stand-ins with the same meaning: no registry key exists, the clock
// comes from the system's boot-time clock, and files are synced with the POSIX
// calls.

#include <cstdint>
#include <string>

namespace Win32 {

// RegOpenKeyExA; returns the Win32 error code, 0 on success.
long registryOpenKey(std::uintptr_t root, const std::string& subKey, std::uint32_t options,
                     std::uint32_t access, std::uintptr_t& result);
// RegQueryValueExA into data, whose size on the way in is the buffer size.
long registryQueryValue(std::uintptr_t key, const std::string& name, std::uint32_t& type,
                        std::string& data, std::uint32_t& size);
// RegCloseKey.
long registryCloseKey(std::uintptr_t key);
// ShellExecuteA with the default verb and a normal window; true when it succeeded.
bool shellOpen(const std::string& address);
// Seconds since the system started, counting time spent asleep.
double bootClockSeconds();
// FlushFileBuffers on the file behind a C runtime descriptor (fdatasync
// elsewhere): what was written to it is on the disk. Returns 0 or the system's
// error code.
int flushFile(int descriptor);
// The names in a folder (a file just created, one renamed over another) on the
// disk: fsync of the folder. Windows has no such call, and NTFS journals its
// names itself, so there it does nothing. Returns 0 or the system's error code.
int flushFolder(const std::string& path);

// Whether a window message (a MSG, as Qt hands it to a native event filter) says
// that the session ends now, after every program agreed to it: WM_ENDSESSION.
// Never elsewhere.
bool endsSession(const void* message);

} // namespace Win32
