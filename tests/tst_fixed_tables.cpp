// The fixed tables checked row by row against expected data kept in
// tests/data/, written apart from the program's own tables: a misspelt text
// or a wrong code in any row fails here with the row named.

#include "model/labels.h"
#include "model/translation.h"
#include "pages/mousepage.h"
#include "pages/pagebutton.h"
#include "pages/procreatepage.h"

#include <QFile>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

namespace {

// "\n" in a data file stands for a line break, "\\" for a backslash.
QString unescaped(const QString &field)
{
    QString text;
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 1 < field.size()) {
            ++i;
            text += field[i] == 'n' ? QChar('\n') : field[i];
        } else {
            text += field[i];
        }
    }
    return text;
}

// The rows of a tab-separated data file, its header line left out.
QList<QStringList> dataRows(const QString &name)
{
    QFile file(QStringLiteral(ZENTRIK_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QList<QStringList> rows;
    for (int i = 1; i < lines.size(); ++i) {
        QStringList fields = lines[i].split('\t');
        for (QString &field : fields)
            field = unescaped(field);
        rows << fields;
    }
    return rows;
}

int code(const QString &text) { return text.toInt(nullptr, 0); }

QString hexList(const QVariantList &codes)
{
    QStringList parts;
    for (const QVariant &value : codes)
        parts << QStringLiteral("0x%1").arg(value.toInt(), 2, 16, QChar('0'));
    return parts.join(' ');
}

// The button in cell (row, column) of a page built as rows of buttons.
QPushButton *cellButton(QWidget &page, int row, int column)
{
    QLayout *rowLayout = page.layout()->itemAt(row)->layout();
    if (!rowLayout || column >= rowLayout->count())
        return nullptr;
    return qobject_cast<QPushButton *>(rowLayout->itemAt(column)->widget());
}

} // namespace

// Compares two texts and names the row and the field when they differ.
#define COMPARE_ROW(where, actual, expected)                                             \
    QVERIFY2((actual) == (expected),                                                     \
             qPrintable(QStringLiteral("%1: \"%2\", expected \"%3\"")                    \
                            .arg(where, QString(actual), QString(expected))))

class TestFixedTables : public QObject
{
    Q_OBJECT
private slots:
    void translationRows();
    void labelTables();
    void mousePageCodes();
    void procreateShortcutRows();
};

void TestFixedTables::translationRows()
{
    const QList<QStringList> expected = dataRows("translations.tsv");
    QCOMPARE(expected.size(), 139);
    const QVector<TranslationPair> &table = translationTable();
    QVERIFY(table.size() >= expected.size());
    for (const QStringList &row : expected) {
        const TranslationPair &pair = table.at(row[0].toInt() - 1);
        COMPARE_ROW("row " + row[0] + " English", pair.first, row[1]);
        COMPARE_ROW("row " + row[0] + " Chinese", pair.second, row[2]);
    }
}

void TestFixedTables::labelTables()
{
    QSet<int> mediaCodes;
    int keys = 0, modifiers = 0, mice = 0;
    for (const QStringList &row : dataRows("labels.tsv")) {
        const QString where = row[0] + " " + row[1];
        const int value = code(row[1]);
        if (row[0] == "key") {
            COMPARE_ROW(where, keyLabel(uint8_t(value)), row[2]);
            ++keys;
        } else if (row[0] == "modifier") {
            COMPARE_ROW(where, modifierLabel(uint8_t(value)), row[2]);
            ++modifiers;
        } else if (row[0] == "media") {
            COMPARE_ROW(where, mediaLabel(uint16_t(value)), row[2]);
            mediaCodes << value;
        } else if (row[0] == "mouse") {
            const auto names = mouseActionNames(uint8_t(value));
            QVERIFY2(names, qPrintable(where));
            COMPARE_ROW(where + " long", names->first, row[2]);
            COMPARE_ROW(where + " short", names->second, row[3]);
            ++mice;
        }
    }
    QCOMPARE(keys, 256);
    QCOMPARE(modifiers, 8);
    QCOMPARE(mediaCodes.size(), 21);
    QCOMPARE(mice, 16);

    // No code outside the tables has a name of its own.
    for (int value = 0; value <= 0xFFFF; ++value) {
        if (!mediaCodes.contains(value))
            COMPARE_ROW("media " + QString::number(value, 16), mediaLabel(uint16_t(value)),
                        QStringLiteral("Media(0x%1)").arg(value, 4, 16, QChar('0')));
    }
    for (int value = 16; value <= 0xFF; ++value)
        QVERIFY2(!mouseActionNames(uint8_t(value)), qPrintable(QString::number(value)));
}

void TestFixedTables::mousePageCodes()
{
    MousePage page;
    const QList<QStringList> expected = dataRows("mouse.tsv");
    QCOMPARE(expected.size(), 18);
    QCOMPARE(page.findChildren<QPushButton *>().size(), expected.size());
    for (const QStringList &row : expected) {
        const QString where = "row " + row[0] + " column " + row[1];
        QPushButton *button = cellButton(page, row[0].toInt() - 1, row[1].toInt() - 1);
        QVERIFY2(button, qPrintable(where));
        COMPARE_ROW(where + " label", button->text(), row[2]);
        const QVariant action = button->property(kMouseActionProperty);
        COMPARE_ROW(where + " action", action.isValid() ? action.toString() : QString(), row[3]);
        QVERIFY2(button->isEnabled() == !row[3].isEmpty(), qPrintable(where));
    }
}

void TestFixedTables::procreateShortcutRows()
{
    ProcreatePage page;
    const QList<QStringList> expected = dataRows("procreate.tsv");
    QCOMPARE(expected.size(), 32);
    QCOMPARE(page.shortcutButtons().size(), expected.size());
    constexpr int kColumns = 8;
    for (const QStringList &row : expected) {
        const int cell = row[0].toInt() - 1;
        const QString where = "shortcut " + row[0];
        QPushButton *button = cellButton(page, cell / kColumns, cell % kColumns);
        QVERIFY2(button, qPrintable(where));
        COMPARE_ROW(where + " label", button->property("procreateLabel").toString(), row[1]);
        COMPARE_ROW(where + " short label", button->property("procreateShortLabel").toString(), row[2]);
        COMPARE_ROW(where + " keys", hexList(button->property("procreateKeycodes").toList()), row[3]);
        COMPARE_ROW(where + " text", button->text(), row[4]);
    }
}

QTEST_MAIN(TestFixedTables)
#include "tst_fixed_tables.moc"
