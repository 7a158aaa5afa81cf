#include "review/ratingpane.h"

#include "essay/selfrating.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

RatingPane::RatingPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ratingPane"));
    ratingLabel = new QLabel(QStringLiteral("Your ra&ting:"));
    ratingLabel->setObjectName(QStringLiteral("ratingLabel"));
    ratingChoice = new QComboBox;
    ratingChoice->setObjectName(QStringLiteral("ratingChoice"));
    ratingChoice->setAccessibleName(QStringLiteral("Your rating"));
    ratingChoice->setToolTip(QStringLiteral("Your own rating of this essay on the exam's 0 to 6 "
                                            "scale; the last one you choose counts"));
    ratingLabel->setBuddy(ratingChoice);
    leaveOutBox = new QCheckBox(QStringLiteral("Leave o&ut of Progress"));
    leaveOutBox->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    leaveOutBox->setObjectName(QStringLiteral("leaveOutBox"));
    leaveOutBox->setAccessibleName(QStringLiteral("Leave out of Progress"));
    leaveOutBox->setToolTip(QStringLiteral("Leaves this essay out of the Progress pictures and "
                                           "totals (a try of Help, a pasted text); the list "
                                           "still shows it"));
    meaningLabel = new QLabel;
    meaningLabel->setObjectName(QStringLiteral("meaningLabel"));
    meaningLabel->setWordWrap(true);
    meaningLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    meaningLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Narrow, one control a line, so that the report beside it keeps its width.
    auto* row = new QHBoxLayout;
    row->addWidget(ratingLabel);
    row->addWidget(ratingChoice);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(meaningLabel);
    layout->addWidget(leaveOutBox);
    setTabOrder(ratingChoice, leaveOutBox);

    connect(ratingChoice, &QComboBox::activated, this, [this] {
        showMeaning();
        emit marksChanged(marks());
    });
    connect(ratingChoice, &QComboBox::currentIndexChanged, this, &RatingPane::showMeaning);
    connect(leaveOutBox, &QCheckBox::clicked, this, [this] { emit marksChanged(marks()); });
    setEssay(std::nullopt, {});
}

void RatingPane::setEssay(std::optional<EssayKind> kind, const RecordMarks& marks)
{
    const QSignalBlocker blockChoice(ratingChoice);
    const QSignalBlocker blockBox(leaveOutBox);
    if (kind != kind_ || ratingChoice->count() == 0) {
        ratingChoice->clear();
        ratingChoice->addItem(QStringLiteral("Not rated"), -1);
        if (kind) {
            for (const int level : ratingLevels(*kind))
                ratingChoice->addItem(ratingText(level), level);
        }
        kind_ = kind;
    }
    const int shown = ratingChoice->findData(marks.rating.value_or(-1));
    // A half point read for a kind rated in whole points shows as it was kept.
    if (shown < 0 && marks.rating)
        ratingChoice->addItem(ratingText(*marks.rating), *marks.rating);
    ratingChoice->setCurrentIndex(std::max(0, ratingChoice->findData(marks.rating.value_or(-1))));
    leaveOutBox->setChecked(marks.leftOut);
    setEnabled(kind.has_value());
    showMeaning();
}

RecordMarks RatingPane::marks() const
{
    const int level = ratingChoice->currentData().toInt();
    return {level < 0 ? std::nullopt : std::optional<int>(level), leaveOutBox->isChecked()};
}

void RatingPane::showMeaning()
{
    const int level = ratingChoice->currentData().toInt();
    meaningLabel->setText(!kind_ ? QString()
                          : level < 0
                              ? QStringLiteral("Choose a level to see what an essay at it does.")
                              : ratingMeaning(*kind_, level));
    // Read with the choice by a screen reader, not only shown beside it.
    ratingChoice->setAccessibleDescription(meaningLabel->text());
}
