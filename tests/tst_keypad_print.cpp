// The printed pages of a keypad, read back from the PDF as a reader would.

#include "keypad/devicestate.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/files/keypadprint.h"
#include "app/window/widget.h"
#include "model/keyboarddata.h"
#include "model/translation.h"
#include "tst_language_support.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {

// A record as one of its setters makes it.
template<typename Setter> KeyConfig made(Setter set)
{
    KeyConfig key;
    set(key);
    return key;
}

KeyConfig combination(uint8_t mask, uint8_t usage)
{
    return made([=](KeyConfig &key) { key.setCombination(mask, QByteArray(1, char(usage))); });
}

KeyConfig media(uint16_t code)
{
    return made([=](KeyConfig &key) { key.setMedia(code); });
}

// A press and a release of each letter of the alphabet: a text far wider
// than any cell of the page.
KeyConfig alphabetMacro()
{
    QVector<MacroStep> steps;
    for (uint8_t usage = 0x04; usage <= 0x1D; ++usage)
        steps << MacroStep{0, usage, 20} << MacroStep{1, usage, 20};
    return made([&](KeyConfig &key) { key.setMacro(steps); });
}

// Text of a PDF, one entry per page, white space folded so a text that
// wrapped in its cell reads whole.
QStringList pdfPages(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                     QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                            .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    for (QString &page : pages)
        page = page.simplified();
    pages.removeAll(QString());
    return pages;
}

} // namespace

class TestKeypadPrint : public QObject
{
    Q_OBJECT
private slots:
    void pdfHoldsEveryWholeFunctionTextPerShownLayer_data();
    void pdfHoldsEveryWholeFunctionTextPerShownLayer();
    void windowOffersPrintAndExport();
};

void TestKeypadPrint::pdfHoldsEveryWholeFunctionTextPerShownLayer_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("English") << false;
    QTest::newRow("Chinese") << true;
}

void TestKeypadPrint::pdfHoldsEveryWholeFunctionTextPerShownLayer()
{
    QFETCH(bool, chinese);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils, installed by scripts/setup-deps) is missing");
    // The print is in the interface's language.
    std::optional<ChineseInterface> shownInChinese;
    if (chinese)
        shownInChinese.emplace();

    // Two layers of the 16-key, 3-knob pad, a third layer not shown.
    KeyboardData store;
    store.replaceKey(0, 0, combination(0x01, 0x06)); // LCtrl + C
    store.replaceKey(0, 5, alphabetMacro());
    store.replaceKey(0, 16, media(0x00EA)); // knob 1 left: Vol-
    store.replaceKey(0, 17, media(0x00E9)); // knob 1 right: Vol+
    store.replaceKey(0, 24, made([](KeyConfig &key) { key.setMouseAction(3); })); // knob 3 press
    store.replaceKey(1, 15, combination(0x03, 0x1D)); // LCtrl + LShift + Z
    store.replaceKey(1, 21, media(0x00CD));           // knob 2 press
    store.replaceKey(2, 0, media(0x00E2));            // layer 3: not printed
    LedLayerConfig lighting;
    lighting.effect = 7;
    lighting.colors[3] = RgbColor{0x12, 0x34, 0xab};
    store.replaceLedLayer(1, lighting);

    PrintContents contents = keypadPrintContents(store, DeviceState(), layoutById(Layout16K3E_S0),
                                                 2, ControlMap());
    contents.date = QDate(2026, 3, 14);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keypad.pdf"));
    QVERIFY(writeKeypadPdf(path, contents));
    const QStringList pages = pdfPages(path);
    QCOMPARE(pages.size(), 2);

    QStringList letters;
    for (char c = 'a'; c <= 'z'; ++c)
        letters << QString(QLatin1Char(c));
    // What each page must hold, whole: heading, lighting, controls and their functions.
    const QStringList firstPage = {
        translateText("Layer %1").arg(1),
        translateText("%1, %2").arg(translateText("%1 keys").arg(16),
                                    translateText("%1 knobs").arg(3)),
        translateText("Date: %1").arg(QStringLiteral("2026-03-14")),
        translateText("Lighting effect: %1").arg(translateText("Steady Light")),
        QStringLiteral("#ffff00"),
        translateText("Key %1").arg(1),
        QStringLiteral("LCtrl + C"),
        translateText("Key %1").arg(6),
        letters.join(QStringLiteral(" \u2192 ")),
        translateText("Knob %1 turn left").arg(1),
        translateText("Vol-"),
        translateText("Knob %1 turn right").arg(1),
        translateText("Vol+"),
        translateText("Knob %1 press").arg(3),
        translateText("Mouse Wheel Up")};
    const QStringList secondPage = {
        translateText("Layer %1").arg(2),
        translateText("Lighting effect: %1").arg(translateText("Breathing")),
        QStringLiteral("#1234ab"),
        translateText("Key %1").arg(16),
        QStringLiteral("LCtrl + LShift + Z"),
        translateText("Knob %1 press").arg(2),
        translateText("Play/Pause")};
    const QVector<QStringList> expected = {firstPage, secondPage};
    for (int page = 0; page < pages.size(); ++page)
        for (const QString &text : expected[page])
            QVERIFY2(pages[page].contains(text),
                     qPrintable(text + QStringLiteral(" | ") + pages[page]));
    QVERIFY(!pages.join(QLatin1Char(' ')).contains(translateText("Mute")));

    // Without layer buttons the window edits one layer: that one is printed.
    store.setCurrentLayer(2);
    const PrintContents single =
        keypadPrintContents(store, DeviceState(), layoutById(Layout16K3E_S0), 0, {});
    QCOMPARE(single.layers.size(), 1);
    QCOMPARE(single.layers.first().number, 3);

    // Only the file asked for is written; a folder that is not there fails.
    QVERIFY(!writeKeypadPdf(dir.filePath(QStringLiteral("missing/keypad.pdf")), contents));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keypad.pdf")});
}

void TestKeypadPrint::windowOffersPrintAndExport()
{
    Widget window(AppSettings(), *HIDManager::instance());
    QStringList commands;
    for (const QAction *action : window.actions())
        commands << action->text() + QLatin1Char('=') + action->shortcut().toString();
    QVERIFY2(commands.contains(QStringLiteral("Print\u2026=Ctrl+P")),
             qPrintable(commands.join(',')));
    QVERIFY2(commands.contains(QStringLiteral("Export as PDF\u2026=")),
             qPrintable(commands.join(',')));

    // The PDF goes to the file picked in the save dialog, and nowhere when
    // the dialog is cancelled.
    QAction *exportPdf =
        window.actions().at(commands.indexOf(QStringLiteral("Export as PDF\u2026=")));
    QTemporaryDir dir;
    const QString picked = dir.filePath(QStringLiteral("picked.pdf"));
    QStringList filters;
    const auto answerDialog = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            dialog->selectFile(picked);
            if (accept)
                QMetaObject::invokeMethod(dialog, "accept");
            else
                dialog->reject();
        });
    };
    answerDialog(false);
    exportPdf->trigger();
    QVERIFY(QDir(dir.path()).isEmpty());
    answerDialog(true);
    exportPdf->trigger();
    QCOMPARE(filters, QStringList{QStringLiteral("PDF files (*.pdf)")});
    QFile written(picked);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("picked.pdf")});
}

QTEST_MAIN(TestKeypadPrint)
#include "tst_keypad_print.moc"
