#pragma once

// Test doubles of the platform seams (message boxes answer from a script and
// remember what they were asked; the clock reads what the test sets), and a
// throwaway program folder.

#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

struct AskedBox {
    QString prompt, title;
    MessageBoxes::Icon icon;
    MessageBoxes::Buttons buttons;
    MessageBoxes::Guard guard;
    QWidget* parent;
};

class ScriptedBoxes : public MessageBoxes {
public:
    QList<Answer> answers; // for the coming boxes, in order; once they run out, OK
    QList<AskedBox> asked;
    QStringList prompts, titles;     // what the boxes asked, and their titles, in order
    std::function<void()> whileOpen; // runs while a box is "open", as a user's wait would

    Answer show(QWidget* parent, const QString& prompt, const QString& title, Icon icon,
                Buttons buttons, Guard guard = Unguarded) override
    {
        asked.append({prompt, title, icon, buttons, guard, parent});
        prompts << prompt;
        titles << title;
        if (whileOpen)
            whileOpen();
        return answers.isEmpty() ? AnswerOk : answers.takeFirst();
    }
};

class FakeClock : public Clock {
public:
    double elapsed = 1000;
    QDateTime dateTime = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
    std::uint64_t seed = 1;

    double elapsedSeconds() override { return elapsed; }
    QDateTime now() override { return dateTime; }
    std::uint64_t randomSeed() override { return seed++; }
};

class FakeShell : public Shell {
public:
    QStringList opened, started;
    bool succeed = true;

    bool openAddress(const QString& address) override
    {
        opened << address;
        return succeed;
    }
    bool startProgram(const QString& path) override
    {
        started << path;
        return succeed;
    }
};

// Keys and values set up by the test. A key's handle is 100 plus its place among the keys.
class ScriptedRegistry : public Registry {
public:
    QMap<QByteArray, QMap<QByteArray, std::pair<std::uint32_t, QByteArray>>> keys;

    long openKey(Handle root, const QByteArray& key, std::uint32_t /*options*/,
                 std::uint32_t access, Handle& result) override
    {
        const bool found = keys.contains(key) && root == LocalMachine && access == 0x2003F;
        result = found ? Handle(100 + keys.keys().indexOf(key)) : 0;
        return found ? Success : FileNotFound;
    }
    long queryValue(Handle key, const QByteArray& name, std::uint32_t& type, QByteArray& data,
                    std::uint32_t& size) override
    {
        const auto [kind, bytes] = keys.values().at(qsizetype(key) - 100).value(name);
        const auto need = std::uint32_t(bytes.size());
        const bool fits = need <= size;
        size = need; // on MoreData: the room it takes
        if (kind == 0 || !fits)
            return kind == 0 ? FileNotFound : MoreData; // type 0: no such value
        type = kind;
        data.replace(0, need, bytes);
        return Success;
    }
    long closeKey(Handle /*key*/) override { return Success; }
};

class RecordingEnd : public ProgramEnd {
public:
    QList<int> statuses;
    void endProgram(int status) override { statuses << status; }
};

struct FakePlatform {
    ScriptedBoxes boxes;
    FakeClock clock;
    FakeShell shell;
    ScriptedRegistry registry;
    RecordingEnd end;
    Platform seams{boxes, clock, shell, registry, end};
};

// A throwaway program folder: small topic libraries, the four button pictures and user/.
class ProgramFolder {
public:
    ProgramFolder()
    {
        // Small libraries: each topic the single line "Issue topic k" or "Argument topic k".
        for (const auto& [name, word, count] :
             {std::tuple{"ai.lib", "Issue", 150}, {"aa.lib", "Argument", 141}}) {
            QByteArray bytes;
            for (int k = 1; k <= count; ++k)
                bytes += word + QByteArray(" topic ") + QByteArray::number(k) +
                         "\r\n-----------------------\r\n";
            write(name, bytes);
        }
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
        for (const char* gif : {"confirm0.gif", "confirm1.gif", "next0.gif", "next1.gif"})
            QFile::copy(data + QLatin1String(gif), file(QLatin1String(gif)));
        QDir(path()).mkdir(QStringLiteral("user"));
        // Where the system has no dictionaries of its own (Windows), the folder
        // carries the program's.
        const QString dictionaries = qEnvironmentVariable("QEL_DICTIONARIES");
        if (!dictionaries.isEmpty() && QDir(path()).mkdir(QStringLiteral("dictionaries"))) {
            for (const QString& name : QDir(dictionaries).entryList(QDir::Files))
                QFile::copy(dictionaries + QLatin1Char('/') + name, file("dictionaries/" + name));
        }
    }

    // The folder as the system would report it (no trailing separator).
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};
