#include "start/practice.h"

#include "start/greissue.h"

const QString ArgumentDirections = QStringLiteral(
    "Discuss how well reasoned you find this argument. In your discussion be sure to analyze the "
    "line of reasoning and the use of evidence in the argument."
    " For example, you may need to consider what questionable assumptions underlie the thinking "
    "and what alternative explanations or counterexamples might weaken the conclusion."
    " You can also discuss what sort of evidence would strengthen or refute the argument, what "
    "changes in the argument would make it more logically sound, and what, if anything, would "
    "help you better evaluate its conclusion.");

PracticeQuestion composePracticeQuestion(const Question& question, const QString& topic)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString numberText = QString::number(question.number);
    if (question.kind == EssayKind::GreIssue) {
        // The topic carries its form's instruction; the program adds nothing to it.
        return {GreSectionTitle,
                QStringLiteral("Issue ") + numberText + QStringLiteral(" - ") +
                    issueFormName(issueFormOf(question.number)),
                crlf + topic};
    }
    if (question.kind == EssayKind::Issue) {
        return {QStringLiteral("GMAT Test - Section 2: Analytical Writing 2"),
                QStringLiteral("Issue ") + numberText, crlf + topic};
    }
    return {QStringLiteral("GMAT Test - Section 1: Analytical Writing 1"),
            QStringLiteral("Argument ") + numberText,
            crlf + topic + crlf + crlf + ArgumentDirections + crlf};
}
