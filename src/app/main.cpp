#include "app/outsideend.h"
#include "app/startup.h"
#include "platform/appfolder.h"
#include "platform/fault.h"
#include "platform/realplatform.h"
#include "start/startwindow.h"

#include <QDir>

int main(int argc, char** argv)
{
    RealPlatform real;
    Platform platform = real.seams();
    QelApplication app(argc, argv, platform);
    QApplication::setApplicationName(QStringLiteral("QEL Simulator"));
    OutsideEnd outsideEnd(platform);

    std::unique_ptr<StartWindow> start;
    try {
        start = loadProgram(platform, QDir::toNativeSeparators(QApplication::applicationDirPath()));
    } catch (const std::exception& error) {
        return reportFault(platform.boxes, error);
    }
    start->show();
    return QApplication::exec();
}
