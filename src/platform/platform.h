#pragma once

// The thin layer between the windows and everything outside the program. Each
// seam has a real implementation (realplatform.h) and a test double
// (tests/support/fakeplatform.h); no window reaches the outside world directly.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

class QWidget;

class MessageBoxes {
public:
    enum Icon { NoIcon, Information, Exclamation, Critical };
    enum Buttons { Ok, OkCancel };
    // AnswerClosed: an OK/Cancel box went with neither button pressed (Escape,
    // the close keystroke, or the program ending). Where that makes no
    // difference, read it as Cancel.
    enum Answer { AnswerOk, AnswerCancel, AnswerClosed };
    // A box that comes up while the user may be typing: keys and clicks in its
    // first second are swallowed, so typing on neither closes it unseen nor
    // goes anywhere else.
    enum Guard { Unguarded, GuardFirstSecond };

    virtual ~MessageBoxes() = default;
    // Modal; an empty title means the program's own title.
    virtual Answer show(QWidget* parent, const QString& prompt, const QString& title, Icon icon,
                        Buttons buttons, Guard guard = Unguarded) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a clock that only moves forward, counts while the computer
    // sleeps and ignores changes of the wall clock; its zero is arbitrary.
    virtual double elapsedSeconds() = 0;
    // The local date and time.
    virtual QDateTime now() = 0;
    // A fresh seed for the random generator, taken from the clock.
    virtual std::uint64_t randomSeed() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a web address with the system's default action; true when handed over.
    virtual bool openAddress(const QString& address) = 0;
    // Starts a program in a normal window without waiting for it; true when started.
    virtual bool startProgram(const QString& path) = 0;
};

// The Windows registry as its ANSI functions see it: results are Win32 error
// codes (0 is success), handles are opaque numbers.
class Registry {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle LocalMachine = 0x80000002U;
    static constexpr long Success = 0;
    static constexpr long FileNotFound = 2;
    static constexpr long MoreData = 234;
    // Value types.
    static constexpr std::uint32_t RegSz = 1;
    static constexpr std::uint32_t RegDword = 4;

    virtual ~Registry() = default;
    // RegOpenKeyExA(root, subKey, options, access, &result).
    virtual long openKey(Handle root, const QByteArray& subKey, std::uint32_t options,
                         std::uint32_t access, Handle& result) = 0;
    // RegQueryValueExA(key, name, 0, &type, data, &size): data holds size bytes on
    // the way in; on success size is the number of bytes the value has.
    virtual long queryValue(Handle key, const QByteArray& name, std::uint32_t& type,
                            QByteArray& data, std::uint32_t& size) = 0;
    // RegCloseKey(key).
    virtual long closeKey(Handle key) = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Ends the program at once with the given exit status: every window goes,
    // nothing is asked. The caller returns straight after.
    virtual void endProgram(int status) = 0;
};

// The seams a window needs, handed down from start-up.
struct Platform {
    MessageBoxes& boxes;
    Clock& clock;
    Shell& shell;
    Registry& registry;
    ProgramEnd& end;
};
