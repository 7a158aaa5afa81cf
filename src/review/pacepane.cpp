#include "review/pacepane.h"

#include "essay/essaynotes.h"
#include "review/essaylist.h"
#include "review/progressmodel.h"

#include <QDir>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor LineColour(0x1f, 0x4e, 0x9c);
const QColor PauseColour(0xc0, 0x39, 0x2b);
const QColor MarkColour(0x6a, 0x3d, 0x9a);
const QColor ShadeColour(0xe8, 0xe8, 0xe8);
const QColor GridColour(0xc8, 0xc8, 0xc8);

// The records of one essay file, in file order, and their rows.
struct FileRecords {
    QList<int> rows;
    QList<SavedEssay> read; // what the records' views point into
    QList<NotedRecord> records;
};

QHash<int, FileRecords> recordsByFile(const EssayList& essays, std::optional<int> onlyFile)
{
    QHash<int, FileRecords> files;
    for (int row = 0; row < essays.rowCount(); ++row) {
        const ListedEssay& essay = essays.listed(row);
        if (!essay.isRecord || (onlyFile && essay.file != *onlyFile))
            continue;
        files[essay.file].rows.append(row);
    }
    for (FileRecords& file : files) {
        // The list is newest first; the notes match records in the file's order.
        std::sort(file.rows.begin(), file.rows.end(), [&essays](int a, int b) {
            return essays.listed(a).record < essays.listed(b).record;
        });
        for (const int row : std::as_const(file.rows)) {
            file.read.append(essays.essay(row));
            const EssayRecordPart& part = file.read.last().part;
            file.records.append({part.text, part.date, part.time});
        }
    }
    return files;
}

QList<std::optional<PaceLog>> fileTimelines(const EssayList& essays, const FileRecords& file,
                                            const QString& userFolder)
{
    const QString path =
        QDir(userFolder)
            .filePath(notesFilePath(essays.fileName(essays.listed(file.rows.constFirst()))));
    return matchTimelines(readNotesFile(path), file.records);
}

} // namespace

std::optional<PaceLog> essayTimeline(const EssayList& essays, int row, const QString& userFolder)
{
    if (row < 0 || row >= essays.rowCount() || !essays.listed(row).isRecord)
        return std::nullopt;
    const QHash<int, FileRecords> files = recordsByFile(essays, essays.listed(row).file);
    const FileRecords& file = *files.constBegin();
    const QList<std::optional<PaceLog>> timelines = fileTimelines(essays, file, userFolder);
    return timelines.at(file.rows.indexOf(row));
}

QList<std::optional<PaceFigures>> allTimelineFigures(const EssayList& essays,
                                                     const QString& userFolder,
                                                     const std::atomic<bool>* stop)
{
    QList<std::optional<PaceFigures>> figures(essays.rowCount());
    const QHash<int, FileRecords> files = recordsByFile(essays, std::nullopt);
    for (const FileRecords& file : files) {
        if (stop && *stop)
            break;
        const QList<std::optional<PaceLog>> timelines = fileTimelines(essays, file, userFolder);
        for (qsizetype i = 0; i < timelines.size(); ++i) {
            if (timelines.at(i))
                figures[file.rows.at(i)] = paceFigures(*timelines.at(i));
        }
    }
    return figures;
}

TimelineFigures::TimelineFigures(const EssayList& essays, const QString& userFolder,
                                 QObject* receiver, const std::function<void()>& done)
{
    reading_ = std::async(std::launch::async, &TimelineFigures::read, this, std::cref(essays),
                          userFolder, receiver, done);
}

void TimelineFigures::read(const EssayList& essays, const QString& userFolder, QObject* receiver,
                           const std::function<void()>& done)
{
    QList<std::optional<PaceFigures>> figures = allTimelineFigures(essays, userFolder, &stop_);
    if (stop_.load())
        return;
    // Handed over on the receiver's thread; dropped should it be gone by then.
    QMetaObject::invokeMethod(
        receiver,
        [this, figures = std::move(figures), done]() mutable {
            figures_ = std::move(figures);
            ready_ = true;
            if (done)
                done();
        },
        Qt::QueuedConnection);
}

TimelineFigures::~TimelineFigures()
{
    stop_ = true;
    if (reading_.valid())
        reading_.wait();
}

void addPaceFigures(ProgressEssay& essay, const std::optional<PaceFigures>& figures)
{
    if (!figures)
        return;
    if (figures->firstWordSeconds)
        essay.minutesToFirstWord = *figures->firstWordSeconds / 60.0;
    essay.minutesLeft = figures->secondsLeft / 60.0;
}

void paintPace(QPainter& painter, const QRectF& area, const PaceLog& log)
{
    const PaceFigures figures = paceFigures(log);
    const QFontMetricsF metrics(painter.font());
    const double span = std::max(figures.secondsAllowed, figures.endSeconds);
    int most = 1;
    for (const PaceEntry& entry : log.entries)
        most = std::max(most, entry.words);
    const double left = metrics.horizontalAdvance(QString::number(most)) + 8;
    // The key goes beside the heading, or on a line of its own when a narrow
    // picture leaves no room for both.
    const QString title = QStringLiteral("Words over the minutes allowed");
    const QStringList keyWords{QStringLiteral("end of the section"),
                               QStringLiteral("last five minutes"),
                               QStringLiteral("pause of a minute or more")};
    double keyWidth = 0;
    for (const QString& words : keyWords)
        keyWidth += metrics.horizontalAdvance(words) + 28;
    const bool keyBelow =
        left + metrics.horizontalAdvance(title) + 16 + keyWidth > area.width() - 8;
    const double keyTop = area.top() + (keyBelow ? metrics.height() + 2 : 0);
    const QRectF plot =
        area.adjusted(left, keyTop - area.top() + metrics.height() + 4, -8, -metrics.height() - 6);
    if (plot.width() < 20 || plot.height() < 20)
        return;
    const auto x = [&](double seconds) { return plot.left() + seconds / span * plot.width(); };
    const auto y = [&](double words) { return plot.bottom() - words / most * plot.height(); };
    const QColor text = painter.pen().color();

    // The last five minutes of the time allowed, shaded.
    const double lastFrom = std::max(0, figures.secondsAllowed - LastMinutesSeconds);
    painter.fillRect(
        QRectF(QPointF(x(lastFrom), plot.top()), QPointF(x(figures.secondsAllowed), plot.bottom())),
        ShadeColour);
    painter.setPen(QPen(GridColour, 0));
    painter.drawRect(plot);
    // A mark every five minutes, labelled in minutes.
    const int step = span > 2400 ? 600 : 300;
    for (int at = 0; at <= span; at += step) {
        painter.setPen(QPen(GridColour, 0));
        painter.drawLine(QPointF(x(at), plot.top()), QPointF(x(at), plot.bottom()));
        painter.setPen(text);
        painter.drawText(QRectF(x(at) - 30, plot.bottom() + 2, 60, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(at / 60));
    }
    painter.drawText(
        QRectF(area.left(), plot.top() - metrics.height() / 2, left - 4, metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, QString::number(most));
    painter.drawText(
        QRectF(area.left(), plot.bottom() - metrics.height() / 2, left - 4, metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    painter.drawText(QRectF(plot.left(), area.top(), plot.width(), metrics.height()), Qt::AlignLeft,
                     title);
    // The key, right of the heading: the band, the shade and the dashes.
    double keyAt = plot.right();
    const auto key = [&](const QString& words, const std::function<void(const QRectF&)>& swatch) {
        keyAt -= metrics.horizontalAdvance(words);
        painter.setPen(text);
        painter.drawText(QPointF(keyAt, keyTop + metrics.ascent()), words);
        keyAt -= 16;
        swatch(QRectF(keyAt, keyTop + 2, 12, metrics.height() - 4));
        keyAt -= 12;
    };
    key(keyWords.at(0), [&](const QRectF& r) {
        painter.setPen(QPen(text, 1, Qt::DashLine));
        painter.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    });
    key(keyWords.at(1), [&](const QRectF& r) { painter.fillRect(r, ShadeColour); });
    key(keyWords.at(2), [&](const QRectF& r) {
        painter.fillRect(r.adjusted(0, r.height() - 6, 0, 0), PauseColour);
    });

    // Each pause of a minute or more, as a band along the foot.
    for (const PacePause& pause : figures.pauses) {
        painter.fillRect(QRectF(QPointF(x(pause.start), plot.bottom() - 6),
                                QPointF(x(pause.start + pause.seconds), plot.bottom())),
                         PauseColour);
    }

    // The words, as steps from entry to entry.
    QPainterPath words;
    words.moveTo(x(0), y(log.entries.isEmpty() ? 0 : log.entries.constFirst().words));
    for (const PaceEntry& entry : log.entries)
        words.lineTo(x(entry.seconds), y(entry.words));
    painter.setPen(QPen(LineColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(words);

    // The end of the time allowed, and the end of the section.
    painter.setPen(QPen(text, 1));
    painter.drawLine(QPointF(x(figures.secondsAllowed), plot.top()),
                     QPointF(x(figures.secondsAllowed), plot.bottom()));
    painter.setPen(QPen(text, 1, Qt::DashLine));
    painter.drawLine(QPointF(x(figures.endSeconds), plot.top()),
                     QPointF(x(figures.endSeconds), plot.bottom()));

    const auto mark = [&](int seconds, const QString& letter) {
        const QPointF at(x(seconds), plot.top() + 2);
        painter.setPen(QPen(MarkColour, 1));
        painter.setBrush(MarkColour);
        painter.drawPolygon(QPolygonF({at, at + QPointF(-5, 8), at + QPointF(5, 8)}));
        painter.setPen(MarkColour);
        painter.drawText(QRectF(at.x() - 20, at.y() + 9, 40, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, letter);
    };
    for (const int at : figures.pastes)
        mark(at, QStringLiteral("Paste"));
    for (const int at : figures.helps)
        mark(at, QStringLiteral("Help"));
    if (figures.firstWordSeconds) {
        const QPointF at(x(*figures.firstWordSeconds), plot.bottom());
        painter.setPen(QPen(LineColour, 1));
        painter.setBrush(LineColour);
        painter.drawEllipse(at, 4, 4);
        painter.drawText(QRectF(at.x() + 6, at.y() - metrics.height() - 8, 120, metrics.height()),
                         Qt::AlignLeft, QStringLiteral("first word"));
    }
}

QString paceText(const std::optional<PaceLog>& log)
{
    if (!log)
        return NoTimelineSentence;
    return paceSentences(paceFigures(*log)).join(QLatin1Char(' '));
}

QString paceHtml(const std::optional<PaceLog>& log)
{
    QString html = QStringLiteral("<p><b>How the time went</b></p>");
    if (log)
        html += QStringLiteral("<p><img src=\"%1\" width=\"480\" height=\"180\"></p>")
                    .arg(PacePicture.toString());
    html += QStringLiteral("<p>") + paceText(log).toHtmlEscaped() + QStringLiteral("</p>");
    return html;
}

void addPacePicture(QTextDocument& document, const PaceLog& log, qreal pixelRatio)
{
    QImage image(QSize(480, 180) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(QFont(QStringLiteral("Arial"), 8));
    painter.setPen(Qt::black);
    paintPace(painter, QRectF(0, 0, 480, 180), log);
    painter.end();
    document.addResource(QTextDocument::ImageResource, PacePicture, image);
}

PaceChart::PaceChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("paceChart"));
    setAccessibleName(QStringLiteral("How the time went"));
    setFocusPolicy(Qt::TabFocus);
    setMinimumHeight(120);
}

void PaceChart::setLog(const std::optional<PaceLog>& log)
{
    log_ = log;
    setAccessibleDescription(paceText(log));
    setVisible(bool(log));
    update();
}

void PaceChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().text().color());
    if (log_)
        paintPace(painter, QRectF(rect()), *log_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

PacePane::PacePane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pacePane"));
    heading = new QLabel(QStringLiteral("<b>How the time went</b>"), this);
    heading->setObjectName(QStringLiteral("paceHeading"));
    chart = new PaceChart(this);
    sentences = new QLabel(this);
    sentences->setObjectName(QStringLiteral("paceSentences"));
    sentences->setWordWrap(true);
    sentences->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Read with the window by a screen reader; Tab goes on from the report to the chart.
    sentences->setFocusPolicy(Qt::NoFocus);
    sentences->setAccessibleName(QStringLiteral("How the time went"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(chart, 1);
    layout->addWidget(sentences);
    layout->addStretch(0);
    setTimeline(std::nullopt);
}

void PacePane::setTimeline(const std::optional<PaceLog>& log)
{
    chart->setLog(log);
    // Without a timeline, the one sentence that says so stands under the heading.
    chart->setVisible(log.has_value());
    sentences->setText(paceText(log));
}
