#pragma once

// Test doubles of the platform seams: message boxes answer from a script and
// remember what they were asked; the clock reads what the test sets.

#include "platform/platform.h"

#include <QList>
#include <QMap>
#include <QStringList>

struct AskedBox {
    QString prompt;
    QString title;
    MessageBoxes::Icon icon;
    MessageBoxes::Buttons buttons;
    MessageBoxes::Guard guard = MessageBoxes::Unguarded;
};

class ScriptedBoxes : public MessageBoxes {
public:
    // Answers for the coming boxes, in order; once they run out, OK.
    QList<Answer> answers;
    QList<AskedBox> asked;
    // Runs while a box is "open", as a user's wait or another event would.
    std::function<void()> whileOpen;

    Answer show(QWidget* /*parent*/, const QString& prompt, const QString& title, Icon icon,
                Buttons buttons, Guard guard = Unguarded) override
    {
        asked.append({prompt, title, icon, buttons, guard});
        if (whileOpen)
            whileOpen();
        return answers.isEmpty() ? AnswerOk : answers.takeFirst();
    }

    QStringList prompts() const
    {
        QStringList list;
        for (const AskedBox& box : asked)
            list << box.prompt;
        return list;
    }
};

class FakeClock : public Clock {
public:
    double elapsed = 1000;
    QDateTime now = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
    std::uint64_t seed = 1;

    double ElapsedSeconds() override { return elapsed; }
    QDateTime Now() override { return now; }
    std::uint64_t RandomSeed() override { return seed++; }
};

class FakeShell : public Shell {
public:
    QStringList opened;
    QStringList started;
    bool succeed = true;

    bool OpenAddress(const QString& address) override
    {
        opened << address;
        return succeed;
    }
    bool StartProgram(const QString& path) override
    {
        started << path;
        return succeed;
    }
};

// A registry of keys and values set up by the test, which logs opens and closes.
class ScriptedRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type;
        QByteArray data;
    };
    QMap<QByteArray, QMap<QByteArray, Value>> keys; // key path -> value name -> value
    QStringList calls;

    long OpenKey(Handle root, const QByteArray& subKey, std::uint32_t /*options*/,
                 std::uint32_t access, Handle& result) override
    {
        calls << QStringLiteral("open %1 %2 %3")
                     .arg(root, 0, 16)
                     .arg(QString::fromLatin1(subKey))
                     .arg(access, 0, 16);
        const auto it = keys.constFind(subKey);
        result = it == keys.constEnd() ? 0 : Handle(100 + std::distance(keys.constBegin(), it));
        return result ? Success : FileNotFound;
    }
    long QueryValue(Handle key, const QByteArray& name, std::uint32_t& type, QByteArray& data,
                    std::uint32_t& size) override
    {
        const auto& values = *std::next(keys.constBegin(), qsizetype(key) - 100);
        const auto v = values.constFind(name);
        if (v == values.constEnd())
            return FileNotFound;
        const auto have = std::uint32_t(v->data.size());
        if (have > size) {
            size = have;
            return MoreData;
        }
        type = v->type;
        size = have;
        data.replace(0, have, v->data);
        return Success;
    }
    long CloseKey(Handle key) override
    {
        calls << QStringLiteral("close %1").arg(key);
        return key ? Success : 6;
    }
};

class RecordingEnd : public ProgramEnd {
public:
    QList<int> statuses;
    void EndProgram(int status) override { statuses << status; }
};

struct FakePlatform {
    ScriptedBoxes boxes;
    FakeClock clock;
    FakeShell shell;
    ScriptedRegistry registry;
    RecordingEnd end;
    Platform seams{boxes, clock, shell, registry, end};
};
