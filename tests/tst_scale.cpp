// Run once per screen scale (CTest sets QT_SCALE_FACTOR to 1, 1.5 and 2).
#include "windows.h"

#include "about/frmabout.h"
#include "widgets/drawing.h"
#include "widgets/picturebox.h"

#include <QScreen>
#include <QtTest>

namespace {
auto Rgb = [](const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); };
// A rectangle in device pixels, its edges rounded as the drawing rounds them.
QRect Device(const QRect& r, qreal s)
{
    return {QPoint(qRound(r.x() * s), qRound(r.y() * s)),
            QPoint(qRound((r.right() + 1) * s) - 1, qRound((r.bottom() + 1) * s) - 1)};
}
} // namespace

class TestScale : public QObject {
    Q_OBJECT
private slots:
    void paintingAt100IsTheStoredPicture()
    {
        const QString res = qEnvironmentVariable("QEL_SOURCE_DIR") + "/res/";
        for (const QString& name : DrawnPictureNames())
            QVERIFY2(Rgb(DrawPicture(name, 1.0)) == Rgb(QImage(res + name + ".png")),
                     qPrintable(name));
    }

    // On screen, each picture button shows exactly what the background draws
    // beneath it, each text box covers its drawn panel, the instruction box is
    // the painting for the screen's density, and the windows lie on the screen.
    void controlsLieOverTheirDrawnParts()
    {
        LoadedProgram p;
        p.startQuestion(true, "1");
        Frmmain& t = p.test();
        const qreal s = t.devicePixelRatioF();
        QCOMPARE(s, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QImage background = Rgb(DrawPicture("background", s));
        const QImage shown = Rgb(t.grab().toImage());
        for (PictureBox* box : {t.Picture1, t.Picture2, t.Picture3, t.Picture4, t.Picture5,
                                t.Picture6, t.Picture7, t.Picture8, t.Picture9}) {
            const QRect place = Device(box->geometry(), s);
            QVERIFY2(shown.copy(place) == background.copy(place), qPrintable(box->objectName()));
        }
        const int two = qCeil(2 * s); // two pixels at 100 %
        for (QPlainTextEdit* text : {t.Text1, t.Text2}) {
            const QRect d = Device(text->geometry(), s);
            QCOMPARE(background.pixel(d.left() + two, d.top() + two), qRgb(255, 255, 255));
            QCOMPARE(background.pixel(d.center().x(), d.bottom() - two), qRgb(255, 255, 255));
            QVERIFY(background.pixel(d.left() - 1, d.center().y()) != qRgb(255, 255, 255));
            QVERIFY(background.pixel(d.center().x(), d.bottom() + two) != qRgb(255, 255, 255));
        }
        const QRect box = Device(QRect(12, 24, 616, 52), s);
        const QImage instruction = shown.copy(box);
        QCOMPARE(instruction, background.copy(box));
        frmAbout about(p.fake.seams, p.start.get());
        about.show();
        for (QWidget* w : {static_cast<QWidget*>(&t), static_cast<QWidget*>(&about)})
            QCOMPARE(KeepOnScreen(w->frameGeometry(), w->screen()->availableGeometry()),
                     w->frameGeometry());
        if (s != 2.0)
            return;
        // Sharp at 200 %: a picture doubled pixel for pixel has no 2x2 block with
        // detail in it; a smoothly blown-up one has no step from black to white
        // between neighbours. The painting for 200 % has plenty of both.
        int detailed = 0;
        int steps = 0;
        for (int y = 0; y + 1 < instruction.height(); y += 2) {
            for (int x = 0; x + 1 < instruction.width(); x += 2) {
                const QRgb c = instruction.pixel(x, y);
                detailed += instruction.pixel(x + 1, y) != c || instruction.pixel(x, y + 1) != c ||
                            instruction.pixel(x + 1, y + 1) != c;
                steps += qAbs(qGray(c) - qGray(instruction.pixel(x + 1, y))) > 160;
            }
        }
        const int blocks = instruction.width() * instruction.height() / 4;
        QVERIFY(detailed > blocks / 20 && steps > blocks / 100);
    }

    void placeKeptOnScreen_data()
    {
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        using R = QRect;
        const R about(407, 204, 387, 253); // the About window's fixed place
        QTest::newRow("100 %, 800x600") << about << R(0, 0, 800, 600) << about;
        QTest::newRow("200 %, 1280x1024") << about << R(0, 0, 640, 512) << R(253, 204, 387, 253);
        QTest::newRow("panel") << R(10, 300, 99, 99) << R(0, 30, 640, 330) << R(10, 261, 99, 99);
        QTest::newRow("too big") << R(40, 40, 638, 480) << R(0, 0, 426, 341) << R(0, 0, 638, 480);
    }
    void placeKeptOnScreen()
    {
        QFETCH(QRect, place);
        QFETCH(QRect, available);
        QTEST(KeepOnScreen(place, available), "expected");
    }
};

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
