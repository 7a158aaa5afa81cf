#include "platform/realplatform.h"

#include "platform/inputguard.h"
#include "platform/product.h"
#include "platform/textio.h"
#include "platform/win32.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QTime>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <optional>

namespace {

// Escape and the close keystroke close an OK/Cancel box with neither button
// pressed (QMessageBox would press Cancel), so "not now" is told from "no".
class CloseWithoutAnswer : public QObject {
public:
    explicit CloseWithoutAnswer(QMessageBox* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            box_->close();
            return true;
        }
        // Taken here, a close hides the box without QMessageBox's own handling.
        return event->type() == QEvent::Close;
    }

private:
    QMessageBox* box_;
};

// Room beside a title in a window's title bar: the icon, the buttons and the margins.
constexpr int TitleBarExtras = 150;

// A short prompt makes a narrow box, whose title the window frame would cut off:
// the box is made at least as wide as its title needs.
void widenForTitle(QMessageBox& box)
{
    QFont font = box.font();
    font.setBold(true); // title bars often are
    const int needed = QFontMetrics(font).horizontalAdvance(box.windowTitle()) + TitleBarExtras;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

} // namespace

MessageBoxes::Answer RealMessageBoxes::show(QWidget* parent, const QString& prompt,
                                            const QString& title, Icon icon, Buttons buttons,
                                            Guard guard)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Information:
        boxIcon = QMessageBox::Information;
        break;
    case Exclamation:
        boxIcon = QMessageBox::Warning;
        break;
    case Critical:
        boxIcon = QMessageBox::Critical;
        break;
    case NoIcon:
        break;
    }
    const auto standard = buttons == OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                              : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(boxIcon, title.isEmpty() ? Product::Title : title, toWidgetText(prompt),
                    standard, parent);
    box.setDefaultButton(QMessageBox::Ok);
    widenForTitle(box);
    if (buttons == OkCancel)
        box.installEventFilter(new CloseWithoutAnswer(&box));
    std::optional<InputGuard> typingGuard;
    if (guard == GuardFirstSecond)
        typingGuard.emplace(&box, InputGuard::FirstSecondMs);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Ok))
        return AnswerOk;
    return buttons == OkCancel && !box.clickedButton() ? AnswerClosed : AnswerCancel;
}

double RealClock::elapsedSeconds()
{
    return Win32::bootClockSeconds();
}

QDateTime RealClock::now()
{
    return QDateTime::currentDateTime();
}

std::uint64_t RealClock::randomSeed()
{
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

bool RealShell::openAddress(const QString& address)
{
#ifdef _WIN32
    return Win32::shellOpen(address.toLocal8Bit().toStdString());
#else
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
#endif
}

bool RealShell::startProgram(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

void RealProgramEnd::endProgram(int status)
{
    // Hide rather than close: a close request on the test window would end the
    // section again.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(status);
}

long SystemRegistry::openKey(Handle root, const QByteArray& subKey, std::uint32_t options,
                             std::uint32_t access, Handle& result)
{
    return Win32::registryOpenKey(root, subKey.toStdString(), options, access, result);
}

long SystemRegistry::queryValue(Handle key, const QByteArray& name, std::uint32_t& type,
                                QByteArray& data, std::uint32_t& size)
{
    std::string buffer(data.constData(), static_cast<std::size_t>(data.size()));
    const long result = Win32::registryQueryValue(key, name.toStdString(), type, buffer, size);
    data = QByteArray(buffer.data(), static_cast<qsizetype>(buffer.size()));
    return result;
}

long SystemRegistry::closeKey(Handle key)
{
    return Win32::registryCloseKey(key);
}
