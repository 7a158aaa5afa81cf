#include "about/sysinfo.h"

bool GetKeyValue(Registry&, Registry::Handle, const QByteArray&, const QByteArray&,
                 QString& KeyVal)
{
    KeyVal.clear();
    return false;
}

void StartSysInfo(Platform& platform, QWidget* parent)
{
    platform.boxes.show(parent, QStringLiteral("System information are temporarily unavailable."),
                        QString(), MessageBoxes::NoIcon, MessageBoxes::Ok);
}
