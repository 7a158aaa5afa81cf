// Writes every picture the simulator ships (test screen background, buttons,
// logo, window icons and the menu icons) at 100 %, with the very drawing code
// the program uses to paint them for any screen, so that they can be rebuilt at
// any time.
//
//   picgen ROOT          draw res/*.png and data/icons/ under ROOT and check them
//   picgen --check ROOT  check res/*.png, data/icons/ and data/*.gif under ROOT only

#include "widgets/drawing.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace {

const QColor Teal(0x00, 0x58, 0x5f);
const QColor Bar(0xb9, 0xd3, 0xee);

const char* const Gifs[] = {"confirm0", "confirm1", "next0", "next1"};

// The menu icon at every size a desktop asks the hicolor theme for (menus,
// panels, docks, software centres), each painted for its own size.
const int MenuIconSides[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString menuIconPath(const QDir& root, int side)
{
    return root.filePath(
        QStringLiteral("data/icons/hicolor/%1x%1/apps/example.qelsim.QelSimulator.png").arg(side));
}

struct Picture {
    QString name;
    QImage image;
};

bool save(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "picgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Checks one file on disk; prints its size so a run shows what it made.
bool checkFile(const QString& path, const QSize& size, bool opaque, QImage* loaded = nullptr)
{
    const QImage image(path);
    if (image.isNull()) {
        std::fprintf(stderr, "picgen: cannot read %s\n", qPrintable(path));
        return false;
    }
    bool ok = image.size() == size;
    if (opaque && image.hasAlphaChannel()) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; ok && y < argb.height(); ++y) {
            for (int x = 0; ok && x < argb.width(); ++x)
                ok = qAlpha(argb.pixel(x, y)) == 255;
        }
    }
    std::printf("%-24s %3d x %-3d %s\n", qPrintable(QFileInfo(path).fileName()), image.width(),
                image.height(), ok ? "ok" : "WRONG");
    if (loaded)
        *loaded = image.convertToFormat(QImage::Format_RGB32);
    return ok;
}

bool samePixels(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// Areas under plain labels must stay one flat colour.
bool uniform(const QImage& image, const QRect& r, const QColor& colour)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (image.pixel(x, y) != colour.rgb())
                return false;
        }
    }
    return true;
}

bool checkAll(const QDir& root, bool withGifs)
{
    bool ok = true;
    std::vector<Picture> loaded;
    auto check = [&](const QString& name, const QSize& size, bool opaque) {
        QImage image;
        ok = checkFile(root.filePath(QStringLiteral("res/%1.png").arg(name)), size, opaque,
                       &image) &&
             ok;
        loaded.push_back({name, image});
    };
    // The background first: the checks below compare the buttons with it.
    check("background", drawnPictureSize(QStringLiteral("background")), true);
    for (const QString& name : drawnPictureNames()) {
        if (name != QLatin1String("background"))
            check(name, drawnPictureSize(name), !name.startsWith(QLatin1String("icon")));
    }

    // The background must show the very same buttons the widgets use.
    const QImage& background = loaded.front().image;
    if (background.isNull()) {
        std::printf("some pictures are WRONG\n");
        return false;
    }
    for (const DrawnButtonPlace& pl : backgroundButtonPlaces()) {
        for (const Picture& pic : loaded) {
            if (pic.name != pl.name)
                continue;
            const bool same =
                samePixels(background.copy(QRect(pl.pos, pic.image.size())), pic.image);
            if (!same) {
                std::fprintf(stderr, "picgen: background differs from %s\n", qPrintable(pl.name));
                ok = false;
            }
        }
    }

    const struct {
        QRect rect;
        QColor colour;
    } flats[] = {
        {QRect(0, 0, 640, 20), Teal},          // title band
        {QRect(0, 80, 420, 16), Teal},         // section strip
        {QRect(13, 97, 590, 161), Qt::white},  // topic panel
        {QRect(21, 266, 526, 167), Qt::white}, // answer box
        {QRect(0, 437, 640, 2), Bar},          // bar above the buttons
        {QRect(0, 479, 640, 1), Bar},          // and below them
    };
    for (const auto& f : flats) {
        if (!uniform(background, f.rect, f.colour)) {
            std::fprintf(stderr, "picgen: background not plain at %d,%d %dx%d\n", f.rect.x(),
                         f.rect.y(), f.rect.width(), f.rect.height());
            ok = false;
        }
    }

    if (withGifs) {
        for (const char* name : Gifs) {
            QImage gif;
            const QString path = root.filePath(QStringLiteral("data/%1.gif").arg(name));
            if (!checkFile(path, drawnPictureSize(QString::fromLatin1(name)), true, &gif)) {
                ok = false;
                continue;
            }
            for (const Picture& pic : loaded) {
                if (pic.name == QLatin1String(name) && !samePixels(gif, pic.image)) {
                    std::fprintf(stderr, "picgen: %s.gif differs from %s.png\n", name, name);
                    ok = false;
                }
            }
        }
    }
    for (const int side : MenuIconSides)
        ok = checkFile(menuIconPath(root, side), QSize(side, side), false) && ok;
    std::printf(ok ? "all pictures ok\n" : "some pictures are WRONG\n");
    return ok;
}

bool drawAll(const QDir& root)
{
    if (!root.mkpath(QStringLiteral("res")))
        return false;
    bool ok = true;
    for (const QString& name : drawnPictureNames())
        ok = save(drawPicture(name, 1.0), root.filePath(QStringLiteral("res/%1.png").arg(name))) &&
             ok;
    for (const int side : MenuIconSides) {
        const QString path = menuIconPath(root, side);
        ok =
            QFileInfo(path).dir().mkpath(QStringLiteral(".")) && save(drawSmiley(side), path) && ok;
    }
    return ok;
}

bool fontInstalled()
{
    if (!drawingFaceInstalled()) {
        std::fprintf(stderr, "picgen: font \"%s\" is missing\n", qPrintable(drawingFace()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    const bool checkOnly = !args.isEmpty() && args.first() == QLatin1String("--check");
    if (checkOnly)
        args.removeFirst();
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: picgen [--check] REPOSITORY_ROOT\n");
        return 2;
    }
    const QDir root(args.first());
    if (!checkOnly) {
        if (!fontInstalled() || !drawAll(root))
            return 1;
    }
    return checkAll(root, checkOnly) ? 0 : 1;
}
