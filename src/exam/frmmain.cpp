#include "exam/frmmain.h"

#include "exam/answerkeys.h"
#include "exam/draft.h"
#include "exam/essayfile.h"
#include "platform/appfolder.h"
#include "platform/textio.h"
#include "widgets/picturebox.h"
#include "widgets/pictures.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include <array>

namespace {

const QString HelvLabel = QStringLiteral("Helv Label");

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

void MakeTitleLabel(QLabel* label, Qt::Alignment alignment)
{
    label->setFont(ProgramFont(HelvLabel, 9.75, true));
    label->setAlignment(alignment | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

QPlainTextEdit* MakeTextBox(QWidget* parent, const char* name, const QRect& geometry,
                            const QFont& font)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setFont(font);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setFrameShape(QFrame::NoFrame);
    return box;
}

PictureBox* MakePicture(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& pictureName)
{
    auto* picture = new PictureBox(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(geometry);
    picture->setPicture(BuiltInPicture(pictureName));
    return picture;
}

} // namespace

Frmmain::Frmmain(Platform& platform, const QString& programFolder)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), platform_(platform)
{
    setObjectName(QStringLiteral("Frmmain"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(638, 480);
    background_ = BuiltInPicture(QStringLiteral("background.png"));

    // The load step: the folder, then the clock variables. The controls come
    // later (EnsureControls), so the start window is not kept waiting for them.
    AppFolder = AppFolderOf(programFolder);
    Countdown = CountdownState{}; // 30 minutes, no start taken, a restart pending
}

void Frmmain::EnsureControls()
{
    if (Text2)
        return;
    CreateControls();
    // A copy of the answer on disk, so a crash loses seconds of typing, not the essay.
    draft_ = new DraftKeeper(
        AppFolder, platform_.clock, [this] { return CurrentDraft(); }, this);
    connect(Text2, &QPlainTextEdit::textChanged, draft_, &DraftKeeper::Changed);
}

std::optional<Draft> Frmmain::CurrentDraft() const
{
    const QString modeCode = Label3->text();
    if (!isVisible() || (modeCode != QLatin1String("1") && modeCode != QLatin1String("2")))
        return std::nullopt;
    return Draft{EssayKindFromModeCode(modeCode),
                 TrimSpaces(Label4->text()),
                 BoxText(Text1),
                 BoxText(Text2),
                 {}};
}

void Frmmain::CreateControls()
{
    Label1 = MakeLabel(this, "Label1", TwipsRect(0, 30, 9615, 255),
                       QStringLiteral("GMAT Test - Section 1: Analytical Writing 1"));
    MakeTitleLabel(Label1, Qt::AlignHCenter);
    Label5 = MakeLabel(this, "Label5", TwipsRect(120, 30, 735, 255), ClockAtLoadCaption);
    MakeTitleLabel(Label5, Qt::AlignLeft);
    Label3 = MakeLabel(this, "Label3", TwipsRect(240, 480, 375, 255), QString());
    Label4 = MakeLabel(this, "Label4", TwipsRect(1080, 480, 615, 255), QString());
    Label6 = MakeLabel(this, "Label6", TwipsRect(1920, 480, 495, 255), QStringLiteral("30"));
    for (QLabel* hidden : {Label3, Label4, Label6})
        hidden->hide();
    Label2 = MakeLabel(this, "Label2", TwipsRect(240, 1200, 2895, 255), QString());
    MakeTitleLabel(Label2, Qt::AlignLeft);

    Text1 =
        MakeTextBox(this, "Text1", TwipsRect(185, 1440, 9235, 2445), ProgramFont(HelvLabel, 9.75));
    // The topic is not the user's to edit; it is saved with the essay as shown.
    Text1->setReadOnly(true);
    Text1->installEventFilter(this);
    Text2 = MakeTextBox(this, "Text2", TwipsRect(290, 3960, 7945, 2560),
                        ProgramFont(QStringLiteral("Arial"), 9.75, true));
    // As in the exam's answer box, Tab moves on rather than typing a tab.
    Text2->setTabChangesFocus(true);
    InstallAnswerKeys(Text2, Text1);

    Picture7 =
        MakePicture(this, "Picture7", TwipsRect(8310, 4030, 1000, 645), QStringLiteral("cut.png"));
    Picture8 = MakePicture(this, "Picture8", TwipsRect(8310, 4760, 1000, 645),
                           QStringLiteral("paste.png"));
    Picture9 =
        MakePicture(this, "Picture9", TwipsRect(8310, 5480, 1000, 645), QStringLiteral("undo.png"));
    Picture1 = MakePicture(this, "Picture1", TwipsRect(160, 6580, 675, 600),
                           QStringLiteral("testquit.png"));
    Picture2 = MakePicture(this, "Picture2", TwipsRect(870, 6580, 675, 600),
                           QStringLiteral("sectionexit.png"));
    Picture3 =
        MakePicture(this, "Picture3", TwipsRect(1570, 6580, 675, 600), QStringLiteral("time.png"));
    Picture4 =
        MakePicture(this, "Picture4", TwipsRect(7350, 6580, 675, 600), QStringLiteral("help.png"));
    Picture5 = MakePicture(this, "Picture5", TwipsRect(8050, 6580, 675, 600),
                           QStringLiteral("confirm0.png"));
    Picture6 =
        MakePicture(this, "Picture6", TwipsRect(8760, 6580, 675, 600), QStringLiteral("next0.png"));
    Picture5->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TickIntervalMs);
    // A precise timer: the clock label should change on the second, not up to a
    // coarse timer's slack later.
    Timer1->setTimerType(Qt::PreciseTimer);

    // The clock sits over the title and must stay on top of it.
    Label5->raise();

    const auto order =
        std::to_array<QWidget*>({Text1, Picture1, Text2, Picture2, Picture3, Picture4, Picture5,
                                 Picture6, Picture7, Picture8, Picture9});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Picture1, &PictureBox::clicked, this, &Frmmain::EndSection);
    connect(Picture2, &PictureBox::clicked, this, &Frmmain::EndSection);
    connect(Picture5, &PictureBox::clicked, this, &Frmmain::EndSection);
    connect(Picture3, &PictureBox::clicked, this, &Frmmain::ToggleClock);
    connect(Picture4, &PictureBox::clicked, this, &Frmmain::Help);
    connect(Picture6, &PictureBox::clicked, this, &Frmmain::Next);
    connect(Picture7, &PictureBox::clicked, this, &Frmmain::Cut);
    connect(Picture8, &PictureBox::clicked, this, &Frmmain::Paste);
    connect(Timer1, &QTimer::timeout, this, &Frmmain::TimerTick);
    // Whatever a button did, the user types on in the answer; Undo only does this.
    for (PictureBox* picture :
         {Picture1, Picture2, Picture3, Picture4, Picture5, Picture6, Picture7, Picture8, Picture9})
        connect(picture, &PictureBox::clicked, this, &Frmmain::ReturnToAnswer);
}

void Frmmain::ReturnToAnswer()
{
    Text2->setFocus(Qt::OtherFocusReason);
}

void Frmmain::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.drawPixmap(0, 0, background_.pixmap(devicePixelRatioF()));
}

bool Frmmain::eventFilter(QObject* watched, QEvent* event)
{
    // The topic box never keeps the focus: the caret belongs in the answer.
    if (watched == Text1 && event->type() == QEvent::FocusIn)
        Text2->setFocus(Qt::OtherFocusReason);
    return QWidget::eventFilter(watched, event);
}

void Frmmain::closeEvent(QCloseEvent* event)
{
    // No close box, but the system's close keystroke still arrives: treat it as
    // Test Quit, so the answer is never dropped without a question.
    event->ignore();
    EndSection();
}

void Frmmain::PutClockAtRest()
{
    Timer1->stop();
    PutCountdownAtRest(Countdown);
    Picture3->setEnabled(true);
    Label5->setText(ClockAtRestCaption);
    Label5->setVisible(true);
}

void Frmmain::TimerTick()
{
    const TickOutcome outcome = CountdownTick(Countdown, platform_.clock.ElapsedSeconds());
    if (outcome.timeUp) {
        Timer1->stop();
        // It comes up while the user types: the keys typed on must not close it.
        platform_.boxes.show(this, QStringLiteral("Time Up!"), QStringLiteral("Time Up!"),
                             MessageBoxes::Exclamation, MessageBoxes::Ok,
                             MessageBoxes::GuardFirstSecond);
        Countdown.RestartPending = true;
        ReturnToAnswer();
        return;
    }
    if (outcome.lastMinutes) {
        Label5->setVisible(true);
        Picture3->setEnabled(false);
    }
    if (outcome.captionChanged && Label5->text() != outcome.caption)
        Label5->setText(outcome.caption);
}

void Frmmain::ToggleClock()
{
    Label5->setVisible(!Label5->isVisible());
}

bool Frmmain::SaveEssay(const QDateTime& when)
{
    const QString modeCode = Label3->text();
    const QString path = EssayFilePath(AppFolder, modeCode, Label4->text());
    const QLocale locale = QLocale::system();
    const QString record =
        BuildEssayRecord(EssayKindFromModeCode(modeCode), Label4->text(), RecordDate(when, locale),
                         RecordTime(when, locale), BoxText(Text1), BoxText(Text2));
    QString reason;
    if (AppendEssayRecord(path, record, reason))
        return true;
    platform_.boxes.show(this,
                         QStringLiteral("Your essay could not be saved.\r\n\r\nFile: %1\r\n"
                                        "Reason: %2\r\n\r\nYour answer is still in the answer "
                                        "box. Copy it or mend the cause, then end the section "
                                        "again.")
                             .arg(path, reason),
                         QStringLiteral("Not Saved"), MessageBoxes::Exclamation, MessageBoxes::Ok);
    return false;
}

void Frmmain::EndSection()
{
    const QDateTime when = platform_.clock.Now();
    const QString modeCode = Label3->text();
    if (modeCode != QLatin1String("1") && modeCode != QLatin1String("2"))
        return;
    // Should the save fail, the question goes on as if it had never been ended.
    const CountdownState countdown = Countdown;
    const bool counting = Timer1->isActive();
    const QString caption = Label5->text();
    const bool clockShown = !Label5->isHidden();
    const bool timeButton = Picture3->isEnabled();
    PutClockAtRest();

    if (!Text2->document()->isEmpty()) {
        const auto answer = platform_.boxes.show(this, QStringLiteral("Do you want to save it?"),
                                                 QStringLiteral("Quit"), MessageBoxes::Information,
                                                 MessageBoxes::OkCancel);
        // A failed save keeps the user here with everything on screen as it was,
        // and the clock counting on from the question's own start.
        if (answer == MessageBoxes::AnswerOk && !SaveEssay(when)) {
            Countdown = countdown;
            Label5->setText(caption);
            Label5->setVisible(clockShown);
            Picture3->setEnabled(timeButton);
            if (counting)
                Timer1->start();
            ReturnToAnswer();
            return;
        }
    }
    // Saved, refused or empty: the draft has done its work. A failed save keeps it.
    draft_->Discard();

    const auto another = platform_.boxes.show(
        this, QStringLiteral("Do you want to start another question?"), QStringLiteral("Quit"),
        MessageBoxes::Information, MessageBoxes::OkCancel);
    if (another != MessageBoxes::AnswerOk) {
        platform_.end.EndProgram(0);
        return;
    }
    hide();
    if (startWindow_)
        startWindow_->show();
    Picture5->setEnabled(false);
    Picture5->setPicture(LoadButtonPicture(AppFolder, QStringLiteral("confirm0.gif")));
    Picture6->setPicture(LoadButtonPicture(AppFolder, QStringLiteral("next0.gif")));
    Picture6->setEnabled(true);
}

void Frmmain::Help()
{
    const QString answer = BoxText(Text2);
    // The clipboard takes LF line breaks; Qt gives it the platform's own.
    if (!answer.isEmpty())
        QGuiApplication::clipboard()->setText(WidgetText(Text2));
    const SavedEssays saved =
        ReadSavedEssays(EssayFilePath(AppFolder, Label3->text(), Label4->text()));
    if (!saved.readable)
        return;
    if (!saved.text.isEmpty()) {
        SetBoxText(Text2, answer + saved.text);
        Text2->moveCursor(QTextCursor::End);
        Text2->verticalScrollBar()->setValue(Text2->verticalScrollBar()->maximum());
    }
    PutClockAtRest();
}

void Frmmain::Next()
{
    Picture5->setEnabled(true);
    Picture5->setPicture(LoadButtonPicture(AppFolder, QStringLiteral("confirm1.gif")));
    Picture6->setPicture(LoadButtonPicture(AppFolder, QStringLiteral("next1.gif")));
    Picture6->setEnabled(false);
}

void Frmmain::Cut()
{
    QTextCursor cursor = Text2->textCursor();
    if (cursor.hasSelection()) {
        QString selected = cursor.selectedText();
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        QGuiApplication::clipboard()->setText(selected);
        cursor.removeSelectedText();
        Text2->setTextCursor(cursor);
    }
    Text2->setFocus(Qt::OtherFocusReason);
}

void Frmmain::Paste()
{
    QTextCursor cursor = Text2->textCursor();
    cursor.insertText(ToWidgetText(QGuiApplication::clipboard()->text()));
    Text2->setTextCursor(cursor);
    Text2->setFocus(Qt::OtherFocusReason);
}
