#include "app/startup.h"

#include "platform/fault.h"
#include "start/frmstart.h"
#include "widgets/ui.h"

std::unique_ptr<Frmstart> LoadProgram(Platform& platform, const QString& programFolder)
{
    InstallProgramFonts();
    return std::make_unique<Frmstart>(platform, programFolder);
}

void HandleUntrappedFault(Platform& platform, const std::exception& error)
{
    const int status = ReportFault(platform.boxes, error);
    platform.end.EndProgram(status);
}

QelApplication::QelApplication(int& argc, char** argv, Platform& platform)
    : QApplication(argc, argv), platform_(platform)
{
    // The program ends only through its own ways out (Quit, the close box, the
    // end of a section), never because the last visible window went away.
    setQuitOnLastWindowClosed(false);
}

bool QelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        HandleUntrappedFault(platform_, error);
    }
    return false;
}
