#pragma once

#include "platform/platform.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

// The program told to end from outside. SIGTERM and the desktop session's end
// write the draft of the question under way at once, then the program ends as
// it always did (the session ends it; SIGTERM takes its default course). The
// start or test window destroyed by another program ends the program cleanly,
// the draft kept for the next start, where before a windowless copy lived on.
class OutsideEnd : public QObject, public QAbstractNativeEventFilter {
public:
    explicit OutsideEnd(Platform& platform);
    ~OutsideEnd() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    static void keepDraft();
    void terminated();
    void windowLost();

    Platform& platform_;
    // Ends the program once the event that told of the lost window is done.
    QTimer windowLost_;
};
