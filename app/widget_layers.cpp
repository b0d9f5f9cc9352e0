// The layer buttons: how many are shown, which one is checked, and switching
// the layer being edited.

#include "app/widget.h"

#include "app/widgetstyle.h"
#include "model/logging.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kMaxLayerButtons = kLayerButtonCount;

constexpr const char *kLayerButtonTexts[kLayerButtonCount] = {"LAYER 1", "LAYER 2", "LAYER 3"};

const char *boolText(bool value) { return value ? "true" : "false"; }

} // namespace

QWidget *Widget::buildLayerColumn()
{
    m_layerColumn = new QWidget;
    m_layerColumn->setObjectName(QStringLiteral("layerColumn"));
    m_layerColumn->setFixedWidth(kLayerColumnWidth);
    auto *layout = new QVBoxLayout(m_layerColumn);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignTop);

    for (int i = 0; i < kLayerButtonCount; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(kLayerButtonTexts[i]));
        button->setCheckable(true);
        button->setFlat(true);
        button->setProperty("layer", i + 1);
        button->setFixedHeight(kLayerButtonHeight);
        button->setFixedWidth(kLayerColumnWidth);
        button->setStyleSheet(layerButtonStyleSheet());
        layout->addWidget(button);
        m_layerButtons[size_t(i)] = button;
    }
    return m_layerColumn;
}

void Widget::createLayerButtonGroup()
{
    m_layerButtonGroup = new QButtonGroup(this);
    m_layerButtonGroup->setExclusive(true);
    for (int i = 0; i < kLayerButtonCount; ++i)
        m_layerButtonGroup->addButton(m_layerButtons[size_t(i)], i);
    m_layerButtons[0]->setChecked(true);
    connect(m_layerButtonGroup, &QButtonGroup::idClicked, this, &Widget::onLayerButtonClicked);
}

int Widget::effectiveLayerDisplayCount() const
{
    const char *source = "startupDefault";
    int count = m_startupDefaultLayerCount;
    if (m_forcedLayerDisplayCount >= 0) {
        source = "forced";
        count = m_forcedLayerDisplayCount;
    } else if (m_deviceInfo.valid) {
        source = "device";
        count = m_deviceInfo.layerCount;
    } else if (m_legacyActive) {
        source = "legacy";
        count = m_legacyInfo.layerCount;
    } else if (m_lastConnectedLayerCount > 0) {
        source = "lastConnected";
        count = m_lastConnectedLayerCount;
    }
    const int result = qBound(0, count, kMaxLayerButtons);
    qCDebug(lcLayer).noquote() << "[Layer] effectiveLayerDisplayCount"
                               << "source=" << source << "forced=" << m_forcedLayerDisplayCount
                               << "deviceValid=" << boolText(m_deviceInfo.valid)
                               << "deviceLayer=" << int(m_deviceInfo.layerCount)
                               << "legacyLayer=" << int(m_legacyInfo.layerCount) << "result=" << result;
    return result;
}

void Widget::setForcedLayerDisplayCount(int count)
{
    m_forcedLayerDisplayCount = count < 0 ? -1 : qMin(count, kMaxLayerButtons);
    qCDebug(lcLayer).noquote() << "[Layer] setForcedLayerDisplayCount"
                               << "count=" << count << "stored=" << m_forcedLayerDisplayCount
                               << "deviceValid=" << boolText(m_deviceInfo.valid)
                               << "deviceLayer=" << int(m_deviceInfo.layerCount)
                               << "legacyLayer=" << int(m_legacyInfo.layerCount);
    updateLayerButtonsVisibility();
}

void Widget::updateLayerButtonsVisibility()
{
    const int effective = effectiveLayerDisplayCount();
    const int currentLayer = m_keyboardData.currentLayer;
    qCDebug(lcLayer).noquote() << "[Layer] updateLayerButtonsVisibility"
                               << "forced=" << m_forcedLayerDisplayCount
                               << "effective=" << effective << "currentLayer=" << currentLayer
                               << "deviceValid=" << boolText(m_deviceInfo.valid)
                               << "deviceLayer=" << int(m_deviceInfo.layerCount)
                               << "legacyLayer=" << int(m_legacyInfo.layerCount);

    bool visible[kLayerButtonCount] = {};
    for (int i = 0; i < kLayerButtonCount; ++i) {
        visible[i] = i < effective;
        if (QPushButton *button = m_layerButtons[size_t(i)]) {
            button->setVisible(visible[i]);
            button->setEnabled(visible[i]);
        }
    }
    qCDebug(lcLayer).noquote() << "[Layer] button visible states" << boolText(visible[0])
                               << boolText(visible[1]) << boolText(visible[2]);

    if (!m_layerButtonGroup)
        return;

    int target = currentLayer;
    if (effective >= 1) {
        target = qBound(0, currentLayer, effective - 1);
        if (target != currentLayer)
            m_keyboardData.setCurrentLayer(target);
    }

    // An exclusive group keeps one button checked; with no layer button
    // shown none may be, so exclusivity is lifted while the marks are set.
    m_layerButtonGroup->setExclusive(false);
    for (int i = 0; i < kLayerButtonCount; ++i)
        m_layerButtons[size_t(i)]->setChecked(effective >= 1 && i < effective && i == target);
    m_layerButtonGroup->setExclusive(true);
}

void Widget::onLayerButtonClicked(int id)
{
    if (id < 0 || id > 3)
        return;
    // The store re-sends every key text of the new layer and drops the
    // selection, so the picture and the display follow.
    m_keyboardData.setCurrentLayer(id);
    refreshAssignedMarks();
    updateLayerButtonsVisibility();
    m_keyDisplay->clear();
    m_selectedButton = nullptr;
    qCDebug(lcLayer).noquote() << "Switched to Layer" << id + 1;
}

void Widget::refreshAssignedMarks()
{
    // Each control stands for the key of its own slot number.
    const KeyLayer &layer = m_keyboardData.layers[m_keyboardData.currentLayer];
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        QPushButton *button = m_controlButtons[size_t(slot)];
        const bool assigned = !layer[slot].isEmpty();
        if (auto *key = qobject_cast<KeyButton *>(button))
            key->setAssigned(assigned);
        else if (auto *knob = qobject_cast<KnobButton *>(button))
            knob->setAssigned(assigned);
    }
}
