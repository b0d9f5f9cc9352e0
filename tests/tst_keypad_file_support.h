#pragma once

// What the keypad file tests share: a window whose file commands answer
// without dialogs, and files written and read in a test's own folder.

#include "tst_flows_support.h"

#include "app/files/importpreview.h"
#include "app/files/keypadfilecommands.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>

namespace filetest {

using namespace flowtest;

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every text the preview shows.
inline QString previewText(const ImportPreview &preview)
{
    QStringList texts;
    for (QLabel *label : preview.findChildren<QLabel *>())
        texts << label->text();
    for (QCheckBox *box : preview.findChildren<QCheckBox *>())
        texts << box->text();
    return texts.join(QLatin1Char('\n'));
}

// A window with a demo keypad connected, its file commands answering without
// dialogs: files go to `path`, refusals are kept, the preview is accepted.
struct Session {
    LogCapture log;
    std::unique_ptr<Widget> window = makeWindow();
    KeypadFileCommands *commands = window->findChild<KeypadFileCommands *>();
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("keypad.zentrik.json"));
    QStringList refusals;
    QString shownPreview;
    int device = 0;

    Session()
    {
        commands->setChooseFile([this](bool, const QString &) { return path; });
        commands->setShowRefusal([this](const QString &message) { refusals << message; });
        commands->setShowPreview([this](ImportPreview &preview) {
            shownPreview = previewText(preview);
            return true;
        });
    }
    ~Session() { dropKeypads(); }
    bool connect(const std::string &model)
    {
        device = VirtualKeypad::installDemoKeypad(model);
        return waitFor([this] { return configLoaded(log); });
    }
    // A keypad plugged by the test is read, and the window idle.
    bool loaded() { return waitFor([this] { return configLoaded(log); }) && waitFor(poolIdle); }
    KeyboardData &store() { return window->keyboardData(); }
};

} // namespace filetest
