#include "app/outsideend.h"

#include "exam/testwindow.h"
#include "platform/win32.h"
#include "start/startwindow.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif
#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define QEL_HAS_XCB 1
#endif

namespace {

#ifdef Q_OS_UNIX
// The signal handler only writes a byte here; the event loop reads it and does
// the work, outside the handler.
std::array<int, 2> terminationSocket{-1, -1};

extern "C" void onTermination(int /*signal*/)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(terminationSocket[0], &byte, 1);
    errno = saved;
}
#endif

} // namespace

OutsideEnd::OutsideEnd(Platform& platform) : platform_(platform), windowLost_(this)
{
    windowLost_.setSingleShot(true);
    windowLost_.setInterval(0);
    connect(&windowLost_, &QTimer::timeout, this, &OutsideEnd::windowLost);
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [](QSessionManager& /*session*/) { keepDraft(); });
    QCoreApplication::instance()->installNativeEventFilter(this);
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, terminationSocket.data()) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminationSocket[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &OutsideEnd::terminated);
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
#endif
}

OutsideEnd::~OutsideEnd()
{
#ifdef Q_OS_UNIX
    if (terminationSocket[1] < 0)
        return;
    std::signal(SIGTERM, SIG_DFL);
    for (int& end : terminationSocket) {
        ::close(end);
        end = -1;
    }
#endif
}

void OutsideEnd::keepDraft()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* test = qobject_cast<TestWindow*>(window))
            test->keepDraftNow();
    }
}

void OutsideEnd::terminated()
{
#ifdef Q_OS_UNIX
    keepDraft();
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
#endif
}

void OutsideEnd::windowLost()
{
    keepDraft();
    platform_.end.endProgram(0);
}

bool OutsideEnd::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/)
{
    // Windows asked first (the session manager's commit) and the draft was kept
    // then; now the session ends, and Qt would close the windows, which asks
    // about the answer and holds up the log-off. The program ends quietly, its
    // draft kept for the next start.
    if (eventType == "windows_generic_MSG" && Win32::endsSession(message)) {
        keepDraft();
        platform_.end.endProgram(0);
        return false;
    }
#ifdef QEL_HAS_XCB
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
        return false;
    const xcb_window_t gone = reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // Only these two live as long as the program; the others' windows are
        // destroyed by the program itself.
        const bool lasting =
            qobject_cast<StartWindow*>(window) || qobject_cast<TestWindow*>(window);
        if (lasting && window->internalWinId() == gone)
            windowLost_.start();
    }
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false;
}
