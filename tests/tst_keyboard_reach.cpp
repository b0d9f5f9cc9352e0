// The window from the keyboard alone: Tab reaches every part and the shown
// page's buttons, Space and Enter assign them (never while a macro is
// recorded), every page button has a name of its own, and lighting edits
// carry the unsaved mark on the key's swatch and on the layer.

#include "app/keypadview/functionrows.h"
#include "tst_control_support.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "keypad/layoutcatalogue.h"
#include "app/window/widget.h"
#include "model/translation.h"
#include "pages/basekeyspage.h"
#include "pages/extkeyspage.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"
#include "pages/mousepage.h"
#include "pages/multimediapage.h"
#include "pages/procreatepage.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"
#include "widgets/rgbcolorpickerwidget.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;
constexpr uint8_t kUsageSpace = 0x2C;
constexpr uint8_t kUsageEnter = 0x28;

std::unique_ptr<Widget> shownWindow()
{
    auto window = std::make_unique<Widget>(AppSettings(), *HIDManager::instance());
    window->applyLayout(layoutById(Layout16K3E_S0));
    window->setForcedLayerDisplayCount(3);
    window->resize(1366, 768);
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

// Typed on the computer's keyboard: through the window system, so a
// keyboard grab (the macro recorder's) sees it as it would a real key.
void type(Widget &window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(window.windowHandle(), key, modifiers);
    QCoreApplication::processEvents();
}

QString partOf(const Widget &window, const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("none");
    if (widget->property("layer").isValid())
        return QStringLiteral("layers");
    if (qobject_cast<const KeyButton *>(widget) || qobject_cast<const KnobButton *>(widget))
        return QStringLiteral("keypad");
    if (qobject_cast<const QTextEdit *>(widget))
        return QStringLiteral("display");
    if (widget->property("class").toString() == QLatin1String("FuncBtn"))
        return QStringLiteral("functions");
    if (qobject_cast<const QListWidget *>(widget))
        return QStringLiteral("list");
    if (window.findChild<BaseKeysPage *>()->isAncestorOf(widget))
        return QStringLiteral("page");
    return widget->metaObject()->className();
}

QPushButton *keyWithUsage(const Widget &window, uint8_t usage)
{
    for (QPushButton *key : window.findChild<BaseKeysPage *>()->keyButtons())
        if (key->property("keycode").toInt() == usage)
            return key;
    return nullptr;
}

QStringList namesOf(const QList<QPushButton *> &buttons)
{
    QStringList names;
    for (QPushButton *button : buttons)
        names << button->accessibleName();
    return names;
}

// Every name readable on one line and none twice on the page.
bool namesReadableAndUnique(const QStringList &names)
{
    for (const QString &name : names)
        if (name.isEmpty() || name.contains(QLatin1Char('\n')))
            return false;
    return QSet<QString>(names.begin(), names.end()).size() == names.size();
}

} // namespace

class KeyboardReachTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void tabReachesEveryPartAndKeysAssign();
    void pageButtonsHaveNamesOfTheirOwn();
    void lightingEditsAreMarked();
};

void KeyboardReachTest::tabReachesEveryPartAndKeysAssign()
{
    auto window = shownWindow();
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    controlButton(*window, 0)->click();
    controlButton(*window, 0)->setFocus(Qt::OtherFocusReason);

    // Tab walks the parts in their order on screen, round to the keypad.
    QStringList parts{partOf(*window, QApplication::focusWidget())};
    QWidget *firstPageKey = nullptr;
    for (int i = 0; i < 300 && (parts.size() < 3 || parts.last() != QLatin1String("keypad")); ++i) {
        type(*window, Qt::Key_Tab);
        const QString part = partOf(*window, QApplication::focusWidget());
        if (part == QLatin1String("page") && !firstPageKey)
            firstPageKey = QApplication::focusWidget();
        if (part != parts.last())
            parts << part;
    }
    QCOMPARE(parts, (QStringList{"keypad", "display", "functions", "list", "page", "layers",
                                 "keypad"}));
    // Shift+Tab walks back.
    firstPageKey->setFocus(Qt::TabFocusReason);
    type(*window, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(partOf(*window, QApplication::focusWidget()), QStringLiteral("list"));

    // The keypad is one stop: Tab leaves it at once, Shift+Tab comes back to
    // the control last focused, and the arrow keys move inside it.
    controlButton(*window, 0)->setFocus(Qt::OtherFocusReason);
    type(*window, Qt::Key_Right);
    QCOMPARE(store.selectedKey(), 1);
    type(*window, Qt::Key_Tab);
    QCOMPARE(partOf(*window, QApplication::focusWidget()), QStringLiteral("display"));
    type(*window, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), controlButton(*window, 1));

    // Space and Enter on a focused page button assign it as a click does.
    window->selectButton(0);
    keyWithUsage(*window, kUsageA)->setFocus(Qt::TabFocusReason);
    type(*window, Qt::Key_Space);
    QCOMPARE(store.layers()[0][0].type, uint8_t(KeyTypeSingle));
    QCOMPARE(store.layers()[0][0].keycode, kUsageA);
    window->selectButton(1);
    keyWithUsage(*window, kUsageB)->setFocus(Qt::TabFocusReason);
    type(*window, Qt::Key_Return);
    QCOMPARE(store.layers()[0][1].keycode, kUsageB);

    // While a macro is recorded both keys go to the recorder, also with the
    // record button focused: nothing is clicked, the recording goes on.
    window->findChild<QListWidget *>()->setCurrentRow(RowMacro);
    window->selectButton(2);
    MacroPage *macro = window->findChild<MacroPage *>();
    auto *record = macro->findChild<QPushButton *>(QStringLiteral("macroRecordButton"));
    QVERIFY(record->focusPolicy() & Qt::TabFocus);
    record->setFocus(Qt::TabFocusReason);
    type(*window, Qt::Key_Space);
    QVERIFY(macro->isRecording());
    type(*window, Qt::Key_Space);
    type(*window, Qt::Key_Return);
    QVERIFY(macro->isRecording());
    macro->stopMacroRecording();
    const QVector<MacroStep> steps = store.layers()[0][2].macroSteps;
    QCOMPARE(steps.size(), 4);
    QCOMPARE(steps[0].keycode, kUsageSpace);
    QCOMPARE(steps[2].keycode, kUsageEnter);
    QCOMPARE(store.layers()[0][0].keycode, kUsageA);
}

void KeyboardReachTest::pageButtonsHaveNamesOfTheirOwn()
{
    auto window = shownWindow();
    QVERIFY(window);
    const QStringList baseNames = namesOf(window->findChild<BaseKeysPage *>()->keyButtons());
    QVERIFY(namesReadableAndUnique(baseNames));
    for (const char *name : {"Left Shift", "Right Shift", "Keypad 1", "1", "Up Arrow",
                             "Keypad Enter", "Enter", "Print Screen"})
        QVERIFY2(baseNames.contains(QLatin1String(name)), name);
    QVERIFY(!baseNames.contains(QStringLiteral("^")));
    QVERIFY(namesReadableAndUnique(namesOf(window->findChild<ExtKeysPage *>()->keyButtons())));
    QVERIFY(namesOf(window->findChild<ExtKeysPage *>()->keyButtons()).contains(QStringLiteral("Left Command")));
    QVERIFY(namesReadableAndUnique(namesOf(window->findChild<MultiMediaPage *>()->mediaButtons())));
    QVERIFY(namesReadableAndUnique(namesOf(window->findChild<MousePage *>()->actionButtons())));
    QVERIFY(namesReadableAndUnique(namesOf(window->findChild<ProcreatePage *>()->shortcutButtons())));

    // The window's other controls are named too.
    QVERIFY(!window->findChild<QTextEdit *>()->accessibleName().isEmpty());
    QVERIFY(!window->findChild<QListWidget *>()->accessibleName().isEmpty());
    QVERIFY(!window->findChild<LightingPage *>()->colorPicker()->accessibleName().isEmpty());

    // In Chinese the names are Chinese, and still one of a kind.
    setInterfaceChinese(true);
    BaseKeysPage chinese;
    setInterfaceChinese(false);
    const QStringList chineseNames = namesOf(chinese.keyButtons());
    QVERIFY(namesReadableAndUnique(chineseNames));
    QVERIFY(chineseNames.contains(QStringLiteral("左Shift")));
    QVERIFY(chineseNames.contains(QStringLiteral("小键盘 1")));
}

void KeyboardReachTest::lightingEditsAreMarked()
{
    auto window = shownWindow();
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    LayerColumn *layers = window->findChild<LayerColumn *>();
    store.updateKey(0, 5, [](KeyConfig &key) { key.setSingleKey(kUsageA); });
    auto *key2 = qobject_cast<KeyButton *>(controlButton(*window, 2));
    auto *key5 = qobject_cast<KeyButton *>(controlButton(*window, 5));
    QVERIFY(key5->isUnsaved());
    QVERIFY(layers->isMarkedUnsaved(0));

    // On the lighting page a key's mark tells of its LED's colour.
    window->findChild<QListWidget *>()->setCurrentRow(RowRgbLed);
    QVERIFY(!key5->isUnsaved());
    key2->click();
    QLineEdit *code = window->findChild<LightingPage *>()->colorCodeField();
    code->setText(QStringLiteral("#00FF00"));
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(key2->swatchColor(), QColor(0, 255, 0));
    QCOMPARE(key2->accessibleName(), QStringLiteral("Key 3: LED color #00FF00"));
    QVERIFY(key2->isUnsaved());
    QVERIFY(!qobject_cast<KeyButton *>(controlButton(*window, 3))->isUnsaved());

    // The layer is marked by its lighting alone once its keys are saved.
    store.markKeySaved(0, 5, store.layers()[0][5]);
    QVERIFY(layers->isMarkedUnsaved(0));
    QVERIFY(!layers->isMarkedUnsaved(1));
    store.markLightingSaved(0, store.ledLayers()[0]);
    QVERIFY(!key2->isUnsaved());
    QVERIFY(!layers->isMarkedUnsaved(0));
    // A lighting edit of another layer marks that layer.
    store.setLedColor(1, 0, 1, 2, 3);
    QVERIFY(layers->isMarkedUnsaved(1));

    // Back on a key page the marks tell of the keys' functions again.
    store.updateKey(0, 5, [](KeyConfig &key) { key.setSingleKey(kUsageB); });
    code->setText(QStringLiteral("#0000FF"));
    QTest::keyClick(code, Qt::Key_Return);
    window->findChild<QListWidget *>()->setCurrentRow(RowBaseKeys);
    QVERIFY(key5->isUnsaved());
    QVERIFY(!key2->isUnsaved());
    QCOMPARE(key5->accessibleName(), QStringLiteral("Key 6: B"));
}

QTEST_MAIN(KeyboardReachTest)
#include "tst_keyboard_reach.moc"
