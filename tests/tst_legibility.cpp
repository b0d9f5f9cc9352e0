// What a user reads on the window: tooltips that are drawn, not black boxes.

#include "app/window/widget.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

// The tooltip shown for `owner`, grabbed as the screen would show it over
// black (a desktop without compositing shows an unfilled tooltip as black).
QImage shownToolTip(QWidget *owner)
{
    QToolTip::showText(owner->mapToGlobal(QPoint(4, 4)), QStringLiteral("LCtrl + C"), owner);
    QImage shown;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible()) {
            QImage tip = top->grab().toImage().convertToFormat(QImage::Format_ARGB32);
            shown = QImage(tip.size(), QImage::Format_ARGB32);
            shown.fill(Qt::black);
            QPainter(&shown).drawImage(0, 0, tip);
        }
    QToolTip::hideText();
    return shown;
}

int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class LegibilityTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void toolTipsAreDrawn();
};

void LegibilityTest::toolTipsAreDrawn()
{
    Widget window(AppSettings(), *HIDManager::instance());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QWidget *key = window.findChild<KeyButton *>();
    QWidget *knobPart = window.findChild<KnobButton *>();
    QPushButton *clear = nullptr;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->text() == QLatin1String("Clear"))
            clear = button;
    QVERIFY(key && knobPart && clear);

    for (QWidget *owner : QList<QWidget *>{key, knobPart, clear}) {
        const QImage tip = shownToolTip(owner);
        QVERIFY2(!tip.isNull(), owner->metaObject()->className());
        // A fill and the text on it: more than one colour, and a light fill
        // behind the dark text.
        QVERIFY2(colourCount(tip) > 2, owner->metaObject()->className());
        QVERIFY2(qGray(tip.pixel(tip.width() - 3, tip.height() / 2)) > 200,
                 owner->metaObject()->className());
    }
}

QTEST_MAIN(LegibilityTest)
#include "tst_legibility.moc"
