#include "keypad/heldconfiguration.h"

#include "model/keyboarddata.h"

void HeldConfiguration::read(const KeyLayers &layers, bool complete)
{
    m_known = complete;
    m_layers = complete ? layers : KeyLayers();
}

void HeldConfiguration::readLighting(const LedLayers &lighting)
{
    m_lighting = lighting;
}

void HeldConfiguration::confirm(const SaveResult &result)
{
    if (!m_known)
        return;
    for (const SavedKey &item : result.writtenKeys) {
        if (item.layer < 0 || item.layer >= m_layers.size() || item.key < 0
            || item.key >= m_layers[item.layer].size())
            continue;
        KeyConfig record = item.record;
        record.dirty = 0;
        m_layers[item.layer][item.key] = record;
    }
    for (const SavedLighting &item : result.writtenLighting) {
        if (item.layer < 0 || item.layer >= m_lighting.size())
            continue;
        LedLayerConfig record = item.record;
        record.clearMarks();
        m_lighting[item.layer] = record;
    }
}

void HeldConfiguration::forget()
{
    *this = HeldConfiguration();
}

void HeldConfiguration::fill(KeyboardData &store) const
{
    store.loadLayers(m_layers);
    if (!m_lighting.isEmpty())
        store.loadLighting(m_lighting);
}
