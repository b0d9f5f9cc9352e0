#pragma once

#include <QObject>
#include <QString>
#include <functional>

class ConnectionFlows;
class ControlMap;
class EditHistory;
class ImportPreview;
struct ImportChoice;
struct ImportPlan;
class KeyboardData;
class QAction;
class QWidget;

// "Export to file…" and "Import from file…": the keypad's whole
// configuration to and from a file the user picks. Nothing is written but
// the file the user chose in a save dialog; an import changes the store as
// unsaved edits, which "Save Settings" then writes. The keypad's own work
// (a save, a read) goes on while a dialog is open: its results are queued
// to the window and handled by the dialog's event loop.
class KeypadFileCommands : public QObject
{
    Q_OBJECT
public:
    // The path the user picked, or empty; tests answer without a dialog.
    using ChooseFile = std::function<QString(bool forSaving, const QString &title)>;
    // Shows the preview; true to import what it shows as chosen.
    using ShowPreview = std::function<bool(ImportPreview &preview)>;
    // Tells the user why nothing happened.
    using ShowRefusal = std::function<void(const QString &message)>;
    // Asks whether an existing file may be replaced; true to replace it.
    using ConfirmReplace = std::function<bool(const QString &path)>;
    // The controls of the picture shown, as every reader names them.
    using Controls = std::function<const ControlMap &()>;

    KeypadFileCommands(QWidget *window, KeyboardData &store, const ConnectionFlows &flows,
                       EditHistory &history, Controls controls);

    void setChooseFile(ChooseFile choose) { m_chooseFile = std::move(choose); }
    void setShowPreview(ShowPreview show) { m_showPreview = std::move(show); }
    void setShowRefusal(ShowRefusal show) { m_showRefusal = std::move(show); }
    void setConfirmReplace(ConfirmReplace confirm) { m_confirmReplace = std::move(confirm); }

    // True when a file was written.
    bool exportToFile();
    // True when something was imported.
    bool importFromFile();
    bool importPath(const QString &path);
    // Lays a planned import on the store as one step of the undo history,
    // as an accepted preview does; true when something changed.
    bool layPlan(const ImportPlan &plan, const ImportChoice &choice);

    // The message box a refusal shows.
    static void showRefusalBox(QWidget *parent, const QString &title, const QString &message);

signals:
    // Lighting may have changed: the lighting views should look again.
    void imported();

protected:
    // Files dropped on the window are imported.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refuse(const QString &message, bool exporting = false) const;
    QString choose(bool forSaving, const QString &title);
    // The chosen name with the file suffix added where the user left it
    // out, or empty when that names a file the user would not replace.
    QString completedExportPath(const QString &chosen) const;
    // Why an export cannot start or finish now, or empty.
    QString exportRefusal() const;

    QWidget *m_window;
    KeyboardData &m_store;
    const ConnectionFlows &m_flows;
    EditHistory &m_history;
    ChooseFile m_chooseFile;
    ShowPreview m_showPreview;
    ShowRefusal m_showRefusal;
    ConfirmReplace m_confirmReplace;
    Controls m_controls;
    // Whether the dialog's chosen filter asks for the file suffix.
    bool m_suffixWanted = true;
};

// The two commands as actions of the window with their shortcuts
// (Ctrl+Shift+S, the platform's Open), for the window's File menu.
QList<QAction *> addKeypadFileActions(QWidget *window, KeypadFileCommands *commands);
