#include "platform/appfolder.h"

QString AppFolderOf(const QString& reportedFolder, QChar separator)
{
    QString folder = reportedFolder;
    if (!folder.endsWith(separator))
        folder += separator;
    return folder;
}
