// The layer buttons: how many are shown and which one is checked.

#include "app/keypadview/layercolumn.h"

#include "keypad/devicestate.h"
#include "app/look/widgetstyle.h"
#include "app/look/windowsize.h"
#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"

#include <QButtonGroup>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxLayerButtons = kLayerButtonCount;
constexpr int kLayerColumnMinWidth = 80;

constexpr const char *kLayerButtonTexts[kLayerButtonCount] = {"LAYER 1", "LAYER 2", "LAYER 3"};

const char *boolText(bool value) { return value ? "true" : "false"; }

constexpr int kUnsavedDotPx = 10;
constexpr int kUnsavedDotInset = 4;

// The dot a changed key carries, in the layer button's top right corner as
// on a key, where it takes no room from the layer's name.
QLabel *createUnsavedDot(QWidget *button)
{
    constexpr int ratio = 2;
    QPixmap pixmap(kUnsavedDotPx * ratio, kUnsavedDotPx * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    painter.setBrush(QColor(0xFF, 0xB0, 0x20));
    painter.drawEllipse(QRectF(1, 1, kUnsavedDotPx - 2, kUnsavedDotPx - 2));
    painter.end();
    auto *dot = new QLabel(button);
    dot->setObjectName(QStringLiteral("layerUnsavedDot"));
    dot->setPixmap(pixmap);
    dot->setFixedSize(kUnsavedDotPx, kUnsavedDotPx);
    dot->setStyleSheet(QStringLiteral("background: transparent; border: none;"));
    dot->setAttribute(Qt::WA_TransparentForMouseEvents);
    dot->hide();
    return dot;
}

void placeUnsavedDot(QLabel *dot, int buttonWidth)
{
    dot->move(buttonWidth - kUnsavedDotPx - kUnsavedDotInset, kUnsavedDotInset);
}

bool layerChanged(const KeyboardData &store, int layer)
{
    if (layer < store.ledLayers().size() && store.ledLayers()[layer].isChanged())
        return true;
    for (const KeyConfig &key : store.layers().value(layer))
        if (key.dirty)
            return true;
    return false;
}

} // namespace

LayerColumn::LayerColumn(KeyboardData &store, const DeviceState &device, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_device(device)
{
    connect(&store, &KeyboardData::keyChanged, this,
            [this](int layer, int) { refreshUnsavedMark(layer); });
    connect(&store, &KeyboardData::ledLayerChanged, this, &LayerColumn::refreshUnsavedMark);
}

QWidget *LayerColumn::build()
{
    m_column = new QWidget;
    m_column->setObjectName(QStringLiteral("layerColumn"));
    m_column->setFixedWidth(kLayerColumnWidth);
    auto *layout = new QVBoxLayout(m_column);
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
        m_buttons[size_t(i)] = button;
        m_unsavedDots[size_t(i)] = createUnsavedDot(button);
        placeUnsavedDot(m_unsavedDots[size_t(i)], kLayerColumnWidth);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QPushButton::customContextMenuRequested, this,
                [this, i](const QPoint &pos) { showLayerMenu(i, pos); });
    }
    return m_column;
}

void LayerColumn::createButtonGroup()
{
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int i = 0; i < kLayerButtonCount; ++i)
        m_group->addButton(m_buttons[size_t(i)], i);
    m_buttons[0]->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, &LayerColumn::layerClicked);
}

int LayerColumn::effectiveCount() const
{
    const char *source = "startupDefault";
    int count = m_startupDefaultCount;
    if (m_forcedCount >= 0) {
        source = "forced";
        count = m_forcedCount;
    } else if (m_device.info.valid) {
        source = "device";
        count = m_device.info.layerCount;
    } else if (m_device.legacyInfo.valid) {
        source = "legacy";
        count = m_device.legacyInfo.layerCount;
    } else if (m_device.lastConnectedLayerCount > 0) {
        source = "lastConnected";
        count = m_device.lastConnectedLayerCount;
    }
    const int result = qBound(0, count, kMaxLayerButtons);
    qCDebug(lcLayer).noquote() << "[Layer] effectiveLayerDisplayCount"
                               << "source=" << source << "forced=" << m_forcedCount
                               << "deviceValid=" << boolText(m_device.info.valid)
                               << "deviceLayer=" << int(m_device.info.layerCount)
                               << "legacyLayer=" << int(m_device.legacyInfo.layerCount) << "result=" << result;
    return result;
}

void LayerColumn::setForcedCount(int count)
{
    m_forcedCount = count < 0 ? -1 : qMin(count, kMaxLayerButtons);
    qCDebug(lcLayer).noquote() << "[Layer] setForcedLayerDisplayCount"
                               << "count=" << count << "stored=" << m_forcedCount
                               << "deviceValid=" << boolText(m_device.info.valid)
                               << "deviceLayer=" << int(m_device.info.layerCount)
                               << "legacyLayer=" << int(m_device.legacyInfo.layerCount);
    updateVisibility();
}

void LayerColumn::updateVisibility()
{
    const int effective = effectiveCount();
    const int currentLayer = m_store.currentLayer();
    qCDebug(lcLayer).noquote() << "[Layer] updateLayerButtonsVisibility"
                               << "forced=" << m_forcedCount
                               << "effective=" << effective << "currentLayer=" << currentLayer
                               << "deviceValid=" << boolText(m_device.info.valid)
                               << "deviceLayer=" << int(m_device.info.layerCount)
                               << "legacyLayer=" << int(m_device.legacyInfo.layerCount);

    bool visible[kLayerButtonCount] = {};
    for (int i = 0; i < kLayerButtonCount; ++i) {
        visible[i] = i < effective;
        if (QPushButton *button = m_buttons[size_t(i)]) {
            button->setVisible(visible[i]);
            button->setEnabled(visible[i]);
        }
    }
    qCDebug(lcLayer).noquote() << "[Layer] button visible states" << boolText(visible[0])
                               << boolText(visible[1]) << boolText(visible[2]);

    if (!m_group)
        return;

    int target = currentLayer;
    if (effective >= 1) {
        target = qBound(0, currentLayer, effective - 1);
        if (target != currentLayer)
            m_store.setCurrentLayer(target);
    }

    // An exclusive group keeps one button checked; with no layer button
    // shown none may be, so exclusivity is lifted while the marks are set.
    m_group->setExclusive(false);
    for (int i = 0; i < kLayerButtonCount; ++i)
        m_buttons[size_t(i)]->setChecked(effective >= 1 && i < effective && i == target);
    m_group->setExclusive(true);
}

void LayerColumn::setEnabled(bool enabled)
{
    m_column->setEnabled(enabled);
}

void LayerColumn::scaleToWindowWidth(int windowWidth)
{
    const int width =
        qMax(kLayerColumnMinWidth, qRound(double(windowWidth) / kDesignWidth * kLayerColumnWidth));
    if (width == m_appliedWidth)
        return;
    m_appliedWidth = width;
    m_column->setFixedWidth(width);
    for (QPushButton *button : m_buttons)
        button->setFixedWidth(width);
    for (QLabel *dot : m_unsavedDots)
        placeUnsavedDot(dot, width);
}

QPushButton *LayerColumn::button(int layer) const
{
    return layer >= 0 && layer < kLayerButtonCount ? m_buttons[size_t(layer)] : nullptr;
}

void LayerColumn::refreshUnsavedMark(int layer)
{
    QPushButton *layerButton = button(layer);
    if (!layerButton)
        return;
    const bool changed = layerChanged(m_store, layer);
    if (changed == isMarkedUnsaved(layer))
        return;
    m_unsavedDots[size_t(layer)]->setVisible(changed);
    layerButton->setAccessibleName(changed ? layerButton->text() + QStringLiteral(", ")
                                                 + translateText(QStringLiteral("unsaved changes"))
                                           : QString());
}

bool LayerColumn::isMarkedUnsaved(int layer) const
{
    return layer >= 0 && layer < kLayerButtonCount && m_unsavedDots[size_t(layer)]
        && !m_unsavedDots[size_t(layer)]->isHidden();
}

QMenu *LayerColumn::createLayerMenu(int layer)
{
    auto *menu = new QMenu;
    QMenu *copyTo = menu->addMenu(
        translateText(QStringLiteral("Copy this layer to\u2026")));
    fillCopyMenu(copyTo, layer);
    return menu;
}

void LayerColumn::fillCopyMenu(QMenu *copyTo, int layer)
{
    copyTo->clear();
    const int shown = effectiveCount();
    for (int target = 0; target < shown; ++target) {
        if (target == layer)
            continue;
        QAction *action = copyTo->addAction(
            translateText(QString::fromLatin1(kLayerButtonTexts[target])));
        connect(action, &QAction::triggered, this,
                [this, layer, target] { emit copyLayerRequested(layer, target); });
    }
    copyTo->setEnabled(!copyTo->isEmpty());
}

void LayerColumn::showLayerMenu(int layer, const QPoint &pos)
{
    QPushButton *source = button(layer);
    if (!source)
        return;
    QMenu *menu = createLayerMenu(layer);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(source->mapToGlobal(pos));
}
