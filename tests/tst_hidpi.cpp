// The panel's pictures on a screen that scales the interface by two.

#include "pages/mouseicon.h"
#include "widgets/knobbutton.h"

#include <QApplication>
#include <QtTest>

class TestHiDpi : public QObject
{
    Q_OBJECT
private slots:
    void knobPictureHasTheScreensPixels();
};

void TestHiDpi::knobPictureHasTheScreensPixels()
{
    Q_INIT_RESOURCE(resources);
    KnobButton press(QStringLiteral(":/images/image/KN_IN150x150.png"), QStringLiteral("Vol+"));
    press.show();
    QVERIFY(QTest::qWaitForWindowExposed(&press));
    QCOMPARE(press.devicePixelRatioF(), 2.0);

    // 68 pixels of the layout are 136 of the screen: drawn from the source,
    // not blown up from a 68-pixel copy.
    const QPixmap picture = press.scaledPicture();
    QCOMPARE(picture.devicePixelRatio(), press.devicePixelRatioF());
    QCOMPARE(picture.size(), QSize(136, 136));
    press.setButtonSize(120);
    QCOMPARE(press.scaledPicture().size(), QSize(204, 204));
    QCOMPARE(press.scaledPicture().devicePixelRatio(), 2.0);

    // The grab holds the screen's pixels and the picture fills its middle.
    const QImage shot = press.grab().toImage();
    QCOMPARE(shot.size(), QSize(240, 240));

    const QPixmap mouse = drawMouseIcon(MouseIconKind::Left, true, press.devicePixelRatioF());
    QCOMPARE(mouse.size(), QSize(68, 68));
    QCOMPARE(mouse.devicePixelRatio(), 2.0);
}

int main(int argc, char *argv[])
{
    // Set before the application reads it, as a user's session would.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
