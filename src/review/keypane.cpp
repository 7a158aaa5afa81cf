#include "review/keypane.h"

#include "essay/topickey.h"

#include <QDir>

#include <optional>

namespace {

const QString Heading = QStringLiteral("What the topic asked for");
const QString GuessNote =
    QStringLiteral("Whether the answer takes up a point is a guess from the words it uses, "
                   "not a grade.");

// What each kind of line is to the reader, before the lines it heads.
QString groupName(KeyLabel label)
{
    switch (label) {
    case KeyLabel::Conclusion:
        return QStringLiteral("What the argument concludes");
    case KeyLabel::Weakness:
        return QStringLiteral("What a strong answer questions");
    case KeyLabel::For:
        return QStringLiteral("Reasons for the view");
    case KeyLabel::Against:
        return QStringLiteral("Reasons against it");
    case KeyLabel::Balance:
        return QStringLiteral("Where the strongest answers qualify it");
    }
    return {};
}

QString missing(const KeyFile& file, int topicNumber)
{
    return QStringLiteral("No key was found for this topic (entry %1 of %2).")
        .arg(topicNumber)
        .arg(QDir::toNativeSeparators(file.path));
}

QString verdict(bool takenUp)
{
    return takenUp ? QStringLiteral("seems taken up") : QStringLiteral("not found in the answer");
}

// The key's lines and the guess for each; key is null when there is none.
struct Guessed {
    const TopicKey* key = nullptr;
    QList<bool> takenUp;
    int pointsTakenUp = 0;
    int points = 0;
};

Guessed guessed(const KeyFile& file, int topicNumber, QStringView answer, QStringView topic)
{
    Guessed result;
    result.key = file.topic(topicNumber);
    if (!result.key)
        return result;
    result.takenUp = guessPointsTakenUp(*result.key, answer, topic);
    for (qsizetype i = 0; i < result.key->size(); ++i) {
        result.points += isPoint(result.key->at(i)) ? 1 : 0;
        result.pointsTakenUp += result.takenUp[i] ? 1 : 0;
    }
    return result;
}

} // namespace

QString keyHtml(const KeyFile& file, int topicNumber, QStringView answer, QStringView topic)
{
    QString html =
        QStringLiteral("<h4 style=\"margin-top:10px; margin-bottom:0\">%1</h4>").arg(Heading);
    const auto [key, takenUp, pointsTakenUp, points] = guessed(file, topicNumber, answer, topic);
    if (!key)
        return html + QStringLiteral("<p>%1</p>").arg(missing(file, topicNumber).toHtmlEscaped());
    html += QStringLiteral("<p><i>%1</i> %2 of %3 points seem taken up.</p>")
                .arg(GuessNote)
                .arg(pointsTakenUp)
                .arg(points);
    std::optional<KeyLabel> group;
    for (qsizetype i = 0; i < key->size(); ++i) {
        const KeyLine& line = key->at(i);
        if (line.label != group) {
            group = line.label;
            html += QStringLiteral("<p style=\"margin-top:6px; margin-bottom:0\"><b>%1</b></p>")
                        .arg(groupName(line.label));
        }
        if (!isPoint(line)) {
            html +=
                QStringLiteral("<p style=\"margin-top:0\">%1</p>").arg(line.text.toHtmlEscaped());
            continue;
        }
        html += QStringLiteral("<p style=\"margin-top:2px; margin-bottom:0\">%1 %2 <span "
                               "style=\"color:%3\">(%4)</span></p>")
                    .arg(takenUp[i] ? QStringLiteral("&#10003;") : QStringLiteral("&#9675;"),
                         line.text.toHtmlEscaped(),
                         takenUp[i] ? QStringLiteral("#2E7D32") : QStringLiteral("#505050"),
                         verdict(takenUp[i]));
    }
    return html;
}

QString keyText(const KeyFile& file, int topicNumber, QStringView answer, QStringView topic)
{
    QString text = Heading + QStringLiteral("\r\n");
    const auto [key, takenUp, pointsTakenUp, points] = guessed(file, topicNumber, answer, topic);
    if (!key)
        return text + missing(file, topicNumber) + QStringLiteral("\r\n");
    text += QStringLiteral("%1 %2 of %3 points seem taken up.\r\n")
                .arg(GuessNote)
                .arg(pointsTakenUp)
                .arg(points);
    std::optional<KeyLabel> group;
    for (qsizetype i = 0; i < key->size(); ++i) {
        const KeyLine& line = key->at(i);
        if (line.label != group) {
            group = line.label;
            text += groupName(line.label) + QStringLiteral(":\r\n");
        }
        text += isPoint(line)
                    ? QStringLiteral("  - %1 (%2)\r\n").arg(line.text, verdict(takenUp[i]))
                    : QStringLiteral("  %1\r\n").arg(line.text);
    }
    return text;
}
