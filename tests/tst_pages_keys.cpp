#include "model/keyboarddata.h"
#include "model/labels.h"
#include "pages/basekeyspage.h"
#include "pages/extkeyspage.h"
#include "pages/mouseicon.h"
#include "pages/mousepage.h"
#include "pages/multimediapage.h"
#include "pages/pagebutton.h"
#include "pages/pageclicks.h"
#include "widgets/dualcharbutton.h"
#include "model/keytexts.h"

#include <QLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {


// Wires a page's choices into the store the way the page host does.
class ClickRouter : public QObject
{
    Q_OBJECT
public:
    explicit ClickRouter(KeyboardData &data) : m_data(data) {}
    bool legacyOld = false;

    template <typename KeysPage>
    void routeBaseKeys(const KeysPage &page)
    {
        connect(&page, &KeysPage::baseKeyChosen, this,
                [this](uint8_t usage) { chooseBaseKey(m_data, usage); });
    }
    void routeMedia(const MultiMediaPage &page)
    {
        connect(&page, &MultiMediaPage::mediaChosen, this,
                [this](uint16_t code) { chooseMedia(m_data, code); });
    }
    void routeMouse(const MousePage &page)
    {
        connect(&page, &MousePage::mouseChosen, this,
                [this](uint8_t action) { chooseMouseAction(m_data, action, legacyOld); });
    }

private:
    KeyboardData &m_data;
};

QPushButton *withCode(const QList<QPushButton *> &buttons, const char *property, int code)
{
    for (QPushButton *button : buttons)
        if (button->property(property).toInt() == code)
            return button;
    return nullptr;
}

QPushButton *withText(const QList<QPushButton *> &buttons, const QString &text)
{
    for (QPushButton *button : buttons)
        if (button->text() == text)
            return button;
    return nullptr;
}

void clickKey(const BaseKeysPage &page, int usage)
{
    QPushButton *button = withCode(page.keyButtons(), kKeycodeProperty, usage);
    QVERIFY2(button, qPrintable(QString::number(usage, 16)));
    button->click();
}

QList<QPushButton *> buttonsOfClass(const QWidget &page, const QString &styleClass)
{
    QList<QPushButton *> found;
    for (QPushButton *button : page.findChildren<QPushButton *>())
        if (button->property(kClassProperty).toString() == styleClass)
            found << button;
    return found;
}

uint8_t usageOf(const QPushButton *button) { return uint8_t(button->property(kKeycodeProperty).toInt()); }

bool isBlue(QRgb pixel) { return qAlpha(pixel) > 128 && qBlue(pixel) > 200 && qRed(pixel) < 150; }

int bluePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += isBlue(image.pixel(x, y));
    return count;
}

} // namespace

class TestPagesKeys : public QObject
{
    Q_OBJECT
private slots:
    void baseKeysBuildSingleKeysCombinationsAndMacros();
    void baseKeyClicksThatChangeNothing();
    void keyboardLabelsAndUsages();
    void keypadBlockInCreationOrder();
    void keysFitWithoutOverlap();
    void extKeysJoinCombinations();
    void multimediaAssignsTheSelectedKey();
    void mouseActionsAssignTheSelectedKey();
    void mouseIconsHighlightTheirPart();
    void gesturesWithheldFromOldFamily();
};

void TestPagesKeys::baseKeysBuildSingleKeysCombinationsAndMacros()
{
    KeyboardData data;
    BaseKeysPage page;
    ClickRouter router(data);
    router.routeBaseKeys(page);

    // A then B: a press/release macro.
    data.selectKey(3);
    clickKey(page, 0x04);
    QCOMPARE(data.layers()[0][3].type, uint8_t(KeyTypeSingle));
    QCOMPARE(data.layers()[0][3].keycode, uint8_t(0x04));
    clickKey(page, 0x05);
    const QVector<MacroStep> expected = {{0, 0x04, 0}, {1, 0x04, 20}, {0, 0x05, 20}, {1, 0x05, 20}};
    QCOMPARE(data.layers()[0][3].type, uint8_t(KeyTypeMacro));
    QCOMPARE(data.layers()[0][3].macroSteps, expected);

    // Ctrl, Shift, C: a combination, then the key is full.
    data.selectKey(5);
    clickKey(page, 0xE0);
    clickKey(page, 0xE1);
    clickKey(page, 0x06);
    const KeyConfig &combo = data.layers()[0][5];
    QCOMPARE(combo.type, uint8_t(KeyTypeCombination));
    QCOMPARE(combo.modifiers, uint8_t(0x03));
    QCOMPARE(combo.keycodes, QByteArray("\x06"));
    clickKey(page, 0x1D);
    QCOMPARE(combo.keycodes, QByteArray("\x06"));
    data.selectKey(5);
    clickKey(page, 0x1D);
    QCOMPARE(combo.keycodes, QByteArray("\x06"));
    data.clearSelectedKey();
    clickKey(page, 0x1D);
    QCOMPARE(combo.type, uint8_t(KeyTypeSingle));
    QCOMPARE(combo.keycode, uint8_t(0x1D));

    // The first click after a selection replaces a multimedia key.
    data.updateKey(0, 7, [&](KeyConfig &k) { k.setMedia(226); });
    data.selectKey(7);
    clickKey(page, 0x28);
    QCOMPARE(data.layers()[0][7].type, uint8_t(KeyTypeSingle));
    QCOMPARE(fullTextOf(data.layers()[0][7]), QStringLiteral("Enter"));
}

void TestPagesKeys::baseKeyClicksThatChangeNothing()
{
    KeyboardData data;
    BaseKeysPage page;
    ClickRouter router(data);
    router.routeBaseKeys(page);
    QSignalSpy texts(&data, &KeyboardData::keyButtonTextChanged);

    clickKey(page, 0x04);
    QCOMPARE(texts.count(), 0);

    // A mouse action the keypad does not know is not written.
    data.selectKey(0);
    chooseMouseAction(data, 16, false);
    QVERIFY(data.layers()[0][0].isEmpty());
    QCOMPARE(texts.count(), 0);
}

void TestPagesKeys::keyboardLabelsAndUsages()
{
    BaseKeysPage page;
    const QList<QPushButton *> keys = page.keyButtons();
    QCOMPARE(keys.size(), 87 + 17);

    QCOMPARE(keys.first()->text(), QStringLiteral("ESC"));
    QCOMPARE(usageOf(keys.first()), uint8_t(0x29));
    QCOMPARE(keys.first()->property(kClassProperty).toString(), QStringLiteral("functionKey"));
    QCOMPARE(usageOf(withText(keys, "Pause\nBreak")), uint8_t(0x48));
    QCOMPARE(usageOf(withText(keys, "Page\nDown")), uint8_t(0x4E));
    QCOMPARE(usageOf(withText(keys, "Menu")), uint8_t(0x65));
    QCOMPARE(withText(keys, "^")->property(kClassProperty).toString(), QStringLiteral("navKey"));
    QCOMPARE(usageOf(withText(keys, ">")), uint8_t(0x4F));
    QCOMPARE(usageOf(withText(keys, "v")), uint8_t(0x51));
    QCOMPARE(keys[86]->text(), QStringLiteral(">"));  // last key of the keyboard rows

    // Left and right modifiers in row order.
    QList<uint8_t> modifiers;
    for (QPushButton *key : keys)
        if (isModifierUsage(usageOf(key)))
            modifiers << usageOf(key);
    QCOMPARE(modifiers, (QList<uint8_t>{0xE1, 0xE5, 0xE0, 0xE3, 0xE2, 0xE6, 0xE7, 0xE4}));

    auto *backslash = qobject_cast<DualCharButton *>(withCode(keys, kKeycodeProperty, 0x31));
    QVERIFY(backslash);
    QCOMPARE(backslash->mainText(), QStringLiteral("\\"));
    QCOMPARE(backslash->smallText(), QStringLiteral("|"));

    // Wherever a key's legend is its label, the usage must give that label:
    // letters, digits, punctuation, F-keys and the keypad.
    QSet<int> usages;
    int checked = 0;
    for (QPushButton *key : keys) {
        const uint8_t usage = usageOf(key);
        usages << usage;
        const QString styleClass = key->property(kClassProperty).toString();
        if (auto *dual = qobject_cast<DualCharButton *>(key)) {
            QVERIFY2(styleClass.isEmpty(), qPrintable(dual->mainText()));
            QCOMPARE(dual->mainText(), keyLabel(usage));
            ++checked;
        } else if (styleClass.isEmpty() || styleClass == "functionKey"
                   || styleClass == "numpadOperator"
                   || (styleClass == "numpadKey" && key->text().size() == 1)) {
            if (key->text() == "ESC")
                continue;
            QCOMPARE(key->text(), keyLabel(usage));
            ++checked;
        }
    }
    QCOMPARE(checked, 21 + 26 + 12 + 4 + 11);
    QCOMPARE(usages.size(), keys.size());
}

void TestPagesKeys::keypadBlockInCreationOrder()
{
    BaseKeysPage page;
    const QList<QPushButton *> keypad = page.keyButtons().mid(87);
    const QStringList labels = {"NumLock", "/", "*", "+", "-", "0", "1", "2", "3",
                                "4",       "5", "6", "7", "8", "9", ".", "Enter"};
    const QList<uint8_t> usages = {0x53, 0x54, 0x55, 0x57, 0x56, 0x62, 0x59, 0x5A, 0x5B,
                                   0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x63, 0x58};
    QStringList gotLabels;
    QList<uint8_t> gotUsages;
    QStringList gotClasses;
    for (QPushButton *key : keypad) {
        gotLabels << key->text();
        gotUsages << usageOf(key);
        gotClasses << key->property(kClassProperty).toString();
    }
    QCOMPARE(gotLabels, labels);
    QCOMPARE(gotUsages, usages);
    // The four operators follow NumLock; every other key of the block is a numpadKey.
    QCOMPARE(gotClasses.mid(1, 4).count("numpadOperator"), 4);
    QCOMPARE(gotClasses.count("numpadKey"), keypad.size() - 4);
}

void TestPagesKeys::keysFitWithoutOverlap()
{
    // The page stack of a window at its design size, and at the smallest scale.
    const struct {
        QSize size;
        double scale;
    } cases[] = {{{1316, 563}, 1.0}, {{1045, 440}, 0.8}};
    for (const auto &c : cases) {
        BaseKeysPage page;
        page.setScale(c.scale);
        page.resize(c.size);
        page.show();
        page.layout()->activate();

        const QList<QPushButton *> keys = page.keyButtons();
        for (int i = 0; i < keys.size(); ++i) {
            const QRect box = keys[i]->geometry();
            const QString name = keys[i]->text();
            QVERIFY2(page.rect().contains(box), qPrintable(name));
            for (int j = i + 1; j < keys.size(); ++j)
                QVERIFY2(!box.intersects(keys[j]->geometry()),
                         qPrintable(name + " / " + keys[j]->text()));
            // The legend fits inside the key's border (margin and border).
            const QRect inside = box.adjusted(3, 3, -3, -3);
            const QRect text = keys[i]->fontMetrics().boundingRect(QRect(), Qt::AlignCenter, name);
            QVERIFY2(text.width() <= inside.width() && text.height() <= inside.height(),
                     qPrintable(QStringLiteral("%1 at %2: %3x%4 in %5x%6").arg(name).arg(c.scale)
                                    .arg(text.width()).arg(text.height())
                                    .arg(inside.width()).arg(inside.height())));
        }

        // Plain keys share one width, so the rows line up.
        const auto key = [&](int usage) { return withCode(keys, kKeycodeProperty, usage); };
        const int keyWidth = key(0x14)->width();
        for (int usage : {0x04, 0x1D, 0x1E, 0x3A, 0x5F})
            QVERIFY(qAbs(key(usage)->width() - keyWidth) <= 1);
        // Both ends of the main block line up: Esc with left Ctrl, F12 with right Ctrl.
        QCOMPARE(key(0x29)->x(), key(0xE0)->x());
        QCOMPARE(key(0x45)->geometry().right(), key(0xE4)->geometry().right());
        QCOMPARE(key(0x2A)->geometry().right(), key(0x28)->geometry().right());
    }
}

void TestPagesKeys::extKeysJoinCombinations()
{
    KeyboardData data;
    ExtKeysPage page;
    ClickRouter router(data);
    router.routeBaseKeys(page);

    const QList<QPushButton *> keys = page.keyButtons();
    QCOMPARE(keys.size(), 18);
    QCOMPARE(keys.first()->text(), QStringLiteral("Left\nCommand"));
    for (int i = 6; i < keys.size(); ++i) {
        QCOMPARE(keys[i]->text(), keyLabel(usageOf(keys[i])));
        QCOMPARE(usageOf(keys[i]), uint8_t(0x68 + i - 6));
    }

    data.selectKey(2);
    withText(keys, "Left\nCommand")->click();
    QCOMPARE(data.layers()[0][2].type, uint8_t(KeyTypeSingle));
    QCOMPARE(data.layers()[0][2].keycode, uint8_t(0xE3));
    withText(keys, "F13")->click();
    QCOMPARE(data.layers()[0][2].type, uint8_t(KeyTypeCombination));
    QCOMPARE(data.layers()[0][2].modifiers, uint8_t(0x08));
    QCOMPARE(data.layers()[0][2].keycodes, QByteArray("\x68"));
    QCOMPARE(fullTextOf(data.layers()[0][2]), QStringLiteral("LWin + F13"));

    // The rest of the 8 x 5 grid is empty and cannot be clicked.
    const QList<QPushButton *> empty = buttonsOfClass(page, "extKeyEmpty");
    QCOMPARE(empty.size(), 40 - 18);
    QCOMPARE(page.findChildren<QPushButton *>().size(), 40);
    page.resize(1050, 450);
    page.show();
    for (QPushButton *cell : empty) {
        QVERIFY(!cell->isEnabled());
        QSignalSpy clicked(cell, &QPushButton::clicked);
        QTest::mouseClick(cell, Qt::LeftButton);
        QCOMPARE(clicked.count(), 0);
    }
}

void TestPagesKeys::multimediaAssignsTheSelectedKey()
{
    KeyboardData data;
    MultiMediaPage page;
    ClickRouter router(data);
    router.routeMedia(page);

    QPushButton *mute = withText(page.mediaButtons(), "Mute");
    QVERIFY(mute);
    mute->click();
    for (const KeyConfig &key : data.layers()[0])
        QVERIFY(key.isEmpty());

    data.selectKey(3);
    QStringList emitted;
    connect(&data, &KeyboardData::keyButtonTextChanged, this,
            [&](int k, const QString &t) { emitted << QStringLiteral("button:%1:%2").arg(k).arg(t); });
    connect(&data, &KeyboardData::keyFullTextChanged, this,
            [&](int k, const QString &t) { emitted << QStringLiteral("full:%1:%2").arg(k).arg(t); });
    mute->click();
    const KeyConfig &key = data.layers()[0][3];
    QCOMPARE(key.type, uint8_t(KeyTypeMedia));
    QCOMPARE(key.mediaCode, uint16_t(226));
    QCOMPARE(shortTextOf(key), fullTextOf(key));
    QCOMPARE(fullTextOf(key), QStringLiteral("Mute"));
    QCOMPARE(key.dirty, uint8_t(1));
    QCOMPARE(emitted, (QStringList{"button:3:Mute", "full:3:Mute"}));
    // The next base key still replaces it.
    QVERIFY(data.startFresh());

    // Every button shows the name its code has everywhere else.
    QCOMPARE(page.mediaButtons().size(), 21);
    QSet<int> codes;
    for (QPushButton *button : page.mediaButtons()) {
        const int code = button->property(kMediaCodeProperty).toInt();
        codes << code;
        QCOMPARE(button->text(), mediaLabel(uint16_t(code)));
        QCOMPARE(button->property(kClassProperty).toString(), QStringLiteral("mediaKey"));
    }
    QCOMPARE(codes.size(), 21);
    const QList<QPushButton *> empty = buttonsOfClass(page, "mediaKeyEmpty");
    QCOMPARE(empty.size(), 14);
    for (QPushButton *cell : empty)
        QVERIFY(!cell->isEnabled() && cell->text().isEmpty());
}

void TestPagesKeys::mouseActionsAssignTheSelectedKey()
{
    KeyboardData data;
    MousePage page;
    ClickRouter router(data);
    router.routeMouse(page);

    QPushButton *wheelDown = withText(page.actionButtons(), "Mouse Wheel-");
    QVERIFY(wheelDown);
    wheelDown->click();
    QVERIFY(data.layers()[0][0].isEmpty());

    data.selectKey(1);
    wheelDown->click();
    QCOMPARE(data.layers()[0][1].type, uint8_t(KeyTypeMouse));
    QCOMPARE(data.layers()[0][1].mouseAction, uint8_t(4));
    QCOMPARE(fullTextOf(data.layers()[0][1]), QStringLiteral("Mouse Wheel Down"));
    QCOMPARE(shortTextOf(data.layers()[0][1]), QStringLiteral("W-"));

    // All sixteen actions are offered once, each with its own names.
    QSet<int> actions;
    for (QPushButton *button : page.actionButtons()) {
        const int action = button->property(kMouseActionProperty).toInt();
        actions << action;
        button->click();
        QCOMPARE(int(data.layers()[0][1].mouseAction), action);
        QCOMPARE(fullTextOf(data.layers()[0][1]), mouseActionNames(uint8_t(action))->first);
        QCOMPARE(button->property(kClassProperty).toString(), QStringLiteral("mouseKey"));
        QCOMPARE(button->iconSize(), QSize(34, 34));
        QVERIFY(button->minimumHeight() >= 72);
    }
    QCOMPARE(actions.size(), 16);
    QCOMPARE(withText(page.actionButtons(), "Mouse LeftKey")->property(kMouseActionProperty).toInt(), 0);
    QCOMPARE(withText(page.actionButtons(), "Mouse Right")->property(kMouseActionProperty).toInt(), 1);

    const QList<QPushButton *> disabled = buttonsOfClass(page, "mouseKeyDisabled");
    QCOMPARE(disabled.size(), 2);
    for (QPushButton *cell : disabled)
        QVERIFY(!cell->isEnabled() && !cell->property(kMouseActionProperty).isValid());

    page.setScale(2.0);
    QCOMPARE(wheelDown->font().pixelSize(), 32);
    QCOMPARE(wheelDown->minimumHeight(), 144);
}

void TestPagesKeys::mouseIconsHighlightTheirPart()
{
    const QImage left = drawMouseIcon(MouseIconKind::Left, true).toImage();
    const QImage right = drawMouseIcon(MouseIconKind::Right, true).toImage();
    QCOMPARE(left.size(), QSize(34, 34));
    QVERIFY(isBlue(left.pixel(12, 8)) && !isBlue(left.pixel(22, 8)));
    QVERIFY(isBlue(right.pixel(22, 8)) && !isBlue(right.pixel(12, 8)));
    QCOMPARE(qAlpha(left.pixel(0, 0)), 0);

    // The wheel kinds point their arrow the way the wheel turns.
    const QImage up = drawMouseIcon(MouseIconKind::WheelUp, true).toImage();
    const QImage down = drawMouseIcon(MouseIconKind::WheelDown, true).toImage();
    QVERIFY(isBlue(up.pixel(15, 19)) && !isBlue(up.pixel(15, 26)));
    QVERIFY(isBlue(down.pixel(15, 26)) && !isBlue(down.pixel(15, 19)));

    QCOMPARE(bluePixels(drawMouseIcon(MouseIconKind::Placeholder, true).toImage()), 0);
    QCOMPARE(bluePixels(drawMouseIcon(MouseIconKind::Left, false).toImage()), 0);
}

void TestPagesKeys::gesturesWithheldFromOldFamily()
{
    KeyboardData data;
    MousePage page;
    ClickRouter router(data);
    router.routeMouse(page);
    page.resize(1050, 520);
    page.show();
    page.layout()->activate();

    QList<int> gestures;
    for (QPushButton *button : page.gestureButtons())
        gestures << button->property(kMouseActionProperty).toInt();
    QCOMPARE(gestures, (QList<int>{15, 11, 12, 13, 14}));
    QPushButton *like = withText(page.actionButtons(), "Like");
    QPushButton *wheelDown = withText(page.actionButtons(), "Mouse Wheel-");
    const QRect wheelDownBox = wheelDown->geometry();

    page.applyMouseGestureSupport(true);
    page.layout()->activate();
    for (QPushButton *button : page.gestureButtons())
        QVERIFY(button->isHidden() && !button->isEnabled());
    QVERIFY(wheelDown->isVisible() && wheelDown->isEnabled());
    QCOMPARE(wheelDown->geometry(), wheelDownBox);

    // Chosen anyway on an Old keypad (the hidden button cannot be clicked):
    // refused, after the selection check.
    router.legacyOld = true;
    chooseMouseAction(data, 15, true);
    for (const KeyConfig &key : data.layers()[0])
        QVERIFY(key.isEmpty());
    data.selectKey(4);
    chooseMouseAction(data, 15, true);
    QVERIFY(data.layers()[0][4].isEmpty());
    wheelDown->click();
    QCOMPARE(data.layers()[0][4].mouseAction, uint8_t(4));

    page.applyMouseGestureSupport(false);
    for (QPushButton *button : page.gestureButtons())
        QVERIFY(button->isVisible() && button->isEnabled());
    router.legacyOld = false;
    like->click();
    QCOMPARE(data.layers()[0][4].mouseAction, uint8_t(15));
    QCOMPARE(shortTextOf(data.layers()[0][4]), QStringLiteral("LIKE"));
}

QTEST_MAIN(TestPagesKeys)
#include "tst_pages_keys.moc"
