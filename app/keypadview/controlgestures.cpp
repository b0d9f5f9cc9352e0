#include "app/keypadview/controlgestures.h"

#include "app/keypadview/keynavigation.h"
#include "model/keyboarddata.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
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

ControlGestures::ControlGestures(std::function<int(const QObject *)> slotOf,
                                 std::function<bool()> dragAllowed, QWidget *window)
    : QObject(window)
    , m_slotOf(std::move(slotOf))
    , m_dragAllowed(std::move(dragAllowed))
    , m_window(window)
{
    // The arrow keys reach the window when no child took them; a focused
    // control would move the focus with them, so its own keys are seen
    // first (the picture installs this filter on each control).
    window->installEventFilter(this);
}

bool ControlGestures::startDrag(QPushButton *button, int slot)
{
    if (!m_dragAllowed())
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

bool ControlGestures::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_enabled)
        return false;
    switch (event->type()) {
    case QEvent::ContextMenu: {
        const int slot = m_slotOf(watched);
        if (slot < 0)
            return false;
        emit menuRequested(slot, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const int slot = m_slotOf(watched);
        const bool menuKey = (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier)
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey && slot >= 0) {
            auto *button = static_cast<QPushButton *>(watched);
            key->accept();
            emit menuRequested(slot, button->mapToGlobal(button->rect().center()));
            return true;
        }
        const auto direction = directionOf(key->key());
        if (!direction || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        // Outside the picture only keys nobody took arrive at the window.
        if (watched != m_window && slot < 0)
            return false;
        emit moveRequested(*direction);
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_slotOf(watched) >= 0) {
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
        const int slot = m_slotOf(button);
        return slot >= 0 && startDrag(button, slot);
    }
    case QEvent::MouseButtonRelease:
        m_pressed = nullptr;
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const int target = m_slotOf(watched);
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
        const int target = m_slotOf(watched);
        if (target < 0 || !drop->mimeData()->hasFormat(kSlotMimeType))
            return false;
        bool ok = false;
        const int source = drop->mimeData()->data(kSlotMimeType).toInt(&ok);
        if (ok && source >= 0 && source < kKeySlotCount) {
            emit dropped(source, target);
            drop->acceptProposedAction();
        }
        return true;
    }
    default:
        return false;
    }
}
