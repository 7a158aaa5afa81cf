#include "windows.h"

#include "about/frmabout.h"
#include "platform/product.h"
#include "widgets/picturebox.h"

#include <QPushButton>
#include <QtTest>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void textsAndFocus()
    {
        FakePlatform fake;
        frmAbout about(fake.seams, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.windowTitle(), QStringLiteral("About QEL Simulator 1.0 (") +
                                          Product::WebAddress + QLatin1Char(')'));
        QCOMPARE(about.lblTitle->text(), QStringLiteral("QEL Simulator 1.0"));
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Author: ") + Product::AuthorName +
                                               QStringLiteral("\nMailto: ") + Product::AuthorMail);
        QVERIFY(about.lblDisclaimer->text().startsWith(
            QStringLiteral(" The only granted distributor of this software is  ") +
            Product::DistributorName.toUpper() + QLatin1Char(' ')));
        QCOMPARE(QApplication::focusWidget(), about.cmdOK);
        QCOMPARE(about.size(), QSize(387, 253));
        QCOMPARE(about.geometry().topLeft(), QPoint(407, 204));
    }

    void escapeCloses()
    {
        FakePlatform fake;
        frmAbout about(fake.seams, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }

    void sysInfoUnavailable()
    {
        FakePlatform fake;
        frmAbout about(fake.seams, nullptr);
        about.cmdSysInfo->click();
        QCOMPARE(fake.boxes.prompts(),
                 QStringList{"System information are temporarily unavailable."});
        QCOMPARE(fake.boxes.asked.first().icon, MessageBoxes::NoIcon);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
