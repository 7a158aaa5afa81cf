#pragma once

#include "bank/topiclibrary.h"
#include "essay/essayreport.h"
#include "essay/pacelog.h"
#include "essay/question.h"
#include "essay/topickey.h"
#include "platform/platform.h"

#include <QDialog>

#include <atomic>

#include <array>
#include <functional>
#include <future>
#include <memory>
#include <optional>

class EssayFilter;
class EssayList;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class PacePane;
class RatingPane;
struct RecordMarks;
class TimelineFigures;
class ProgressView;
class QSplitter;
class QTabWidget;
class QTableView;
class QTextBrowser;
class QTimer;
class SpellChecker;
struct SavedEssay;

// The Review window: every essay saved in the user folder, newest first, with
// a filter by kind and a search; the chosen essay's topic and answer; writing
// its topic again, the essay as a PDF and the figures of the essays listed as a
// spreadsheet. Under the answer, the essay's report,
// made when the essay is chosen, with the misspelled words underlined in the
// answer. Beside the list, the essays' progress in pictures: their words and
// spelling slips over time and the topics written. It reads the user folder
// once, when it opens; the only thing it ever writes there is the candidate's
// rating and leave-out mark, appended to an essay's notes file.
class ReviewWindow : public QDialog {
    Q_OBJECT
public:
    ReviewWindow(Platform& platform, const QString& appFolder, QWidget* parent);
    ~ReviewWindow() override;

    QLabel* countLabel;
    QLabel* kindLabel;
    QComboBox* kindFilter;
    QLabel* searchLabel;
    QLineEdit* searchBox;
    QLabel* foundLabel; // how many essays the search found, in a line kept for it
    QLabel* topicLabel; // the one topic listed, when the topics map chose one
    QPushButton* allTopicsButton;
    QPushButton* exportButton; // the figures of the essays listed, as CSV
    QTabWidget* views;         // the list, and the progress
    ProgressView* progressView;
    QTableView* essayList;
    QPlainTextEdit* topicBox;
    QPlainTextEdit* answerBox;
    QTextBrowser* reportView;
    QCheckBox* explainBox;  // each figure's meaning written under it
    PacePane* pacePane;     // how the chosen essay's time went
    RatingPane* ratingPane; // the candidate's own rating, and leaving the essay out of Progress
    QLabel* wordsLabel;
    QPushButton* writeAgainButton;
    QPushButton* savePdfButton;
    QPushButton* closeButton;

    // Asks where to save the PDF, from a suggested path; an empty path is no.
    // A file dialog, unless a test puts its answer here.
    std::function<QString(QWidget* parent, const QString& suggested)> askPdfPath;
    // The same for the figures' CSV file.
    std::function<QString(QWidget* parent, const QString& suggested)> askCsvPath;
    // The list, the topic, the answer and the report, one above another.
    QSplitter* panes;

    // The topic "Write this topic again" chose, once the window has closed by it.
    std::optional<Question> topicToWrite;

    // Event handlers.
    void filterChanged();
    void searchChanged();
    void essayChosen();
    void essayOpened();
    void writeAgainClicked();
    void savePdfClicked();
    void exportClicked();
    void topicChosen(const Question& question);
    void viewChanged();
    void marksChanged(const RecordMarks& marks);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    std::optional<SavedEssay> chosenEssay() const;
    void showReport();
    void suggestionStep();
    void showProgress();
    void countSlipsAside();
    void slipsCounted(int first, const QList<float>& slips, const QList<float>& usage);
    QString topicStart(const Question& question);
    bool refusedInUserFolder(const QString& path, const QString& what, const QString& title);

    Platform& platform_;
    QString appFolder_;
    QString userFolder_;
    EssayList* essays_;
    EssayFilter* filter_;
    std::shared_future<std::shared_ptr<const SpellChecker>> spelling_;
    EssayReport report_;
    QString keyHtml_; // what the topic asked for, shown under the report
    // The chosen answer's misspelled words and Help's text, as places in the answer box.
    QList<TextSpan> slipsInBox_;
    QList<TextSpan> helpInBox_;
    QTimer* suggestions_; // looks for the suggestions of one word at a time
    // Spelling slips per hundred words of each essay, by row; NaN until counted
    // on a thread of its own, which stops when the window closes.
    QList<float> slips_;
    QList<float> usage_; // usage and mechanics slips per hundred words, the same way
    bool spellingMissing_ = false;
    std::shared_ptr<std::atomic<bool>> closing_ = std::make_shared<std::atomic<bool>>(false);
    std::future<void> slipsCounting_;
    // The search runs on a thread of its own: a newer keystroke stops the one
    // under way, and only the newest search's rows are shown.
    std::shared_ptr<std::atomic<int>> searchNumber_ = std::make_shared<std::atomic<int>>(0);
    std::future<void> searching_;
    QString searched_; // what the shown rows match
    QList<bool> matches_;
    void searchFound(int number, const QString& search, QList<bool> matches);
    std::optional<std::array<TopicTable, EssayKinds.size()>> topicTexts_; // read when first named
    KeyShelf keys_{appFolder_}; // each key file read when an essay first needs it
    // The ratings and leave-out marks, read from the notes on a thread as the window opens.
    std::future<void> marksReading_;
    bool marksRead_ = false;
    void showMarks();
    // The timelines' figures for the Progress tab, read on a thread when it first shows.
    std::unique_ptr<TimelineFigures> paceFigures_;
};
