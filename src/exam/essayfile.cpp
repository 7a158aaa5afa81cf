#include "exam/essayfile.h"

#include "platform/appfolder.h"
#include "platform/textio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString StarLine = QStringLiteral("********************\r\n");
const QString CrLf = QStringLiteral("\r\n");

// The locale's time format without its time zone part, which Windows' regional
// time of day never shows.
QString TimeOfDayFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.trimmed();
}

} // namespace

EssayKind EssayKindFromModeCode(const QString& modeCode)
{
    return modeCode == QLatin1String("2") ? EssayKind::Issue : EssayKind::Argument;
}

QString EssayFilePath(const QString& appFolder, const QString& modeCode, const QString& number)
{
    const QString prefix = EssayKindFromModeCode(modeCode) == EssayKind::Issue
                               ? QStringLiteral("ai")
                               : QStringLiteral("aa");
    return appFolder + QStringLiteral("user") + PathSeparator + prefix + TrimSpaces(number) +
           QStringLiteral(".txt");
}

// A system without regional settings (the C locale) gets a fixed numeric form.
QString RecordDate(const QDateTime& when, const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return when.date().toString(QStringLiteral("yyyy-MM-dd"));
    return locale.toString(when.date(), QLocale::ShortFormat);
}

QString RecordTime(const QDateTime& when, const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return when.time().toString(QStringLiteral("HH:mm:ss"));
    return locale.toString(when.time(), TimeOfDayFormat(locale));
}

QString BuildEssayRecord(EssayKind kind, const QString& number, const QString& date,
                         const QString& time, const QString& topicText, const QString& answer)
{
    const QString label =
        kind == EssayKind::Issue ? QStringLiteral("Issue No.") : QStringLiteral("Argument No.");
    QString record;
    record.reserve(topicText.size() + answer.size() + 200);
    record += CrLf + CrLf;
    record += StarLine;
    record += QStringLiteral("Date: ") + date + CrLf;
    record += QStringLiteral("Time: ") + time + CrLf;
    record += label + TrimSpaces(number) + CrLf;
    record += StarLine;
    record += QStringLiteral("Question:") + CrLf + CrLf;
    record += topicText + CrLf;
    record += StarLine + CrLf;
    record += QStringLiteral("Your Answer:") + CrLf + CrLf;
    record += answer + CrLf;
    return record;
}

bool AppendEssayRecord(const QString& path, const QString& record, QString& reason)
{
    const QFileInfo info(path);
    if (!info.dir().exists()) {
        reason = QStringLiteral("The folder %1 does not exist.")
                     .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    if (info.isDir()) {
        reason = QStringLiteral("A folder stands where the file should be.");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        reason =
            QStringLiteral("The file cannot be opened for writing: %1.").arg(file.errorString());
        return false;
    }
    const qint64 sizeBefore = file.size();
    const QByteArray bytes = ToCodePage(record);
    // One write of the whole record, unbuffered, so that a failure is seen here.
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        reason = QStringLiteral("The record could not be written: %1.").arg(file.errorString());
        // Take back whatever part did reach the file, so no half record stays.
        file.resize(sizeBefore);
        file.close();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("The file could not be closed: %1.").arg(file.errorString());
        return false;
    }
    return true;
}

QString SavedEssaysFromBytes(QByteArrayView bytes)
{
    // A line ends at CR LF or a lone CR, as the topic libraries' lines do; a lone
    // LF stays part of its line.
    const QString text = FromCodePage(bytes);
    QString result;
    result.reserve(text.size() + text.count(QLatin1Char('\r')) + 2);
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0)
            end = size;
        result += CrLf;
        result += QStringView(text).mid(start, end - start);
        if (end + 1 < size && text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return result;
}

SavedEssays ReadSavedEssays(const QString& path)
{
    SavedEssays saved;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return saved;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return saved;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return saved;
    saved.readable = true;
    saved.text = SavedEssaysFromBytes(bytes);
    return saved;
}
