#include "app/window/windowmenus.h"

#include "app/editing/editcontrols.h"
#include "app/editing/edithistory.h"
#include "app/look/functionbuttons.h"
#include "app/look/helpwindows.h"
#include "app/keypadview/layercolumn.h"
#include "app/look/windowsize.h"
#include "model/keyboarddata.h"
#include "model/translation.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QWidget>

namespace {

// The menus keep the system's size of text, not the window's scaled one,
// in the window's dark colours.
QString menuStyleSheet()
{
    return QStringLiteral(
        "QMenuBar { background-color: #2b2b2b; color: #ffffff; font-size: 15px;"
        " border-bottom: 1px solid #444444; }"
        "QMenuBar::item { background: transparent; padding: 4px 12px; }"
        "QMenuBar::item:selected { background-color: #1E90FF; }"
        "QMenuBar::item:disabled { color: #777777; }"
        "QMenu { background-color: #2b2b2b; color: #ffffff; font-size: 15px;"
        " border: 1px solid #555555; }"
        "QMenu::item { padding: 6px 28px 6px 20px; }"
        "QMenu::item:selected { background-color: #1E90FF; }"
        "QMenu::item:disabled { color: #777777; }"
        "QMenu::separator { height: 1px; background: #555555; margin: 4px 8px; }");
}

QString keysOf(const QAction *action)
{
    QStringList keys;
    for (const QKeySequence &sequence : action->shortcuts())
        keys << sequence.toString(QKeySequence::NativeText);
    return keys.join(QStringLiteral(", "));
}

// Shown without blocking the window, gone when closed.
template <typename Window>
Window *showAndForget(Window *window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

} // namespace

WindowMenus::WindowMenus(QWidget *window, const Parts &parts)
    : QObject(window)
    , m_window(window)
    , m_parts(parts)
{
}

QMenuBar *WindowMenus::build()
{
    m_bar = new QMenuBar(m_window);
    m_bar->setObjectName(QStringLiteral("menuBar"));
    // In the window on every desktop, so the content below it keeps its
    // design sizes.
    m_bar->setNativeMenuBar(false);
    m_bar->setFixedHeight(kMenuBarHeight);
    m_bar->setStyleSheet(menuStyleSheet());
    buildFileMenu(m_bar);
    buildEditMenu(m_bar);
    buildHelpMenu(m_bar);
    return m_bar;
}

QMenu *WindowMenus::buildFileMenu(QMenuBar *bar)
{
    m_fileMenu = bar->addMenu(translateText("&File"));
    QAction *save = m_parts.buttons->saveAction();
    save->setText(translateText("Save Settings"));
    save->setShortcuts(QKeySequence::Save);
    QAction *reload = m_parts.buttons->viewAction();
    reload->setText(translateText("View Settings"));
    m_fileMenu->addActions({save, reload});
    // The files group: two separators that show as one while it is empty.
    m_fileMenu->addSeparator();
    m_filesEnd = m_fileMenu->addSeparator();
    m_quit = m_fileMenu->addAction(translateText("Quit"));
    // Some desktops bind no key to quitting; Ctrl+Q is the one users expect.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quitKeys << QKeySequence(Qt::CTRL | Qt::Key_Q);
    m_quit->setShortcuts(quitKeys);
    m_quit->setMenuRole(QAction::QuitRole);
    connect(m_quit, &QAction::triggered, m_window, &QWidget::close);
    // The keys work wherever the focus is in the window.
    m_window->addActions({save, m_quit});
    return m_fileMenu;
}

void WindowMenus::addToFileMenu(const QList<QAction *> &actions)
{
    m_fileMenu->insertActions(m_filesEnd, actions);
}

QMenu *WindowMenus::buildEditMenu(QMenuBar *bar)
{
    QMenu *edit = bar->addMenu(translateText("&Edit"));
    EditHistory *history = m_parts.history;
    EditControls *edits = m_parts.edits;
    edit->addActions({history->undoAction(), history->redoAction()});
    edit->addSeparator();
    edit->addActions({edits->copyAction(), edits->pasteAction(), edits->deleteAction()});
    QAction *clearAll = m_parts.buttons->clearAllAction();
    clearAll->setText(translateText("Clear All"));
    edit->addAction(clearAll);
    edit->addSeparator();
    m_copyLayerMenu = edit->addMenu(translateText("Copy layer to\u2026"));
    connect(edit, &QMenu::aboutToShow, this, &WindowMenus::refreshEditMenu);
    refreshEditMenu();
    return edit;
}

void WindowMenus::refreshEditMenu()
{
    m_parts.edits->refreshEnabled();
    m_parts.layers->fillCopyMenu(m_copyLayerMenu, m_parts.store->currentLayer());
    if (m_recording)
        m_copyLayerMenu->setEnabled(false);
}

QMenu *WindowMenus::buildHelpMenu(QMenuBar *bar)
{
    QMenu *help = bar->addMenu(translateText("&Help"));
    connect(help->addAction(translateText("Keyboard shortcuts")), &QAction::triggered, this,
            &WindowMenus::showShortcuts);
    connect(help->addAction(translateText("Troubleshooting")), &QAction::triggered, this,
            &WindowMenus::showTroubleshooting);
    help->addSeparator();
    QAction *about = help->addAction(translateText("About Zentrik"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &WindowMenus::showAbout);
    return help;
}

void WindowMenus::setRecording(bool recording)
{
    m_recording = recording;
    m_bar->setEnabled(!recording);
    m_quit->setEnabled(!recording);
}

QMenu *WindowMenus::popupControlMenu(const QPoint &globalPos)
{
    auto *menu = new QMenu(m_window);
    menu->setObjectName(QStringLiteral("controlMenu"));
    menu->setStyleSheet(menuStyleSheet());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    EditControls *edits = m_parts.edits;
    menu->addActions({edits->copyAction(), edits->pasteAction(), edits->deleteAction()});
    menu->addSeparator();
    menu->addActions({m_parts.history->undoAction(), m_parts.history->redoAction()});
    menu->popup(globalPos);
    return menu;
}

QDialog *WindowMenus::showShortcuts()
{
    EditControls *edits = m_parts.edits;
    const QAction *firstLayer = edits->layerAction(0);
    const QAction *lastLayer = edits->layerAction(kLayerButtonCount - 1);
    const QVector<ShortcutRow> rows = {
        {translateText("Undo"), keysOf(m_parts.history->undoAction())},
        {translateText("Redo"), keysOf(m_parts.history->redoAction())},
        {translateText("Copy"), keysOf(edits->copyAction())},
        {translateText("Paste"), keysOf(edits->pasteAction())},
        {translateText("Clear"), keysOf(edits->deleteAction())},
        {translateText("Save Settings"), keysOf(m_parts.buttons->saveAction())},
        {translateText("Quit"), keysOf(m_quit)},
        {translateText("Show layer 1 to 3"),
         QStringLiteral("%1 \u2026 %2").arg(keysOf(firstLayer), keysOf(lastLayer))},
        {translateText("Select the next key"), translateText("Arrow keys")},
        {translateText("Menu of the selected key"),
         QKeySequence(Qt::Key_Menu).toString(QKeySequence::NativeText) + QStringLiteral(", ")
             + QKeySequence(Qt::SHIFT | Qt::Key_F10).toString(QKeySequence::NativeText)},
        {translateText("Swap two keys"), translateText("Drag one key onto the other")},
        {translateText("Open a menu"), translateText("Alt + the underlined letter")},
    };
    return showAndForget(createShortcutsDialog(m_window, rows));
}

QMessageBox *WindowMenus::showTroubleshooting()
{
    return showAndForget(createTroubleshootingBox(m_window));
}

QMessageBox *WindowMenus::showAbout()
{
    return showAndForget(createAboutBox(m_window));
}
