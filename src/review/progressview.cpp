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
#include <QStyleOptionFocusRect>
#include <QTextBrowser>
#include <QToolTip>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace {

const QColor GridColour(0xdd, 0xdd, 0xdd);
const QColor MedianColour(0x20, 0x20, 0x20);

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

QColor shadeColour(int shade)
{
    static const std::array<QColor, 5> Shades = {QColor(0xff, 0xff, 0xff), QColor(0xc6, 0xdb, 0xef),
                                                 QColor(0x6b, 0xae, 0xd6), QColor(0x21, 0x71, 0xb5),
                                                 QColor(0x08, 0x30, 0x6b)};
    return Shades.at(std::clamp(shade, 0, 4));
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
    // Issue as round points, Argument as squares: told apart without colour too.
    const qreal r = 3.5;
    painter.setPen(QPen(Qt::black, 0.6));
    for (const ProgressPoint& p : std::as_const(series_.points)) {
        const QPointF at(x(p.day), y(p.value));
        if (p.kind == EssayKind::Issue) {
            painter.setBrush(IssueColour);
            painter.drawEllipse(at, r, r);
        } else {
            painter.setBrush(ArgumentColour);
            painter.drawRect(QRectF(at - QPointF(r, r), QSizeF(2 * r, 2 * r)));
        }
    }
    if (series_.median.size() > 1) {
        QPainterPath line;
        line.moveTo(x(series_.points.first().day), y(series_.median.first()));
        for (qsizetype i = 1; i < series_.median.size(); ++i)
            line.lineTo(x(series_.points.at(i).day), y(series_.median.at(i)));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(MedianColour, 2));
        painter.drawPath(line);
    }
    if (hasFocus())
        drawFocus(this, painter, rect().adjusted(1, 1, -1, -1));
}

TopicMap::TopicMap(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("topicMap"));
    setAccessibleName(QStringLiteral("Topics written"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(Columns * 8, 10 * 8 + 2 * fontMetrics().height() + 12);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TopicMap::setCells(const QList<TopicCell>& cells)
{
    cells_ = cells;
    current_ = std::clamp(current_, 0, std::max(0, int(cells_.size()) - 1));
    setAccessibleDescription(cellText(current_));
    update();
}

int TopicMap::side() const
{
    const int free = height() - 2 * (fontMetrics().height() + 6);
    return std::max(4, std::min(width() / Columns, free / 10));
}

QRect TopicMap::cellRect(int cell) const
{
    const int s = side();
    const bool argument = cell >= IssueTopicCount;
    const int i = argument ? cell - IssueTopicCount : cell;
    const int heading = fontMetrics().height() + 6;
    const int top = heading + (argument ? 5 * s + heading : 0);
    return {(i % Columns) * s, top + (i / Columns) * s, s, s};
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
                       .arg(c.question.kind == EssayKind::Issue ? QStringLiteral("Issue")
                                                                : QStringLiteral("Argument"))
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
    const int s = side();
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(0, 0, width(), heading), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Issue topics 1 to %1").arg(IssueTopicCount));
    painter.drawText(QRect(0, heading + 5 * s, width(), heading), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Argument topics 1 to %1").arg(ArgumentTopicCount));
    for (int cell = 0; cell < cells_.size(); ++cell) {
        // A frame round each cell, so that the topics never written show too.
        const QRect r = cellRect(cell).adjusted(0, 0, -1, -1);
        painter.fillRect(r, QColor(0xb8, 0xb8, 0xb8));
        painter.fillRect(r.adjusted(1, 1, -1, -1), shadeColour(cells_.at(cell).shade));
    }
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
    datesLabel = new QLabel;
    datesLabel->setObjectName(QStringLiteral("datesLabel"));
    datesLabel->setWordWrap(true);
    topicMap = new TopicMap;
    cellLabel = new QLabel(QStringLiteral("Point at a topic, or Tab to the map and use the arrow "
                                          "keys; Enter lists its essays."));
    cellLabel->setObjectName(QStringLiteral("cellLabel"));
    cellLabel->setWordWrap(true);
    figuresView = new QTextBrowser;
    figuresView->setObjectName(QStringLiteral("figuresView"));
    figuresView->setAccessibleName(QStringLiteral("Progress in figures"));
    figuresView->setTabChangesFocus(true);
    figuresView->setMinimumHeight(3 * fontMetrics().height());
    auto* layout = new QGridLayout(this);
    layout->addWidget(totalsLabel, 0, 0, 1, 2);
    layout->addWidget(wordsChart, 1, 0);
    layout->addWidget(slipsChart, 1, 1);
    layout->addWidget(datesLabel, 2, 0, 1, 2);
    layout->addWidget(topicMap, 3, 0, 1, 2);
    layout->addWidget(cellLabel, 4, 0, 1, 2);
    layout->addWidget(figuresView, 5, 0, 1, 2);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(3, 3);
    layout->setRowStretch(5, 1);
    connect(topicMap, &TopicMap::cellNamed, cellLabel, &QLabel::setText);
    setTabOrder(wordsChart, slipsChart);
    setTabOrder(slipsChart, topicMap);
    setTabOrder(topicMap, figuresView);

    firstWordChart =
        new TimeChart("firstWordChart", QStringLiteral("Minutes before the first word"), false);
    timeLeftChart =
        new TimeChart("timeLeftChart", QStringLiteral("Minutes left at the end"), false);
    layout->addWidget(firstWordChart, 6, 0);
    layout->addWidget(timeLeftChart, 6, 1);
    layout->setRowStretch(6, 3);
    setTabOrder(slipsChart, firstWordChart);
    setTabOrder(firstWordChart, timeLeftChart);
}

void ProgressView::setProgress(const Progress& progress)
{
    totalsLabel->setText(totalsLine(progress));
    const QString words = seriesSentences(progress.words, QStringLiteral("Words"));
    const QString slips =
        seriesSentences(progress.slips, QStringLiteral("Spelling slips per hundred words"));
    wordsChart->setSeries(progress.words, words);
    slipsChart->setSeries(progress.slips, slips);
    datesLabel->setText(datesLine(progress));
    datesLabel->setVisible(!datesLabel->text().isEmpty());
    topicMap->setCells(progress.cells);
    std::array<QStringList, 2> written;
    std::array<int, 2> untouched{0, 0};
    for (const TopicCell& cell : progress.cells) {
        const int k = cell.question.kind == EssayKind::Issue ? 0 : 1;
        if (cell.count == 0)
            ++untouched[k];
        else
            written[k] << QStringLiteral("%1 (%2)").arg(cell.question.number).arg(cell.count);
    }
    QString html = QStringLiteral("<p>%1</p><p>%2</p><p>%3</p>")
                       .arg(totalsLine(progress).toHtmlEscaped(), words.toHtmlEscaped(),
                            slips.toHtmlEscaped());
    if (!datesLine(progress).isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(datesLine(progress).toHtmlEscaped());
    const std::array<const char*, 2> kinds{"Issue", "Argument"};
    for (int k = 0; k < 2; ++k) {
        html += QStringLiteral("<p>%1 topics written, with how often: %2. Not written yet: %3.</p>")
                    .arg(QLatin1String(kinds[k]), written[k].isEmpty()
                                                      ? QStringLiteral("none")
                                                      : written[k].join(QStringLiteral(", ")))
                    .arg(untouched[k]);
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
    figuresView->setHtml(html);
}
