// Draws every picture the simulator ships (test screen background, buttons,
// logo and window icons) so that they can be rebuilt from source at any time.
//
//   picgen ROOT          draw res/*.png under ROOT and check them
//   picgen --check ROOT  check res/*.png and data/*.gif under ROOT only

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace {

const QColor kTeal(0x00, 0x58, 0x5f);
const QColor kScreen(0xdf, 0xe4, 0xea); // calm grey-blue behind the panels
const QColor kBar(0xb9, 0xd3, 0xee);
const QColor kBarLight(0xf2, 0xf7, 0xfc);
const QColor kBarShade(0x8c, 0xa7, 0xc4);
const QColor kBarDark(0x4f, 0x68, 0x84);
const QColor kGrey(0xc0, 0xc0, 0xc0);
const QColor kGreyLight(0xdf, 0xdf, 0xdf);
const QColor kGreyShade(0x80, 0x80, 0x80);
const QColor kGreyDark(0x40, 0x40, 0x40);
const QColor kInk(0x10, 0x10, 0x10);
const QColor kInkOff(0x78, 0x84, 0x91); // greyed bar button text

const QString kFamily = QStringLiteral("Liberation Sans");

const QSize kBarSize(45, 40);
const QSize kGreySize(67, 43);

enum class BarIcon { Word, Clock, Question, Arrow };

struct BarButton {
    const char* name;
    const char* top;
    const char* bottom;
    BarIcon icon;
    bool enabled;
};

const BarButton kBarButtons[] = {
    {"testquit", "Test", "Quit", BarIcon::Word, true},
    {"sectionexit", "Section", "Exit", BarIcon::Word, true},
    {"time", "", "Time", BarIcon::Clock, true},
    {"help", "", "Help", BarIcon::Question, true},
    {"confirm0", "Answer", "Confirm", BarIcon::Word, false},
    {"confirm1", "Answer", "Confirm", BarIcon::Word, true},
    {"next0", "", "Next", BarIcon::Arrow, true},
    {"next1", "", "Next", BarIcon::Arrow, false},
};

const char* const kGreyButtons[][2] = {
    {"cut", "Cut"},
    {"paste", "Paste"},
    {"undo", "Undo"},
};

// Where the background shows each button; real widgets are laid over these.
struct Placement {
    const char* name;
    QPoint pos;
};

const Placement kPlacements[] = {
    {"cut", {554, 269}},     {"paste", {554, 317}},      {"undo", {554, 365}},
    {"testquit", {11, 439}}, {"sectionexit", {58, 439}}, {"time", {105, 439}},
    {"help", {490, 439}},    {"confirm0", {537, 439}},   {"next0", {584, 439}},
};

const char* const kGifs[] = {"confirm0", "confirm1", "next0", "next1"};

struct Picture {
    QString name;
    QImage image;
};

QFont sansFont(int pixelSize, bool bold)
{
    QFont font(kFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    // Grey-scale smoothing only: colour fringes would differ between screens.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

void beginPainting(QPainter& p, QImage& image)
{
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

// Text on whole pixels keeps small glyphs sharp.
void drawCentred(QPainter& p, const QFont& font, const QRect& box, int baseline,
                 const QString& text, const QColor& colour)
{
    const QFontMetrics fm(font);
    const int x = box.left() + (box.width() - fm.horizontalAdvance(text)) / 2;
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPoint(x, baseline), text);
}

// Largest bold size (10 px down to 8 px) at which a label fits the width.
QFont fittingBold(const QString& text, int width)
{
    for (int px = 10; px > 8; --px) {
        const QFont font = sansFont(px, true);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            return font;
    }
    return sansFont(8, true);
}

// Two-step bevel: the outer ring is stronger than the inner one.
void bevel(QPainter& p, const QRect& r, const QColor& outerLight, const QColor& outerDark,
           const QColor& innerLight, const QColor& innerDark)
{
    const int l = r.left(), t = r.top(), w = r.width(), h = r.height();
    p.fillRect(l, t, w, 1, outerLight);
    p.fillRect(l, t, 1, h, outerLight);
    p.fillRect(l, t + h - 1, w, 1, outerDark);
    p.fillRect(l + w - 1, t, 1, h, outerDark);
    p.fillRect(l + 1, t + 1, w - 2, 1, innerLight);
    p.fillRect(l + 1, t + 1, 1, h - 2, innerLight);
    p.fillRect(l + 1, t + h - 2, w - 2, 1, innerDark);
    p.fillRect(l + w - 2, t + 1, 1, h - 2, innerDark);
}

void drawClock(QPainter& p, const QColor& ink)
{
    // Centred on pixel (22, 11) so the hands fall on whole pixels.
    p.setPen(QPen(ink, 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(15.5, 4.5, 14.0, 14.0));
    p.setBrush(Qt::NoBrush);
    p.fillRect(22, 6, 1, 6, ink);  // minute hand at twelve
    p.fillRect(22, 11, 5, 1, ink); // hour hand at three
    p.fillRect(22, 17, 1, 1, ink); // six
    p.fillRect(17, 11, 1, 1, ink); // nine
}

void drawArrow(QPainter& p, const QColor& ink)
{
    p.fillRect(13, 10, 10, 4, ink);
    const QPolygonF head{QPointF(22, 4), QPointF(31, 12), QPointF(22, 20)};
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

QImage drawBarButton(const BarButton& b)
{
    QImage image(kBarSize, QImage::Format_RGB32);
    image.fill(kBar);
    QPainter p;
    beginPainting(p, image);
    bevel(p, image.rect(), kBarLight, kBarDark, kBar.lighter(108), kBarShade);

    const QColor ink = b.enabled ? kInk : kInkOff;
    const QRect inner = image.rect().adjusted(2, 2, -2, -2);
    switch (b.icon) {
    case BarIcon::Word: {
        const QString top = QString::fromLatin1(b.top);
        drawCentred(p, fittingBold(top, inner.width() - 2), image.rect(), 17, top, ink);
        break;
    }
    case BarIcon::Clock:
        drawClock(p, ink);
        break;
    case BarIcon::Question:
        drawCentred(p, sansFont(17, true), image.rect(), 19, QStringLiteral("?"), ink);
        break;
    case BarIcon::Arrow:
        drawArrow(p, ink);
        break;
    }
    const QString bottom = QString::fromLatin1(b.bottom);
    drawCentred(p, fittingBold(bottom, inner.width() - 2), image.rect(), 31, bottom, ink);
    p.end();
    return image;
}

QImage drawGreyButton(const QString& label)
{
    QImage image(kGreySize, QImage::Format_RGB32);
    image.fill(kGrey);
    QPainter p;
    beginPainting(p, image);
    bevel(p, image.rect(), Qt::white, kGreyDark, kGreyLight, kGreyShade);
    drawCentred(p, sansFont(13, false), image.rect(), 26, label, Qt::black);
    p.end();
    return image;
}

// A small raised grey box with a triangle pointing up or down.
void drawScrollArrow(QPainter& p, const QRect& r, bool up)
{
    p.fillRect(r, kGrey);
    bevel(p, r, kGreyLight, kGreyDark, Qt::white, kGreyShade);
    const qreal cx = r.left() + r.width() / 2.0;
    const qreal cy = r.top() + r.height() / 2.0;
    const qreal dy = up ? -2.0 : 2.0;
    const QPolygonF tri{QPointF(cx - 4, cy - dy), QPointF(cx + 4, cy - dy), QPointF(cx, cy + dy)};
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(tri);
    p.setBrush(Qt::NoBrush);
}

// Greedy word wrap, so each line can be drawn on a whole-pixel baseline.
QStringList wrapWords(const QString& text, const QFont& font, int width)
{
    const QFontMetrics fm(font);
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(longer) > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

void drawInstructions(QPainter& p)
{
    const QRect box(12, 24, 616, 52);
    p.fillRect(box, Qt::white);
    p.fillRect(box.left(), box.top(), box.width(), 1, kGreyDark);
    p.fillRect(box.left(), box.bottom(), box.width(), 1, kGreyDark);
    p.fillRect(box.left(), box.top(), 1, box.height(), kGreyDark);
    p.fillRect(box.right(), box.top(), 1, box.height(), kGreyDark);

    const QFont font = sansFont(13, false);
    const QString text =
        QStringLiteral("Read the argument below and the directions that follow it. Make any "
                       "notes you need to plan your answer, then begin typing your response "
                       "in the box at the bottom of the screen.");
    const QStringList lines = wrapWords(text, font, box.width() - 20);
    const int lineHeight = QFontMetrics(font).lineSpacing() + 3;
    int baseline = box.top() + (box.height() - lineHeight * int(lines.size())) / 2 +
                   QFontMetrics(font).ascent() + 1;
    p.setFont(font);
    p.setPen(Qt::black);
    for (const QString& line : lines) {
        p.drawText(QPoint(box.left() + 10, baseline), line);
        baseline += lineHeight;
    }
}

void drawTopicPanel(QPainter& p)
{
    const QRect panel(12, 96, 616, 163);
    p.fillRect(panel, Qt::white);
    p.fillRect(panel.left(), panel.top(), panel.width(), 1, kGreyShade);
    p.fillRect(panel.left(), panel.top(), 1, panel.height(), kGreyShade);
    p.fillRect(panel.left(), panel.bottom(), panel.width(), 1, kGreyShade);
    p.fillRect(panel.right(), panel.top(), 1, panel.height(), kGreyShade);

    // Scroll bar inside the frame, as the text box will show one there.
    const QRect bar(panel.right() - 16, panel.top() + 1, 16, panel.height() - 2);
    p.fillRect(bar, QColor(0xe8, 0xe8, 0xe8));
    p.fillRect(bar.left(), bar.top(), 1, bar.height(), QColor(0xd0, 0xd0, 0xd0));
    drawScrollArrow(p, QRect(bar.left(), bar.top(), 16, 16), true);
    drawScrollArrow(p, QRect(bar.left(), bar.bottom() - 15, 16, 16), false);
    const QRect thumb(bar.left(), bar.top() + 16, 16, 44);
    p.fillRect(thumb, kGrey);
    bevel(p, thumb, kGreyLight, kGreyDark, Qt::white, kGreyShade);
}

void drawAnswerBox(QPainter& p)
{
    const QRect box(19, 264, 530, 171);
    p.fillRect(box, Qt::white);
    bevel(p, box, kGreyShade, Qt::white, kGreyDark, QColor(0xd4, 0xd0, 0xc8));
}

QImage drawBackground(const std::vector<Picture>& pictures)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(kScreen);
    QPainter p;
    beginPainting(p, image);

    p.fillRect(0, 0, 640, 20, kTeal); // title band
    drawInstructions(p);

    // Section strip; the left part stays plain for the section name label.
    p.fillRect(0, 80, 640, 17, kTeal);
    const QFont stripFont = sansFont(12, true);
    const QString beginning = QStringLiteral("Beginning");
    p.setFont(stripFont);
    p.setPen(Qt::white);
    p.drawText(QPoint(620 - QFontMetrics(stripFont).horizontalAdvance(beginning), 93), beginning);

    drawTopicPanel(p);
    drawAnswerBox(p);

    const QRect side(551, 264, 77, 171);
    p.fillRect(side, kGrey);
    bevel(p, side, Qt::white, kGreyShade, kGreyLight, kGrey);

    p.fillRect(0, 437, 640, 43, kBar); // button bar

    for (const Placement& pl : kPlacements) {
        for (const Picture& pic : pictures) {
            if (pic.name == QLatin1String(pl.name))
                p.drawImage(pl.pos, pic.image);
        }
    }
    p.end();
    return image;
}

QImage drawLogo()
{
    QImage image(183, 59, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p;
    beginPainting(p, image);

    QFont mark = sansFont(32, true);
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    const QFont line = sansFont(14, false);
    const QString name = QStringLiteral("QEL");
    const QString tagline = QStringLiteral("Essay Practice");

    // Emblem and words together are centred across the plate.
    const int tileSize = 39;
    const int gap = 10;
    const int words = qMax(QFontMetrics(mark).horizontalAdvance(name) - 2,
                           QFontMetrics(line).horizontalAdvance(tagline));
    const int left = (image.width() - (tileSize + gap + words)) / 2;

    // Emblem: a teal tile with three lines of writing.
    QPainterPath tile;
    tile.addRoundedRect(QRectF(left, 10, tileSize, tileSize), 7, 7);
    p.fillPath(tile, kTeal);
    p.fillRect(left + 8, 20, 23, 3, Qt::white);
    p.fillRect(left + 8, 28, 23, 3, Qt::white);
    p.fillRect(left + 8, 36, 14, 3, Qt::white);

    const int textLeft = left + tileSize + gap;
    p.setFont(mark);
    p.setPen(kTeal);
    p.drawText(QPoint(textLeft - 1, 34), name);

    p.setFont(line);
    p.setPen(QColor(0x3c, 0x4e, 0x54));
    p.drawText(QPoint(textLeft, 50), tagline);
    p.end();
    return image;
}

QImage drawSmiley(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p;
    beginPainting(p, image);

    // Whole-pixel outline and eyes keep the small sizes from smearing.
    const qreal s = size;
    const int outline = qMax(1, qRound(s / 20.0));
    const int margin = size >= 32 ? 1 : 0;
    const QColor dark(0x3a, 0x2a, 0x05);
    const qreal inset = margin + outline / 2.0;
    // A hair over one pixel at the smallest size, or the ring looks faint.
    p.setPen(QPen(dark, size < 24 ? 1.25 : outline));
    p.setBrush(QColor(0xff, 0xd4, 0x1e));
    p.drawEllipse(QRectF(inset, inset, s - 2 * inset, s - 2 * inset));

    const int eyeW = qMax(1, qRound(s * 0.085));
    const int eyeH = qMax(2, qRound(s * 0.16));
    const int eyeX = qRound(s * 0.36 - eyeW / 2.0);
    const int eyeY = qRound(s * 0.37 - eyeH / 2.0);
    const QRect leftEye(eyeX, eyeY, eyeW, eyeH);
    const QRect rightEye(size - eyeX - eyeW, eyeY, eyeW, eyeH);

    if (size < 24) {
        // Too small for curves: set the eyes and the smile pixel by pixel.
        p.fillRect(leftEye, dark);
        p.fillRect(rightEye, dark);
        const int smile[][2] = {{4, 9}, {5, 10}, {6, 11}, {7, 11}};
        const qreal scale = s / 16.0;
        for (const auto& px : smile) {
            const int x = qRound(px[0] * scale), y = qRound(px[1] * scale);
            p.fillRect(x, y, 1, 1, dark);
            p.fillRect(size - 1 - x, y, 1, 1, dark);
        }
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        p.drawEllipse(leftEye);
        p.drawEllipse(rightEye);
        QPainterPath smile;
        smile.moveTo(s * 0.27, s * 0.58);
        smile.quadTo(s * 0.5, s * 0.86, s * 0.73, s * 0.58);
        QPen mouth(dark, outline);
        mouth.setCapStyle(Qt::RoundCap);
        p.setPen(mouth);
        p.setBrush(Qt::NoBrush);
        p.drawPath(smile);
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

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
    auto check = [&](const char* name, const QSize& size, bool opaque) {
        QImage image;
        ok = checkFile(root.filePath(QStringLiteral("res/%1.png").arg(name)), size, opaque,
                       &image) &&
             ok;
        loaded.push_back({QString::fromLatin1(name), image});
    };
    check("background", QSize(640, 480), true);
    for (const BarButton& b : kBarButtons)
        check(b.name, kBarSize, true);
    for (const auto& g : kGreyButtons)
        check(g[0], kGreySize, true);
    check("logo", QSize(183, 59), true);
    check("icon", QSize(48, 48), false);
    check("icon32", QSize(32, 32), false);
    check("icon16", QSize(16, 16), false);

    // The background must show the very same buttons the widgets use.
    const QImage& background = loaded.front().image;
    if (background.isNull()) {
        std::printf("some pictures are WRONG\n");
        return false;
    }
    for (const Placement& pl : kPlacements) {
        for (const Picture& pic : loaded) {
            if (pic.name != QLatin1String(pl.name))
                continue;
            const bool same =
                samePixels(background.copy(QRect(pl.pos, pic.image.size())), pic.image);
            if (!same) {
                std::fprintf(stderr, "picgen: background differs from %s\n", pl.name);
                ok = false;
            }
        }
    }

    const struct {
        QRect rect;
        QColor colour;
    } flats[] = {
        {QRect(0, 0, 640, 20), kTeal},         // title band
        {QRect(0, 80, 420, 16), kTeal},        // section strip
        {QRect(13, 97, 590, 161), Qt::white},  // topic panel
        {QRect(21, 266, 526, 167), Qt::white}, // answer box
        {QRect(0, 437, 640, 2), kBar},         // bar above the buttons
        {QRect(0, 479, 640, 1), kBar},         // and below them
    };
    for (const auto& f : flats) {
        if (!uniform(background, f.rect, f.colour)) {
            std::fprintf(stderr, "picgen: background not plain at %d,%d %dx%d\n", f.rect.x(),
                         f.rect.y(), f.rect.width(), f.rect.height());
            ok = false;
        }
    }

    if (withGifs) {
        for (const char* name : kGifs) {
            QImage gif;
            const QString path = root.filePath(QStringLiteral("data/%1.gif").arg(name));
            if (!checkFile(path, kBarSize, true, &gif)) {
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
    std::printf(ok ? "all pictures ok\n" : "some pictures are WRONG\n");
    return ok;
}

bool drawAll(const QDir& root)
{
    if (!root.mkpath(QStringLiteral("res")))
        return false;
    auto res = [&](const QString& name) {
        return root.filePath(QStringLiteral("res/%1.png").arg(name));
    };

    std::vector<Picture> pictures;
    for (const BarButton& b : kBarButtons)
        pictures.push_back({QString::fromLatin1(b.name), drawBarButton(b)});
    for (const auto& g : kGreyButtons)
        pictures.push_back({QString::fromLatin1(g[0]), drawGreyButton(QString::fromLatin1(g[1]))});
    pictures.push_back({QStringLiteral("background"), drawBackground(pictures)});
    pictures.push_back({QStringLiteral("logo"), drawLogo()});
    pictures.push_back({QStringLiteral("icon"), drawSmiley(48)});
    pictures.push_back({QStringLiteral("icon32"), drawSmiley(32)});
    pictures.push_back({QStringLiteral("icon16"), drawSmiley(16)});

    bool ok = true;
    for (const Picture& pic : pictures)
        ok = save(pic.image, res(pic.name)) && ok;
    return ok;
}

bool fontInstalled()
{
    const QFontInfo info(sansFont(12, false));
    if (info.family() != kFamily) {
        std::fprintf(stderr, "picgen: font \"%s\" is missing (got \"%s\")\n", qPrintable(kFamily),
                     qPrintable(info.family()));
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
