#pragma once

// What the benchmarks share: made-up prose of a chosen length, topic libraries
// and essays shaped like the real ones, a stopwatch, and a main for the runs
// that need widgets.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iterator>

namespace Bench {

// A small fixed generator, so every run works on the same bytes.
class Words {
public:
    explicit Words(std::uint32_t seed) : state_(seed ? seed : 1) {}

    std::uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

    const char* word()
    {
        static constexpr auto Vocabulary = std::to_array<const char*>({
            "the",        "a",         "of",          "to",        "and",         "in",
            "that",       "is",        "for",         "it",        "as",          "with",
            "be",         "on",        "not",         "by",        "this",        "are",
            "or",         "from",      "but",         "which",     "more",        "than",
            "people",     "company",   "school",      "students",  "government",  "society",
            "argument",   "evidence",  "reasoning",   "example",   "assumption",  "conclusion",
            "because",    "however",   "therefore",   "although",  "success",     "history",
            "experience", "knowledge", "progress",    "community", "leaders",     "citizens",
            "research",   "public",    "private",     "market",    "customers",   "results",
            "important",  "valuable",  "responsible", "necessary", "difficult",   "better",
            "should",     "would",     "could",       "might",     "always",      "rarely",
            "consider",   "support",   "weaken",      "suggest",   "explain",     "improve",
            "technology", "education", "environment", "city",      "council",     "report",
            "increase",   "decline",   "survey",      "residents", "budget",      "program",
            "whether",    "question",  "position",    "reasons",   "observation", "reading",
        });
        return Vocabulary[below(static_cast<int>(Vocabulary.size()))];
    }

    // Sentences of eight to twenty words until the text has at least the given
    // number of words.
    QByteArray sentences(int words)
    {
        QByteArray text;
        int written = 0;
        while (written < words) {
            const int length = 8 + below(13);
            for (int i = 0; i < length; ++i) {
                QByteArray w = word();
                if (i == 0)
                    w[0] = static_cast<char>(w[0] - 'a' + 'A');
                if (i > 0)
                    text += ' ';
                text += w;
                if (i + 1 < length && below(9) == 0)
                    text += ',';
            }
            text += ". ";
            written += length;
        }
        text.chop(1);
        return text;
    }

    // An answer as the user types it: paragraphs of a few sentences, CR LF
    // between them, about the given number of words in all.
    QByteArray answer(int words)
    {
        QByteArray text;
        int written = 0;
        while (written < words) {
            const int paragraph = std::min(words - written, 60 + below(50));
            if (!text.isEmpty())
                text += "\r\n\r\n";
            text += sentences(paragraph);
            written += paragraph;
        }
        return text;
    }

private:
    std::uint32_t state_;
};

inline const QByteArray LibrarySeparator = QByteArrayLiteral("-----------------------");

// One topic block as the libraries hold it: a quoted statement, an empty line,
// the directions, the separator; CR LF throughout, with the odd stray space.
inline QByteArray topicBlock(Words& words)
{
    QByteArray block;
    if (words.below(4) == 0)
        block += ' ';
    block += '"' + words.sentences(25 + words.below(30)) + "\"\r\n\r\n";
    block += words.sentences(30 + words.below(10));
    if (words.below(4) == 0)
        block += "  ";
    block += "\r\n" + LibrarySeparator + "\r\n";
    return block;
}

struct GeneratedLibrary {
    QByteArray bytes;
    int blocks = 0;
};

// Whole topic blocks until the library reaches the given size.
inline GeneratedLibrary makeLibrary(qsizetype size, std::uint32_t seed)
{
    Words words(seed);
    GeneratedLibrary library;
    library.bytes.reserve(size + 4096);
    while (library.bytes.size() < size) {
        library.bytes += topicBlock(words);
        ++library.blocks;
    }
    return library;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Seconds between two points of the steady clock.
using Stopwatch = std::chrono::steady_clock;
inline double seconds(Stopwatch::time_point from, Stopwatch::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// The offscreen platform for widgets, and the source tree for the pictures and
// libraries the program folders copy.
inline void prepareEnvironment()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QEL_SOURCE_DIR"))
        qputenv("QEL_SOURCE_DIR", QEL_SOURCE_DIR);
}

// The offscreen platform's remarks about what it cannot do would be printed
// once per window among the figures; everything else still gets through.
inline QtMessageHandler& previousMessageHandler()
{
    static QtMessageHandler previous = nullptr;
    return previous;
}
inline void quietOffscreenMessages(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message)
{
    if (message.contains(QLatin1String("This plugin does not support")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (previousMessageHandler())
        previousMessageHandler()(type, context, message);
}

// Runs the registered benchmarks inside a QApplication; beforeExit drops what
// the runs kept alive while the application still exists, as widgets need.
inline int runWithApplication(int argc, char** argv, const std::function<void()>& beforeExit = {})
{
    prepareEnvironment();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    previousMessageHandler() = qInstallMessageHandler(quietOffscreenMessages);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (beforeExit)
        beforeExit();
    benchmark::Shutdown();
    return 0;
}

} // namespace Bench
