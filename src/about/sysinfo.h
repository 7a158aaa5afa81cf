#pragma once

#include "app/platform.h"

#include <QByteArray>
#include <QString>

class QWidget;

// Reads one registry value as the About window needs it: REG_SZ as text,
// REG_DWORD as "&h" and its hex digits, most significant first. True when the
// value was read. A value with no data is a runtime error (std::runtime_error).
bool GetKeyValue(Registry& registry, Registry::Handle KeyRoot, const QByteArray& KeyName,
                 const QByteArray& SubKeyRef, QString& KeyVal);

// Finds the system-information tool through the registry and starts it, or
// tells the user that it is not available.
void StartSysInfo(Platform& platform, QWidget* parent);
