#pragma once

#include "platform/platform.h"

class RealMessageBoxes : public MessageBoxes {
public:
    Answer show(QWidget* parent, const QString& prompt, const QString& title, Icon icon,
                Buttons buttons, Guard guard = Unguarded) override;
};

class RealClock : public Clock {
public:
    double elapsedSeconds() override;
    QDateTime now() override;
    std::uint64_t randomSeed() override;
};

class RealShell : public Shell {
public:
    bool openAddress(const QString& address) override;
    bool startProgram(const QString& path) override;
};

class RealProgramEnd : public ProgramEnd {
public:
    void endProgram(int status) override;
};

// The system registry on Windows; elsewhere a registry in which no key exists.
class SystemRegistry : public Registry {
public:
    long openKey(Handle root, const QByteArray& subKey, std::uint32_t options, std::uint32_t access,
                 Handle& result) override;
    long queryValue(Handle key, const QByteArray& name, std::uint32_t& type, QByteArray& data,
                    std::uint32_t& size) override;
    long closeKey(Handle key) override;
};

struct RealPlatform {
    RealMessageBoxes boxes;
    RealClock clock;
    RealShell shell;
    SystemRegistry registry;
    RealProgramEnd end;

    Platform seams() { return Platform{boxes, clock, shell, registry, end}; }
};
