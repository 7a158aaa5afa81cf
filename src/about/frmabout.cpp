#include "about/frmabout.h"

#include "about/sysinfo.h"
#include "platform/product.h"
#include "platform/textio.h"
#include "widgets/picturebox.h"
#include "widgets/pictures.h"
#include "widgets/ui.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

frmAbout::frmAbout(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + Product::TitleWithVersion + QStringLiteral(" (") +
                   Product::WebAddress + QLatin1Char(')'));
    // The client area's place on the screen is fixed, as is its size.
    setGeometry(QRect(QPoint(Twips(6105), Twips(3060)), QSize(Twips(5805), Twips(3795))));
    setFixedSize(Twips(5805), Twips(3795));
    // No icon of its own; an empty icon would fall back to the start window's.
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    picIcon = new PictureBox(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    const Picture logo = BuiltInPicture(QStringLiteral("logo.png"));
    picIcon->setPicture(logo);
    picIcon->setGeometry(QRect(QPoint(Twips(240), Twips(240)), logo.size()));
    picIcon->setCursor(Qt::PointingHandCursor);
    picIcon->setToolTip(QStringLiteral("Click here to visit our site."));

    lblTitle =
        MakeLabel(this, "lblTitle", Product::TitleWithVersion, TwipsRect(3120, 240, 1965, 240));
    lblVersion = MakeLabel(this, "lblVersion", QStringLiteral("Author: ") + Product::AuthorName,
                           TwipsRect(3120, 600, 2565, 465));
    lblVersion->setPalette(QPalette());
    lblDescription = MakeLabel(this, "lblDescription",
                               QStringLiteral(" If you think it help you a lot, you can write a "
                                              "letter to me, post a article in the ") +
                                   Product::DistributorName +
                                   QStringLiteral(" and/or recommend other GMAT tester to use it."),
                               TwipsRect(240, 1320, 5205, 930));
    lblDescription->setFont(ProgramFont(QStringLiteral("Arial"), 9.75));
    lblDisclaimer =
        MakeLabel(this, "lblDisclaimer",
                  QStringLiteral(" The only granted distributor of this software is  ") +
                      Product::DistributorName.toUpper() + QLatin1Char(' ') + Product::WebAddress,
                  TwipsRect(255, 2520, 3630, 1305));
    lblDisclaimer->setFont(ProgramFont(QStringLiteral("Helv Label"), 9.75));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(4125, 2760, 1500, 345));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("SysInfo..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(TwipsRect(4140, 3240, 1485, 345));
    // Enter presses the button that has the focus, as in the start window: OK
    // unless the user has moved on to SysInfo.
    cmdSysInfo->setAutoDefault(true);

    setTabOrder(cmdOK, picIcon);
    setTabOrder(picIcon, cmdSysInfo);
    cmdOK->setFocus(Qt::OtherFocusReason);

    // Escape reaches QDialog::reject and closes; Enter presses the focused button.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::SysInfoClicked);
    connect(picIcon, &PictureBox::clicked, this, &frmAbout::LogoClicked);

    // The load step: the mail line below the author line.
    lblVersion->setText(
        ToWidgetText(lblVersion->text() + QStringLiteral("\r\nMailto: ") + Product::AuthorMail));
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The etched separator: a grey line with a white one, two pixels wide, below it.
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(Twips(90), Twips(2445)), QPoint(Twips(5654), Twips(2445))),
                     QColor(128, 128, 128));
    painter.fillRect(QRect(QPoint(Twips(105), Twips(2460)), QPoint(Twips(5654), Twips(2460) + 1)),
                     Qt::white);
}

void frmAbout::showEvent(QShowEvent* event)
{
    // The fixed place can reach past a small screen at a high scale.
    KeepWindowOnScreen(this);
    QDialog::showEvent(event);
}

void frmAbout::LogoClicked()
{
    platform_.shell.OpenAddress(Product::WebAddress);
}

void frmAbout::SysInfoClicked()
{
    StartSysInfo(platform_, this);
}
