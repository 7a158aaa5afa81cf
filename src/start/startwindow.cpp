#include "start/startwindow.h"

// The start window opens the About and Review windows and fills and shows the
// test window: the only places one window folder reaches into another.
#include "about/aboutwindow.h"
#include "exam/countdown.h"
#include "exam/testwindow.h"
#include "platform/appfolder.h"
#include "platform/fault.h"
#include "platform/product.h"
#include "review/reviewwindow.h"
#include "start/greissue.h"
#include "start/numberentry.h"
#include "start/practice.h"
#include "start/randomtopic.h"
#include "widgets/picturebox.h"
#include "widgets/pictures.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <array>

namespace {

template <typename Control>
Control* place(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry)
{
    auto* button = place(new QPushButton(text, parent), name, geometry);
    // Enter presses the focused button, as on the system's own dialogs; there is
    // no default button that would take Enter from the others.
    button->setAutoDefault(true);
    return button;
}

} // namespace

StartWindow::StartWindow(Platform& platform, const QString& programFolder)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform)
{
    // The load order: the hidden test window first, then the folder, then the
    // libraries, Issue before Argument.
    testWindow_ = std::make_unique<TestWindow>(platform, programFolder);
    connect(testWindow_.get(), &TestWindow::sectionEnded, this, &StartWindow::sectionEnded);
    testWindowLater_ = new QTimer(this);
    testWindowLater_->setSingleShot(true);
    testWindowLater_->setInterval(0);
    connect(testWindowLater_, &QTimer::timeout, this, &StartWindow::testWindow);
    appFolder = appFolderOf(programFolder);
    loadTopicLibrary(appFolder, IssueLibraryName, IssueTopicCount, issueTopics);
    loadTopicLibrary(appFolder, ArgumentLibraryName, ArgumentTopicCount, argumentTopics);
    // The GRE's library is an addition: without it the GMAT's essays are practised as ever.
    try {
        loadTopicLibrary(appFolder, GreIssueLibraryName, GreIssueTopicCount, greIssueTopics);
    } catch (const Fault& fault) {
        greUnavailable =
            QDir::toNativeSeparators(fault.file()) + QStringLiteral(": ") + fault.reason();
    }

    setObjectName(QStringLiteral("StartWindow"));
    setWindowTitle(Product::TitleWithVersion + QStringLiteral(" (") + Product::WebAddress +
                   QLatin1Char(')'));
    setWindowIcon(smileyIcon());
    // The exam's window, with the accommodations in a band of their own below it.
    setFixedSize(twips(6210), twips(5895));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    createControls();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(0, 0), size());
        centred.moveCenter(screen->availableGeometry().center());
        // Too big for the screen, it keeps its title bar on it, to be moved.
        move(keepOnScreen(centred, screen->availableGeometry()).topLeft());
    }
}

StartWindow::~StartWindow() = default;

TestWindow* StartWindow::testWindow()
{
    testWindow_->ensureControls();
    return testWindow_.get();
}

void StartWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Once the start window is on the screen, the test window's controls are made
    // while the user reads it, so Start shows the test window at once.
    if (!testWindow_->answerBox)
        testWindowLater_->start();
}

void StartWindow::createControls()
{
    practiceFrame = place(new QGroupBox(QStringLiteral("Practice"), this), "practiceFrame",
                          twipsRect(240, 240, 2535, 3495));
    issueOption = place(new QRadioButton(QStringLiteral("Issue (1-150)"), practiceFrame),
                        "issueOption", twipsRect(240, 360, 1695, 255));
    argumentOption = place(new QRadioButton(QStringLiteral("Argument (1-141)"), practiceFrame),
                           "argumentOption", twipsRect(240, 600, 1815, 255));
    issueOption->setChecked(true);
    // Right-aligned a few pixels short of its box, so the words never touch it.
    numberLabel = place(new QLabel(QStringLiteral("QEL No."), practiceFrame), "numberLabel",
                        twipsRect(240, 1560, 750, 255));
    numberLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    numberBox = place(new QLineEdit(QStringLiteral("1"), practiceFrame), "numberBox",
                      twipsRect(1080, 1440, 735, 330));
    numberBox->setFont(programFont(QStringLiteral("Arial"), 9));
    numberBox->setAlignment(Qt::AlignLeft);
    // A screen reader names the box by its label, not by the frame around it.
    numberLabel->setBuddy(numberBox);
    randomSelect = place(new QCheckBox(QStringLiteral("Random Select"), practiceFrame),
                         "randomSelect", twipsRect(480, 1920, 1695, 375));
    practiceStartButton = makeButton(practiceFrame, "practiceStartButton", QStringLiteral("&Start"),
                                     twipsRect(720, 2640, 1095, 375));

    fullTestFrame = place(new QGroupBox(QStringLiteral("Full Test"), this), "fullTestFrame",
                          twipsRect(3360, 240, 2535, 1335));
    // Alt+T: Alt+S is the practice Start's.
    fullTestStartButton = makeButton(fullTestFrame, "fullTestStartButton", QStringLiteral("S&tart"),
                                     twipsRect(720, 480, 1095, 375));

    quitButton =
        makeButton(this, "quitButton", QStringLiteral("&Quit"), twipsRect(3480, 1920, 975, 375));
    aboutButton =
        makeButton(this, "aboutButton", QStringLiteral("&About"), twipsRect(4800, 1920, 975, 375));
    // Below Quit, where the window has room above the logo.
    reviewButton = makeButton(this, "reviewButton", QStringLiteral("&Review..."),
                              twipsRect(4800, 2460, 975, 375));

    logo = place(new PictureBox(this), "logo", twipsRect(3240, 2880, 2745, 885));
    const Picture logoPicture = builtInPicture(QStringLiteral("logo.png"));
    logo->setPicture(logoPicture);
    logo->resize(logoPicture.size());
    logo->setCursor(Qt::PointingHandCursor);
    logo->setToolTip(QStringLiteral("Click to visit our website"));
    logo->setAccessibleName(Product::DistributorName);

    accommodationsFrame = place(new QGroupBox(QStringLiteral("Accommodations"), this),
                                "accommodationsFrame", twipsRect(240, 3840, 5655, 1095));
    auto chooser = [this](const char* labelName, const QString& text, const char* boxName, int top,
                          const QStringList& choices, QLabel*& label) {
        label = place(new QLabel(text, accommodationsFrame), labelName,
                      twipsRect(240, top + 60, 1335, 255));
        auto* box =
            place(new QComboBox(accommodationsFrame), boxName, twipsRect(1560, top, 3855, 330));
        box->addItems(choices);
        label->setBuddy(box);
        box->setAccessibleName(QString(text).remove(QLatin1Char('&')).chopped(1));
        return box;
    };
    timeAllowedBox =
        chooser("timeAllowedLabel", QStringLiteral("T&ime allowed:"), "timeAllowedBox", 270,
                {QStringLiteral("Standard (30 min)"), QStringLiteral("+25 % (37 min 30 s)"),
                 QStringLiteral("+50 % (45 min)"), QStringLiteral("+100 % (60 min)")},
                timeAllowedLabel);
    coloursBox = chooser("coloursLabel", QStringLiteral("C&olours:"), "coloursBox", 660,
                         {QStringLiteral("The exam's own"), QStringLiteral("Black on white"),
                          QStringLiteral("White on black"), QStringLiteral("Yellow on black")},
                         coloursLabel);

    // The GRE's topics take the two kinds' place in the frame while GRE is chosen.
    greTopicsLabel =
        place(new QLabel(QStringLiteral("Analyze an Issue (1-%1)").arg(GreIssueTopicCount),
                         practiceFrame),
              "greTopicsLabel", twipsRect(240, 360, 2175, 255));
    formLabel = place(new QLabel(QStringLiteral("&Form of a random topic:"), practiceFrame),
                      "formLabel", twipsRect(480, 1620, 1935, 255));
    formBox = place(new QComboBox(practiceFrame), "formBox", twipsRect(480, 1920, 1935, 330));
    formBox->addItem(QStringLiteral("Any form"));
    for (const QString& form : IssueFormNames)
        formBox->addItem(form);
    formLabel->setBuddy(formBox);
    formBox->setAccessibleName(QStringLiteral("Form of a random topic"));

    examFrame = place(new QGroupBox(QStringLiteral("Exam"), this), "examFrame",
                      twipsRect(240, 5040, 5655, 735));
    gmatOption = place(new QRadioButton(QStringLiteral("G&MAT"), examFrame), "gmatOption",
                       twipsRect(240, 330, 1095, 255));
    greOption = place(new QRadioButton(QStringLiteral("GR&E"), examFrame), "greOption",
                      twipsRect(1560, 330, 855, 255));
    gmatOption->setChecked(true);
    examNote = place(new QLabel(examFrame), "examNote", twipsRect(2460, 240, 3075, 450));
    examNote->setWordWrap(true);
    if (greUnavailable.isEmpty()) {
        examNote->setText(QStringLiteral("GRE: one Issue task; the section ends when the "
                                         "time runs out."));
    } else {
        greOption->setEnabled(false);
        examNote->setText(
            QStringLiteral("GRE off: its topics (%1) could not be read.").arg(GreIssueLibraryName));
        greOption->setToolTip(greUnavailable);
        greOption->setAccessibleDescription(examNote->text() + QLatin1Char(' ') + greUnavailable);
    }
    examChanged();

    const auto order = std::to_array<QWidget*>(
        {quitButton, issueOption, argumentOption, numberBox, randomSelect, formBox,
         practiceStartButton, fullTestStartButton, logo, aboutButton, reviewButton, timeAllowedBox,
         coloursBox, gmatOption, greOption});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Enter at once starts a question; it must never end the program unasked.
    practiceStartButton->setFocus(Qt::OtherFocusReason);

    connect(practiceStartButton, &QPushButton::clicked, this, &StartWindow::startPractice);
    // Enter after the number starts the question, as Start would: the words
    // typed next belong in the answer, not in this box.
    connect(numberBox, &QLineEdit::returnPressed, this, &StartWindow::startPractice);
    connect(fullTestStartButton, &QPushButton::clicked, this, &StartWindow::startFullTest);
    connect(randomSelect, &QCheckBox::clicked, this, &StartWindow::randomSelectClicked);
    connect(greOption, &QRadioButton::toggled, this, &StartWindow::examChanged);
    connect(quitButton, &QPushButton::clicked, this, &StartWindow::quitClicked);
    connect(aboutButton, &QPushButton::clicked, this, &StartWindow::aboutClicked);
    connect(reviewButton, &QPushButton::clicked, this, &StartWindow::reviewClicked);
    connect(logo, &PictureBox::clicked, this, &StartWindow::logoClicked);
}

void StartWindow::randomSelectClicked()
{
    numberBox->setEnabled(!randomSelect->isChecked());
    formBox->setEnabled(randomSelect->isChecked());
    formLabel->setEnabled(randomSelect->isChecked());
}

bool StartWindow::greChosen() const
{
    return greOption->isChecked();
}

void StartWindow::examChanged()
{
    const bool gre = greChosen();
    issueOption->setVisible(!gre);
    argumentOption->setVisible(!gre);
    greTopicsLabel->setVisible(gre);
    formLabel->setVisible(gre);
    formBox->setVisible(gre);
    randomSelectClicked();
    // One line of topics in place of two leaves room for the form below Random Select.
    numberLabel->setGeometry(gre ? twipsRect(240, 840, 750, 255) : twipsRect(240, 1560, 750, 255));
    numberBox->setGeometry(gre ? twipsRect(1080, 720, 735, 330) : twipsRect(1080, 1440, 735, 330));
    randomSelect->setGeometry(gre ? twipsRect(480, 1200, 1695, 375)
                                  : twipsRect(480, 1920, 1695, 375));
}

void StartWindow::quitClicked()
{
    platform_.end.endProgram(0);
}

void StartWindow::closeEvent(QCloseEvent* event)
{
    // Closing the home screen ends the program, like Quit; the hidden test
    // window must not keep it alive.
    event->accept();
    platform_.end.endProgram(0);
}

void StartWindow::aboutClicked()
{
    AboutWindow about(platform_, this);
    about.exec();
}

// Modal as About is, and gone once closed; it reads the essays afresh each time.
void StartWindow::reviewClicked()
{
    auto* review = new ReviewWindow(platform_, appFolder, this);
    review->setAttribute(Qt::WA_DeleteOnClose);
    review->setWindowModality(Qt::ApplicationModal);
    connect(review, &QDialog::accepted, this, [this, review] {
        if (review->topicToWrite)
            chooseTopic(*review->topicToWrite);
    });
    review->show();
}

void StartWindow::chooseTopic(const Question& question)
{
    const bool gre = question.kind == EssayKind::GreIssue;
    if (gre && !greOption->isEnabled())
        return; // its topics cannot be shown in this run
    (gre ? greOption : gmatOption)->setChecked(true);
    if (!gre)
        (question.kind == EssayKind::Issue ? issueOption : argumentOption)->setChecked(true);
    randomSelect->setChecked(false);
    randomSelectClicked();
    numberBox->setText(QString::number(question.number));
    practiceStartButton->setFocus(Qt::OtherFocusReason);
}

void StartWindow::logoClicked()
{
    platform_.shell.openAddress(Product::WebAddress);
}

void StartWindow::startPractice()
{
    const EssayKind kind = greChosen()                ? EssayKind::GreIssue
                           : issueOption->isChecked() ? EssayKind::Issue
                                                      : EssayKind::Argument;
    const int limit = kindFacts(kind).topicCount;

    int number = 0;
    if (randomSelect->isChecked() && kind == EssayKind::GreIssue) {
        const int form = formBox->currentIndex();
        number = drawGreIssueTopic(form > 0 ? std::optional(IssueForm(form - 1)) : std::nullopt,
                                   platform_.clock.randomSeed());
    } else if (randomSelect->isChecked()) {
        number = drawRandomTopic(limit, platform_.clock.randomSeed());
    } else {
        const std::optional<int> entry = topicNumberFromEntry(numberBox->text(), limit);
        if (!entry) {
            platform_.boxes.show(this, QStringLiteral("Wrong Number"), QStringLiteral("Error!"),
                                 MessageBoxes::Exclamation, MessageBoxes::Ok);
            numberBox->setText(QStringLiteral("1"));
            return;
        }
        number = *entry;
    }

    showQuestion({kind, number});
}

void StartWindow::startFullTest()
{
    // The GRE's writing section is one Issue task on a topic drawn at random.
    if (greChosen()) {
        showQuestion({EssayKind::GreIssue,
                      drawRandomTopic(GreIssueTopicCount, platform_.clock.randomSeed())});
        return;
    }
    fullTest_.emplace();
    startFullTestSection();
}

void StartWindow::startFullTestSection()
{
    // Each section's topic is drawn at random; the number box is not the test's.
    const EssayKind kind = *fullTest_->nextSection();
    const int limit = kind == EssayKind::Issue ? IssueTopicCount : ArgumentTopicCount;
    showQuestion({kind, drawRandomTopic(limit, platform_.clock.randomSeed())});
}

void StartWindow::showQuestion(const Question& question)
{
    const TopicTable& topics = question.kind == EssayKind::GreIssue ? greIssueTopics
                               : question.kind == EssayKind::Issue  ? issueTopics
                                                                    : argumentTopics;
    const PracticeQuestion shown =
        composePracticeQuestion(question, topics.at(question.number - 1));
    TestWindow& test = *testWindow();
    // The choices hold for every question, each Full Test section included.
    test.setTimeAllowed(TimesAllowed.at(timeAllowedBox->currentIndex()));
    test.setColourScheme(static_cast<ColourScheme>(coloursBox->currentIndex()));
    test.sectionTitle->setText(shown.sectionTitle);
    test.topicHeading->setText(shown.heading);
    test.setQuestion(question);
    setBoxText(test.topicBox, shown.topicText);

    // Placed before it first shows, where the start window stood (in the
    // screen's corner when too big for it): a box it opens at once (No Draft)
    // is then centred on it, not on a place not yet known.
    if (!test.testAttribute(Qt::WA_Moved) && screen())
        test.move(placeOver(test.size(), frameGeometry(), screen()->availableGeometry()));
    hide();
    keepWindowOnScreen(&test);
    test.show();
    test.raise();
    test.activateWindow();
    test.answerBox->clear();
    // Before the clock starts: the box takes none of the candidate's time.
    test.checkDraftPlace();
    test.clockTimer->start();
    // The caret starts in the answer box, whichever control had the focus last time.
    test.answerBox->setFocus(Qt::OtherFocusReason);
}

void StartWindow::sectionEnded(const SectionEnd& end)
{
    TestWindow& test = *testWindow();
    const bool fullTest = bool(fullTest_);
    if (fullTest_) {
        if (fullTest_->sectionEnded(end)) {
            platform_.boxes.show(&test, timelineLostLine(end) + fullTest_->sectionOverText(),
                                 FullTestTitle, MessageBoxes::Information, MessageBoxes::Ok);
            // The next section opens as a fresh question: the clock was put at
            // rest when the last one ended.
            test.putButtonsAtRest();
            startFullTestSection();
            return;
        }
        platform_.boxes.show(&test, timelineLostLine(end) + fullTest_->summary(), FullTestTitle,
                             MessageBoxes::Information, MessageBoxes::Ok);
        fullTest_.reset();
    }
    const auto another = platform_.boxes.show(
        &test,
        (fullTest ? QString() : timelineLostLine(end)) +
            QStringLiteral("Do you want to start another question?"),
        QStringLiteral("Quit"), MessageBoxes::Information, MessageBoxes::OkCancel);
    if (another != MessageBoxes::AnswerOk) {
        platform_.end.endProgram(0);
        return;
    }
    test.hide();
    show();
    test.putButtonsAtRest();
}
