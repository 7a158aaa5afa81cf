#include "platform/filesync.h"

#include "platform/win32.h"

#include <QFile>

namespace {

bool succeeded(int error, QString& reason)
{
    if (error != 0)
        reason = qt_error_string(error);
    return error == 0;
}

} // namespace

bool syncFile(QFileDevice& file, QString& reason)
{
    return succeeded(Win32::flushFile(file.handle()), reason);
}

bool syncFolder(const QString& folder, QString& reason)
{
    return succeeded(Win32::flushFolder(QFile::encodeName(folder).toStdString()), reason);
}
