// The keypad view: its picture, the store it follows, and selecting,
// moving across and dragging its controls.

#include "app/keypadview/keypadview.h"

#include "app/keypadview/controlgestures.h"
#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keynavigation.h"
#include "app/keypadview/keypadpanel.h"
#include "keypad/devicestate.h"
#include "model/keyboarddata.h"
#include "model/keytexts.h"
#include "model/logging.h"
#include "widgets/controlbutton.h"
#include "widgets/keybutton.h"

#include <QPushButton>
#include <QVector>
#include <QWidget>

KeypadView::KeypadView(KeyboardData &store, const DeviceState &device, KeyDisplay &display,
                       std::function<double()> windowRatio, QWidget *window)
    : QObject(window)
    , m_store(store)
    , m_device(device)
    , m_display(display)
    , m_window(window)
    , m_panel(new KeypadPanel(std::move(windowRatio), this))
    , m_gestures(new ControlGestures([this](const QObject *button) { return slotOfButton(button); },
                                     [this] { return !m_lightingShown; }, window))
{
    connect(m_gestures, &ControlGestures::moveRequested, this, &KeypadView::moveSelection);
    connect(m_gestures, &ControlGestures::dropped, this, &KeypadView::swapRequested);
    connect(m_gestures, &ControlGestures::menuRequested, this, &KeypadView::requestMenu);

    // The controls and the display follow the store themselves.
    connect(&m_store, &KeyboardData::keyButtonTextChanged, this,
            &KeypadView::onKeyButtonTextChanged);
    connect(&m_store, &KeyboardData::keyFullTextChanged, this, &KeypadView::onKeyFullTextChanged);
    connect(&m_store, &KeyboardData::selectedKeyChanged, this, &KeypadView::onSelectedKeyChanged);
    connect(&m_store, &KeyboardData::keyChanged, this, &KeypadView::onKeyChanged);
    connect(&m_store, &KeyboardData::currentLayerChanged, this,
            &KeypadView::refreshUnsavedMarks);
    connect(&m_store, &KeyboardData::ledLayerChanged, this, &KeypadView::onLedLayerChanged);
}

KeypadView::~KeypadView() = default;

// ---- the picture -----------------------------------------------------------

QWidget *KeypadView::build()
{
    QWidget *group = m_panel->build();
    m_panel->watchControls(m_gestures);
    return group;
}

void KeypadView::setEnabled(bool enabled) { m_panel->setEnabled(enabled); }
const LayoutSpec &KeypadView::layout() const { return m_panel->layout(); }
void KeypadView::activateLayout() { m_panel->activateLayout(); }
void KeypadView::fitTo(double windowRatio) { m_panel->fitTo(windowRatio); }
double KeypadView::scale() const { return m_panel->scale(); }

void KeypadView::applyLayout(const LayoutSpec &layoutSpec, double windowRatio)
{
    m_selectedButton = nullptr;
    m_panel->applyLayout(layoutSpec, windowRatio);
    wireControls();

    // The buttons now stand for other keys: their texts and marks follow.
    const KeyLayer &layer = m_store.layers()[m_store.currentLayer()];
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (m_panel->controlButton(slot))
            onKeyButtonTextChanged(slot, shortTextOf(layer[slot]));
    refreshAssignedMarks();
    refreshUnsavedMarks();
}

void KeypadView::wireControls()
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (auto *button = qobject_cast<ControlButton *>(m_panel->controlButton(slot)))
            connect(button, &ControlButton::placeClicked, this, &KeypadView::clickPlace,
                    Qt::UniqueConnection);
}

void KeypadView::enableControls(const std::function<bool(int key)> &writable)
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (QPushButton *button = m_panel->controlButton(slot))
            button->setEnabled(button->isVisibleTo(m_window) && writable(keyIndexForButton(slot)));
}

// ---- slots and keys --------------------------------------------------------

const ControlMap &KeypadView::controlMap() const
{
    const KeypadFamily &family = m_device.connectedFamily();
    const ControlMapKey key{m_panel->layout().id, &family, &m_device.lastFamily(),
                            family.descriptionBytes(m_device.description())};
    if (!(key == m_mapKey)) {
        m_map = ControlMap::of(m_device, m_panel->layout());
        m_mapKey = key;
    }
    return m_map;
}

int KeypadView::keyIndexForButton(int button) const
{
    return controlMap().slotOfButton(button);
}

int KeypadView::buttonIndexForKey(int key) const
{
    return controlMap().buttonOfSlot(key);
}

QPushButton *KeypadView::buttonForKey(int key) const
{
    return m_panel->controlButton(buttonIndexForKey(key));
}

ControlIdentity KeypadView::controlOfKey(int key) const
{
    const QPushButton *button = buttonForKey(key);
    return button ? m_panel->identityOf(button) : ControlIdentity{};
}

bool KeypadView::keyShownOnKey(int key) const
{
    return qobject_cast<KeyButton *>(buttonForKey(key)) != nullptr;
}

int KeypadView::slotOfButton(const QObject *button) const
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (button && m_panel->controlButton(slot) == button)
            return slot;
    return -1;
}

int KeypadView::selectedSlot() const { return slotOfButton(m_selectedButton); }

// ---- selecting -------------------------------------------------------------

void KeypadView::clickPlace(int place)
{
    if (place < 0 || place >= kKeySlotCount)
        return;
    selectButton(place);
    // A checkable button toggles itself before clicked(); only the selected
    // control may stay checked, also when the click was refused.
    for (QPushButton *control : m_panel->controlButtons())
        if (control)
            control->setChecked(control == m_selectedButton);
    emit controlClicked(place);
}

void KeypadView::clickControl(int slot)
{
    if (QPushButton *button = m_panel->controlButton(slot))
        button->click();
}

void KeypadView::selectButton(int buttonIndex)
{
    QPushButton *button = m_panel->controlButton(buttonIndex);
    if (!button)
        return;
    auto *keyButton = qobject_cast<KeyButton *>(button);
    // Knobs have no LED to colour.
    if (m_lightingShown && !keyButton)
        return;

    const int key = keyIndexForButton(buttonIndex);
    qCDebug(lcUi).noquote() << "[UI][select]" << "index" << buttonIndex << "layout"
                            << m_panel->layout().name << "ptr" << button << "type"
                            << button->metaObject()->className() << "dataIndex" << key << "text"
                            << button->text();

    if (m_selectedButton && m_selectedButton != button)
        m_selectedButton->setChecked(false);
    for (QPushButton *control : m_panel->controlButtons())
        if (control)
            control->setChecked(control == button);
    m_selectedButton = button;

    m_store.selectKey(key);

    if (m_lightingShown && keyButton)
        emit ledKeySelected(key);
    qCDebug(lcUi).noquote() << "Selected button" << buttonIndex << "dataIndex:" << key
                            << "text:" << button->text();
}

void KeypadView::forgetSelectedButton()
{
    if (m_selectedButton)
        m_selectedButton->setChecked(false);
    m_selectedButton = nullptr;
}

void KeypadView::onSelectedKeyChanged(int index)
{
    QPushButton *selected = index >= 0 ? buttonForKey(index) : nullptr;
    for (QPushButton *control : m_panel->controlButtons())
        if (control)
            control->setChecked(control == selected);
    m_selectedButton = selected;

    if (index < 0) {
        m_display.clear();
        // A layer switch, Clear All or a reload: the lighting shown follows.
        if (m_lightingShown)
            emit lightingViewStale();
    } else {
        const QString shortText = buttonTextFor(index);
        const QString fullText = fullTextFor(index);
        qCDebug(lcUi).noquote() << "Selected key changed:" << index + 1 << "buttonText:"
                                << shortText << "fullText:" << fullText;
        if (m_panel->layout().name == QLatin1String("Layout_16K_3E_P0_S0") && index >= 16
            && index < kKeySlotCount) {
            const KeyConfig record = currentKey(index);
            qCDebug(lcUi).noquote()
                << "[UI][select-state]" << "index" << index << "set" << !record.isEmpty()
                << "type" << (record.isEmpty() ? -1 : int(record.type)) << "buttonText"
                << shortTextOf(record) << "displayText" << fullTextOf(record);
        }
        if (m_lightingShown && qobject_cast<KeyButton *>(selected))
            m_display.clear();
        else
            m_display.showText(controlTitleFor(index), fullText);
    }
    emit selectionPagesStale();
}

// ---- moving across and dragging --------------------------------------------

void KeypadView::setGesturesEnabled(bool enabled) { m_gestures->setEnabled(enabled); }

void KeypadView::setLightingShown(bool shown)
{
    if (shown == m_lightingShown)
        return;
    m_lightingShown = shown;
    refreshUnsavedMarks();
}

bool KeypadView::selectable(int slot) const
{
    QPushButton *button = m_panel->controlButton(slot);
    if (!button || !button->isVisibleTo(m_window) || !button->isEnabled())
        return false;
    // While the keys stand for their LEDs, knobs cannot be selected.
    return !m_lightingShown || qobject_cast<KeyButton *>(button);
}

bool KeypadView::moveSelection(NavDirection direction)
{
    QVector<QRect> places(kKeySlotCount);
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (!selectable(slot))
            continue;
        QPushButton *button = m_panel->controlButton(slot);
        places[slot] = QRect(button->mapTo(m_window, QPoint(0, 0)), button->size());
    }
    const int to = neighbourInDirection(places, selectedSlot(), direction);
    if (to < 0)
        return false;
    selectButton(to);
    m_panel->controlButton(to)->setFocus(Qt::OtherFocusReason);
    return true;
}

void KeypadView::requestMenu(int slot, const QPoint &globalPos)
{
    // The menu works on the control it was opened on.
    if (!selectable(slot))
        return;
    if (selectedSlot() != slot)
        selectButton(slot);
    emit menuRequested(globalPos);
}
