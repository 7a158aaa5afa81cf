#include "start/frmstart.h"

// The start window opens the About window and fills and shows the test window:
// the only places one window folder reaches into another.
#include "about/frmabout.h"
#include "exam/frmmain.h"
#include "platform/appfolder.h"
#include "platform/product.h"
#include "start/numberentry.h"
#include "start/practice.h"
#include "start/randomtopic.h"
#include "widgets/picturebox.h"
#include "widgets/pictures.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QCloseEvent>
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
Control* Place(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry)
{
    auto* button = Place(new QPushButton(text, parent), name, geometry);
    // Enter presses the focused button, as on the system's own dialogs; there is
    // no default button that would take Enter from the others.
    button->setAutoDefault(true);
    return button;
}

} // namespace

Frmstart::Frmstart(Platform& platform, const QString& programFolder)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform)
{
    // The load order: the hidden test window first, then the folder, then the
    // libraries, Issue before Argument.
    frmmain_ = std::make_unique<Frmmain>(platform, programFolder);
    frmmain_->setStartWindow(this);
    testWindowLater_ = new QTimer(this);
    testWindowLater_->setSingleShot(true);
    testWindowLater_->setInterval(0);
    connect(testWindowLater_, &QTimer::timeout, this, &Frmstart::testWindow);
    AppFolder = AppFolderOf(programFolder);
    LoadTopicLibrary(AppFolder, IssueLibraryName, IssueTopicCount, IssueTopics);
    LoadTopicLibrary(AppFolder, ArgumentLibraryName, ArgumentTopicCount, ArgumentTopics);

    setObjectName(QStringLiteral("Frmstart"));
    setWindowTitle(Product::TitleWithVersion + QStringLiteral(" (") + Product::WebAddress +
                   QLatin1Char(')'));
    setWindowIcon(SmileyIcon());
    setFixedSize(Twips(6210), Twips(4035));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    CreateControls();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(0, 0), size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

Frmstart::~Frmstart() = default;

Frmmain* Frmstart::testWindow()
{
    frmmain_->EnsureControls();
    return frmmain_.get();
}

void Frmstart::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Once the start window is on the screen, the test window's controls are made
    // while the user reads it, so Start shows the test window at once.
    if (!frmmain_->Text2)
        testWindowLater_->start();
}

void Frmstart::CreateControls()
{
    Frame1 = Place(new QGroupBox(QStringLiteral("Practice"), this), "Frame1",
                   TwipsRect(240, 240, 2535, 3495));
    Option1 = Place(new QRadioButton(QStringLiteral("Issue (1-150)"), Frame1), "Option1",
                    TwipsRect(240, 360, 1695, 255));
    Option2 = Place(new QRadioButton(QStringLiteral("Argument (1-141)"), Frame1), "Option2",
                    TwipsRect(240, 600, 1815, 255));
    Option1->setChecked(true);
    Label1 = Place(new QLabel(QStringLiteral("QEL No."), Frame1), "Label1",
                   TwipsRect(480, 1560, 735, 255));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text1 =
        Place(new QLineEdit(QStringLiteral("1"), Frame1), "Text1", TwipsRect(1080, 1440, 735, 330));
    Text1->setFont(ProgramFont(QStringLiteral("Arial"), 9));
    Text1->setAlignment(Qt::AlignLeft);
    Check1 = Place(new QCheckBox(QStringLiteral("Random Select"), Frame1), "Check1",
                   TwipsRect(480, 1920, 1695, 375));
    Command2 =
        MakeButton(Frame1, "Command2", QStringLiteral("&Start"), TwipsRect(720, 2640, 1095, 375));

    Frame2 = Place(new QGroupBox(QStringLiteral("Full Test"), this), "Frame2",
                   TwipsRect(3360, 240, 2535, 1335));
    Command3 =
        MakeButton(Frame2, "Command3", QStringLiteral("Start"), TwipsRect(720, 480, 1095, 375));
    // The full test is not available: only practice questions can be run.
    Command3->setEnabled(false);

    Command1 =
        MakeButton(this, "Command1", QStringLiteral("&Quit"), TwipsRect(3480, 1920, 975, 375));
    Command4 =
        MakeButton(this, "Command4", QStringLiteral("&About"), TwipsRect(4800, 1920, 975, 375));

    Picture1 = Place(new PictureBox(this), "Picture1", TwipsRect(3240, 2880, 2745, 885));
    const Picture logo = BuiltInPicture(QStringLiteral("logo.png"));
    Picture1->setPicture(logo);
    Picture1->resize(logo.size());
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->setToolTip(QStringLiteral("Click to visit our website"));

    const auto order = std::to_array<QWidget*>(
        {Command1, Option1, Option2, Text1, Check1, Command2, Picture1, Command4});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    Command1->setFocus(Qt::OtherFocusReason);

    connect(Command2, &QPushButton::clicked, this, &Frmstart::StartPractice);
    connect(Check1, &QCheckBox::clicked, this, &Frmstart::RandomSelectClicked);
    connect(Command1, &QPushButton::clicked, this, &Frmstart::QuitClicked);
    connect(Command4, &QPushButton::clicked, this, &Frmstart::AboutClicked);
    connect(Picture1, &PictureBox::clicked, this, &Frmstart::LogoClicked);
}

void Frmstart::RandomSelectClicked()
{
    Text1->setEnabled(!Check1->isChecked());
}

void Frmstart::QuitClicked()
{
    platform_.end.EndProgram(0);
}

void Frmstart::closeEvent(QCloseEvent* event)
{
    // Closing the home screen ends the program, like Quit; the hidden test
    // window must not keep it alive.
    event->accept();
    platform_.end.EndProgram(0);
}

void Frmstart::AboutClicked()
{
    frmAbout about(platform_, this);
    about.exec();
}

void Frmstart::LogoClicked()
{
    platform_.shell.OpenAddress(Product::WebAddress);
}

void Frmstart::StartPractice()
{
    const bool issue = Option1->isChecked();
    const int limit = issue ? IssueTopicCount : ArgumentTopicCount;

    int number = 0;
    if (Check1->isChecked()) {
        number = DrawRandomTopic(limit, platform_.clock.RandomSeed());
    } else {
        const std::optional<int> entry = TopicNumberFromEntry(Text1->text(), limit);
        if (!entry) {
            platform_.boxes.show(this, QStringLiteral("Wrong Number"), QStringLiteral("Error!"),
                                 MessageBoxes::Exclamation, MessageBoxes::Ok);
            Text1->setText(QStringLiteral("1"));
            return;
        }
        number = *entry;
    }

    const PracticeQuestion question = ComposePracticeQuestion(
        issue, number, (issue ? IssueTopics : ArgumentTopics).at(number - 1));
    Frmmain& test = *testWindow();
    test.Label1->setText(question.sectionTitle);
    test.Label2->setText(question.heading);
    test.Label3->setText(question.modeCode);
    test.Label4->setText(question.number);
    SetBoxText(test.Text1, question.topicText);

    hide();
    KeepWindowOnScreen(&test);
    test.show();
    test.raise();
    test.activateWindow();
    test.Text2->clear();
    test.Timer1->start();
    // The caret starts in the answer box, whichever control had the focus last time.
    test.Text2->setFocus(Qt::OtherFocusReason);
}
