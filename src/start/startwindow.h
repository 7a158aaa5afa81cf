#pragma once

#include "bank/topiclibrary.h"
#include "essay/question.h"
#include "platform/platform.h"
#include "start/fulltest.h"

#include <QWidget>

#include <memory>
#include <optional>

class TestWindow;
class PictureBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// The start window: chooses the essay kind and topic and starts a practice
// question, or starts the Full Test. Loading it creates the hidden test window
// and reads both topic libraries; a library that cannot be read throws Fault
// before anything shows.
class StartWindow : public QWidget {
    Q_OBJECT
public:
    StartWindow(Platform& platform, const QString& programFolder);
    ~StartWindow() override;

    // The test window, with its controls made.
    TestWindow* testWindow();

    QGroupBox* practiceFrame;
    QRadioButton* issueOption;
    QRadioButton* argumentOption;
    QLabel* numberLabel;
    QLineEdit* numberBox;
    QCheckBox* randomSelect;
    QPushButton* practiceStartButton;
    QGroupBox* fullTestFrame;
    QPushButton* fullTestStartButton;
    QPushButton* quitButton;
    QPushButton* aboutButton;
    QPushButton* reviewButton;
    PictureBox* logo;
    // Accommodations: the time per question and the test screen's colours, for
    // the rest of the run.
    QGroupBox* accommodationsFrame;
    QLabel* timeAllowedLabel;
    QComboBox* timeAllowedBox;
    QLabel* coloursLabel;
    QComboBox* coloursBox;
    // The exam practised, for the rest of the run: the GMAT's two essays, or the
    // GRE's one Issue task in its six forms.
    QGroupBox* examFrame;
    QRadioButton* gmatOption;
    QRadioButton* greOption;
    QLabel* examNote; // what the GRE choice gives, or why it is off
    // In the Practice frame while GRE is chosen, in place of the two kinds.
    QLabel* greTopicsLabel;
    QLabel* formLabel;
    QComboBox* formBox; // the form of a random topic: any, or one of the six

    QString appFolder;
    TopicTable issueTopics;
    TopicTable argumentTopics;
    TopicTable greIssueTopics;
    // Why the GRE choice is off: its library could not be read. Empty when it is on.
    QString greUnavailable;

    bool greChosen() const;

    // Event handlers.
    void startPractice();
    void startFullTest();
    // The test window ended a section: the next section, the Full Test's
    // summary, or the question whether to go on.
    void sectionEnded(const SectionEnd& end);
    void randomSelectClicked();
    // Lays out the Practice frame for the exam chosen.
    void examChanged();
    void quitClicked();
    void aboutClicked();
    void reviewClicked();
    // Kind and number set to a question's topic, Random Select cleared, ready for Start.
    void chooseTopic(const Question& question);
    void logoClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    // Fills and shows the test window with the question, and starts its clock.
    void showQuestion(const Question& question);
    // The Full Test's next section, on a topic drawn at random.
    void startFullTestSection();

    Platform& platform_;
    std::unique_ptr<TestWindow> testWindow_;
    QTimer* testWindowLater_ = nullptr;
    std::optional<FullTest> fullTest_; // while the Full Test is under way
};
