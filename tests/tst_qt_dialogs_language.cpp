// Qt's own dialogs speak Chinese with a Chinese window.

#include "app/look/qtdialogtranslation.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

class TestQtDialogsLanguage : public QObject
{
    Q_OBJECT
private slots:
    void dialogsFollowTheTranslation();
};

void TestQtDialogsLanguage::dialogsFollowTheTranslation()
{
    const auto saveButtonText = [] {
        QMessageBox question(QMessageBox::Question, QStringLiteral("Zentrik"), QString(),
                             QMessageBox::Save | QMessageBox::Cancel);
        return question.button(QMessageBox::Save)->text();
    };
    QCOMPARE(saveButtonText(), QStringLiteral("Save"));

    QTranslator *translator = installQtChineseTranslation(*qApp);
    QVERIFY(translator);
    QCOMPARE(saveButtonText(), QStringLiteral("保存"));
    // The file dialog the window opens when no desktop dialog is at hand.
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    auto *nameLabel = files.findChild<QLabel *>(QStringLiteral("fileNameLabel"));
    QVERIFY(nameLabel);
    QVERIFY2(!nameLabel->text().contains(QLatin1String("name")), qPrintable(nameLabel->text()));

    QCoreApplication::removeTranslator(translator);
    delete translator;
    QCOMPARE(saveButtonText(), QStringLiteral("Save"));
}

QTEST_MAIN(TestQtDialogsLanguage)
#include "tst_qt_dialogs_language.moc"
