#pragma once

#include "platform/platform.h"

#include <QApplication>

#include <exception>
#include <memory>

class StartWindow;

// Opens the program: the start window's load (which creates the hidden test
// window and reads both libraries). Throws Fault when a library cannot be read.
std::unique_ptr<StartWindow> loadProgram(Platform& platform, const QString& programFolder);

// Offers every draft that no running copy owns (left by a crash) for saving,
// and reports those that are damaged or cannot be saved.
void recoverDrafts(Platform& platform, const QString& appFolder);

// The one place an untrapped fault ends up: a box that names it, then the end of
// the program with a non-zero status.
void handleUntrappedFault(Platform& platform, const std::exception& error);

// Catches what an event handler throws, so no exception crosses the event loop.
class QelApplication : public QApplication {
public:
    QelApplication(int& argc, char** argv, Platform& platform);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Platform& platform_;
};
