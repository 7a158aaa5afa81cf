#pragma once

// The Progress view of the Review window: the words and the spelling slips
// over time and the topics map, drawn with QPainter from a Progress, each
// picture with its figures in words for a screen reader, and a text of all
// the figures that Tab reaches after them.

#include "essay/question.h"
#include "review/progressmodel.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPainter;
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

// The names of what a picture's marks and shades stand for, each beside its
// mark, in as many lines as the width needs.
class PictureKey : public QWidget {
    Q_OBJECT
public:
    struct Entry {
        QString name;
        std::function<void(QPainter&, const QRectF&)> draw; // the mark, in a square
    };
    PictureKey(const char* name, const QString& said, QWidget* parent = nullptr);
    void setEntries(const QList<Entry>& entries);
    QList<Entry> entries() const { return entries_; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where each entry's mark stands within a width; the text follows it.
    QList<QRect> places(int width) const;
    QList<Entry> entries_;
};

// One cell per topic, shaded by how often it was written, a band of rows for
// each kind of essay, each written cell with its count in it.
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
    QSize sizeHint() const override;

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
    int rows() const; // of every band
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
    TimeChart* usageChart; // usage and mechanics slips per hundred words
    PictureKey* chartKey;
    QLabel* datesLabel;
    TopicMap* topicMap;
    PictureKey* mapKey;
    QLabel* cellLabel;
    QTextBrowser* figuresView;
    // From the essays' timelines.
    TimeChart* firstWordChart;
    TimeChart* timeLeftChart;
    // The candidate's own ratings, once an essay is rated.
    TimeChart* ratingsChart;
};

// The colours of the pictures: Issue dark blue, Argument light orange, so that
// they differ in lightness as well as in hue, and in shape too.
inline const QColor IssueColour(0x1f, 0x4e, 0x9c);
inline const QColor ArgumentColour(0xf5, 0xa6, 0x23);
inline const QColor GreIssueColour(0x8e, 0x2a, 0x8e); // plum, between the two in lightness
inline const QColor BandColour(0xd8, 0xee, 0xd8);

// How each kind of essay is marked in the pictures over time.
struct KindMark {
    EssayKind kind;
    QColor colour;
    enum Shape { Circle, Square, Diamond } shape;
};
const KindMark& kindMark(EssayKind kind);
void drawKindMark(QPainter& painter, const QPointF& at, qreal radius, const KindMark& mark);

// The map's shades run from the background's own lightness to the opposite
// end: light to dark on a light window, dark to light on a dark one.
enum class MapScheme { Light, Dark };
inline constexpr std::array<MapScheme, 2> MapSchemes{MapScheme::Light, MapScheme::Dark};
MapScheme mapSchemeOf(const QPalette& palette);
QColor shadeColour(int shade, MapScheme scheme = MapScheme::Light);
// The words drawn on a colour: black or white, whichever stands out more.
QColor inkOn(const QColor& colour);
