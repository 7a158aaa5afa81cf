#pragma once

// The only calls into Win32. Plain C++ without Qt, so that the file compiles
// with a Windows cross compiler against the real windows.h. On other systems
// these are stand-ins with the same meaning: no registry key exists, and the
// clock comes from the system's boot-time clock.

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

} // namespace Win32
