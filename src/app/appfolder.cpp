#include "app/appfolder.h"

QString AppFolder(const QString& reportedFolder, QChar separator)
{
    QString folder = reportedFolder;
    if (!folder.endsWith(separator))
        folder += separator;
    return folder;
}
