// qelreport: the figures of the saved essays outside the program. Every essay
// of a folder as CSV, or the whole report of one essay as text. It only reads.

#include "essay/selfrating.h"
#include "essay/spellchecker.h"
#include "platform/appfolder.h"
#include "platform/textio.h"
#include "review/essayfigures.h"
#include "review/essaylist.h"
#include "review/keypane.h"
#include "review/pacepane.h"
#include "review/reportview.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cstdio>
#include <future>
#include <memory>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char* const Usage = "usage: qelreport [FOLDER]\n"
                          "       qelreport --essay FILE [--record N]\n";

void say(const QString& line)
{
    std::fputs((QStringLiteral("qelreport: ") + line + QLatin1Char('\n')).toLocal8Bit().constData(),
               stderr);
}

int usageError(const QString& line)
{
    say(line);
    std::fputs(Usage, stderr);
    return 2;
}

// Why a file or folder cannot be read, or nothing when it can.
QString unreadable(const QFileInfo& info, bool folder)
{
    if (!info.exists())
        return QStringLiteral("it does not exist");
    if (folder && !info.isDir())
        return QStringLiteral("it is not a folder");
    if (!folder && info.isDir())
        return QStringLiteral("it is a folder, not an essay file");
    if (!info.isReadable() || (folder && !QDir(info.filePath()).isReadable()))
        return QStringLiteral("permission denied");
    return {};
}

// The dictionaries beside the program, as the program finds them.
std::unique_ptr<SpellChecker> openSpelling(const QString& programFolder)
{
    auto spelling = std::make_unique<SpellChecker>(SpellChecker::folders(programFolder));
    if (!spelling->hasDictionary())
        say(QStringLiteral("no English dictionary was found: spelling is not checked"));
    return spelling;
}

int terminalWidth()
{
    bool ok = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && columns >= 30 ? columns : 78;
}

int printFolder(QFile& out, const QString& folder, const QString& programFolder,
                const SpellChecker& spelling, std::future<std::unique_ptr<SpellChecker>>& aside)
{
    EssayList essays;
    essays.read(folder, QLocale::system());
    for (const QString& file : essays.notRead()) {
        say(QStringLiteral("%1 was not read: %2")
                .arg(QDir::toNativeSeparators(
                         QDir(folder).filePath(file.section(QStringLiteral(" ("), 0, 0))),
                     file.section(QStringLiteral(" ("), 1).chopped(1)));
    }
    QList<int> rows;
    for (int row = 0; row < essays.rowCount(); ++row)
        rows << row;
    const std::unique_ptr<SpellChecker> second = aside.get();
    KeyShelf keys(programFolder);
    const QList<std::optional<PaceFigures>> timelines = allTimelineFigures(essays, folder);
    const int written = writeFiguresCsv(
        out, essays, rows, &spelling,
        [&](const SavedEssay& e) {
            say(QStringLiteral(
                    "%1: a part not laid out as a saved essay, left out (it begins \"%2\")")
                    .arg(essays.fileName(e),
                         e.part.text.first(std::min<qsizetype>(40, e.part.text.size()))
                             .toString()
                             .simplified()));
        },
        second.get(), &keys, &timelines);
    if (written < 0 || !out.flush()) {
        say(QStringLiteral("the figures could not be written: %1").arg(out.errorString()));
        return 1;
    }
    return 0;
}

int printEssay(QFile& out, const QString& path, int record, const QString& programFolder,
               const SpellChecker& spelling, std::future<std::unique_ptr<SpellChecker>>& aside)
{
    EssayList essays;
    QString reason;
    if (!essays.readFile(path, QLocale::system(), reason)) {
        say(QStringLiteral("%1: %2").arg(path, reason));
        return 1;
    }
    QList<int> records(essays.rowCount() + 1, -1); // rows by record number
    int count = 0;
    for (int row = 0; row < essays.rowCount(); ++row) {
        if (essays.listed(row).isRecord) {
            records[essays.listed(row).record] = row;
            count = std::max(count, essays.listed(row).record);
        }
    }
    if (count == 0) {
        say(QStringLiteral("%1: no saved essay in it").arg(path));
        return 1;
    }
    if (record > count) {
        return usageError(QStringLiteral("%1 holds %2 saved essay%3; there is no record %4")
                              .arg(path)
                              .arg(count)
                              .arg(count == 1 ? QString() : QStringLiteral("s"))
                              .arg(record));
    }
    const SavedEssay essay = essays.essay(records.at(record == 0 ? count : record));
    const BoxAnswer answer(essay.part);
    const QString topic = toWidgetText(essay.part.topic);
    EssayReport report = savedEssayReport(answer, topic, &spelling);
    if (spelling.hasDictionary())
        suggestEverySpelling(report, spelling, *aside.get());
    QString heading = QStringLiteral("%1, record %2 of %3")
                          .arg(essays.fileName(essay))
                          .arg(essay.record)
                          .arg(count);
    if (essay.question.number > 0) {
        heading += QStringLiteral(": %1 No.%2")
                       .arg(kindName(essay.question.kind))
                       .arg(essay.question.number);
    }
    heading +=
        QStringLiteral(", %1 %2\n\n").arg(essay.part.date.toString(), essay.part.time.toString());
    QString text = heading + reportText(report, terminalWidth());
    // How the time went, from the notes beside the file.
    const QString folder = QFileInfo(path).absolutePath();
    const std::optional<PaceLog> timeline =
        essayTimeline(essays, records.at(record == 0 ? count : record), folder);
    text += QLatin1Char('\n') +
            wrapLines(QStringLiteral("How the time went\n") + paceText(timeline), terminalWidth());
    if (const QString marks = marksLine(essay.marks.rating, essay.marks.leftOut); !marks.isEmpty())
        text += QLatin1Char('\n') + marks + QLatin1Char('\n');
    if (essay.question.number > 0) {
        KeyShelf keys(programFolder);
        text += QLatin1Char('\n') +
                wrapLines(keyText(keys.file(essay.question.kind), essay.question.number,
                                  answer.own().text(), topic),
                          terminalWidth());
    }
    out.write(text.toUtf8());
    if (!out.flush()) {
        say(QStringLiteral("the report could not be written: %1").arg(out.errorString()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qelreport"));
#ifdef _WIN32
    // CR LF as written, not doubled by the console's text mode.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    QCommandLineParser parser;
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption essayOption(QStringLiteral("essay"), QString(),
                                         QStringLiteral("FILE"));
    const QCommandLineOption recordOption(QStringLiteral("record"), QString(), QStringLiteral("N"));
    parser.addOptions({help, essayOption, recordOption});
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(Usage, stdout);
        std::fputs("\nWithout --essay: every essay of FOLDER (the user folder beside qelreport\n"
                   "when none is given) as CSV, one row per record, newest first.\n"
                   "With --essay: the report of one essay of FILE, the last unless N is given.\n",
                   stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    int record = 0;
    if (parser.isSet(recordOption)) {
        bool ok = false;
        record = parser.value(recordOption).toInt(&ok);
        if (!parser.isSet(essayOption))
            return usageError(QStringLiteral("--record goes with --essay"));
        if (!ok || record < 1) {
            return usageError(
                QStringLiteral("--record takes a record's number, 1 for the first: %1")
                    .arg(parser.value(recordOption)));
        }
    }
    if (positional.size() > (parser.isSet(essayOption) ? 0 : 1))
        return usageError(QStringLiteral("unexpected argument: %1").arg(positional.last()));

    const QString programFolder =
        appFolderOf(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    // The work is shared by both cores, each with its own dictionaries: the
    // second set opens on the other core while the first opens here.
    auto aside = std::async(std::launch::async, [&programFolder] {
        return std::make_unique<SpellChecker>(SpellChecker::folders(programFolder));
    });
    const auto finish = qScopeGuard([&aside] {
        if (aside.valid())
            aside.wait(); // not left opening while the program ends
    });
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        say(QStringLiteral("the standard output cannot be written"));
        return 1;
    }
    if (parser.isSet(essayOption)) {
        const QString path = parser.value(essayOption);
        if (const QString reason = unreadable(QFileInfo(path), false); !reason.isEmpty()) {
            say(QStringLiteral("%1: %2").arg(path, reason));
            return 1;
        }
        return printEssay(out, path, record, programFolder, *openSpelling(programFolder), aside);
    }
    const QString folder =
        positional.isEmpty() ? programFolder + QStringLiteral("user") : positional.first();
    if (const QString reason = unreadable(QFileInfo(folder), true); !reason.isEmpty()) {
        say(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), reason));
        return 1;
    }
    return printFolder(out, folder, programFolder, *openSpelling(programFolder), aside);
}
