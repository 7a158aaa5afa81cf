#include "widgets/drawing.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>

namespace {

// The colours of the drawn screen. The exam's own are calm greys and blues; the
// other schemes draw every surface in the background colour and every line and
// word in the text colour, so nothing stands on a colour of low contrast.
struct Inks {
    QColor teal;
    QColor screen; // calm grey-blue behind the panels
    QColor bar;
    QColor barInner;
    QColor barLight;
    QColor barShade;
    QColor barDark;
    QColor grey;
    QColor greyLight;
    QColor greyShade;
    QColor greyDark;
    QColor ink;
    QColor inkOff; // greyed bar button text
    QColor paper;  // the white of the boxes
    QColor print;  // the black of their words
    QColor light;  // white words and edges
    QColor track;
    QColor trackLine;
    QColor answerShade;
    bool plain = false; // one line colour on one background, no bevels
};

Inks examInks()
{
    const QColor bar(0xb9, 0xd3, 0xee);
    return {QColor(0x00, 0x58, 0x5f),
            QColor(0xdf, 0xe4, 0xea),
            bar,
            bar.lighter(108),
            QColor(0xf2, 0xf7, 0xfc),
            QColor(0x8c, 0xa7, 0xc4),
            QColor(0x4f, 0x68, 0x84),
            QColor(0xc0, 0xc0, 0xc0),
            QColor(0xdf, 0xdf, 0xdf),
            QColor(0x80, 0x80, 0x80),
            QColor(0x40, 0x40, 0x40),
            QColor(0x10, 0x10, 0x10),
            QColor(0x78, 0x84, 0x91),
            Qt::white,
            Qt::black,
            Qt::white,
            QColor(0xe8, 0xe8, 0xe8),
            QColor(0xd0, 0xd0, 0xd0),
            QColor(0xd4, 0xd0, 0xc8)};
}

Inks plainInks(const SchemeColours& s)
{
    const QColor& f = s.text;
    const QColor& b = s.background;
    return {b, b, b, b, f, b, f, b, b, f, f, f, s.greyed, b, f, f, b, f, f, true};
}

const Inks& inksOf(ColourScheme scheme)
{
    static const std::array<Inks, 4> All{examInks(),
                                         plainInks(schemeColours(ColourScheme::BlackOnWhite)),
                                         plainInks(schemeColours(ColourScheme::WhiteOnBlack)),
                                         plainInks(schemeColours(ColourScheme::YellowOnBlack))};
    return All.at(static_cast<std::size_t>(scheme));
}

const QSize BackgroundSize(640, 480);
const QSize BarSize(45, 40);
const QSize GreySize(67, 43);
const QSize LogoSize(183, 59);

enum class BarIcon { Word, Clock, Question, Arrow };

struct BarButton {
    const char* name;
    const char* top;
    const char* bottom;
    BarIcon icon;
    bool enabled;
};

const std::array<BarButton, 8> BarButtons{{
    {"testquit", "Test", "Quit", BarIcon::Word, true},
    {"sectionexit", "Section", "Exit", BarIcon::Word, true},
    {"time", "", "Time", BarIcon::Clock, true},
    {"help", "", "Help", BarIcon::Question, true},
    {"confirm0", "Answer", "Confirm", BarIcon::Word, false},
    {"confirm1", "Answer", "Confirm", BarIcon::Word, true},
    {"next0", "", "Next", BarIcon::Arrow, true},
    {"next1", "", "Next", BarIcon::Arrow, false},
}};

struct GreyButton {
    const char* name;
    const char* label;
};

const std::array<GreyButton, 3> GreyButtons{{{"cut", "Cut"}, {"paste", "Paste"}, {"undo", "Undo"}}};

struct Icon {
    const char* name;
    int side;
};

const std::array<Icon, 3> Icons{{{"icon", 48}, {"icon32", 32}, {"icon16", 16}}};

QFont sansFont(int pixelSize, bool bold)
{
    QFont font(drawingFace());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    // Grey-scale smoothing only: colour fringes would differ between screens.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

// A painting in device pixels for a given ratio. Layout is decided in
// device-independent pixels, as at 100 %, and each edge is then rounded to the
// nearest device pixel: neighbouring shapes still meet without gap or overlap,
// and no straight edge is smeared across two pixels at 125 % or 150 %. Edges are
// rounded where the picture lies in its window (origin), so that a button and
// the same button drawn into the background round alike.
class Canvas {
public:
    Canvas(QImage& image, qreal ratio, const QPoint& origin, const Inks& inks)
        : r(ratio), k(inks), o_(origin)
    {
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
    }

    int x(qreal v) const { return round(o_.x() + v) - round(o_.x()); }
    int y(qreal v) const { return round(o_.y() + v) - round(o_.y()); }
    QRect box(const QRect& l) const
    {
        return {QPoint(x(l.left()), y(l.top())),
                QPoint(x(l.left() + l.width()) - 1, y(l.top() + l.height()) - 1)};
    }
    void fill(const QRect& l, const QColor& colour) { p.fillRect(box(l), colour); }
    void fill(int left, int top, int width, int height, const QColor& colour)
    {
        fill(QRect(left, top, width, height), colour);
    }
    QFont font(int pixelSize, bool bold) const { return sansFont(round(pixelSize), bold); }

    // Curves and slopes are smoothed anyway: they are drawn scaled.
    void beginCurves()
    {
        p.save();
        p.translate(o_.x() * r - round(o_.x()), o_.y() * r - round(o_.y()));
        p.scale(r, r);
    }
    void endCurves() { p.restore(); }

    QPainter p;
    const qreal r;
    const Inks& k;

private:
    int round(qreal v) const { return qRound(v * r); }
    const QPoint o_;
};

// The device pixels a picture covers where it lies.
QSize deviceSize(const QSize& size, qreal ratio, const QPoint& origin)
{
    auto extent = [ratio](int from, int length) {
        return qRound((from + length) * ratio) - qRound(from * ratio);
    };
    return {extent(origin.x(), size.width()), extent(origin.y(), size.height())};
}

// Text on whole pixels keeps small glyphs sharp.
void drawCentred(Canvas& c, const QFont& font, const QRect& box, int baseline, const QString& text,
                 const QColor& colour)
{
    const QRect b = c.box(box);
    const int x = b.left() + (b.width() - QFontMetrics(font).horizontalAdvance(text)) / 2;
    c.p.setFont(font);
    c.p.setPen(colour);
    c.p.drawText(QPoint(x, c.y(baseline)), text);
}

// Largest bold size (10 px down to 8 px) at which a label fits the width, as
// measured at 100 %, so that every density shows the same choice.
int fittingBold(const QString& text, int width)
{
    for (int px = 10; px > 8; --px) {
        if (QFontMetrics(sansFont(px, true)).horizontalAdvance(text) <= width)
            return px;
    }
    return 8;
}

// Two-step bevel: the outer ring is stronger than the inner one.
// Plain schemes draw a one-pixel frame instead.
void bevel(Canvas& c, const QRect& r, QColor outerLight, QColor outerDark, QColor innerLight,
           QColor innerDark)
{
    if (c.k.plain) {
        outerLight = outerDark = c.k.print;
        innerLight = innerDark = c.k.paper;
    }
    const int l = r.left();
    const int t = r.top();
    const int w = r.width();
    const int h = r.height();
    c.fill(l, t, w, 1, outerLight);
    c.fill(l, t, 1, h, outerLight);
    c.fill(l, t + h - 1, w, 1, outerDark);
    c.fill(l + w - 1, t, 1, h, outerDark);
    c.fill(l + 1, t + 1, w - 2, 1, innerLight);
    c.fill(l + 1, t + 1, 1, h - 2, innerLight);
    c.fill(l + 1, t + h - 2, w - 2, 1, innerDark);
    c.fill(l + w - 2, t + 1, 1, h - 2, innerDark);
}

void drawClock(Canvas& c, const QColor& ink)
{
    // Centred on pixel (22, 11) so the hands fall on whole pixels.
    c.beginCurves();
    c.p.setPen(QPen(ink, 1.0));
    c.p.setBrush(c.k.paper);
    c.p.drawEllipse(QRectF(15.5, 4.5, 14.0, 14.0));
    c.endCurves();
    c.fill(22, 6, 1, 6, ink);  // minute hand at twelve
    c.fill(22, 11, 5, 1, ink); // hour hand at three
    c.fill(22, 17, 1, 1, ink); // six
    c.fill(17, 11, 1, 1, ink); // nine
}

void drawArrow(Canvas& c, const QColor& ink)
{
    c.fill(13, 10, 10, 4, ink);
    const QPolygonF head{QPointF(22, 4), QPointF(31, 12), QPointF(22, 20)};
    c.beginCurves();
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(ink);
    c.p.drawPolygon(head);
    c.endCurves();
}

QImage drawBarButton(const BarButton& b, qreal ratio, const QPoint& origin, const Inks& k)
{
    QImage image(deviceSize(BarSize, ratio, origin), QImage::Format_RGB32);
    image.fill(k.bar);
    Canvas c(image, ratio, origin, k);
    const QRect whole(QPoint(0, 0), BarSize);
    bevel(c, whole, k.barLight, k.barDark, k.barInner, k.barShade);

    const QColor ink = b.enabled ? k.ink : k.inkOff;
    const int labelWidth = whole.width() - 4 - 2;
    switch (b.icon) {
    case BarIcon::Word: {
        const QString top = QString::fromLatin1(b.top);
        drawCentred(c, c.font(fittingBold(top, labelWidth), true), whole, 17, top, ink);
        break;
    }
    case BarIcon::Clock:
        drawClock(c, ink);
        break;
    case BarIcon::Question:
        drawCentred(c, c.font(17, true), whole, 19, QStringLiteral("?"), ink);
        break;
    case BarIcon::Arrow:
        drawArrow(c, ink);
        break;
    }
    const QString bottom = QString::fromLatin1(b.bottom);
    drawCentred(c, c.font(fittingBold(bottom, labelWidth), true), whole, 31, bottom, ink);
    c.p.end();
    return image;
}

QImage drawGreyButton(const QString& label, qreal ratio, const QPoint& origin, const Inks& k)
{
    QImage image(deviceSize(GreySize, ratio, origin), QImage::Format_RGB32);
    image.fill(k.grey);
    Canvas c(image, ratio, origin, k);
    const QRect whole(QPoint(0, 0), GreySize);
    bevel(c, whole, k.light, k.greyDark, k.greyLight, k.greyShade);
    drawCentred(c, c.font(13, false), whole, 26, label, k.print);
    c.p.end();
    return image;
}

// A small raised grey box with a triangle pointing up or down.
void drawScrollArrow(Canvas& c, const QRect& r, bool up)
{
    c.fill(r, c.k.grey);
    bevel(c, r, c.k.greyLight, c.k.greyDark, c.k.light, c.k.greyShade);
    const qreal cx = r.left() + r.width() / 2.0;
    const qreal cy = r.top() + r.height() / 2.0;
    const qreal dy = up ? -2.0 : 2.0;
    const QPolygonF tri{QPointF(cx - 4, cy - dy), QPointF(cx + 4, cy - dy), QPointF(cx, cy + dy)};
    c.beginCurves();
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(c.k.print);
    c.p.drawPolygon(tri);
    c.endCurves();
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

void drawInstructions(Canvas& c)
{
    const QRect box(12, 24, 616, 52);
    c.fill(box, c.k.paper);
    c.fill(box.left(), box.top(), box.width(), 1, c.k.greyDark);
    c.fill(box.left(), box.bottom(), box.width(), 1, c.k.greyDark);
    c.fill(box.left(), box.top(), 1, box.height(), c.k.greyDark);
    c.fill(box.right(), box.top(), 1, box.height(), c.k.greyDark);

    // The same words over an Issue topic and over an Argument: both come with
    // directions below the topic.
    const QString text =
        QStringLiteral("Read the topic below and the directions that follow it. Make any "
                       "notes you need to plan your answer, then begin typing your response "
                       "in the box at the bottom of the screen.");
    // Lines break where they break at 100 %.
    const QFont layout = sansFont(13, false);
    const QStringList lines = wrapWords(text, layout, box.width() - 20);
    const int lineHeight = QFontMetrics(layout).lineSpacing() + 3;
    int baseline = box.top() + (box.height() - lineHeight * int(lines.size())) / 2 +
                   QFontMetrics(layout).ascent() + 1;
    c.p.setFont(c.font(13, false));
    c.p.setPen(c.k.print);
    for (const QString& line : lines) {
        c.p.drawText(QPoint(c.x(box.left() + 10), c.y(baseline)), line);
        baseline += lineHeight;
    }
}

void drawTopicPanel(Canvas& c)
{
    const QRect panel(12, 96, 616, 163);
    c.fill(panel, c.k.paper);
    c.fill(panel.left(), panel.top(), panel.width(), 1, c.k.greyShade);
    c.fill(panel.left(), panel.top(), 1, panel.height(), c.k.greyShade);
    c.fill(panel.left(), panel.bottom(), panel.width(), 1, c.k.greyShade);
    c.fill(panel.right(), panel.top(), 1, panel.height(), c.k.greyShade);

    // Scroll bar inside the frame, as the text box will show one there.
    const QRect bar(panel.right() - 16, panel.top() + 1, 16, panel.height() - 2);
    c.fill(bar, c.k.track);
    c.fill(bar.left(), bar.top(), 1, bar.height(), c.k.trackLine);
    drawScrollArrow(c, QRect(bar.left(), bar.top(), 16, 16), true);
    drawScrollArrow(c, QRect(bar.left(), bar.bottom() - 15, 16, 16), false);
    const QRect thumb(bar.left(), bar.top() + 16, 16, 44);
    c.fill(thumb, c.k.grey);
    bevel(c, thumb, c.k.greyLight, c.k.greyDark, c.k.light, c.k.greyShade);
}

void drawAnswerBox(Canvas& c)
{
    const QRect box(19, 264, 530, 171);
    c.fill(box, c.k.paper);
    bevel(c, box, c.k.greyShade, c.k.light, c.k.greyDark, c.k.answerShade);
}

QImage paintButton(const QString& name, qreal ratio, const QPoint& origin, const Inks& k);

QImage drawBackground(qreal ratio, const QPoint& origin, const Inks& k)
{
    QImage image(deviceSize(BackgroundSize, ratio, origin), QImage::Format_RGB32);
    image.fill(k.screen);
    Canvas c(image, ratio, origin, k);

    c.fill(0, 0, 640, 20, k.teal); // title band
    if (k.plain) {
        // Bands of the background colour keep their place by a line.
        c.fill(0, 19, 640, 1, k.print);
        c.fill(0, 437, 640, 1, k.print);
    }
    drawInstructions(c);

    // Section strip; the left part stays plain for the section name label.
    c.fill(0, 80, 640, 17, k.teal);
    const QFont stripFont = c.font(12, true);
    const QString beginning = QStringLiteral("Beginning");
    c.p.setFont(stripFont);
    c.p.setPen(k.light);
    c.p.drawText(QPoint(c.x(620) - QFontMetrics(stripFont).horizontalAdvance(beginning), c.y(93)),
                 beginning);

    drawTopicPanel(c);
    drawAnswerBox(c);

    const QRect side(551, 264, 77, 171);
    c.fill(side, k.grey);
    bevel(c, side, k.light, k.greyShade, k.greyLight, k.grey);

    if (!k.plain)
        c.fill(0, 437, 640, 43, k.bar); // button bar

    // The very pictures the buttons show, at the very same density.
    for (const DrawnButtonPlace& place : backgroundButtonPlaces())
        c.p.drawImage(QPoint(c.x(place.pos.x()), c.y(place.pos.y())),
                      paintButton(place.name, ratio, origin + place.pos, k));
    c.p.end();
    return image;
}

QImage drawLogo(qreal ratio, const QPoint& origin)
{
    QImage image(deviceSize(LogoSize, ratio, origin), QImage::Format_RGB32);
    image.fill(Qt::white);
    const Inks& k = inksOf(ColourScheme::Exam);
    Canvas c(image, ratio, origin, k);

    const QString name = QStringLiteral("QEL");
    const QString tagline = QStringLiteral("Essay Practice");
    auto markFont = [](QFont font, qreal spacing) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        return font;
    };

    // Emblem and words together are centred across the plate, as measured at 100 %.
    const int tileSize = 39;
    const int gap = 10;
    const int words =
        qMax(QFontMetrics(markFont(sansFont(32, true), 2)).horizontalAdvance(name) - 2,
             QFontMetrics(sansFont(14, false)).horizontalAdvance(tagline));
    const int left = (LogoSize.width() - (tileSize + gap + words)) / 2;

    // Emblem: a teal tile with three lines of writing.
    QPainterPath tile;
    tile.addRoundedRect(QRectF(left, 10, tileSize, tileSize), 7, 7);
    c.beginCurves();
    c.p.fillPath(tile, k.teal);
    c.endCurves();
    c.fill(left + 8, 20, 23, 3, Qt::white);
    c.fill(left + 8, 28, 23, 3, Qt::white);
    c.fill(left + 8, 36, 14, 3, Qt::white);

    const int textLeft = left + tileSize + gap;
    c.p.setFont(markFont(c.font(32, true), 2 * ratio));
    c.p.setPen(k.teal);
    c.p.drawText(QPoint(c.x(textLeft - 1), c.y(34)), name);

    c.p.setFont(c.font(14, false));
    c.p.setPen(QColor(0x3c, 0x4e, 0x54));
    c.p.drawText(QPoint(c.x(textLeft), c.y(50)), tagline);
    c.p.end();
    return image;
}

// Painted in device pixels, without the ratio set, so that the background can
// take the buttons in as they are.
QImage paintButton(const QString& name, qreal ratio, const QPoint& origin, const Inks& k)
{
    for (const BarButton& b : BarButtons) {
        if (name == QLatin1String(b.name))
            return drawBarButton(b, ratio, origin, k);
    }
    for (const auto& g : GreyButtons) {
        if (name == QLatin1String(g.name))
            return drawGreyButton(QString::fromLatin1(g.label), ratio, origin, k);
    }
    return {};
}

QImage paint(const QString& name, qreal ratio, const QPoint& origin, const Inks& k)
{
    if (name == QLatin1String("background"))
        return drawBackground(ratio, origin, k);
    if (name == QLatin1String("logo"))
        return drawLogo(ratio, origin);
    for (const auto& icon : Icons) {
        if (name == QLatin1String(icon.name))
            return drawSmiley(qRound(icon.side * ratio));
    }
    return paintButton(name, ratio, origin, k);
}

} // namespace

SchemeColours schemeColours(ColourScheme scheme)
{
    // The greyed words of each plain scheme keep 7:1 and more against it. On
    // black they are a plain grey: dimmer than the words of a button that works,
    // with no hue that could read as "go".
    switch (scheme) {
    case ColourScheme::BlackOnWhite:
        return {Qt::black, Qt::white, QColor(0x60, 0x00, 0x00)};
    case ColourScheme::WhiteOnBlack:
        return {Qt::white, Qt::black, QColor(0xa0, 0xa0, 0xa0)};
    case ColourScheme::YellowOnBlack:
        return {QColor(0xff, 0xff, 0x00), Qt::black, QColor(0xa0, 0xa0, 0xa0)};
    case ColourScheme::Exam:
        break;
    }
    return {Qt::black, Qt::white, QColor(0x78, 0x84, 0x91)};
}

QString drawingFace()
{
    return QStringLiteral("Liberation Sans");
}

bool drawingFaceInstalled()
{
    return QFontInfo(sansFont(12, false)).family() == drawingFace();
}

QStringList drawnPictureNames()
{
    QStringList names;
    for (const BarButton& b : BarButtons)
        names.append(QString::fromLatin1(b.name));
    for (const auto& g : GreyButtons)
        names.append(QString::fromLatin1(g.name));
    names << QStringLiteral("background") << QStringLiteral("logo");
    for (const auto& icon : Icons)
        names.append(QString::fromLatin1(icon.name));
    return names;
}

QSize drawnPictureSize(const QString& name)
{
    if (name == QLatin1String("background"))
        return BackgroundSize;
    if (name == QLatin1String("logo"))
        return LogoSize;
    for (const BarButton& b : BarButtons) {
        if (name == QLatin1String(b.name))
            return BarSize;
    }
    for (const auto& g : GreyButtons) {
        if (name == QLatin1String(g.name))
            return GreySize;
    }
    for (const auto& icon : Icons) {
        if (name == QLatin1String(icon.name))
            return {icon.side, icon.side};
    }
    return {};
}

QImage drawPicture(const QString& name, qreal ratio, const QPoint& origin, ColourScheme scheme)
{
    QImage image = paint(name, ratio, origin, inksOf(scheme));
    image.setDevicePixelRatio(ratio);
    return image;
}

const std::vector<DrawnButtonPlace>& backgroundButtonPlaces()
{
    static const std::vector<DrawnButtonPlace> Places = {
        {QStringLiteral("cut"), {554, 269}},        {QStringLiteral("paste"), {554, 317}},
        {QStringLiteral("undo"), {554, 365}},       {QStringLiteral("testquit"), {11, 439}},
        {QStringLiteral("sectionexit"), {58, 439}}, {QStringLiteral("time"), {105, 439}},
        {QStringLiteral("help"), {490, 439}},       {QStringLiteral("confirm0"), {537, 439}},
        {QStringLiteral("next0"), {584, 439}},
    };
    return Places;
}

QImage drawSmiley(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Whole-pixel outline and eyes keep the small sizes from smearing.
    const qreal s = side;
    const int outline = qMax(1, qRound(s / 20.0));
    const int margin = side >= 32 ? 1 : 0;
    const QColor dark(0x3a, 0x2a, 0x05);
    const qreal inset = margin + outline / 2.0;
    // A hair over one pixel at the smallest size, or the ring looks faint.
    p.setPen(QPen(dark, side <= 24 ? 1.25 : outline));
    p.setBrush(QColor(0xff, 0xd4, 0x1e));
    p.drawEllipse(QRectF(inset, inset, s - 2 * inset, s - 2 * inset));

    const int eyeW = qMax(1, qRound(s * 0.085));
    const int eyeH = qMax(2, qRound(s * 0.16));
    const int eyeX = qRound(s * 0.36 - eyeW / 2.0);
    const int eyeY = qRound(s * 0.37 - eyeH / 2.0);
    const QRect leftEye(eyeX, eyeY, eyeW, eyeH);
    const QRect rightEye(side - eyeX - eyeW, eyeY, eyeW, eyeH);

    if (side <= 24) {
        // Too small for curves: set the eyes and the smile pixel by pixel, the
        // smile a parabola of one pixel a column, unbroken at every size.
        p.fillRect(leftEye, dark);
        p.fillRect(rightEye, dark);
        const int smileX = qRound(s / 4.0);
        const qreal middle = (s - 1) / 2.0;
        const qreal halfWidth = middle - smileX;
        const int bottom = qRound(s * 11 / 16.0);
        for (int x = smileX; x < side - smileX; ++x) {
            const qreal dx = x - middle;
            const qreal rise = s / 8.0 * (dx * dx - 0.25) / qMax(1.0, halfWidth * halfWidth - 0.25);
            p.fillRect(x, bottom - qRound(rise), 1, 1, dark);
        }
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        // Eyes a few pixels wide blur as ellipses; as whole pixels they stay crisp.
        if (side < 48) {
            p.fillRect(leftEye, dark);
            p.fillRect(rightEye, dark);
        } else {
            p.drawEllipse(leftEye);
            p.drawEllipse(rightEye);
        }
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
