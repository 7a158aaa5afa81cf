#pragma once

#include "platform/platform.h"

#include <QString>

class QWidget;

// The buffer a registry value is read into; longer values count as not found.
inline constexpr qsizetype KeyValueBufferSize = 1024;

// Reads one registry value as the About window needs it: REG_SZ as text,
// REG_DWORD as "&h" and its hex digits, most significant first; a value of
// any other type counts as read but leaves the value as it was. True when the
// value was read. Key path, value name and text data go to and come from the
// registry in the system's 8-bit code page. A value with no data is a runtime
// error (std::runtime_error) that the caller has to deal with.
bool getKeyValue(Registry& registry, Registry::Handle keyRoot, const QString& keyName,
                 const QString& subKeyRef, QString& keyVal);

// Whether path names an existing plain file, as a directory search for that
// one name finds it. Backslashes count as folder separators on every system.
bool sysInfoFileExists(const QString& path);

// Finds the system-information tool through the registry and starts it, or
// tells the user that it is not available. Nothing is thrown out of it.
void startSysInfo(Platform& platform, QWidget* parent);
