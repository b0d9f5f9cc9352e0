#include "app/editing/layercopy.h"

#include "app/editing/edithistory.h"
#include "model/keyboarddata.h"
#include "model/translation.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

bool holdsAssignments(const KeyLayer &layer)
{
    for (const KeyConfig &key : layer)
        if (!key.isEmpty())
            return true;
    return false;
}

} // namespace

LayerCopy::LayerCopy(KeyboardData &store, EditHistory &history, QWidget *window,
                     LayerSwitch layerSwitch)
    : QObject(window)
    , m_store(store)
    , m_history(history)
    , m_window(window)
    , m_layerSwitch(std::move(layerSwitch))
{
}

bool LayerCopy::askReplace(int from, int to) const
{
    if (m_ask)
        return m_ask(from, to);
    QMessageBox box(QMessageBox::Question,
                    translateText(QStringLiteral("Copy Layer")),
                    translateText(QStringLiteral("Layer %2 holds assignments. Replace them with "
                                                 "those of layer %1?"))
                        .arg(from + 1)
                        .arg(to + 1),
                    QMessageBox::NoButton, m_window);
    QPushButton *replace = box.addButton(
        translateText(QStringLiteral("Replace")), QMessageBox::AcceptRole);
    box.addButton(translateText(QStringLiteral("Cancel")), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == replace;
}

bool LayerCopy::copy(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= kLayerCount || to >= kLayerCount)
        return false;
    m_history.commitPending();
    if (holdsAssignments(m_store.layers()[to]) && !askReplace(from, to))
        return false;
    m_history.perform(EditKind::LayerCopy, [&] {
        for (int key = 0; key < kKeySlotCount; ++key) {
            // Slots the keypad cannot store keep what they hold.
            if (!m_store.isWritableSlot(key))
                continue;
            const KeyConfig &current = m_store.layers()[to][key];
            KeyConfig record = m_store.layers()[from][key];
            record.dirty = current.sameAssignment(record) ? current.dirty : 1;
            m_store.replaceKey(to, key, record);
        }
        m_store.replaceLedLayer(to, copiedLighting(m_store.ledLayers()[to], m_store.ledLayers()[from]));
    });
    // The copy is shown: the user sees what the target layer holds now.
    m_layerSwitch(to);
    return true;
}
