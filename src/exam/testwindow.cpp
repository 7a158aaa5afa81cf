#include "exam/testwindow.h"

#include "essay/essayfile.h"
#include "essay/essaynotes.h"
#include "essay/essayrecords.h"
#include "exam/answerkeys.h"
#include "exam/draft.h"
#include "platform/appfolder.h"
#include "platform/textio.h"
#include "widgets/announcer.h"
#include "widgets/picturebox.h"
#include "widgets/pictures.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include <array>

namespace {

const QString HelvLabel = QStringLiteral("Helv Label");

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

void makeTitleLabel(QLabel* label, Qt::Alignment alignment)
{
    label->setFont(programFont(HelvLabel, 9.75, true));
    label->setAlignment(alignment | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

QPlainTextEdit* makeTextBox(QWidget* parent, const char* name, const QRect& geometry,
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

// words: what the picture reads, for a screen reader.
PictureBox* makePicture(QWidget* parent, const char* name, const QString& words,
                        const QRect& geometry, const QString& pictureName)
{
    auto* picture = new PictureBox(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setAccessibleName(words);
    picture->setGeometry(geometry);
    picture->setPicture(builtInPicture(pictureName));
    return picture;
}

} // namespace

TestWindow::TestWindow(Platform& platform, const QString& programFolder)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), platform_(platform)
{
    setObjectName(QStringLiteral("TestWindow"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(638, 480);
    background_ = builtInPicture(QStringLiteral("background.png"));

    // The load step: the folder, then the clock variables. The controls come
    // later (ensureControls), so the start window is not kept waiting for them.
    appFolder = appFolderOf(programFolder);
    countdown = CountdownState{}; // 30 minutes, no start taken, a restart pending
}

void TestWindow::ensureControls()
{
    if (answerBox)
        return;
    createControls();
    // A copy of the answer on disk, so a crash loses seconds of typing, not the essay.
    draft_ = new DraftKeeper(
        appFolder, platform_.clock, [this] { return currentDraft(); }, this);
    connect(answerBox, &QPlainTextEdit::textChanged, draft_, &DraftKeeper::changed);
    connect(answerBox->document(), &QTextDocument::contentsChange, this,
            &TestWindow::answerChanged);
    // After the answer keys' own filter, so this one sees each key first.
    answerBox->installEventFilter(this);
}

std::optional<Draft> TestWindow::currentDraft() const
{
    if (!isVisible() || !question_)
        return std::nullopt;
    return Draft{*question_, boxText(topicBox), boxText(answerBox), {}, pace_.log()};
}

void TestWindow::createControls()
{
    sectionTitle = makeLabel(this, "sectionTitle", twipsRect(0, 30, 9615, 255),
                             QStringLiteral("GMAT Test - Section 1: Analytical Writing 1"));
    makeTitleLabel(sectionTitle, Qt::AlignHCenter);
    clock = makeLabel(this, "clock", twipsRect(120, 30, 735, 255), ClockAtLoadCaption);
    makeTitleLabel(clock, Qt::AlignLeft);
    topicHeading = makeLabel(this, "topicHeading", twipsRect(240, 1200, 2895, 255), QString());
    makeTitleLabel(topicHeading, Qt::AlignLeft);

    topicBox = makeTextBox(this, "topicBox", twipsRect(185, 1440, 9235, 2445),
                           programFont(HelvLabel, 9.75));
    // The topic is not the user's to edit; it is saved with the essay as shown.
    topicBox->setReadOnly(true);
    topicBox->setAccessibleName(QStringLiteral("Topic"));
    topicBox->installEventFilter(this);
    answerBox = makeTextBox(this, "answerBox", twipsRect(290, 3960, 7945, 2560),
                            programFont(QStringLiteral("Arial"), 9.75, true));
    // As in the exam's answer box, Tab moves on rather than typing a tab.
    answerBox->setTabChangesFocus(true);
    answerBox->setAccessibleName(QStringLiteral("Answer box"));
    installAnswerKeys(answerBox, topicBox);

    cutButton = makePicture(this, "cutButton", QStringLiteral("Cut"),
                            twipsRect(8310, 4030, 1000, 645), QStringLiteral("cut.png"));
    pasteButton = makePicture(this, "pasteButton", QStringLiteral("Paste"),
                              twipsRect(8310, 4760, 1000, 645), QStringLiteral("paste.png"));
    undoButton = makePicture(this, "undoButton", QStringLiteral("Undo"),
                             twipsRect(8310, 5480, 1000, 645), QStringLiteral("undo.png"));
    testQuitButton = makePicture(this, "testQuitButton", QStringLiteral("Test Quit"),
                                 twipsRect(160, 6580, 675, 600), QStringLiteral("testquit.png"));
    sectionExitButton =
        makePicture(this, "sectionExitButton", QStringLiteral("Section Exit"),
                    twipsRect(870, 6580, 675, 600), QStringLiteral("sectionexit.png"));
    timeButton = makePicture(this, "timeButton", QStringLiteral("Time"),
                             twipsRect(1570, 6580, 675, 600), QStringLiteral("time.png"));
    helpButton = makePicture(this, "helpButton", QStringLiteral("Help"),
                             twipsRect(7350, 6580, 675, 600), QStringLiteral("help.png"));
    answerConfirmButton =
        makePicture(this, "answerConfirmButton", QStringLiteral("Answer Confirm"),
                    twipsRect(8050, 6580, 675, 600), QStringLiteral("confirm0.png"));
    nextButton = makePicture(this, "nextButton", QStringLiteral("Next"),
                             twipsRect(8760, 6580, 675, 600), QStringLiteral("next0.png"));
    answerConfirmButton->setEnabled(false);
    clockNews = new Announcer(this);
    clockNews->setObjectName(QStringLiteral("clockNews"));
    clockNews->setGeometry(clock->geometry());

    clockTimer = new QTimer(this);
    clockTimer->setObjectName(QStringLiteral("clockTimer"));
    clockTimer->setInterval(TickIntervalMs);
    // A precise timer: the clock label should change on the second, not up to a
    // coarse timer's slack later.
    clockTimer->setTimerType(Qt::PreciseTimer);

    // The clock sits over the title and must stay on top of it.
    clock->raise();

    const auto order = std::to_array<QWidget*>(
        {topicBox, testQuitButton, answerBox, sectionExitButton, timeButton, helpButton,
         answerConfirmButton, nextButton, cutButton, pasteButton, undoButton});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(testQuitButton, &PictureBox::clicked, this, [this] { endSection(true); });
    connect(sectionExitButton, &PictureBox::clicked, this, [this] { endSection(); });
    connect(answerConfirmButton, &PictureBox::clicked, this, [this] { endSection(); });
    connect(timeButton, &PictureBox::clicked, this, &TestWindow::toggleClock);
    connect(helpButton, &PictureBox::clicked, this, &TestWindow::help);
    connect(nextButton, &PictureBox::clicked, this, &TestWindow::next);
    connect(cutButton, &PictureBox::clicked, this, &TestWindow::cut);
    connect(pasteButton, &PictureBox::clicked, this, &TestWindow::paste);
    connect(clockTimer, &QTimer::timeout, this, &TestWindow::timerTick);
    // Whatever a button did, the user types on in the answer; Undo only does this.
    for (PictureBox* picture :
         {testQuitButton, sectionExitButton, timeButton, helpButton, answerConfirmButton,
          nextButton, cutButton, pasteButton, undoButton})
        connect(picture, &PictureBox::clicked, this, &TestWindow::returnToAnswer);
}

void TestWindow::returnToAnswer()
{
    answerBox->setFocus(Qt::OtherFocusReason);
}

void TestWindow::keepDraftNow()
{
    if (!draft_)
        return;
    draft_->finish(); // a write under way would make writeNow put it off
    draft_->writeNow();
    draft_->finish();
}

void TestWindow::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.drawPixmap(0, 0, background_.pixmap(devicePixelRatioF()));
}

bool TestWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Each key tells the pace log what kind of change, if any, it makes.
    if (watched == answerBox && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        std::optional<PaceEvent> kind;
        if (key->matches(QKeySequence::Paste))
            kind = PaceEvent::Paste;
        else if (key->matches(QKeySequence::Cut))
            kind = PaceEvent::Cut;
        else if (key->matches(QKeySequence::Undo))
            kind = PaceEvent::Undo;
        else if (key->matches(QKeySequence::Redo) ||
                 (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier))
            kind = PaceEvent::Redo;
        pace_.expect(kind);
    }
    // The topic box never keeps the focus: the caret belongs in the answer. Tab
    // and Shift+Tab pass on in their direction, so they reach every control.
    if (watched == topicBox && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            focusNextPrevChild(reason == Qt::TabFocusReason);
        else
            answerBox->setFocus(Qt::OtherFocusReason);
    }
    return QWidget::eventFilter(watched, event);
}

void TestWindow::closeEvent(QCloseEvent* event)
{
    // No close box, but the system's close keystroke still arrives: treat it as
    // Test Quit, so the answer is never dropped without a question.
    event->ignore();
    endSection(true);
}

void TestWindow::putClockAtRest()
{
    clockTimer->stop();
    putCountdownAtRest(countdown, secondsAllowed_);
    timeButton->setEnabled(true);
    showCaption(clockAtRestCaption(secondsAllowed_));
    clock->setVisible(true);
}

void TestWindow::showCaption(const QString& caption)
{
    if (clock->text() != caption)
        clock->setText(caption);
    // A hidden clock is still there for a screen reader that asks the Time button.
    const QString spoken = spokenTimeLeft(countdown);
    if (timeButton->accessibleDescription() != spoken)
        timeButton->setAccessibleDescription(spoken);
}

void TestWindow::setTimeAllowed(int seconds)
{
    if (seconds == secondsAllowed_)
        return;
    secondsAllowed_ = seconds;
    ensureControls();
    if (!clockTimer->isActive())
        putClockAtRest();
}

void TestWindow::setColourScheme(ColourScheme scheme)
{
    if (scheme == scheme_)
        return;
    scheme_ = scheme;
    ensureControls();
    const bool plain = scheme != ColourScheme::Exam;
    const SchemeColours colours = schemeColours(scheme);

    background_ = builtInPicture(QStringLiteral("background.png"), scheme);
    for (PictureBox* box : {cutButton, pasteButton, undoButton, testQuitButton, sectionExitButton,
                            timeButton, helpButton})
        box->setPicture(
            builtInPicture(box->objectName().remove(QStringLiteral("Button")).toLower(), scheme));
    const bool armed = answerConfirmButton->isEnabled();
    answerConfirmButton->setPicture(loadButtonPicture(
        appFolder, armed ? QStringLiteral("confirm1.gif") : QStringLiteral("confirm0.gif"),
        scheme));
    nextButton->setPicture(loadButtonPicture(
        appFolder, armed ? QStringLiteral("next1.gif") : QStringLiteral("next0.gif"), scheme));

    // The exam's colours are the palettes the controls were made with.
    QPalette screen;
    if (plain) {
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button,
                                QPalette::AlternateBase, QPalette::ToolTipBase})
            screen.setColor(role, colours.background);
        for (const auto role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText,
              QPalette::Light, QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow})
            screen.setColor(role, colours.text);
        // The selection is the text colour with the background's words on it.
        screen.setColor(QPalette::Highlight, colours.text);
        screen.setColor(QPalette::HighlightedText, colours.background);
    }
    setPalette(plain ? screen : QPalette());
    QPalette title;
    title.setColor(QPalette::WindowText, plain ? colours.text : QColor(Qt::white));
    for (QLabel* label : {sectionTitle, clock, topicHeading})
        label->setPalette(title);
    // The drawn frames lie under the boxes; plain schemes draw the boxes' own.
    const QString bar =
        QStringLiteral("QScrollBar { background: %1; border: 1px solid %2; }"
                       "QScrollBar::handle { border: 2px solid %2; min-height: 20px; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }")
            .arg(colours.background.name(), colours.text.name());
    for (QPlainTextEdit* box : {topicBox, answerBox}) {
        box->setPalette(plain ? screen : QPalette());
        box->setFrameShape(plain ? QFrame::Box : QFrame::NoFrame);
        box->setCursorWidth(plain ? 2 : 1);
        box->verticalScrollBar()->setStyleSheet(plain ? bar : QString());
    }
    update();
}

void TestWindow::setQuestion(const Question& question)
{
    question_ = question;
    // A GRE heading also names the topic's form, and takes the room it needs.
    if (topicHeading) {
        topicHeading->setGeometry(question.kind == EssayKind::GreIssue
                                      ? twipsRect(240, 1200, 5895, 255)
                                      : twipsRect(240, 1200, 2895, 255));
    }
    questionStart_.reset();
    helpText_.clear();
    pace_ = PaceRecorder{};
    paceDue_.reset();
}

double TestWindow::questionSeconds() const
{
    return questionStart_ ? platform_.clock.elapsedSeconds() - *questionStart_ : 0;
}

AnswerWords TestWindow::answerWords() const
{
    const QString text = boxText(answerBox);
    return countAnswerWords(text, helpText_.isEmpty() ? QList<QStringView>{}
                                                      : recordCopiesIn(text, helpText_));
}

void TestWindow::answerChanged(int /*position*/, int removed, int added)
{
    if (!pace_.running())
        return;
    const double at = questionSeconds();
    const std::optional<PaceEvent> event = pace_.changed(at, removed, added);
    if (!event || paceDue_)
        return;
    // The words are counted once the key's or the button's whole edit is done.
    paceDue_.emplace(at, *event);
    QTimer::singleShot(0, this, &TestWindow::takeDuePaceEntry);
}

void TestWindow::takeDuePaceEntry()
{
    if (!paceDue_)
        return;
    const auto [at, event] = *paceDue_;
    paceDue_.reset();
    takePaceEntry(at, event);
}

void TestWindow::takePaceEntry(double seconds, PaceEvent event)
{
    if (!pace_.running())
        return;
    AnswerWords words{pace_.lastEntry().words, pace_.lastEntry().helpWords};
    if (pace_.changedSinceEntry())
        words = answerWords();
    pace_.add(seconds, event, words.own, words.fromHelp);
}

void TestWindow::timerTick()
{
    const double reading = platform_.clock.elapsedSeconds();
    if (!questionStart_) {
        questionStart_ = reading;
        const AnswerWords words = answerWords();
        pace_.start(secondsAllowed_, words.own, words.fromHelp);
    }
    takeDuePaceEntry(); // a change's entry comes before the sample after it
    if (pace_.sampleDue(reading - *questionStart_))
        takePaceEntry(reading - *questionStart_, PaceEvent::Tick);
    const TickOutcome outcome = countdownTick(countdown, reading, secondsAllowed_);
    if (outcome.timeUp) {
        clockTimer->stop();
        clockNews->announce(QStringLiteral("Time Up!"));
        if (question_ && question_->kind == EssayKind::GreIssue) {
            // As on the GRE, the section ends by itself; the answer is offered for saving.
            endedByTime_ = true;
            endSection();
            endedByTime_ = false;
            return;
        }
        // It comes up while the user types: the keys typed on must not close it.
        platform_.boxes.show(this, QStringLiteral("Time Up!"), QStringLiteral("Time Up!"),
                             MessageBoxes::Exclamation, MessageBoxes::Ok,
                             MessageBoxes::GuardFirstSecond);
        countdown.restartPending = true;
        returnToAnswer();
        return;
    }
    if (outcome.lastMinutes) {
        clock->setVisible(true);
        timeButton->setEnabled(false);
    }
    if (outcome.captionChanged)
        showCaption(outcome.caption);
    if (outcome.minutesCrossed)
        clockNews->announce(spokenTimeLeft(countdown));
}

void TestWindow::toggleClock()
{
    clock->setVisible(!clock->isVisible());
}

bool TestWindow::saveEssay(const QDateTime& when, const PaceLog& pace, bool& timelineKept)
{
    const QString path = essayFilePath(appFolder, *question_);
    const QLocale locale = QLocale::system();
    const QString date = recordDate(when, locale);
    const QString time = recordTime(when, locale);
    const QString record =
        buildEssayRecord(*question_, date, time, boxText(topicBox), boxText(answerBox));
    QString reason;
    if (appendEssayRecord(path, record, reason)) {
        // The essay is saved whatever becomes of its timeline.
        QString notLogged;
        timelineKept =
            pace.entries.isEmpty() ||
            appendNotes(notesFilePath(path), timelineEntry(record, date, time, pace), notLogged);
        return true;
    }
    platform_.boxes.show(this,
                         QStringLiteral("Your essay could not be saved.\r\n\r\nFile: %1\r\n"
                                        "Reason: %2\r\n\r\nYour answer is still in the answer "
                                        "box. Copy it or mend the cause, then end the section "
                                        "again.")
                             .arg(path, reason),
                         QStringLiteral("Not Saved"), MessageBoxes::Exclamation, MessageBoxes::Ok);
    return false;
}

void TestWindow::endSection(bool wholeTest)
{
    const QDateTime when = platform_.clock.now();
    if (!question_)
        return;
    // Words and time as they stand at the click, however long the save question stays open.
    takeDuePaceEntry();
    const AnswerWords words = answerWords();
    SectionEnd end{*question_,
                   words.own,
                   words.fromHelp,
                   questionStart_ ? secondsTaken(*questionStart_, platform_.clock.elapsedSeconds())
                                  : 0,
                   false,
                   wholeTest,
                   secondsAllowed_};
    const PaceLog pace = pace_.ended(questionSeconds(), words.own, words.fromHelp);
    // Should the user go back to the question, it goes on as if never ended.
    const CountdownState countdownBefore = countdown;
    const bool counting = clockTimer->isActive();
    const QString caption = clock->text();
    const bool clockShown = !clock->isHidden();
    const bool timeButtonOn = timeButton->isEnabled();
    putClockAtRest();

    const QString timeUp = QStringLiteral("Time Up!");
    if (endedByTime_ && answerBox->document()->isEmpty()) {
        platform_.boxes.show(this, timeUp, timeUp, MessageBoxes::Exclamation, MessageBoxes::Ok,
                             MessageBoxes::GuardFirstSecond);
    }
    if (!answerBox->document()->isEmpty()) {
        // When the time ended it, the question comes up while the candidate types:
        // the keys typed on must not answer it.
        const auto answer = platform_.boxes.show(
            this,
            (endedByTime_ ? QStringLiteral("The time is up: the section has ended.\r\n")
                          : QString()) +
                QStringLiteral("Do you want to save it?\r\n") + wordsAndTimeLine(end),
            endedByTime_ ? timeUp : QStringLiteral("Quit"), MessageBoxes::Information,
            MessageBoxes::OkCancel,
            endedByTime_ ? MessageBoxes::GuardFirstSecond : MessageBoxes::Unguarded);
        // Closing the question (Escape, the close keystroke) is not Cancel, and a
        // failed save is no end: the user stays here with everything on screen as
        // it was, and the clock counting on from the question's own start.
        const bool backToQuestion =
            answer == MessageBoxes::AnswerClosed ||
            (answer == MessageBoxes::AnswerOk && !saveEssay(when, pace, end.timelineKept));
        if (backToQuestion) {
            countdown = countdownBefore;
            showCaption(caption);
            clock->setVisible(clockShown);
            timeButton->setEnabled(timeButtonOn);
            if (counting)
                clockTimer->start();
            returnToAnswer();
            return;
        }
        end.saved = answer == MessageBoxes::AnswerOk;
    }
    // Saved, refused or empty: the draft has done its work. Going back keeps it.
    pace_.stop();
    draft_->discard();
    emit sectionEnded(end);
}

void TestWindow::checkDraftPlace()
{
    const std::optional<QString> reason = draft_->claim();
    if (!reason)
        return;
    platform_.boxes.show(
        this,
        QStringLiteral("No draft of your answer can be kept while you write, so a crash or a "
                       "power cut would lose it.\r\n\r\nFolder: %1\r\nReason: %2\r\n\r\n"
                       "You can go on: the answer is saved as usual at the end of the section, "
                       "once the folder can be written.")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(draftFolder(appFolder))), *reason),
        QStringLiteral("No Draft"), MessageBoxes::Exclamation, MessageBoxes::Ok);
    returnToAnswer();
}

void TestWindow::putButtonsAtRest()
{
    answerConfirmButton->setEnabled(false);
    answerConfirmButton->setPicture(
        loadButtonPicture(appFolder, QStringLiteral("confirm0.gif"), scheme_));
    nextButton->setPicture(loadButtonPicture(appFolder, QStringLiteral("next0.gif"), scheme_));
    nextButton->setEnabled(true);
}

void TestWindow::help()
{
    const QString answer = boxText(answerBox);
    // The clipboard takes LF line breaks; Qt gives it the platform's own.
    if (!answer.isEmpty())
        QGuiApplication::clipboard()->setText(widgetText(answerBox));
    const SavedEssays saved =
        question_ ? readSavedEssays(essayFilePath(appFolder, *question_)) : SavedEssays{};
    if (!saved.readable)
        return;
    if (!saved.text.isEmpty()) {
        helpText_ = saved.text;
        pace_.expect(PaceEvent::Help);
        // Added as one step of the answer's undo history, which it keeps: Ctrl+Z
        // takes it back.
        QTextCursor end(answerBox->document());
        end.movePosition(QTextCursor::End);
        end.beginEditBlock();
        end.insertText(toWidgetText(saved.text));
        end.endEditBlock();
        answerBox->moveCursor(QTextCursor::End);
        answerBox->verticalScrollBar()->setValue(answerBox->verticalScrollBar()->maximum());
        pace_.expect(std::nullopt);
    }
    putClockAtRest();
}

void TestWindow::next()
{
    answerConfirmButton->setEnabled(true);
    answerConfirmButton->setPicture(
        loadButtonPicture(appFolder, QStringLiteral("confirm1.gif"), scheme_));
    nextButton->setPicture(loadButtonPicture(appFolder, QStringLiteral("next1.gif"), scheme_));
    nextButton->setEnabled(false);
}

void TestWindow::cut()
{
    QTextCursor cursor = answerBox->textCursor();
    if (cursor.hasSelection()) {
        pace_.expect(PaceEvent::Cut);
        QString selected = cursor.selectedText();
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        QGuiApplication::clipboard()->setText(selected);
        cursor.removeSelectedText();
        answerBox->setTextCursor(cursor);
        pace_.expect(std::nullopt);
    }
    answerBox->setFocus(Qt::OtherFocusReason);
}

void TestWindow::paste()
{
    QTextCursor cursor = answerBox->textCursor();
    pace_.expect(PaceEvent::Paste);
    cursor.insertText(toWidgetText(QGuiApplication::clipboard()->text()));
    pace_.expect(std::nullopt);
    answerBox->setTextCursor(cursor);
    answerBox->setFocus(Qt::OtherFocusReason);
}
