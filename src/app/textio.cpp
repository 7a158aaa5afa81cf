#include "app/textio.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString ToWidgetText(QStringView programText)
{
    QString text = programText.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString FromWidgetText(QStringView widgetText)
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

QByteArray ToCodePage(QStringView text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

QString FromCodePage(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

QString TrimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
