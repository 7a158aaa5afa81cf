#include "widgets/pictures.h"

#include "widgets/drawing.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>

#include <map>
#include <tuple>

// Outside the anonymous namespace: the resource initialiser is declared where
// it is used.
static void initPictures()
{
    // The pictures live in a static library, whose resource initialiser the
    // linker would otherwise drop.
    Q_INIT_RESOURCE(pictures);
}

namespace {

void ensureStoredPictures()
{
    static const bool Loaded = (initPictures(), true);
    Q_UNUSED(Loaded);
}

// The stored pictures are the drawn ones at 100 %, kept for the look of the
// shipped GIFs and for machines that lack the face the text is drawn in.
QImage storedPicture(const QString& name)
{
    ensureStoredPictures();
    return QImage(QStringLiteral(":/") + name + QStringLiteral(".png"));
}

QPixmap paint(const QString& name, qreal ratio, const QPoint& origin, ColourScheme scheme)
{
    static const bool FaceInstalled = drawingFaceInstalled();
    // Only the exam's colours are stored; the others are drawn in any face.
    if (FaceInstalled || scheme != ColourScheme::Exam)
        return QPixmap::fromImage(drawPicture(name, ratio, origin, scheme));
    // Text set in another face would not fit its place: show the stored picture.
    QImage stored = storedPicture(name);
    if (ratio != 1.0) {
        stored =
            stored.scaled(stored.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        stored.setDevicePixelRatio(ratio);
    }
    return QPixmap::fromImage(stored);
}

// A window icon drawn for the very size and density asked of it.
class SmileyEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap smiley = pixmap(rect.size() * ratio, mode, state);
        smiley.setDevicePixelRatio(ratio);
        QRect place(QPoint(0, 0), smiley.deviceIndependentSize().toSize());
        place.moveCenter(rect.center());
        painter->drawPixmap(place.topLeft(), smiley);
    }
    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        return QPixmap::fromImage(drawSmiley(qMax(1, qMin(size.width(), size.height()))));
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal /*scale*/) override
    {
        // The size is already in device pixels.
        return pixmap(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        // The sizes a window system picks from for title bars and task bars, at
        // 100 % to 300 %. X11 paints every one when the window is made, so the
        // switchers' large sizes are left out: they cost the start-up more than
        // all the start window's own drawing.
        QList<QSize> sizes;
        for (int side : {16, 24, 32, 48, 64, 96})
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new SmileyEngine; }
    QString key() const override { return QStringLiteral("qel-smiley"); }
};

} // namespace

Picture Picture::drawn(const QString& name, ColourScheme scheme)
{
    Picture picture;
    picture.name_ = name;
    picture.scheme_ = scheme;
    return picture;
}

Picture Picture::fixed(const QPixmap& pixmap)
{
    Picture picture;
    picture.fixed_ = pixmap;
    return picture;
}

QSize Picture::size() const
{
    return name_.isEmpty() ? fixed_.deviceIndependentSize().toSize() : drawnPictureSize(name_);
}

QPixmap Picture::pixmap(qreal ratio, const QPoint& origin) const
{
    if (name_.isEmpty())
        return fixed_;
    // Only a fractional ratio rounds differently from place to place.
    const QPoint where = ratio == qRound(ratio) ? QPoint() : origin;
    // Painted when first shown at a density, not before: start-up stays quick.
    static std::map<std::tuple<QString, ColourScheme, qreal, int, int>, QPixmap> painted;
    auto [at, added] = painted.try_emplace({name_, scheme_, ratio, where.x(), where.y()});
    if (added)
        at->second = paint(name_, ratio, where, scheme_);
    return at->second;
}

Picture builtInPicture(const QString& fileName, ColourScheme scheme)
{
    ensureStoredPictures();
    return Picture::drawn(QFileInfo(fileName).completeBaseName(), scheme);
}

Picture loadButtonPicture(const QString& appFolder, const QString& fileName, ColourScheme scheme)
{
    const QString name = QFileInfo(fileName).completeBaseName();
    if (scheme != ColourScheme::Exam)
        return Picture::drawn(name, scheme);
    QImage file;
    if (QFileInfo(appFolder + fileName).isFile())
        file.load(appFolder + fileName, "GIF");
    if (file.isNull())
        return Picture::drawn(name);
    // The GIF shipped with the program is the built-in look: draw that for the
    // screen. A picture of the user's own is shown as it was made.
    if (file.convertToFormat(QImage::Format_RGB32) ==
        storedPicture(name).convertToFormat(QImage::Format_RGB32))
        return Picture::drawn(name);
    return Picture::fixed(QPixmap::fromImage(file));
}

QIcon smileyIcon()
{
    return QIcon(new SmileyEngine);
}
