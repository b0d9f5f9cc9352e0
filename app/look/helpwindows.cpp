#include "app/look/helpwindows.h"

#include "device/candidates.h"
#include "model/translation.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <hidapi/hidapi.h>

namespace {

QString paragraph(const QString &body)
{
    return QStringLiteral("<p>") + body.toHtmlEscaped() + QStringLiteral("</p>");
}

// Commands and rule lines in a fixed-width font, one paragraph a line; a
// long line wraps at its spaces rather than leave the box.
QString typed(const QStringList &lines)
{
    QString html;
    for (const QString &line : lines)
        html += QStringLiteral("<p style=\"font-family: monospace;\">") + line.toHtmlEscaped()
            + QStringLiteral("</p>");
    return html;
}

// The line the shipped rule holds for the first keypad Zentrik knows; udev
// compares the ids as lower-case hexadecimal strings.
QString exampleRuleLine()
{
    const DeviceCandidate &first = kDeviceCandidates.front();
    const auto hex = [](uint16_t id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
    return QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                          "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
        .arg(hex(first.vendorId), hex(first.productId));
}

QMessageBox *messageBox(QWidget *parent, const char *title, const QString &body,
                        const char *objectName)
{
    auto *box = new QMessageBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setWindowTitle(translateText(title));
    box->setTextFormat(Qt::RichText);
    box->setText(body);
    box->setStandardButtons(QMessageBox::Close);
    box->button(QMessageBox::Close)->setText(translateText("Close"));
    return box;
}

} // namespace

QDialog *createShortcutsDialog(QWidget *parent, const QVector<ShortcutRow> &rows)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("shortcutsDialog"));
    dialog->setWindowTitle(translateText("Keyboard shortcuts"));

    auto *table = new QTableWidget(rows.size(), 2, dialog);
    table->setHorizontalHeaderLabels({translateText("Command"), translateText("Shortcut")});
    for (int row = 0; row < rows.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(rows[row].command));
        table->setItem(row, 1, new QTableWidgetItem(rows[row].keys));
    }
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    buttons->button(QDialogButtonBox::Close)->setText(translateText("Close"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    // Every row in sight without scrolling.
    const int width = table->horizontalHeader()->length() + 2 * table->frameWidth() + 40;
    const int height = table->horizontalHeader()->height() + table->verticalHeader()->length()
        + 2 * table->frameWidth() + 4;
    table->setMinimumSize(width, height);
    return dialog;
}

QMessageBox *createTroubleshootingBox(QWidget *parent)
{
    const QString body =
        paragraph(
            translateText("Zentrik needs permission to open the keypad. When the status line says "
                          "there is no access, your user may not open the keypad's device."))
        + paragraph(
            translateText("On Linux, the udev rule that comes with Zentrik (70-zentrik.rules) "
                          "gives that access to the user at the computer. The package installs "
                          "it; after cmake --install with a prefix other than /usr, copy it to "
                          "/etc/udev/rules.d. Then reload the rules and plug the keypad in "
                          "again:"))
        + typed({QStringLiteral("sudo udevadm control --reload-rules"),
                 QStringLiteral("sudo udevadm trigger")})
        + paragraph(
            translateText("The rule holds one line for each keypad Zentrik knows, such as:"))
        + typed({exampleRuleLine()})
        + paragraph(
            translateText("Only one program can use the keypad at a time: close other programs "
                          "that configure it."));
    return messageBox(parent, "Troubleshooting", body, "troubleshootingBox");
}

QMessageBox *createAccessCommandsBox(QWidget *parent, const QStringList &commands)
{
    const QString body =
        paragraph(translateText("Zentrik could not install its udev rule: the request was refused "
                                "or cancelled, or cannot be made here. Run these commands in a "
                                "terminal instead:"))
        + typed(commands);
    // Commands to copy keep their lines and spaces as they are.
    QMessageBox *box = messageBox(parent, "Troubleshooting",
                                  QString(body).replace(QStringLiteral("font-family: monospace;"),
                                                        QStringLiteral("font-family: monospace; "
                                                                       "white-space: pre;")),
                                  "accessCommandsBox");
    return box;
}

QString aboutText()
{
    return QStringLiteral("<h3>Zentrik %1</h3>").arg(QStringLiteral(ZENTRIK_VERSION))
        + paragraph(translateText("Configurator for USB macro keypads."))
        // The licence's identifier stays on one line: non-breaking hyphens.
        + paragraph(
              translateText("Zentrik is free software under GPL-3.0-or-later: the GNU General "
                            "Public License, version 3 or any later version."))
              .replace(QStringLiteral("GPL-3.0-or-later"),
                       QString::fromUtf8("GPL\u20113.0\u2011or\u2011later"))
        // The hidapi that answers: the system's library, or the demo's
        // virtual keypad, which says so in its version.
        + paragraph(
               translateText("Uses Qt %1 and hidapi %2")
                   .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(hid_version_str())));
}

QMessageBox *createAboutBox(QWidget *parent)
{
    QMessageBox *box = messageBox(parent, "About Zentrik", aboutText(), "aboutBox");
    box->setIconPixmap(parent->windowIcon().pixmap(64, 64));
    return box;
}
