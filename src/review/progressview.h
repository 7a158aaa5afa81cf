#pragma once

// The Progress view of the Review window: the words and the spelling slips
// over time and the topics map, drawn with QPainter from a Progress, each
// picture with its figures in words for a screen reader, and a text of all
// the figures that Tab reaches after them.

#include "essay/question.h"
#include "review/progressmodel.h"

#include <QColor>
#include <QWidget>

#include <functional>

class QLabel;
class QTextBrowser;

// Points over time, Issue and Argument apart, with the median line and, for
// the words, the band the report measures against behind them.
class TimeChart : public QWidget {
    Q_OBJECT
public:
    TimeChart(const char* name, const QString& said, bool wordBand, QWidget* parent = nullptr);
    void setSeries(const TimeSeries& series, const QString& sentences);
    // What an empty picture says instead of its usual words.
    void setNote(const QString& note);
    QSize sizeHint() const override { return {300, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TimeSeries series_;
    QString note_;
    bool wordBand_;
};

// One cell per topic, shaded by how often it was written.
class TopicMap : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 30;
    explicit TopicMap(QWidget* parent = nullptr);
    void setCells(const QList<TopicCell>& cells);
    // Names a topic by its first words, for the hover and the focus.
    std::function<QString(const Question&)> topicStart;
    int currentCell() const { return current_; }
    void setCurrentCell(int cell);
    QString cellText(int cell) const;
    QRect cellRect(int cell) const;
    QSize sizeHint() const override { return {Columns * 20, 10 * 20 + 60}; }

signals:
    void topicChosen(const Question& question);
    void cellNamed(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int cellAt(const QPoint& at) const;
    int side() const;
    QList<TopicCell> cells_;
    int current_ = 0;
};

class ProgressView : public QWidget {
    Q_OBJECT
public:
    explicit ProgressView(QWidget* parent = nullptr);
    void setProgress(const Progress& progress);

    QLabel* totalsLabel;
    TimeChart* wordsChart;
    TimeChart* slipsChart;
    QLabel* datesLabel;
    TopicMap* topicMap;
    QLabel* cellLabel;
    QTextBrowser* figuresView;
    // From the essays' timelines.
    TimeChart* firstWordChart;
    TimeChart* timeLeftChart;
};

// The colours of the pictures: Issue dark blue, Argument light orange, so that
// they differ in lightness as well as in hue; the shades of the map light to dark.
inline const QColor IssueColour(0x1f, 0x4e, 0x9c);
inline const QColor ArgumentColour(0xf5, 0xa6, 0x23);
inline const QColor BandColour(0xd8, 0xee, 0xd8);
QColor shadeColour(int shade);
