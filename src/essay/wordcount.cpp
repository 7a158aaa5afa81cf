#include "essay/wordcount.h"

#include <QChar>

int countWords(QStringView text)
{
    int words = 0;
    bool counted = false; // the run under way has been counted
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        // Letters beyond the basic plane come as a surrogate pair.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        if (QChar::isSpace(c)) {
            counted = false;
        } else if (!counted && QChar::isLetterOrNumber(c)) {
            ++words;
            counted = true;
        }
    }
    return words;
}

QString firstWords(QStringView text, int count)
{
    QString line;
    int taken = 0;
    for (qsizetype at = 0; at < text.size();) {
        if (text[at].isSpace()) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        if (taken == count)
            return line + QStringLiteral("...");
        if (taken++ > 0)
            line += QLatin1Char(' ');
        line += text.sliced(at, end - at);
        at = end;
    }
    return line;
}
