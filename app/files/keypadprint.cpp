#include "app/files/keypadprint.h"

#include "keypad/devicestate.h"
#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

namespace {

constexpr double kPageMarginMm = 15;
const QString kDocumentName = QStringLiteral("Zentrik");

QString modelNameOf(const DeviceState &device, const LayoutSpec &layout)
{
    const KeypadFamily &family = device.lastFamily();
    const int knobs = layout.knobs.size() + layout.extraTurnKnobs;
    QString name = translateText(QStringLiteral("%1, %2"))
                       .arg(translateCount(layout.keyCount, "1 key", "%1 keys"),
                            translateCount(knobs, "1 knob", "%1 knobs"));
    // The older families are told apart by their own names.
    if (qstrcmp(family.name(), currentKeypadFamily().name()) != 0)
        name =
            translateText(QStringLiteral("%1, %2")).arg(QString::fromLatin1(family.name()), name);
    if (!device.connected)
        name = translateText(QStringLiteral("%1 (not connected)")).arg(name);
    return name;
}

void printKeypad(QWidget *window, const PrintContents &contents)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kDocumentName);
    printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                           QPageLayout::Millimeter);
    // The dialog runs its own event loop: the keypad's reads and saves
    // carry on while it is open.
    QPrintDialog dialog(&printer, window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!paintKeypadPages(&printer, contents))
        qCWarning(lcUi).noquote() << "[Print] the printer could not be started";
}

void exportKeypadPdf(QWidget *window, const PrintContents &contents)
{
    // A named filter: the desktop portal refuses a bare pattern.
    const QString path = QFileDialog::getSaveFileName(
        window, translateText(QStringLiteral("Export as PDF")),
        QStringLiteral("zentrik-keypad.pdf"), translateText(QStringLiteral("PDF files (*.pdf)")));
    if (path.isEmpty())
        return;
    if (writeKeypadPdf(path, contents))
        return;
    QMessageBox::warning(window, translateText(QStringLiteral("Export as PDF")),
                         translateText(QStringLiteral("The PDF could not be written to %1."))
                             .arg(QDir::toNativeSeparators(path)));
}

QAction *addCommand(QWidget *window, const char *text)
{
    auto *action = new QAction(translateText(QString::fromUtf8(text)), window);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

} // namespace

PrintContents keypadPrintContents(const KeyboardData &store, const DeviceState &device,
                                  const LayoutSpec &layout, int shownLayerCount,
                                  const ControlMap &controls)
{
    PrintContents contents;
    contents.layout = layout;
    contents.controls = controls;
    QVector<int> layers;
    for (int layer = 0; layer < qMin(shownLayerCount, kLayerCount); ++layer)
        layers.append(layer);
    if (layers.isEmpty())
        layers.append(store.currentLayer());
    for (int layer : layers)
        contents.layers.append(
            {layer + 1, store.layers().value(layer), store.ledLayers().value(layer)});
    contents.lighting = device.capabilities().lighting;
    contents.modelName = modelNameOf(device, layout);
    contents.date = QDate::currentDate();
    return contents;
}

bool writeKeypadPdf(const QString &path, const PrintContents &contents)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcUi).noquote() << "[Print] cannot open" << path << file.errorString();
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setCreator(kDocumentName);
        writer.setTitle(kDocumentName);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                              QPageLayout::Millimeter);
        painted = paintKeypadPages(&writer, contents);
    }
    if (!painted) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        qCWarning(lcUi).noquote() << "[Print] cannot write" << path << file.errorString();
        return false;
    }
    return true;
}

KeypadPrintActions addKeypadPrintActions(QWidget *window, std::function<PrintContents()> contents)
{
    KeypadPrintActions actions;
    actions.print = addCommand(window, "Print\u2026");
    actions.print->setShortcuts(QKeySequence::Print);
    actions.exportPdf = addCommand(window, "Export as PDF\u2026");
    QObject::connect(actions.print, &QAction::triggered, window,
                     [window, contents] { printKeypad(window, contents()); });
    QObject::connect(actions.exportPdf, &QAction::triggered, window,
                     [window, contents] { exportKeypadPdf(window, contents()); });
    return actions;
}
