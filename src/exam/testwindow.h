#pragma once

#include "essay/pacelog.h"
#include "essay/question.h"
#include "exam/countdown.h"
#include "exam/sectionend.h"
#include "platform/platform.h"
#include "widgets/pictures.h"

#include <QWidget>

#include <optional>

class Announcer;
class DraftKeeper;
class PictureBox;
class QLabel;
class QPlainTextEdit;
class QTimer;
struct AnswerWords;
struct Draft;

// The test screen: a borderless 638 x 480 window whose background picture draws
// the exam screen, with the real controls laid over the drawn parts. Loaded once,
// hidden, by the start window, and then only shown and hidden.
class TestWindow : public QWidget {
    Q_OBJECT
public:
    TestWindow(Platform& platform, const QString& programFolder);

    // The clock at rest: timer off, the time allowed left, a fresh start pending,
    // the Time button on, the label showing it ("30:00") and visible.
    void putClockAtRest();

    // The time per question, in seconds; the exam's 30 minutes unless a question
    // is given more. A change puts a clock that is not counting at rest.
    void setTimeAllowed(int seconds);
    int timeAllowed() const { return secondsAllowed_; }

    // The colours of the whole screen: the drawing, its boxes, caret and selection.
    void setColourScheme(ColourScheme scheme);
    ColourScheme colourScheme() const { return scheme_; }

    // Makes the controls, once: the start window asks for them when it has been
    // drawn, or when a question starts, whichever comes first.
    void ensureControls();

    // The controls, public so that the start window and the tests reach them; each
    // one's object name is its member's name.
    QLabel* sectionTitle = nullptr;
    QLabel* topicHeading = nullptr;
    QLabel* clock = nullptr;
    QPlainTextEdit* topicBox = nullptr;
    QPlainTextEdit* answerBox = nullptr;
    QTimer* clockTimer = nullptr;
    PictureBox* testQuitButton = nullptr;
    PictureBox* sectionExitButton = nullptr;
    PictureBox* timeButton = nullptr;
    PictureBox* helpButton = nullptr;
    PictureBox* answerConfirmButton = nullptr;
    PictureBox* nextButton = nullptr;
    PictureBox* cutButton = nullptr;
    PictureBox* pasteButton = nullptr;
    PictureBox* undoButton = nullptr;
    // Tells a screen reader when five minutes and one minute are left, and "Time Up!".
    Announcer* clockNews = nullptr;

    // The question under way, handed over by the start window; nothing before the first.
    void setQuestion(const Question& question);
    std::optional<Question> question() const { return question_; }

    // Window-level variables.
    QString appFolder;
    CountdownState countdown;

    // Answer Confirm off and Next on, each with its look at rest.
    void putButtonsAtRest();

    // Event handlers, public so that the other windows and tests can run them.
    // Section Exit and Answer Confirm end the section; Test Quit and a close
    // request end the whole test with it.
    void endSection(bool wholeTest = false);
    void timerTick();
    void toggleClock();
    void help();
    void next();
    void cut();
    void paste();
    // The caret back in the answer box, after a button or a box.
    void returnToAnswer();
    // Before a question's clock starts: says once, when it is so, that no draft
    // of the answer can be kept, and why; the candidate goes on either way.
    void checkDraftPlace();
    // Writes the draft of the question under way and waits until it is on disk:
    // the program is being ended from outside.
    void keepDraftNow();

    // How the question's time has gone so far: kept, never shown here.
    const PaceLog& paceLog() const { return pace_.log(); }

signals:
    // The section is over and its draft gone; the owner decides what comes next.
    void sectionEnded(const SectionEnd& end);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void showCaption(const QString& caption);
    bool saveEssay(const QDateTime& when, const PaceLog& pace, bool& timelineKept);
    // A change to the answer, for the pace log: characters removed and added.
    void answerChanged(int position, int removed, int added);
    void takePaceEntry(double seconds, PaceEvent event);
    void takeDuePaceEntry();
    double questionSeconds() const;
    AnswerWords answerWords() const;
    // The question under way as the draft keeps it; nothing between questions.
    std::optional<Draft> currentDraft() const;

    Platform& platform_;
    std::optional<Question> question_;
    // The clock reading at the question's first tick. The countdown's own start
    // moves when Help or "Time Up!" restarts it; the time taken does not.
    std::optional<double> questionStart_;
    DraftKeeper* draft_ = nullptr;
    bool endedByTime_ = false; // the section under way is being ended by the clock
    // What Help last brought into the answer, to tell the candidate's words from it.
    QString helpText_;
    PaceRecorder pace_;
    // An entry a change asked for, taken once the edit is whole.
    std::optional<std::pair<double, PaceEvent>> paceDue_;
    Picture background_;
    int secondsAllowed_ = SecondsAllowed;
    ColourScheme scheme_ = ColourScheme::Exam;
};
