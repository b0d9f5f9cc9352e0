#include "app/editing/editcontrols.h"

#include "app/editing/edithistory.h"
#include "app/editing/keyclipboard.h"
#include "app/keypadview/keynavigation.h"
#include "app/keypadview/keypadpanel.h"
#include "app/keypadview/keyselection.h"
#include "app/keypadview/layercolumn.h"
#include "model/keyboarddata.h"
#include "model/translation.h"
#include "widgets/keybutton.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QKeyEvent>
#include <QWidget>

#include <optional>

namespace {

const QString kSlotMimeType = QStringLiteral("application/x-zentrik-control-slot");

std::optional<NavDirection> directionOf(int key)
{
    switch (key) {
    case Qt::Key_Left: return NavDirection::Left;
    case Qt::Key_Right: return NavDirection::Right;
    case Qt::Key_Up: return NavDirection::Up;
    case Qt::Key_Down: return NavDirection::Down;
    default: return std::nullopt;
    }
}

} // namespace

EditControls::EditControls(QWidget *window, KeypadPanel &panel, KeySelection &selection,
                           const LayerColumn &layers, EditHistory &history,
                           KeyClipboard &clipboard, Clear clear, LayerSwitch layerSwitch)
    : QObject(window)
    , m_window(window)
    , m_panel(panel)
    , m_selection(selection)
    , m_layers(layers)
    , m_history(history)
    , m_clipboard(clipboard)
    , m_clear(std::move(clear))
    , m_layerSwitch(std::move(layerSwitch))
{
    window->addAction(history.undoAction());
    window->addAction(history.redoAction());
    m_copy = addAction(QKeySequence::keyBindings(QKeySequence::Copy), [this] {
        m_clipboard.copySelected();
        refreshEnabled();
    });
    m_paste = addAction(QKeySequence::keyBindings(QKeySequence::Paste),
                        [this] { m_clipboard.pasteToSelected(); });
    m_delete = addAction(QKeySequence::keyBindings(QKeySequence::Delete), [this] {
        QPushButton *selected = m_selection.selectedButton();
        if (!selected)
            return;
        m_clear();
        // "Clear" drops the selection; Delete keeps working on the same key,
        // so the next key press or page click still has a target.
        selected->click();
    });
    m_copy->setText(translateText(QStringLiteral("Copy")));
    m_paste->setText(translateText(QStringLiteral("Paste")));
    m_delete->setText(translateText(QStringLiteral("Clear")));
    for (int layer = 0; layer < kLayerButtonCount; ++layer) {
        const QKeySequence keys(Qt::CTRL | Qt::Key(Qt::Key_1 + layer));
        m_layerActions << addAction({keys}, [this, layer] {
            if (layer < m_layers.effectiveCount())
                m_layerSwitch(layer);
        });
    }

    refreshEnabled();

    // The arrow keys reach the window when no child took them; a focused
    // control button would move the focus with them, so its keys are seen
    // first. The same filter lets controls be dragged onto each other.
    window->installEventFilter(this);
    panel.watchControls(this);
}

QAction *EditControls::addAction(const QList<QKeySequence> &keys,
                                 const std::function<void()> &run)
{
    auto *action = new QAction(this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run] {
        if (!m_recording)
            run();
    });
    m_window->addAction(action);
    m_actions << action;
    return action;
}

void EditControls::setRecording(bool recording)
{
    m_recording = recording;
    // A disabled action leaves its keys alone, so they reach the recorder.
    for (QAction *action : m_actions)
        action->setEnabled(!recording);
    m_history.setRecording(recording);
    refreshEnabled();
}

void EditControls::refreshEnabled()
{
    // Greyed rather than silent: a disabled action also leaves its keys to
    // the focused field.
    m_copy->setEnabled(!m_recording && m_clipboard.canCopy());
    m_paste->setEnabled(!m_recording && m_clipboard.canPaste());
    m_delete->setEnabled(!m_recording && m_selection.selectedButton());
}

int EditControls::slotOf(const QObject *button) const
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (button && m_panel.controlButton(slot) == button)
            return slot;
    return -1;
}

bool EditControls::selectable(int slot) const
{
    QPushButton *button = m_panel.controlButton(slot);
    if (!button || !button->isVisibleTo(m_window) || !button->isEnabled())
        return false;
    // While the keys stand for their LEDs, knobs cannot be selected.
    return !m_selection.lightingShown() || qobject_cast<KeyButton *>(button);
}

bool EditControls::moveSelection(NavDirection direction)
{
    if (m_recording)
        return false;
    QVector<QRect> places(kKeySlotCount);
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (!selectable(slot))
            continue;
        QPushButton *button = m_panel.controlButton(slot);
        places[slot] = QRect(button->mapTo(m_window, QPoint(0, 0)), button->size());
    }
    const int from = slotOf(m_selection.selectedButton());
    const int to = neighbourInDirection(places, from, direction);
    if (to < 0)
        return false;
    m_selection.selectButton(to);
    if (QPushButton *button = m_panel.controlButton(to))
        button->setFocus(Qt::OtherFocusReason);
    return true;
}

bool EditControls::swapSlots(int fromSlot, int toSlot)
{
    if (m_recording || fromSlot < 0 || toSlot < 0 || fromSlot == toSlot)
        return false;
    return m_clipboard.swap(m_selection.keyIndexForButton(fromSlot),
                            m_selection.keyIndexForButton(toSlot));
}

bool EditControls::startDrag(QPushButton *button)
{
    const int slot = slotOf(button);
    if (slot < 0 || m_selection.lightingShown())
        return false;
    auto *mime = new QMimeData;
    mime->setData(kSlotMimeType, QByteArray::number(slot));
    auto *drag = new QDrag(button);
    drag->setMimeData(mime);
    drag->setPixmap(button->grab());
    drag->exec(Qt::MoveAction);
    // The drag took the release: the button must not stay pressed.
    button->setDown(false);
    return true;
}

bool EditControls::requestMenu(QObject *watched, const QPoint &globalPos)
{
    const int slot = slotOf(watched);
    if (slot < 0)
        return false;
    // The menu works on the control it was opened on.
    if (!selectable(slot))
        return true;
    auto *button = static_cast<QPushButton *>(watched);
    if (m_selection.selectedButton() != button)
        m_selection.selectButton(slot);
    refreshEnabled();
    emit controlMenuRequested(button, globalPos);
    return true;
}

bool EditControls::eventFilter(QObject *watched, QEvent *event)
{
    if (m_recording)
        return false;
    switch (event->type()) {
    case QEvent::ContextMenu:
        return requestMenu(watched, static_cast<QContextMenuEvent *>(event)->globalPos());
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool menuKey = (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier)
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey && slotOf(watched) >= 0) {
            auto *button = static_cast<QPushButton *>(watched);
            key->accept();
            return requestMenu(watched, button->mapToGlobal(button->rect().center()));
        }
        const auto direction = directionOf(key->key());
        if (!direction || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        // Outside the picture only keys nobody took arrive at the window.
        if (watched != m_window && slotOf(watched) < 0)
            return false;
        moveSelection(*direction);
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && slotOf(watched) >= 0) {
            m_pressed = static_cast<QPushButton *>(watched);
            m_pressPos = mouse->pos();
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_pressed || watched != m_pressed || !(mouse->buttons() & Qt::LeftButton)
            || (mouse->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return false;
        QPushButton *button = m_pressed;
        m_pressed = nullptr;
        return startDrag(button);
    }
    case QEvent::MouseButtonRelease:
        m_pressed = nullptr;
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const int target = slotOf(watched);
        if (target < 0 || !drag->mimeData()->hasFormat(kSlotMimeType))
            return false;
        const int source = drag->mimeData()->data(kSlotMimeType).toInt();
        if (source == target)
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const int target = slotOf(watched);
        if (target < 0 || !drop->mimeData()->hasFormat(kSlotMimeType))
            return false;
        bool ok = false;
        const int source = drop->mimeData()->data(kSlotMimeType).toInt(&ok);
        if (ok && source >= 0 && source < kKeySlotCount) {
            swapSlots(source, target);
            drop->acceptProposedAction();
        }
        return true;
    }
    default:
        return false;
    }
}
