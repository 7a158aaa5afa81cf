#pragma once

// The candidate's own rating of the chosen essay, with what its level means,
// and the mark that leaves the essay out of the Progress pictures and totals.
// The window keeps them in the notes file; this only shows and asks.

#include "essay/essaynotes.h"
#include "essay/question.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;

class RatingPane : public QWidget {
    Q_OBJECT
public:
    explicit RatingPane(QWidget* parent = nullptr);
    // The essay's kind (its scale) and marks; nothing for a text that is no record.
    void setEssay(std::optional<EssayKind> kind, const RecordMarks& marks);
    // The marks as the controls now stand.
    RecordMarks marks() const;

    QLabel* ratingLabel;
    QComboBox* ratingChoice; // "Not rated", then each level of the kind's scale
    QLabel* meaningLabel;    // what an essay at the chosen level does
    QCheckBox* leaveOutBox;

signals:
    // The candidate changed the rating or the mark (not setEssay).
    void marksChanged(const RecordMarks& marks);

private:
    void showMeaning();
    std::optional<EssayKind> kind_;
};
