#include "app/window/widget.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/look/windowsize.h"
#include "tst_log_capture.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

// Builds a window as a settings file with these contents (none: no file)
// makes it.
std::unique_ptr<Widget> makeWindow(const QByteArray *settings)
{
    return std::make_unique<Widget>(settings ? parseSettingsText(*settings) : AppSettings(),
                                    *HIDManager::instance());
}

QPushButton *buttonWithText(const QWidget &window, const QString &text)
{
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QList<QPushButton *> layerButtons(const QWidget &window)
{
    QList<QPushButton *> buttons;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->property("layer").isValid())
            buttons.append(button);
    std::sort(buttons.begin(), buttons.end(), [](QPushButton *a, QPushButton *b) {
        return a->property("layer").toInt() < b->property("layer").toInt();
    });
    return buttons;
}

QStringList functionRows(const QWidget &window)
{
    QStringList rows;
    auto *list = window.findChild<QListWidget *>();
    for (int row = 0; list && row < list->count(); ++row)
        rows.append(list->item(row)->text());
    return rows;
}

// Shown layer buttons as a string such as "110", and the checked one as its
// number, 0 for none.
QString shownLayerButtons(const QWidget &window)
{
    QString shown;
    for (QPushButton *button : layerButtons(window))
        shown += button->isVisibleTo(&window) && button->isEnabled() ? '1' : '0';
    return shown;
}

int checkedLayerButton(const QWidget &window)
{
    int checked = 0;
    for (QPushButton *button : layerButtons(window))
        if (button->isChecked())
            checked = checked ? -1 : button->property("layer").toInt();
    return checked;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void startsInChineseFromSettingsFile();
    void startsInEnglishWithoutSettingsFile();
    void layerButtonsFollowLayerNum_data();
    void layerButtonsFollowLayerNum();
    void layerSwitchAndForcedCount();
    void clearButtonsWithoutSelection();
};

void TestWindow::startsInChineseFromSettingsFile()
{
    const QByteArray settings("\xEF\xBB\xBF# Zentrik\r\nLanguage = CH\r\n");
    const std::unique_ptr<Widget> window = makeWindow(&settings);
    QVERIFY(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QCOMPARE(window->windowTitle(), QStringLiteral("Zentrik"));
    // The design and minimum sizes are the content's, below the menu bar.
    QCOMPARE(window->size(), QSize(1500, 1100 + kMenuBarHeight));
    QCOMPARE(window->minimumSize(), QSize(800, 600 + kMenuBarHeight));
    QCOMPARE(window->findChild<QWidget *>("topBar")->y(), kMenuBarHeight);

    auto *tip = window->findChild<QLabel *>("topTipBar");
    QVERIFY(tip);
    QCOMPARE(tip->text(), QString::fromUtf8("请用USB线连接设备"));
    QCOMPARE(tip->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));

    QPushButton *save = buttonWithText(*window, QString::fromUtf8("保存设置"));
    QPushButton *view = buttonWithText(*window, QString::fromUtf8("查看配置"));
    QPushButton *clear = buttonWithText(*window, QString::fromUtf8("清除"));
    QPushButton *clearAll = buttonWithText(*window, QString::fromUtf8("清除全部"));
    QVERIFY(save && view && clear && clearAll);
    QVERIFY(!save->isEnabled());
    QVERIFY(!view->isEnabled());
    QVERIFY(clear->isEnabled());
    QVERIFY(clearAll->isEnabled());

    QCOMPARE(functionRows(*window),
             QString::fromUtf8("基础按键|扩展按键|多媒体|RGB灯光|鼠标|宏按键|Procreate").split('|'));
    QCOMPARE(window->findChild<QListWidget *>()->currentRow(), 0);

    auto *display = window->findChild<QTextEdit *>();
    QVERIFY(display && display->isReadOnly());
    QCOMPARE(display->placeholderText(), QString::fromUtf8("按键功能显示区"));

    // No "layernum": no layer button at all.
    QCOMPARE(layerButtons(*window).size(), 3);
    QCOMPARE(shownLayerButtons(*window), QStringLiteral("000"));
    QCOMPARE(checkedLayerButton(*window), 0);
    QCOMPARE(layerButtons(*window).at(0)->text(), QString::fromUtf8("第1层"));

    auto *pages = window->findChild<QStackedWidget *>();
    QVERIFY(pages);
    QCOMPARE(pages->count(), 11);
    QCOMPARE(pages->currentIndex(), 0);
}

void TestWindow::startsInEnglishWithoutSettingsFile()
{
    const std::unique_ptr<Widget> window = makeWindow(nullptr);
    QVERIFY(window);

    QCOMPARE(window->findChild<QLabel *>("topTipBar")->text(),
             QStringLiteral("Connect the device with a usb cable"));
    QVERIFY(!buttonWithText(*window, "Save Settings")->isEnabled());
    QVERIFY(!buttonWithText(*window, "View Settings")->isEnabled());
    QVERIFY(buttonWithText(*window, "Clear")->isEnabled());
    QVERIFY(buttonWithText(*window, "Clear All")->isEnabled());
    QCOMPARE(functionRows(*window),
             QStringList({"BaseKeys", "Ext Keys", "MultiMedia", "RGB LED", "Mouse", "Macro Key",
                          "Procreate"}));
    QCOMPARE(window->findChild<QTextEdit *>()->placeholderText(),
             QStringLiteral("Key Function Display Area"));
    QCOMPARE(shownLayerButtons(*window), QStringLiteral("000"));
    QCOMPARE(window->effectiveLayerDisplayCount(), 0);

    // The window paints its own background; the rows' margins show it.
    const QImage drawn = window->grab().toImage();
    const int belowTopBar = window->findChild<QWidget *>("topBar")->geometry().bottom() + 20;
    QCOMPARE(drawn.pixelColor(5, belowTopBar), QColor(0x20, 0x20, 0x20));
    QCOMPARE(drawn.pixelColor(5, drawn.height() - 5), QColor(0x20, 0x20, 0x20));
}

void TestWindow::layerButtonsFollowLayerNum_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("checked");

    QTest::newRow("layernum 0") << QByteArray("layernum=0") << "000" << 0;
    QTest::newRow("layernum 1") << QByteArray("layernum=1") << "100" << 1;
    QTest::newRow("layernum 2") << QByteArray("layernum = 2\n") << "110" << 1;
    QTest::newRow("layernum 3") << QByteArray("LayerNum=3") << "111" << 1;
    QTest::newRow("layernum 4 ignored") << QByteArray("layernum=4") << "000" << 0;
    QTest::newRow("layernum 2 then 9") << QByteArray("layernum=2\nlayernum=9") << "110" << 1;
    QTest::newRow("commented out") << QByteArray(";layernum=3") << "000" << 0;
}

void TestWindow::layerButtonsFollowLayerNum()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, shown);
    QFETCH(int, checked);

    const std::unique_ptr<Widget> window = makeWindow(&settings);
    QVERIFY(window);
    QCOMPARE(shownLayerButtons(*window), shown);
    QCOMPARE(checkedLayerButton(*window), checked);
    QCOMPARE(window->effectiveLayerDisplayCount(), shown.count('1'));
    QCOMPARE(window->keyboardData().currentLayer(), 0);
    QCOMPARE(functionRows(*window).first(), QStringLiteral("BaseKeys"));
}

void TestWindow::layerSwitchAndForcedCount()
{
    const QByteArray settings("layernum=3");
    const std::unique_ptr<Widget> window = makeWindow(&settings);
    QVERIFY(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    KeyboardData &store = window->keyboardData();
    const QList<QPushButton *> buttons = layerButtons(*window);

    QTest::mouseClick(buttons.at(2), Qt::LeftButton);
    QCOMPARE(store.currentLayer(), 2);
    QCOMPARE(checkedLayerButton(*window), 3);

    // Clicking the current layer again still re-sends its texts.
    QSignalSpy texts(&store, &KeyboardData::keyButtonTextChanged);
    QSignalSpy selection(&store, &KeyboardData::selectedKeyChanged);
    QTest::mouseClick(buttons.at(2), Qt::LeftButton);
    QCOMPARE(texts.count(), 25);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(checkedLayerButton(*window), 3);

    // Fewer buttons pull the current layer into range.
    store.selectKey(4);
    texts.clear();
    selection.clear();
    window->setForcedLayerDisplayCount(2);
    QCOMPARE(shownLayerButtons(*window), QStringLiteral("110"));
    QCOMPARE(store.currentLayer(), 1);
    QCOMPARE(checkedLayerButton(*window), 2);
    QCOMPARE(store.selectedKey(), -1);
    QCOMPARE(texts.count(), 25);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(selection.first().first().toInt(), -1);

    // No button: none checked, the layer stays.
    window->setForcedLayerDisplayCount(0);
    QCOMPARE(shownLayerButtons(*window), QStringLiteral("000"));
    QCOMPARE(checkedLayerButton(*window), 0);
    QCOMPARE(store.currentLayer(), 1);

    // Back to buttons: the group is exclusive again.
    window->setForcedLayerDisplayCount(7);
    QCOMPARE(window->effectiveLayerDisplayCount(), 3);
    QCOMPARE(checkedLayerButton(*window), 2);
    QTest::mouseClick(buttons.at(0), Qt::LeftButton);
    QCOMPARE(store.currentLayer(), 0);
    QCOMPARE(checkedLayerButton(*window), 1);

    // Not forced: the start-up count from the settings file applies.
    window->setForcedLayerDisplayCount(-5);
    QCOMPARE(window->effectiveLayerDisplayCount(), 3);
    QCOMPARE(shownLayerButtons(*window), QStringLiteral("111"));
}

void TestWindow::clearButtonsWithoutSelection()
{
    const std::unique_ptr<Widget> window = makeWindow(nullptr);
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    QSignalSpy texts(&store, &KeyboardData::keyButtonTextChanged);

    LogCapture log;
    buttonWithText(*window, "Clear")->click();
    QCOMPARE(texts.count(), 0);
    QCOMPARE(log.count("Clear button clicked - cleared selected key"), 1);

    // Clear All empties the current layer once and drops the selection.
    store.selectKey(3);
    QSignalSpy records(&store, &KeyboardData::keyChanged);
    buttonWithText(*window, "Clear All")->click();
    QCOMPARE(store.selectedKey(), -1);
    QCOMPARE(texts.count(), 25);
    QCOMPARE(records.count(), 25);
    QCOMPARE(log.count("Clear All button clicked - cleared all keys"), 1);
    QVERIFY(store.layers()[0][3].dirty);
    QVERIFY(window->findChild<QTextEdit *>()->toPlainText().isEmpty());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
