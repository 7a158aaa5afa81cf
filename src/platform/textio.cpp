#include "platform/textio.h"

QString toWidgetText(QStringView programText)
{
    QString text = programText.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString fromWidgetText(QStringView widgetText)
{
    QString text;
    text.reserve(widgetText.size() + widgetText.count(QLatin1Char('\n')));
    for (const QChar c : widgetText) {
        if (c == QLatin1Char('\n'))
            text += QLatin1Char('\r');
        text += c;
    }
    return text;
}

// Qt's 8-bit local encoding is the system code page: the ANSI code page on
// Windows, UTF-8 elsewhere.
QByteArray toCodePage(QStringView text)
{
    return text.toLocal8Bit();
}

QString fromCodePage(QByteArrayView bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    // Most texts have nothing to remove: share them rather than copy.
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}
