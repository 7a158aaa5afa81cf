#include "review/progressview.h"

#include "bank/topiclibrary.h"
#include "essay/essayreport.h"

#include <QAccessible>
#include <QDate>
#include <QGridLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyleOptionFocusRect>
#include <QTextBrowser>
#include <QToolTip>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace {

const QColor GridColour(0xdd, 0xdd, 0xdd);
const QColor MedianColour(0x20, 0x20, 0x20);

// The frame round each cell of the map, so that a cell never written shows.
QColor cellFrame(MapScheme scheme)
{
    return scheme == MapScheme::Dark ? QColor(0x6e, 0x6e, 0x6e) : QColor(0x94, 0x94, 0x94);
}

QString markText(double value)
{
    return QLocale().toString(value, 'f', value == std::round(value) ? 0 : 1);
}

QString dayText(double day)
{
    return QLocale().toString(QDate(1970, 1, 1).addDays(qint64(std::floor(day))),
                              QStringLiteral("d MMM yy"));
}

void drawFocus(QWidget* widget, QPainter& painter, const QRect& around)
{
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    option.rect = around;
    widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}

} // namespace

const KindMark& kindMark(EssayKind kind)
{
    static const std::array<KindMark, 3> Marks{
        {{EssayKind::Issue, IssueColour, KindMark::Circle},
         {EssayKind::Argument, ArgumentColour, KindMark::Square},
         {EssayKind::GreIssue, GreIssueColour, KindMark::Diamond}}};
    for (const KindMark& mark : Marks)
        if (mark.kind == kind)
            return mark;
    return Marks.front();
}

void drawKindMark(QPainter& painter, const QPointF& at, qreal radius, const KindMark& mark)
{
    painter.setPen(QPen(Qt::black, 0.6));
    painter.setBrush(mark.colour);
    const qreal r = radius;
    switch (mark.shape) {
    case KindMark::Circle:
        painter.drawEllipse(at, r, r);
        break;
    case KindMark::Square:
        painter.drawRect(QRectF(at - QPointF(r, r), QSizeF(2 * r, 2 * r)));
        break;
    case KindMark::Diamond:
        painter.drawPolygon(QPolygonF{at + QPointF(0, -1.3 * r), at + QPointF(1.3 * r, 0),
                                      at + QPointF(0, 1.3 * r), at + QPointF(-1.3 * r, 0)});
        break;
    }
}

MapScheme mapSchemeOf(const QPalette& palette)
{
    return palette.base().color().lightness() < 128 ? MapScheme::Dark : MapScheme::Light;
}

// "Never" stands at least 3:1 (WCAG) from "once", so that a topic written stands
// out from one not written; the other steps share what contrast is left, and
// each written cell shows its count as well.
QColor shadeColour(int shade, MapScheme scheme)
{
    static const std::array<QColor, 5> Light = {QColor(0xff, 0xff, 0xff), QColor(0x50, 0x97, 0xda),
                                                QColor(0x25, 0x6c, 0xad), QColor(0x17, 0x44, 0x6e),
                                                QColor(0x08, 0x17, 0x25)};
    static const std::array<QColor, 5> Dark = {QColor(0x1e, 0x1e, 0x1e), QColor(0x1b, 0x6c, 0xb9),
                                               QColor(0x39, 0x91, 0xe3), QColor(0x8b, 0xbe, 0xee),
                                               QColor(0xe2, 0xef, 0xfb)};
    return (scheme == MapScheme::Dark ? Dark : Light).at(std::clamp(shade, 0, 4));
}

QColor inkOn(const QColor& colour)
{
    // Relative luminance as WCAG defines it; white and black stand out equally at 0.179.
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double l = 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
                     0.0722 * linear(colour.blueF());
    return l > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

TimeChart::TimeChart(const char* name, const QString& said, bool wordBand, QWidget* parent)
    : QWidget(parent), wordBand_(wordBand)
{
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(said);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TimeChart::setSeries(const TimeSeries& series, const QString& sentences)
{
    series_ = series;
    setAccessibleDescription(sentences);
    setToolTip(sentences);
    update();
}

void TimeChart::setNote(const QString& note)
{
    note_ = note;
    setAccessibleDescription(accessibleName() + QStringLiteral(": ") + note);
    update();
}

void TimeChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const ProgressScale& v = series_.values;
    const ProgressScale& d = series_.days;
    // Room for the marks on the left and for half a date at either end.
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("28 Dec 26")) + 8;
    const int left = std::max(metrics.horizontalAdvance(markText(v.high)) + 10, labelWidth / 2);
    const QRect plot =
        rect().adjusted(left, metrics.height() + 4, -labelWidth / 2, -metrics.height() - 8);
    painter.setPen(palette().text().color());
    painter.drawText(QRect(left, 0, plot.width(), metrics.height() + 2), Qt::AlignLeft,
                     accessibleName());
    if (plot.width() < 20 || plot.height() < 20)
        return;
    const auto x = [&](double day) {
        return plot.left() + (day - d.low) / (d.high - d.low) * plot.width();
    };
    const auto y = [&](double value) {
        return plot.bottom() - (value - v.low) / (v.high - v.low) * plot.height();
    };
    if (wordBand_) {
        painter.fillRect(QRectF(QPointF(plot.left(), y(TargetWords.high)),
                                QPointF(plot.right(), y(TargetWords.low))),
                         BandColour);
    }
    painter.setPen(QPen(GridColour, 0));
    for (double mark = v.low; mark <= v.high + v.step / 2; mark += v.step) {
        painter.setPen(QPen(GridColour, 0));
        painter.drawLine(QPointF(plot.left(), y(mark)), QPointF(plot.right(), y(mark)));
        painter.setPen(palette().text().color());
        painter.drawText(QRectF(0, y(mark) - metrics.height() / 2.0, left - 5, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, markText(mark));
    }
    const int every = std::max(1, int(std::ceil(labelWidth / (x(d.low + d.step) - x(d.low)))));
    int n = 0;
    for (double day = d.low; day <= d.high + d.step / 2; day += d.step, ++n) {
        painter.setPen(QPen(GridColour, 0));
        painter.drawLine(QPointF(x(day), plot.top()), QPointF(x(day), plot.bottom()));
        if (n % every == 0) {
            painter.setPen(palette().text().color());
            painter.drawText(
                QRectF(x(day) - labelWidth / 2.0, plot.bottom() + 4, labelWidth, metrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, dayText(day));
        }
    }
    if (series_.points.isEmpty()) {
        painter.setPen(palette().text().color());
        painter.drawText(plot, Qt::AlignCenter,
                         !note_.isEmpty()      ? note_
                         : series_.waiting > 0 ? QStringLiteral("Counting...")
                                               : QStringLiteral("No dated essays"));
    }
    // Each kind in a shape of its own: told apart without colour too. A value
    // beyond the top stands on the edge under a caret, its figure beside it.
    const qreal r = 3.5;
    const auto shown = [&](double value) { return y(std::min(value, v.high)); };
    for (const ProgressPoint& p : std::as_const(series_.points)) {
        const QPointF at(x(p.day), shown(p.value));
        drawKindMark(painter, at, r, kindMark(p.kind));
        if (p.value <= v.high)
            continue;
        painter.setPen(QPen(palette().text().color(), 1.2));
        painter.drawPolyline(QPolygonF{at + QPointF(-r, -r - 1), at + QPointF(0, -2 * r - 2),
                                       at + QPointF(r, -r - 1)});
        const QString figure = markText(p.value);
        const int w = metrics.horizontalAdvance(figure) + 4;
        const bool left = at.x() + r + w > width();
        painter.drawText(QRectF(left ? at.x() - r - w : at.x() + r + 2, at.y() - metrics.height(),
                                w, metrics.height()),
                         int((left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter), figure);
    }
    if (series_.median.size() > 1) {
        QPainterPath line;
        line.moveTo(x(series_.points.first().day), shown(series_.median.first()));
        for (qsizetype i = 1; i < series_.median.size(); ++i)
            line.lineTo(x(series_.points.at(i).day), shown(series_.median.at(i)));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(MedianColour, 2));
        painter.drawPath(line);
    }
    if (hasFocus())
        drawFocus(this, painter, rect().adjusted(1, 1, -1, -1));
}

PictureKey::PictureKey(const char* name, const QString& said, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(said);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PictureKey::setEntries(const QList<Entry>& entries)
{
    entries_ = entries;
    QStringList names;
    for (const Entry& entry : entries)
        names << entry.name;
    setAccessibleDescription(names.join(QStringLiteral("; ")));
    updateGeometry();
    update();
}

QList<QRect> PictureKey::places(int width) const
{
    const QFontMetrics metrics = fontMetrics();
    const int side = metrics.height();
    QList<QRect> found;
    int x = 0;
    int y = 0;
    for (const Entry& entry : entries_) {
        const int w = side + 4 + metrics.horizontalAdvance(entry.name);
        if (x > 0 && x + w > width) {
            x = 0;
            y += side + 4;
        }
        found << QRect(x, y, side, side);
        x += w + 2 * side;
    }
    return found;
}

int PictureKey::heightForWidth(int width) const
{
    const QList<QRect> at = places(width);
    return at.isEmpty() ? 0 : at.last().bottom() + 3;
}

QSize PictureKey::sizeHint() const
{
    const int wide = 1 << 20;
    const QList<QRect> at = places(wide);
    const int width = at.isEmpty() ? 0
                                   : at.last().right() + 5 +
                                         fontMetrics().horizontalAdvance(entries_.last().name);
    return {width, heightForWidth(wide)};
}

QSize PictureKey::minimumSizeHint() const
{
    return {fontMetrics().height() * 6, heightForWidth(fontMetrics().height() * 6)};
}

void PictureKey::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QList<QRect> at = places(width());
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        painter.save();
        entries_.at(i).draw(painter, QRectF(at.at(i)).adjusted(1, 1, -1, -1));
        painter.restore();
        painter.setPen(palette().windowText().color());
        painter.drawText(QRect(at.at(i).right() + 5, at.at(i).top(), width(), at.at(i).height()),
                         Qt::AlignLeft | Qt::AlignVCenter, entries_.at(i).name);
    }
}

TopicMap::TopicMap(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("topicMap"));
    setAccessibleName(QStringLiteral("Topics written"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    const int headings = int(EssayKinds.size()) * (fontMetrics().height() + 6);
    // Three bands in the room two had: the cells may be smaller than they are wide.
    setMinimumSize(Columns * 8, rows() * 5 + headings);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize TopicMap::sizeHint() const
{
    return {Columns * 20, rows() * 20 + int(EssayKinds.size()) * (fontMetrics().height() + 6)};
}

void TopicMap::setCells(const QList<TopicCell>& cells)
{
    cells_ = cells;
    current_ = std::clamp(current_, 0, std::max(0, int(cells_.size()) - 1));
    setAccessibleDescription(cellText(current_));
    update();
}

int TopicMap::rows() const
{
    int rows = 0;
    for (const KindFacts& kind : EssayKinds)
        rows += (kind.topicCount + Columns - 1) / Columns;
    return rows;
}

int TopicMap::side() const
{
    const int free = height() - int(EssayKinds.size()) * (fontMetrics().height() + 6);
    return std::max(4, std::min(width() / Columns, free / rows()));
}

QRect TopicMap::cellRect(int cell) const
{
    const int s = side();
    const int heading = fontMetrics().height() + 6;
    int top = 0;
    for (const KindFacts& kind : EssayKinds) {
        if (cell < kind.topicCount)
            return {(cell % Columns) * s, top + heading + (cell / Columns) * s, s, s};
        cell -= kind.topicCount;
        top += heading + (kind.topicCount + Columns - 1) / Columns * s;
    }
    return {};
}

int TopicMap::cellAt(const QPoint& at) const
{
    for (int cell = 0; cell < cells_.size(); ++cell)
        if (cellRect(cell).contains(at))
            return cell;
    return -1;
}

QString TopicMap::cellText(int cell) const
{
    if (cell < 0 || cell >= cells_.size())
        return {};
    const TopicCell& c = cells_.at(cell);
    QString text = QStringLiteral("%1 No.%2: %3")
                       .arg(kindName(c.question.kind))
                       .arg(c.question.number)
                       .arg(c.count == 0   ? QStringLiteral("not written yet")
                            : c.count == 1 ? QStringLiteral("written once")
                                           : QStringLiteral("written %1 times").arg(c.count));
    if (topicStart) {
        const QString start = topicStart(c.question);
        if (!start.isEmpty())
            text += QStringLiteral(". ") + start;
    }
    return text;
}

void TopicMap::setCurrentCell(int cell)
{
    if (cell < 0 || cell >= cells_.size())
        return;
    current_ = cell;
    const QString text = cellText(cell);
    setAccessibleDescription(text);
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
    emit cellNamed(text);
    update();
}

void TopicMap::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int heading = metrics.height() + 6;
    const MapScheme scheme = mapSchemeOf(palette());
    painter.setPen(palette().windowText().color());
    int first = 0;
    for (const KindFacts& kind : EssayKinds) {
        const QRect cell = cellRect(first);
        painter.drawText(
            QRect(0, cell.top() - heading, width(), heading), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1 topics 1 to %2").arg(QLatin1String(kind.name)).arg(kind.topicCount));
        first += kind.topicCount;
    }
    // The counts where a cell has room for two figures, in a font its height fits.
    QFont small = font();
    small.setPixelSize(std::max(6, side() * 11 / 20));
    const bool counts = side() >= 14;
    painter.setFont(small);
    const QColor frame = cellFrame(scheme);
    for (int cell = 0; cell < cells_.size(); ++cell) {
        // A frame round each cell, so that the topics never written show too.
        const QRect r = cellRect(cell).adjusted(0, 0, -1, -1);
        const QColor shade = shadeColour(cells_.at(cell).shade, scheme);
        painter.fillRect(r, frame);
        painter.fillRect(r.adjusted(1, 1, -1, -1), shade);
        const int count = cells_.at(cell).count;
        if (counts && count > 0) {
            painter.setPen(inkOn(shade));
            painter.drawText(r, Qt::AlignCenter,
                             count > 99 ? QStringLiteral("99+") : QString::number(count));
        }
    }
    painter.setFont(font());
    if (hasFocus() && current_ < cells_.size()) {
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect(current_).adjusted(1, 1, -2, -2));
    }
}

bool TopicMap::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int cell = cellAt(help->pos());
        if (cell >= 0)
            QToolTip::showText(help->globalPos(), cellText(cell), this, cellRect(cell));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TopicMap::keyPressEvent(QKeyEvent* event)
{
    const int last = int(cells_.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrentCell(std::max(0, current_ - 1));
        break;
    case Qt::Key_Right:
        setCurrentCell(std::min(last, current_ + 1));
        break;
    case Qt::Key_Up:
        setCurrentCell(std::max(0, current_ - Columns));
        break;
    case Qt::Key_Down:
        setCurrentCell(std::min(last, current_ + Columns));
        break;
    case Qt::Key_Home:
        setCurrentCell(0);
        break;
    case Qt::Key_End:
        setCurrentCell(last);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (current_ <= last)
            emit topicChosen(cells_.at(current_).question);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TopicMap::mousePressEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell < 0)
        return;
    setCurrentCell(cell);
    emit topicChosen(cells_.at(cell).question);
}

void TopicMap::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellNamed(cellText(cell));
}

void TopicMap::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    setCurrentCell(current_);
}

ProgressView::ProgressView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("progressView"));
    totalsLabel = new QLabel;
    totalsLabel->setObjectName(QStringLiteral("totalsLabel"));
    totalsLabel->setWordWrap(true);
    wordsChart = new TimeChart("wordsChart", QStringLiteral("Words over time"), true);
    slipsChart =
        new TimeChart("slipsChart", QStringLiteral("Spelling slips per hundred words"), false);
    chartKey = new PictureKey("chartKey", QStringLiteral("Key to the pictures over time"));
    QList<PictureKey::Entry> marks;
    for (const KindFacts& kind : EssayKinds) {
        marks << PictureKey::Entry{QLatin1String(kind.name),
                                   [mark = kindMark(kind.kind)](QPainter& p, const QRectF& r) {
                                       drawKindMark(p, r.center(), r.height() / 4, mark);
                                   }};
    }
    marks << PictureKey::Entry{QStringLiteral("median of each essay and the four before"),
                               [](QPainter& p, const QRectF& r) {
                                   p.setPen(QPen(MedianColour, 2));
                                   p.drawLine(QPointF(r.left(), r.center().y()),
                                              QPointF(r.right(), r.center().y()));
                               }};
    marks << PictureKey::Entry{
        QStringLiteral("%1 to %2 words").arg(TargetWords.low).arg(TargetWords.high),
        [](QPainter& p, const QRectF& r) { p.fillRect(r, BandColour); }};
    marks << PictureKey::Entry{
        QStringLiteral("beyond the top, with its figure"), [this](QPainter& p, const QRectF& r) {
            p.setPen(QPen(palette().text().color(), 1.2));
            const QPointF c = r.center();
            const qreal h = r.height() / 4;
            p.drawPolyline(
                QPolygonF{c + QPointF(-h, h / 2), c + QPointF(0, -h / 2), c + QPointF(h, h / 2)});
        }};
    chartKey->setEntries(marks);
    datesLabel = new QLabel;
    datesLabel->setObjectName(QStringLiteral("datesLabel"));
    datesLabel->setWordWrap(true);
    topicMap = new TopicMap;
    mapKey = new PictureKey("mapKey", QStringLiteral("Key to the topics map"));
    QList<PictureKey::Entry> shades;
    for (int shade = 0; shade < int(ShadeNames.size()); ++shade) {
        shades << PictureKey::Entry{
            QLatin1String(ShadeNames.at(shade)), [this, shade](QPainter& p, const QRectF& r) {
                const MapScheme scheme = mapSchemeOf(palette());
                p.fillRect(r, cellFrame(scheme));
                p.fillRect(r.adjusted(1, 1, -1, -1), shadeColour(shade, scheme));
            }};
    }
    mapKey->setEntries(shades);
    cellLabel = new QLabel(QStringLiteral("Point at a topic, or Tab to the map and use the arrow "
                                          "keys; Enter lists its essays."));
    cellLabel->setObjectName(QStringLiteral("cellLabel"));
    cellLabel->setWordWrap(true);
    figuresView = new QTextBrowser;
    figuresView->setObjectName(QStringLiteral("figuresView"));
    figuresView->setAccessibleName(QStringLiteral("Progress in figures"));
    figuresView->setTabChangesFocus(true);
    figuresView->setMinimumHeight(3 * fontMetrics().height());
    usageChart = new TimeChart(
        "usageChart", QStringLiteral("Usage and mechanics slips per hundred words"), false);
    firstWordChart =
        new TimeChart("firstWordChart", QStringLiteral("Minutes before the first word"), false);
    timeLeftChart =
        new TimeChart("timeLeftChart", QStringLiteral("Minutes left at the end"), false);
    // The pictures over time two by two: the words and the slips of either
    // kind, then how the time went; their key under them.
    auto* layout = new QGridLayout(this);
    layout->addWidget(totalsLabel, 0, 0, 1, 2);
    layout->addWidget(wordsChart, 1, 0);
    layout->addWidget(slipsChart, 1, 1);
    layout->addWidget(usageChart, 2, 0);
    layout->addWidget(firstWordChart, 2, 1);
    layout->addWidget(timeLeftChart, 3, 1);
    layout->addWidget(chartKey, 4, 0, 1, 2);
    layout->addWidget(datesLabel, 5, 0, 1, 2);
    layout->addWidget(topicMap, 6, 0, 1, 2);
    layout->addWidget(mapKey, 7, 0, 1, 2);
    layout->addWidget(cellLabel, 8, 0, 1, 2);
    layout->addWidget(figuresView, 9, 0, 1, 2);
    for (const int row : {1, 2, 3, 6})
        layout->setRowStretch(row, 3);
    layout->setRowStretch(9, 1);
    connect(topicMap, &TopicMap::cellNamed, cellLabel, &QLabel::setText);
    setTabOrder(wordsChart, slipsChart);
    setTabOrder(slipsChart, usageChart);
    setTabOrder(usageChart, firstWordChart);
    setTabOrder(firstWordChart, timeLeftChart);
    ratingsChart = new TimeChart("ratingsChart", QStringLiteral("Your ratings"), false);
    layout->addWidget(ratingsChart, 3, 0);
    setTabOrder(timeLeftChart, ratingsChart);
    setTabOrder(ratingsChart, topicMap);
    setTabOrder(topicMap, figuresView);
}

void ProgressView::setProgress(const Progress& progress)
{
    totalsLabel->setText(totalsLine(progress));
    const QString words = seriesSentences(progress.words, QStringLiteral("Words"));
    const QString slips =
        seriesSentences(progress.slips, QStringLiteral("Spelling slips per hundred words"));
    const QString usage = seriesSentences(
        progress.usage, QStringLiteral("Usage and mechanics slips per hundred words"));
    wordsChart->setSeries(progress.words, words);
    slipsChart->setSeries(progress.slips, slips);
    usageChart->setSeries(progress.usage, usage);
    datesLabel->setText(datesLine(progress));
    datesLabel->setVisible(!datesLabel->text().isEmpty());
    topicMap->setCells(progress.cells);
    std::array<QStringList, EssayKinds.size()> written;
    std::array<int, EssayKinds.size()> untouched{};
    for (const TopicCell& cell : progress.cells) {
        for (size_t k = 0; k < EssayKinds.size(); ++k) {
            if (EssayKinds.at(k).kind != cell.question.kind)
                continue;
            if (cell.count == 0)
                ++untouched.at(k);
            else
                written.at(k)
                    << QStringLiteral("%1 (%2)").arg(cell.question.number).arg(cell.count);
        }
    }
    QString html = QStringLiteral("<p>%1</p><p>%2</p><p>%3</p><p>%4</p>")
                       .arg(totalsLine(progress).toHtmlEscaped(), words.toHtmlEscaped(),
                            slips.toHtmlEscaped(), usage.toHtmlEscaped());
    if (!datesLine(progress).isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(datesLine(progress).toHtmlEscaped());
    for (size_t k = 0; k < EssayKinds.size(); ++k) {
        html += QStringLiteral("<p>%1 topics written, with how often: %2. Not written yet: %3.</p>")
                    .arg(QLatin1String(EssayKinds.at(k).name),
                         written.at(k).isEmpty() ? QStringLiteral("none")
                                                 : written.at(k).join(QStringLiteral(", ")))
                    .arg(untouched.at(k));
    }
    const QString firstWord =
        seriesSentences(progress.firstWord, QStringLiteral("Minutes before the first word"));
    const QString timeLeft =
        seriesSentences(progress.timeLeft, QStringLiteral("Minutes left at the end"));
    firstWordChart->setSeries(progress.firstWord, firstWord);
    timeLeftChart->setSeries(progress.timeLeft, timeLeft);
    // Only essays saved with a timeline have these figures; without any, no room is taken.
    for (TimeChart* chart : {firstWordChart, timeLeftChart})
        chart->setVisible(!progress.firstWord.points.isEmpty() ||
                          !progress.timeLeft.points.isEmpty());
    html += QStringLiteral("<p>%1</p><p>%2</p>")
                .arg(firstWord.toHtmlEscaped(), timeLeft.toHtmlEscaped());
    const QString ratings = seriesSentences(progress.ratings, QStringLiteral("Your ratings"));
    ratingsChart->setSeries(progress.ratings, ratings);
    ratingsChart->setVisible(!progress.ratings.points.isEmpty());
    if (!progress.ratings.points.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(ratings.toHtmlEscaped());
    figuresView->setHtml(html);
}
