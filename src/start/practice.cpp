#include "start/practice.h"

const QString ArgumentDirections = QStringLiteral(
    "Discuss how well reasoned you find this argument. In your discussion be sure to analyze the "
    "line of reasoning and the use of evidence in the argument."
    " For example, you may need to consider what questionable assumptions underlie the thinking "
    "and what alternative explanations or counterexamples might weaken the conclusion."
    " You can also discuss what sort of evidence would strengthen or refute the argument, what "
    "changes in the argument would make it more logically sound, and what, if anything, would "
    "help you better evaluate its conclusion.");

PracticeQuestion ComposePracticeQuestion(bool issue, int number, const QString& topic)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString numberText = QString::number(number);
    if (issue) {
        return {QStringLiteral("GMAT Test - Section 2: Analytical Writing 2"),
                QStringLiteral("Issue ") + numberText, QStringLiteral("2"), numberText,
                crlf + topic};
    }
    return {QStringLiteral("GMAT Test - Section 1: Analytical Writing 1"),
            QStringLiteral("Argument ") + numberText, QStringLiteral("1"), numberText,
            crlf + topic + crlf + crlf + ArgumentDirections + crlf};
}
