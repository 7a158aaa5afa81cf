#include "platform/appfolder.h"

QString appFolderOf(const QString& reportedFolder, QChar separator)
{
    QString folder = reportedFolder;
    if (!folder.endsWith(separator))
        folder += separator;
    return folder;
}
