// The history of configurations: what a keypad held is kept before each save,
// the last fifty of each keypad, and restored through the import's preview.

#include "tst_keypad_file_support.h"
#include "tst_control_support.h"

#include "app/files/historywindow.h"
#include "keypad/configurationhistory.h"
#include "keypad/keypadfileload.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace filetest;

namespace {
constexpr uint8_t kUsageB = 0x05;

bool saved(const Widget &window)
{
    return statusLabel(window)->text() == kSavedText && poolIdle();
}
} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        dropKeypads();
        QDir(ConfigurationHistory::defaultRoot()).removeRecursively();
    }
    void aSaveKeepsWhatTheKeypadHeldAndItIsRestored();
    void fiftyAreKeptInTheirOrder();
};

void HistoryTest::aSaveKeepsWhatTheKeypadHeldAndItIsRestored()
{
    Session session;
    QVERIFY(session.connect("16k3e"));
    QVERIFY(session.loaded());
    const VirtualKeySlot before = VirtualKeypad::key(0, 9);
    QVERIFY(session.commands->exportToFile());
    const KeypadFile original = *readKeypadFile(readFile(session.path)).file;

    // An unsaved edit is not what the keypad held: only the save's own
    // change separates the entry from the keypad afterwards.
    controlButton(*session.window, 9)->click();
    session.store().appendBaseKey(kUsageB);
    buttonWithText(*session.window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return saved(*session.window); }));
    QCOMPARE(VirtualKeypad::key(0, 9), VirtualKeySlot::singleKey(kUsageB));

    const ConfigurationHistory history;
    const QVector<HistoryEntry> entries =
        history.entries(ConfigurationHistory::keypadFolderName(original.source));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].writer, HistoryWriter::Save);
    const std::optional<KeypadFile> kept = loadKeypadFile(entries[0].path).file;
    QVERIFY(kept);
    QCOMPARE(historyDifferenceCount(*kept, original), 0);

    // The window lists it against the keypad now, and restores it.
    session.window->findChild<QAction *>(QStringLiteral("historyAction"))->trigger();
    auto *window = session.window->findChild<HistoryWindow *>();
    QVERIFY(window);
    auto *list = window->findChild<QTreeWidget *>(QStringLiteral("historyList"));
    QVERIFY(waitFor([&] { return list->topLevelItemCount() == 1; }));
    QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("1"));
    const QString changes =
        window->findChild<QPlainTextEdit *>(QStringLiteral("historyChanges"))->toPlainText();
    QVERIFY2(changes.startsWith(QStringLiteral("Layer 1, ")), qPrintable(changes));
    window->findChild<QPushButton *>(QStringLiteral("historyRestore"))->click();
    QVERIFY(!session.shownPreview.isEmpty());
    QVERIFY(session.store().hasUnsavedChanges());
    buttonWithText(*session.window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return saved(*session.window); }));
    QCOMPARE(VirtualKeypad::key(0, 9), before);
    QCOMPARE(history.entries(ConfigurationHistory::keypadFolderName(original.source)).size(), 2);
}

void HistoryTest::fiftyAreKeptInTheirOrder()
{
    QTemporaryDir root;
    const ConfigurationHistory history(root.path());
    KeypadFile file;
    file.source.family = QStringLiteral("current");
    file.source.vendorId = 0x1189;
    const QString folder = ConfigurationHistory::keypadFolderName(file.source);
    for (int i = 0; i < ConfigurationHistory::kKeptPerKeypad + 2; ++i)
        QVERIFY(history.keep(file, i % 2 ? HistoryWriter::Apply : HistoryWriter::Save));
    const QVector<HistoryEntry> entries = history.entries(folder);
    QCOMPARE(entries.size(), ConfigurationHistory::kKeptPerKeypad);
    // Newest first, even within one millisecond; the two oldest went.
    for (int i = 1; i < entries.size(); ++i)
        QVERIFY(entries[i].kept < entries[i - 1].kept);
    QCOMPARE(entries.first().writer, HistoryWriter::Apply);
    QCOMPARE(QDir(root.filePath(folder)).entryList(QDir::Files).size(),
             ConfigurationHistory::kKeptPerKeypad);
    // Another keypad has a folder of its own.
    file.source.family = QStringLiteral("Old");
    QVERIFY(ConfigurationHistory::keypadFolderName(file.source) != folder);
}

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
