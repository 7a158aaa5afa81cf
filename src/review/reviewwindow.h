#pragma once

#include "essay/essayreport.h"
#include "essay/question.h"
#include "platform/platform.h"

#include <QDialog>

#include <functional>
#include <future>
#include <memory>
#include <optional>

class EssayFilter;
class EssayList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTextBrowser;
class QTimer;
class SpellChecker;
struct SavedEssay;

// The Review window: every essay saved in the user folder, newest first, with
// a filter by kind and a search; the chosen essay's topic and answer; writing
// its topic again, and the essay as a PDF. Under the answer, the essay's report,
// made when the essay is chosen, with the misspelled words underlined in the
// answer. It reads the user folder once, when it opens, and never writes into it.
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
    QTableView* essayList;
    QPlainTextEdit* topicBox;
    QPlainTextEdit* answerBox;
    QTextBrowser* reportView;
    QLabel* wordsLabel;
    QPushButton* writeAgainButton;
    QPushButton* savePdfButton;
    QPushButton* closeButton;

    // Asks where to save the PDF, from a suggested path; an empty path is no.
    // A file dialog, unless a test puts its answer here.
    std::function<QString(QWidget* parent, const QString& suggested)> askPdfPath;

    // The topic "Write this topic again" chose, once the window has closed by it.
    std::optional<Question> topicToWrite;

    // Event handlers.
    void filterChanged();
    void essayChosen();
    void essayOpened();
    void writeAgainClicked();
    void savePdfClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    const SavedEssay* chosenEssay() const;
    void showReport();
    void suggestionStep();

    Platform& platform_;
    QString userFolder_;
    EssayList* essays_;
    EssayFilter* filter_;
    std::shared_future<std::shared_ptr<const SpellChecker>> spelling_;
    EssayReport report_;
    QTimer* suggestions_; // looks for the suggestions of one word at a time
};
