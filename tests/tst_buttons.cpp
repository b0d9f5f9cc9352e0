#include "tst_event_counter.h"
#include "tst_log_capture.h"
#include "model/labels.h"
#include "widgets/buttonlegend.h"
#include "widgets/buttonpaintwarmup.h"
#include "widgets/dualcharbutton.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"
#include "widgets/sharedbevelbutton.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

namespace {

// Records which buttons were drawn, at what size and with what text.
class DrawRecordingStyle : public QProxyStyle
{
public:
    struct Drawn {
        const QWidget *button;
        QSize size;
        QString text;
    };
    mutable QVector<Drawn> drawn;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_PushButton)
            if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
                drawn.append({widget, button->rect.size(), button->text});
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

void hoverOn(QWidget *widget)
{
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(widget, &enter);
}

void hoverOff(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

bool isBlueArrowPixel(const QColor &c)
{
    return c.blue() > 150 && c.red() < 120 && c.blue() - c.red() > 80;
}

bool isWhiteTextPixel(const QColor &c)
{
    return c.red() > 220 && c.green() > 220 && c.blue() > 220;
}

} // namespace

class TestButtons : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void arrowsAreBlueOnOneLine();
    void keyFaceColours();
    void sharedBevelFollowsTheButtonsClass();
    void hoverGrowsTheKeyAndKeepsItCentred();
    void forcedClickGoesThroughTheWindow();
    void knobScalesPictureAndLegend();
    void missingKnobPictureIsLoggedAndStillDrawn();
    void dualCharLabelFollowsTheButton();
    void cutLegendShowsWholeTextOnHover();
    void hiddenPageButtonsAreDrawnAheadOffScreen();
};

void TestButtons::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    QLoggingCategory::setFilterRules(QStringLiteral("zentrik.ui.debug=true"));
}

void TestButtons::arrowsAreBlueOnOneLine()
{
    KeyButton key;
    key.setButtonBaseSize(120);
    key.setText(QStringLiteral("A->B"));
    key.setAssigned(true);
    const QImage image = key.grab().toImage();

    int blueTop = image.height(), blueBottom = -1, blueLeft = image.width(), blueRight = -1;
    int whiteTop = image.height(), whiteBottom = -1;
    int whiteLeftOfArrow = 0, whiteRightOfArrow = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (isBlueArrowPixel(c)) {
                blueTop = qMin(blueTop, y);
                blueBottom = qMax(blueBottom, y);
                blueLeft = qMin(blueLeft, x);
                blueRight = qMax(blueRight, x);
            }
        }
    }
    QVERIFY2(blueBottom >= 0, "the arrow is not drawn in blue");
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isWhiteTextPixel(image.pixelColor(x, y)))
                continue;
            whiteTop = qMin(whiteTop, y);
            whiteBottom = qMax(whiteBottom, y);
            if (x < blueLeft)
                ++whiteLeftOfArrow;
            if (x > blueRight)
                ++whiteRightOfArrow;
        }
    }
    // A before the arrow, B after it, all on the same line.
    QVERIFY(whiteLeftOfArrow > 0);
    QVERIFY(whiteRightOfArrow > 0);
    QVERIFY(blueTop >= whiteTop && blueBottom <= whiteBottom);

    key.setText(QStringLiteral("AB"));
    const QImage plain = key.grab().toImage();
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x)
            QVERIFY(!isBlueArrowPixel(plain.pixelColor(x, y)));
    }
}

void TestButtons::keyFaceColours()
{
    KeyButton key;
    const QPoint face(40, 8); // above the (empty) legend, inside the corners
    const QColor grey(100, 100, 100);
    QCOMPARE(key.grab().toImage().pixelColor(face), grey);

    key.setChecked(true);
    QImage image = key.grab().toImage();
    QCOMPARE(image.pixelColor(40, 40), grey.lighter(110));
    const QColor outline = image.pixelColor(40, 2);
    QVERIFY2(outline.red() > 200 && outline.green() > 170 && outline.blue() < 100,
             "a checked key has a gold outline");

    key.setChecked(false);
    key.setSwatch(QColor(200, 0, 0));
    QCOMPARE(key.grab().toImage().pixelColor(face), QColor(200, 0, 0));
    key.clearSwatch();
    QVERIFY(!key.swatchOn());
    QCOMPARE(key.grab().toImage().pixelColor(face), grey);
}

void TestButtons::sharedBevelFollowsTheButtonsClass()
{
    // Two buttons of one look and size share a bevel only while their
    // selector class is the same.
    QWidget page;
    page.setStyleSheet(QStringLiteral(
        "QWidget { background-color: #333; }"
        "QPushButton[class=\"plain\"] { background-color: #102030; border: none; }"
        "QPushButton[class=\"marked\"] { background-color: #a04010; border: none; }"));
    SharedBevelButton first(QString(), &page);
    SharedBevelButton second(QString(), &page);
    for (SharedBevelButton *button : {&first, &second}) {
        button->setProperty("class", QStringLiteral("plain"));
        button->setBevelLook(QStringLiteral("test"));
        button->setGeometry(0, 0, 40, 30);
    }
    page.ensurePolished();
    const QPoint inside(20, 5);
    QCOMPARE(first.grab().toImage().pixelColor(inside), QColor(0x10, 0x20, 0x30));
    QCOMPARE(second.grab().toImage().pixelColor(inside), QColor(0x10, 0x20, 0x30));

    second.setProperty("class", QStringLiteral("marked"));
    second.style()->unpolish(&second);
    second.style()->polish(&second);
    QCOMPARE(second.grab().toImage().pixelColor(inside), QColor(0xa0, 0x40, 0x10));
    QCOMPARE(first.grab().toImage().pixelColor(inside), QColor(0x10, 0x20, 0x30));
}

void TestButtons::hoverGrowsTheKeyAndKeepsItCentred()
{
    QWidget cell;
    cell.resize(80, 80);
    auto *key = new KeyButton(&cell);
    const QPointF cellCentre = QRectF(cell.rect()).center();

    hoverOn(key);
    QVERIFY(key->isHovered());
    QCOMPARE(key->size(), QSize(84, 84));
    QCOMPARE(QRectF(key->geometry()).center(), cellCentre);
    QCOMPARE(key->buttonSize(), 80);

    hoverOff(key);
    QCOMPARE(key->size(), QSize(80, 80));
    QCOMPARE(key->pos(), QPoint(0, 0));

    // Rescaling while hovered keeps the growth on top of the new side.
    hoverOn(key);
    key->setScale(1.5);
    QCOMPARE(key->size(), QSize(124, 124));
    hoverOff(key);
    QCOMPARE(key->size(), QSize(120, 120));
}

void TestButtons::forcedClickGoesThroughTheWindow()
{
    QWidget window;
    window.resize(300, 200);
    auto *cell = new QWidget(&window);
    cell->setGeometry(10, 10, 80, 80);
    auto *key = new KeyButton(cell);
    key->setText(QStringLiteral("K"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(key, &QPushButton::clicked);
    QSignalSpy places(key, &ControlButton::placeClicked);

    // The re-pointed places 6 to 8 hand their place over without a toggle.
    for (int place : {6, 7, 8}) {
        key->setPlace(place);
        QTest::mouseClick(key, Qt::LeftButton);
    }
    QCOMPARE(places.size(), 3);
    QCOMPARE(places.at(2).at(0).toInt(), 8);
    QCOMPARE(key->property("buttonIndex").toInt(), 8);
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!key->isChecked());
    QVERIFY2(!key->isDown(), "the key must not stay pressed after a forced click");

    // Every other place clicks as a button does, and says which place it is.
    for (int place : {5, 9}) {
        key->setPlace(place);
        QTest::mouseClick(key, Qt::LeftButton);
    }
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(places.size(), 5);
    QCOMPARE(places.at(4).at(0).toInt(), 9);
}

void TestButtons::knobScalesPictureAndLegend()
{
    const QStringList turns = {
        QStringLiteral(":/images/image/KN_LEFT114x97.png"),
        QStringLiteral(":/images/image/KN_RIGHT114x97.png"),
        QStringLiteral(":/images/image/KN_PressLEFT114x97.png"),
        QStringLiteral(":/images/image/KN_PressRIGHT114x97.png"),
    };
    for (const QString &path : turns) {
        KnobButton knob(path, QString());
        QCOMPARE(knob.picture().size(), QSize(114, 97));
        QCOMPARE(knob.size(), QSize(80, 80));
        QCOMPARE(knob.scaledPicture().width(), 68);
        knob.setButtonSize(120);
        QCOMPARE(knob.size(), QSize(120, 120));
        QCOMPARE(knob.scaledPicture().width(), 102);
        QVERIFY(qAbs(knob.scaledPicture().height() - 102 * 97 / 114.0) < 1.0);
    }

    KnobButton press(QStringLiteral(":/images/image/KN_IN150x150.png"), QStringLiteral("Vol+"));
    QCOMPARE(press.picture().size(), QSize(150, 150));
    QCOMPARE(press.text(), QStringLiteral("Vol+"));
    QVERIFY(press.isCheckable());
    QCOMPARE(press.scaledFontPointSize(), 10);
    press.setButtonSize(120);
    QCOMPARE(press.scaledPicture().size(), QSize(102, 102));
    QCOMPARE(press.scaledFontPointSize(), 15);
    press.setFontPointSize(0);
    QCOMPARE(press.fontPointSize(), 1);
    press.setButtonSize(-5);
    QCOMPARE(press.size(), QSize(0, 0));
    QVERIFY(press.scaledPicture().isNull());
}

void TestButtons::missingKnobPictureIsLoggedAndStillDrawn()
{
    LogCapture log;
    KnobButton knob(QStringLiteral(":/images/image/KN_NONE.png"), QStringLiteral("X"));
    QVERIFY(log.has(QStringLiteral("Failed to load image: :/images/image/KN_NONE.png")));
    QVERIFY(knob.picture().isNull());

    knob.setChecked(true);
    const QImage image = knob.grab().toImage();
    const QColor ring = image.pixelColor(40, 2);
    QVERIFY2(ring.red() > 150 && ring.green() > 120 && ring.blue() < 80 && ring.alpha() > 100,
             "a checked knob without a picture still gets its ring");

    log.clear();
    KnobButton empty{QString(), QString()};
    QVERIFY(log.lines().isEmpty());
}

void TestButtons::dualCharLabelFollowsTheButton()
{
    DualCharButton button(QStringLiteral("1"), QStringLiteral("!"));
    QCOMPARE(button.text(), QStringLiteral("1"));
    QCOMPARE(button.smallLabel()->text(), QStringLiteral("!"));
    QVERIFY(button.smallLabel()->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(button.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);

    button.resize(100, 60);
    button.show();
    QCOMPARE(button.smallLabel()->geometry(), QRect(3, 3, 42, 25));
    QCOMPARE(button.smallLabel()->font().pointSize(), 9);
    QVERIFY(button.smallLabel()->font().bold());

    button.resize(200, 200);
    QCOMPARE(button.smallLabel()->font().pointSize(), 18);
    button.resize(40, 30);
    QCOMPARE(button.smallLabel()->font().pointSize(), 6);
}

void TestButtons::cutLegendShowsWholeTextOnHover()
{
    KeyButton key;
    key.setScale(0.45);
    // The legend of a small key cuts "LCtrl + LShift + A"; the tooltip gives
    // the whole function.
    key.setLegendShape(LegendShape::Combination);
    key.setText(QStringLiteral("LCtrl + LS..."));
    key.setFullText(QStringLiteral("LCtrl + LShift + A"));
    QVERIFY(key.property("legend").toString().contains(QChar(0x2026)));
    QCOMPARE(key.toolTip(), QStringLiteral("LCtrl + LShift + A"));
    // A whole legend needs none, unless it is a short name for more.
    key.setLegendShape(LegendShape::Words);
    key.setText(QStringLiteral("A"));
    key.setFullText(QStringLiteral("A"));
    QCOMPARE(key.toolTip(), QString());
    key.setText(QStringLiteral("Brush"));
    key.setFullText(QStringLiteral("Activate Brush Tool"));
    QCOMPARE(key.toolTip(), QStringLiteral("Activate Brush Tool"));
    // A macro chain cut to "..." is fitted from its rich full text.
    const QString chain =
        QString::fromLatin1("A%1B%1C%1D%1E%1F").arg(QString::fromLatin1(kMacroArrowSpan));
    key.setLegendShape(LegendShape::Chain);
    key.setText(QStringLiteral("A -> B -..."));
    key.setFullText(chain);
    QCOMPARE(key.toolTip(), chain);
    key.setScale(1.5);
    QCOMPARE(key.property("legend").toString(), QStringLiteral("A -> B -> C\n-> D -> E -> F"));
    QCOMPARE(key.toolTip(), QString());
    key.setScale(0.45);
    key.setText(QStringLiteral("A -> B"));
    key.setFullText(QString::fromLatin1("A%1B").arg(QString::fromLatin1(kMacroArrowSpan)));
    QCOMPARE(key.toolTip(), QString());
    key.setText(QStringLiteral("Ctrl+Shift+Alt+Win+Del"));
    QCOMPARE(key.toolTip(), QString()); // still the old text until it is asked again
    QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), key.mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(&key, &hover);
    QVERIFY(!key.toolTip().isEmpty());
    // A key showing its LED colour has no function tooltip.
    key.setSwatch(Qt::red);
    QCOMPARE(key.toolTip(), QString());
    key.clearSwatch();
    QVERIFY(!key.toolTip().isEmpty());

    // Smaller parts fit less: a text whole at 80 is cut at 36.
    KnobButton knob(QString(), QStringLiteral("Calculator"));
    knob.setFullText(QStringLiteral("Calculator"));
    QCOMPARE(knob.toolTip(), QString());
    knob.setButtonSize(36);
    QCOMPARE(knob.toolTip(), QStringLiteral("Calculator"));
    // The legend never drops below eight pixels with a tiny knob.
    QCOMPARE(QFontInfo(knob.paintedLegendFont()).pixelSize(), 8);
    QCOMPARE(QFontInfo(legendFont(knob.font(), 3, knob.logicalDpiY())).pixelSize(), 8);
}

void TestButtons::hiddenPageButtonsAreDrawnAheadOffScreen()
{
    // Every button the page will show is drawn once, at its size, without
    // the page or its buttons painting or changing.
    QWidget window;
    QWidget page(&window);
    QPushButton shown(QStringLiteral("Undo"), &page);
    QPushButton notLaidOut(QStringLiteral("Redo"), &page);
    QPushButton hidden(QStringLiteral("Brush"), &page);
    DrawRecordingStyle style;
    EventCounter paints(QEvent::Paint);
    for (QPushButton *button : {&shown, &notLaidOut, &hidden}) {
        button->setStyle(&style);
        button->installEventFilter(&paints);
    }
    shown.setGeometry(0, 0, 70, 30);
    hidden.setGeometry(0, 40, 70, 30);
    hidden.hide();
    page.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    warmButtonPaint(&page);
    QCOMPARE(style.drawn.size(), 2);
    QCOMPARE(style.drawn.at(0).button, &shown);
    QCOMPARE(style.drawn.at(0).size, QSize(70, 30));
    QCOMPARE(style.drawn.at(0).text, QStringLiteral("Undo"));
    QCOMPARE(style.drawn.at(1).button, &notLaidOut);
    QCOMPARE(style.drawn.at(1).size, notLaidOut.size());
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    QVERIFY(page.isHidden());
    QCOMPARE(shown.geometry(), QRect(0, 0, 70, 30));
}

QTEST_MAIN(TestButtons)
#include "tst_buttons.moc"
