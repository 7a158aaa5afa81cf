#pragma once

#include "exam/countdown.h"
#include "platform/platform.h"
#include "widgets/pictures.h"

#include <QWidget>

#include <optional>

class DraftKeeper;
class PictureBox;
class QLabel;
class QPlainTextEdit;
class QTimer;
struct Draft;

// The test screen: a borderless 638 x 480 window whose background picture draws
// the exam screen, with the real controls laid over the drawn parts. Loaded once,
// hidden, by the start window, and then only shown and hidden.
class Frmmain : public QWidget {
    Q_OBJECT
public:
    Frmmain(Platform& platform, const QString& programFolder);

    // The window that ending a section hands control back to.
    void setStartWindow(QWidget* startWindow) { startWindow_ = startWindow; }

    // The clock at rest: timer off, 30 minutes left, a fresh start pending, the
    // Time button on, the label showing "30:00" and visible.
    void PutClockAtRest();

    // Makes the controls, once: the start window asks for them when it has been
    // drawn, or when a question starts, whichever comes first.
    void EnsureControls();

    // Controls, by the names the rest of the program uses.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QTimer* Timer1 = nullptr;
    PictureBox* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    PictureBox* Picture3 = nullptr;
    PictureBox* Picture4 = nullptr;
    PictureBox* Picture5 = nullptr;
    PictureBox* Picture6 = nullptr;
    PictureBox* Picture7 = nullptr;
    PictureBox* Picture8 = nullptr;
    PictureBox* Picture9 = nullptr;

    // Window-level variables.
    QString AppFolder;
    CountdownState Countdown;

    // Event handlers, public so that the other windows and tests can run them.
    void EndSection();
    void TimerTick();
    void ToggleClock();
    void Help();
    void Next();
    void Cut();
    void Paste();
    // The caret back in the answer box, after a button or a box.
    void ReturnToAnswer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    bool SaveEssay(const QDateTime& when);
    // The question under way as the draft keeps it; nothing between questions.
    std::optional<Draft> CurrentDraft() const;

    Platform& platform_;
    QWidget* startWindow_ = nullptr;
    DraftKeeper* draft_ = nullptr;
    Picture background_;
};
