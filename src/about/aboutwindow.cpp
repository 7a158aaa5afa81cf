#include "about/aboutwindow.h"

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

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
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

AboutWindow::AboutWindow(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform)
{
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("About ") + Product::TitleWithVersion + QStringLiteral(" (") +
                   Product::WebAddress + QLatin1Char(')'));
    // The client area's place on the screen is fixed, as is its size.
    setGeometry(QRect(QPoint(twips(6105), twips(3060)), QSize(twips(5805), twips(3795))));
    setFixedSize(twips(5805), twips(3795));
    // No icon of its own; an empty icon would fall back to the start window's.
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    logo = new PictureBox(this);
    logo->setObjectName(QStringLiteral("logo"));
    const Picture logoPicture = builtInPicture(QStringLiteral("logo.png"));
    logo->setPicture(logoPicture);
    logo->setGeometry(QRect(QPoint(twips(240), twips(240)), logoPicture.size()));
    logo->setCursor(Qt::PointingHandCursor);
    logo->setToolTip(QStringLiteral("Click here to visit our site."));
    logo->setAccessibleName(Product::DistributorName);

    titleLabel =
        makeLabel(this, "titleLabel", Product::TitleWithVersion, twipsRect(3120, 240, 1965, 240));
    authorLabel = makeLabel(this, "authorLabel", QStringLiteral("Author: ") + Product::AuthorName,
                            twipsRect(3120, 600, 2565, 465));
    authorLabel->setPalette(QPalette());
    noteLabel = makeLabel(this, "noteLabel",
                          QStringLiteral(" If you think it help you a lot, you can write a "
                                         "letter to me, post a article in the ") +
                              Product::DistributorName +
                              QStringLiteral(" and/or recommend other GMAT tester to use it."),
                          twipsRect(240, 1320, 5205, 930));
    noteLabel->setFont(programFont(QStringLiteral("Arial"), 9.75));
    distributorLabel =
        makeLabel(this, "distributorLabel",
                  QStringLiteral(" The only granted distributor of this software is  ") +
                      Product::DistributorName.toUpper() + QLatin1Char(' ') + Product::WebAddress,
                  twipsRect(255, 2520, 3630, 1305));
    distributorLabel->setFont(programFont(QStringLiteral("Helv Label"), 9.75));

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(twipsRect(4125, 2760, 1500, 345));
    okButton->setDefault(true);
    sysInfoButton = new QPushButton(QStringLiteral("SysInfo..."), this);
    sysInfoButton->setObjectName(QStringLiteral("sysInfoButton"));
    sysInfoButton->setGeometry(twipsRect(4140, 3240, 1485, 345));
    // Enter presses the button that has the focus, as in the start window: OK
    // unless the user has moved on to SysInfo.
    sysInfoButton->setAutoDefault(true);

    setTabOrder(okButton, logo);
    setTabOrder(logo, sysInfoButton);
    okButton->setFocus(Qt::OtherFocusReason);

    // Escape reaches QDialog::reject and closes; Enter presses the focused button.
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfoButton, &QPushButton::clicked, this, &AboutWindow::sysInfoClicked);
    connect(logo, &PictureBox::clicked, this, &AboutWindow::logoClicked);

    // The load step: the mail line below the author line.
    authorLabel->setText(
        toWidgetText(authorLabel->text() + QStringLiteral("\r\nMailto: ") + Product::AuthorMail));
}

void AboutWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The etched separator: a grey line with a white one, two pixels wide, below it.
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(twips(90), twips(2445)), QPoint(twips(5654), twips(2445))),
                     QColor(128, 128, 128));
    painter.fillRect(QRect(QPoint(twips(105), twips(2460)), QPoint(twips(5654), twips(2460) + 1)),
                     Qt::white);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    // The fixed place can reach past a small screen at a high scale.
    keepWindowOnScreen(this);
    QDialog::showEvent(event);
}

void AboutWindow::logoClicked()
{
    platform_.shell.openAddress(Product::WebAddress);
}

void AboutWindow::sysInfoClicked()
{
    startSysInfo(platform_, this);
}
