#pragma once

#include "essay/question.h"
#include "exam/sectionend.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// The title of the boxes between and after the sections.
inline const QString FullTestTitle = QStringLiteral("Full Test");

// The writing part of the exam as one sitting: two sections back to back, in
// the exam's order, an Argument essay and then an Issue essay.
class FullTest {
public:
    static constexpr std::array<EssayKind, 2> Sections{EssayKind::Argument, EssayKind::Issue};

    // The kind of the section to start next; nothing once the test is over.
    std::optional<EssayKind> nextSection() const;
    // Takes how the section under way ended; true when another section follows.
    bool sectionEnded(const SectionEnd& end);
    // Between sections: "Section 1 is over. Section 2 begins when you press OK."
    QString sectionOverText() const;
    // One line per section taken: its topic, the words, the time, saved or not.
    QString summary() const;

private:
    QList<SectionEnd> taken_;
    bool over_ = false;
};
