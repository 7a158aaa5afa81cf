// The floor for the start-up figures: a bare Qt Widgets window of the start
// window's size with the same kinds and number of controls, and nothing else:
// no fonts of its own, no pictures from resources, no files read, no second
// window. The program's start-up is measured against this one.

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.setWindowTitle(QStringLiteral("Start-up floor 1.0 (a bare Qt Widgets window)"));
    window.setFixedSize(414, 269);

    auto* practice = new QGroupBox(QStringLiteral("Practice"), &window);
    practice->setGeometry(16, 16, 169, 233);
    (new QRadioButton(QStringLiteral("Issue (1-150)"), practice))->setGeometry(16, 24, 113, 17);
    (new QRadioButton(QStringLiteral("Argument (1-141)"), practice))->setGeometry(16, 40, 121, 17);
    (new QLabel(QStringLiteral("QEL No."), practice))->setGeometry(32, 104, 49, 17);
    (new QLineEdit(QStringLiteral("1"), practice))->setGeometry(72, 96, 49, 22);
    (new QCheckBox(QStringLiteral("Random Select"), practice))->setGeometry(32, 128, 113, 25);
    (new QPushButton(QStringLiteral("&Start"), practice))->setGeometry(48, 176, 73, 25);

    auto* full = new QGroupBox(QStringLiteral("Full Test"), &window);
    full->setGeometry(224, 16, 169, 89);
    auto* fullStart = new QPushButton(QStringLiteral("Start"), full);
    fullStart->setGeometry(48, 32, 73, 25);
    fullStart->setEnabled(false);

    (new QPushButton(QStringLiteral("&Quit"), &window))->setGeometry(232, 128, 65, 25);
    (new QPushButton(QStringLiteral("&About"), &window))->setGeometry(320, 128, 65, 25);

    // The logo's place: a picture of the same size, made in memory.
    QPixmap logo(183, 59);
    logo.fill(Qt::darkBlue);
    auto* picture = new QLabel(&window);
    picture->setPixmap(logo);
    picture->setGeometry(216, 192, 183, 59);

    window.show();
    return QApplication::exec();
}
