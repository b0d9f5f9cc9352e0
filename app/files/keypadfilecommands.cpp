#include "app/files/keypadfilecommands.h"

#include "app/connection/connectionflows.h"
#include "keypad/controlmap.h"
#include "app/editing/edithistory.h"
#include "app/files/importpreview.h"
#include "keypad/keypadfileload.h"
#include "keypad/keypadfileplan.h"
#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUndoStack>
#include <QUrl>

namespace {

const char kFileSuffix[] = ".zentrik.json";

QString fileFilters()
{
    // Named filters: a filter without a name is refused by some desktop
    // portals, which then save nothing.
    return translateText("Zentrik keypad files (*.zentrik.json)") + QStringLiteral(";;")
        + translateText("All files (*)");
}

// The dropped file, when exactly one local file was dropped.
QString droppedFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return QString();
    const QUrl url = mime->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

KeypadFileCommands::KeypadFileCommands(QWidget *window, KeyboardData &store,
                                       const ConnectionFlows &flows, EditHistory &history,
                                       Controls controls)
    : QObject(window)
    , m_window(window)
    , m_store(store)
    , m_flows(flows)
    , m_history(history)
    , m_controls(std::move(controls))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

void KeypadFileCommands::showRefusalBox(QWidget *parent, const QString &title,
                                        const QString &message)
{
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton, parent);
    box.addButton(translateText("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void KeypadFileCommands::refuse(const QString &message, bool exporting) const
{
    qCDebug(lcUi).noquote() << "[UI] keypad file:" << message;
    if (m_showRefusal)
        m_showRefusal(message);
    else
        showRefusalBox(m_window, translateText(exporting ? "Export to file" : "Import from file"),
                       message);
}

QString KeypadFileCommands::choose(bool forSaving, const QString &title)
{
    m_suffixWanted = true;
    if (m_chooseFile)
        return m_chooseFile(forSaving, title);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    if (!forSaving)
        return QFileDialog::getOpenFileName(m_window, title, folder, fileFilters());
    QString chosenFilter;
    const QString path = QFileDialog::getSaveFileName(
        m_window, title, QDir(folder).filePath(QStringLiteral("keypad") + QLatin1String(kFileSuffix)),
        fileFilters(), &chosenFilter);
    m_suffixWanted = chosenFilter.contains(QLatin1String(kFileSuffix));
    return path;
}

QString KeypadFileCommands::completedExportPath(const QString &chosen) const
{
    if (!m_suffixWanted || chosen.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return chosen;
    // The dialog asked about the name as typed; the completed name is
    // another file, which is replaced only when the user says so.
    const QString completed = chosen + QLatin1String(kFileSuffix);
    if (!QFileInfo::exists(completed))
        return completed;
    const QString name = QFileInfo(completed).fileName();
    if (m_confirmReplace)
        return m_confirmReplace(completed) ? completed : QString();
    QMessageBox box(QMessageBox::Warning, translateText("Export to file"),
                    translateText("%1 already exists. Do you want to replace it?").arg(name),
                    QMessageBox::NoButton, m_window);
    QPushButton *replace = box.addButton(translateText("Replace"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(translateText("Cancel"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == replace ? completed : QString();
}

QString KeypadFileCommands::exportRefusal() const
{
    if (!m_flows.state().connected)
        return translateText("Connect a keypad to export its settings.");
    // The window holds empty layers until the read is back.
    if (m_flows.taskRunning() && !m_flows.saveRunning())
        return translateText("The keypad is being read. Export again once it is done.");
    return QString();
}

bool KeypadFileCommands::exportToFile()
{
    const QString refusal = exportRefusal();
    if (!refusal.isEmpty()) {
        refuse(refusal, true);
        return false;
    }
    m_history.commitPending();
    const int connection = m_flows.connectionSerial();
    const QString title = m_store.hasUnsavedChanges()
        ? translateText("Export to file (unsaved edits included)")
        : translateText("Export to file");
    const QString chosen = choose(true, title);
    if (chosen.isEmpty())
        return false;
    // The keypad's work went on while the dialog was open: what was shown
    // then may be gone or half read again.
    if (m_flows.connectionSerial() != connection) {
        refuse(translateText(
                   "The keypad was disconnected while the dialog was open. Nothing was written."),
               true);
        return false;
    }
    const QString again = exportRefusal();
    if (!again.isEmpty()) {
        refuse(again, true);
        return false;
    }
    const QString path = completedExportPath(chosen);
    if (path.isEmpty())
        return false;
    // What the window holds when the user has chosen: edits made while the
    // dialog was open are in the file too.
    const KeypadFile file =
        keypadFileOf(m_store, m_flows.state(), m_controls(), m_flows.fileSource());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(writeKeypadFile(file)) < 0 || !out.commit()) {
        refuse(translateText("The file could not be written: %1").arg(out.errorString()), true);
        return false;
    }
    qCDebug(lcUi).noquote() << "[UI] keypad exported to" << path;
    return true;
}

bool KeypadFileCommands::importFromFile()
{
    if (!m_flows.state().connected) {
        refuse(translateText("Connect a keypad to import a file onto it."));
        return false;
    }
    const QString path = choose(false, translateText("Import from file"));
    return !path.isEmpty() && importPath(path);
}

bool KeypadFileCommands::importPath(const QString &path)
{
    if (!m_flows.state().connected) {
        refuse(translateText("Connect a keypad to import a file onto it."));
        return false;
    }
    const LoadedKeypadFile read = loadKeypadFile(path);
    if (!read.file) {
        refuse(read.problem);
        return false;
    }
    m_history.commitPending();
    const DeviceState before = m_flows.state();
    const QByteArray description = m_flows.keypad().description;
    const ImportPlan plan = planImport(*read.file, m_store, before, m_controls());
    ImportPreview preview(plan, QFileInfo(path).fileName(), m_window);
    const bool accepted = m_showPreview ? m_showPreview(preview) : preview.exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    // The keypad's work went on while the preview was open.
    if (!m_flows.state().connected || m_flows.keypad().description != description
        || &m_flows.state().connectedFamily() != &before.connectedFamily()) {
        refuse(
            translateText("The keypad changed while the preview was open. Nothing was changed."));
        return false;
    }
    if (m_flows.taskRunning() && !m_flows.saveRunning()) {
        refuse(translateText("The keypad is being read. Import the file again once it is done."));
        return false;
    }
    const bool changed = layPlan(plan, preview.choice());
    qCDebug(lcUi).noquote() << "[UI] keypad file imported from" << path << "changed" << changed;
    return changed;
}

bool KeypadFileCommands::layPlan(const ImportPlan &plan, const ImportChoice &choice)
{
    m_history.commitPending();
    const int stepsBefore = m_history.stack()->count();
    m_history.perform(EditKind::Import, [&] { layImport(plan, choice, m_store); });
    emit imported();
    return m_history.stack()->count() > stepsBefore;
}

bool KeypadFileCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::DragEnter) {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (!droppedFile(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        return true;
    }
    if (watched == m_window && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedFile(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        // The drop finishes before the preview's own event loop starts.
        QMetaObject::invokeMethod(this, [this, path] { importPath(path); }, Qt::QueuedConnection);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QList<QAction *> addKeypadFileActions(QWidget *window, KeypadFileCommands *commands)
{
    auto *exportAction = new QAction(translateText("Export to file\u2026"), window);
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    auto *importAction = new QAction(translateText("Import from file\u2026"), window);
    importAction->setShortcuts(QKeySequence::Open);
    for (QAction *action : {exportAction, importAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    QObject::connect(exportAction, &QAction::triggered, commands,
                     [commands] { commands->exportToFile(); });
    QObject::connect(importAction, &QAction::triggered, commands,
                     [commands] { commands->importFromFile(); });
    return {exportAction, importAction};
}
