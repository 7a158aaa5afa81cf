#pragma once

// "How the time went" for one saved essay: its words over the time allowed,
// drawn with QPainter, and the figures in sentences, in the Review window and
// in the PDF; and the timelines of the saved essays read from their notes.

#include "essay/pacelog.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <atomic>
#include <functional>
#include <future>
#include <optional>

class EssayList;
class QLabel;
class QPainter;
class QTextDocument;

// The timeline of the essay in the list's row, from its file's notes in the
// user folder; nothing when it has none or the notes cannot be matched.
std::optional<PaceLog> essayTimeline(const EssayList& essays, int row, const QString& userFolder);
// The figures of every row's timeline, reading each essay file's notes once;
// nothing more is read once stop is set.
QList<std::optional<PaceFigures>> allTimelineFigures(const EssayList& essays,
                                                     const QString& userFolder,
                                                     const std::atomic<bool>* stop = nullptr);

// The same on a thread of its own, so the window goes on while years of
// notes are read: done runs on the receiver's thread once they are.
class TimelineFigures {
public:
    TimelineFigures(const EssayList& essays, const QString& userFolder, QObject* receiver,
                    const std::function<void()>& done);
    ~TimelineFigures(); // stops the reading and waits for it
    // One per row of the list; nothing until read.
    const QList<std::optional<PaceFigures>>* figures() const
    {
        return ready_ ? &figures_ : nullptr;
    }

private:
    void read(const EssayList& essays, const QString& userFolder, QObject* receiver,
              const std::function<void()>& done);

    std::atomic<bool> stop_ = false;
    bool ready_ = false;
    QList<std::optional<PaceFigures>> figures_;
    std::future<void> reading_;
};

// Gives the Progress tab's essay its timeline's minutes, when it has one.
struct ProgressEssay;
void addPaceFigures(ProgressEssay& essay, const std::optional<PaceFigures>& figures);

// Draws the words over the time allowed in the rectangle: the first word, each
// pause of a minute or more, each paste and Help marked, the last five
// minutes shaded and the end of the section.
void paintPace(QPainter& painter, const QRectF& area, const PaceLog& log);

// The sentences, or "No timeline was kept for this essay.", as one text.
QString paceText(const std::optional<PaceLog>& log);

// For the PDF: the heading, the picture (when there is a log) and the sentences.
inline const QUrl PacePicture(QStringLiteral("qel:pace"));
QString paceHtml(const std::optional<PaceLog>& log);
void addPacePicture(QTextDocument& document, const PaceLog& log, qreal pixelRatio);

class PaceChart : public QWidget {
    Q_OBJECT
public:
    explicit PaceChart(QWidget* parent = nullptr);
    void setLog(const std::optional<PaceLog>& log);
    QSize sizeHint() const override { return {420, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<PaceLog> log_;
};

// The pane under the report.
class PacePane : public QWidget {
    Q_OBJECT
public:
    explicit PacePane(QWidget* parent = nullptr);
    void setTimeline(const std::optional<PaceLog>& log);

    QLabel* heading;
    PaceChart* chart;
    QLabel* sentences;
};
