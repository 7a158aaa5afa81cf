#include "widgets/pictures.h"

#include <QFileInfo>

static void InitPictures()
{
    // The pictures live in a static library, whose resource initialiser the
    // linker would otherwise drop.
    Q_INIT_RESOURCE(pictures);
}

QPixmap BuiltInPicture(const QString& fileName)
{
    static const bool loaded = (InitPictures(), true);
    Q_UNUSED(loaded);
    return {QStringLiteral(":/") + fileName};
}

QPixmap LoadButtonPicture(const QString& appFolder, const QString& fileName)
{
    QPixmap picture;
    if (QFileInfo(appFolder + fileName).isFile())
        picture.load(appFolder + fileName, "GIF");
    if (picture.isNull()) {
        const QString builtIn = QFileInfo(fileName).completeBaseName() + QStringLiteral(".png");
        picture = BuiltInPicture(builtIn);
    }
    return picture;
}
