#include "essay/essayfile.h"

#include "platform/appfolder.h"
#include "platform/filesync.h"
#include "platform/textio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <algorithm>

namespace {

const QString StarLine = QStringLiteral("********************\r\n");
const QString CrLf = QStringLiteral("\r\n");

// The parts of a date or time format: runs of one pattern letter, and the
// literal text between them (quoted text stays as it is written).
struct FormatPart {
    QString text;
    bool field = false;
};

QList<FormatPart> splitFormat(const QString& format)
{
    QList<FormatPart> parts;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        const bool field = !quoted && c.isLetter();
        if (parts.isEmpty() || parts.last().field != field ||
            (field && parts.last().text.back() != c))
            parts.append({QString(), field});
        parts.last().text += c;
    }
    return parts;
}

QString joinFormat(const QList<FormatPart>& parts)
{
    QString format;
    for (const FormatPart& part : parts)
        format += part.text;
    return format.trimmed();
}

bool isField(const FormatPart& part, QLatin1Char letter)
{
    return part.field && part.text.front() == letter;
}

// The locale's short date with the year in full: many locales' short forms
// give two digits only.
QString fullYearDateFormat(const QLocale& locale)
{
    QList<FormatPart> parts = splitFormat(locale.dateFormat(QLocale::ShortFormat));
    for (FormatPart& part : parts) {
        if (isField(part, QLatin1Char('y')))
            part.text = QStringLiteral("yyyy");
    }
    return joinFormat(parts);
}

// The time of day as the desktop's clock shows it, with seconds: the locale's
// short time, with the seconds added after the minutes behind the separator
// that stands between hours and minutes. Where that separator is more than
// punctuation, the locale's long time serves instead. Neither shows a time zone.
QString timeOfDayFormat(const QLocale& locale)
{
    QList<FormatPart> parts = splitFormat(locale.timeFormat(QLocale::ShortFormat));
    const auto find = [&parts](QLatin1Char letter) {
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (isField(parts.at(i), letter))
                return i;
        }
        return qsizetype(-1);
    };
    const qsizetype minutes = find(QLatin1Char('m'));
    if (find(QLatin1Char('s')) < 0) {
        const bool afterHours = minutes >= 2 && (isField(parts.at(minutes - 2), QLatin1Char('h')) ||
                                                 isField(parts.at(minutes - 2), QLatin1Char('H')));
        const QString separator = afterHours ? parts.at(minutes - 1).text : QString();
        const bool punctuation =
            !separator.isEmpty() && std::none_of(separator.begin(), separator.end(), [](QChar c) {
                return c.isLetter() || c == QLatin1Char('\'');
            });
        if (punctuation) {
            parts.insert(minutes + 1, FormatPart{QStringLiteral("ss"), true});
            parts.insert(minutes + 1, FormatPart{separator, false});
        } else {
            parts = splitFormat(locale.timeFormat(QLocale::LongFormat));
        }
    }
    parts.removeIf([](const FormatPart& part) { return isField(part, QLatin1Char('t')); });
    return joinFormat(parts);
}

} // namespace

QString topicName(const Question& question)
{
    return QLatin1String(kindFacts(question.kind).numberLabel) + QString::number(question.number);
}

QString essayFilePath(const QString& appFolder, const Question& question)
{
    return appFolder + QStringLiteral("user") + PathSeparator +
           QLatin1String(kindFacts(question.kind).filePrefix) + QString::number(question.number) +
           QStringLiteral(".txt");
}

// A system without regional settings (the C locale) gets a fixed numeric form.
QString recordDateFormat(const QLocale& locale)
{
    return locale.language() == QLocale::C ? QStringLiteral("yyyy-MM-dd")
                                           : fullYearDateFormat(locale);
}

QString recordTimeFormat(const QLocale& locale)
{
    return locale.language() == QLocale::C ? QStringLiteral("HH:mm:ss") : timeOfDayFormat(locale);
}

QString recordDate(const QDateTime& when, const QLocale& locale)
{
    return locale.toString(when.date(), recordDateFormat(locale));
}

QString recordTime(const QDateTime& when, const QLocale& locale)
{
    return locale.toString(when.time(), recordTimeFormat(locale));
}

QString buildEssayRecord(const Question& question, const QString& date, const QString& time,
                         const QString& topicText, const QString& answer)
{
    QString record;
    record.reserve(topicText.size() + answer.size() + 200);
    record += CrLf + CrLf;
    record += StarLine;
    record += QStringLiteral("Date: ") + date + CrLf;
    record += QStringLiteral("Time: ") + time + CrLf;
    record += topicName(question) + CrLf;
    record += StarLine;
    record += QStringLiteral("Question:") + CrLf + CrLf;
    record += topicText + CrLf;
    record += StarLine + CrLf;
    record += QStringLiteral("Your Answer:") + CrLf + CrLf;
    record += answer + CrLf;
    return record;
}

bool appendEssayRecord(const QString& path, const QString& record, QString& reason)
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
    const bool creating = !info.exists();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        reason =
            QStringLiteral("The file cannot be opened for writing: %1.").arg(file.errorString());
        return false;
    }
    const qint64 sizeBefore = file.size();
    const QByteArray bytes = toCodePage(record);
    // The whole record, unbuffered, so that a failure is seen here. A disk that
    // fills part-way takes a short write without a word; writing on then fails
    // with the system's own reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            break;
        written += step;
    }
    QString syncFailure;
    if (written != bytes.size() || !file.flush()) {
        reason = QStringLiteral("The record could not be written: %1.").arg(file.errorString());
    } else if (!syncFile(file, syncFailure) ||
               (creating && !syncFolder(info.absolutePath(), syncFailure))) {
        // Saved means on the disk: the draft goes once this returns, and a
        // power cut must not keep its removal and lose the record.
        reason =
            QStringLiteral("The record could not be written to the disk: %1.").arg(syncFailure);
    } else {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
        reason = QStringLiteral("The file could not be closed: %1.").arg(file.errorString());
        return false;
    }
    // Take back whatever part did reach the file, so no half record stays, and
    // a second try does not save the answer twice.
    file.resize(sizeBefore);
    file.close();
    return false;
}

QString savedEssaysFromBytes(QByteArrayView bytes)
{
    // A line ends at CR LF, a lone CR or a lone LF: a file a text editor saved
    // again with LF alone comes back in the CR LF the program writes, so that
    // its records are known again in the answer.
    const QString text = fromCodePage(bytes);
    QString result;
    result.reserve(text.size() + text.count(QLatin1Char('\r')) + text.count(QLatin1Char('\n')) + 2);
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        result += CrLf;
        result += QStringView(text).mid(start, end - start);
        if (end + 1 < size && text.at(end) == QLatin1Char('\r') &&
            text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return result;
}

SavedEssays readSavedEssays(const QString& path)
{
    SavedEssays saved;
    // Only a regular file of a size that fits in memory: a link to a device
    // that never ends, or a file of gigabytes, would be read until memory runs
    // out, and a named pipe would wait for a writer. The opened file is looked
    // at again, in case another stood there by then.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > LargestEssayFile)
        return saved;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential() || file.size() > LargestEssayFile)
        return saved;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return saved;
    saved.readable = true;
    saved.text = savedEssaysFromBytes(bytes);
    return saved;
}
