#pragma once

#include <QObject>
#include <array>

class KeyboardData;
class QButtonGroup;
class QPushButton;
class QWidget;
struct DeviceState;

constexpr int kLayerButtonCount = 3;

// The layer buttons: how many are shown, which one is checked, and their
// width, which follows the window's.
class LayerColumn : public QObject
{
    Q_OBJECT
public:
    LayerColumn(KeyboardData &store, const DeviceState &device, QObject *parent);

    QWidget *build();
    // After build: the exclusive group that reports clicks.
    void createButtonGroup();
    QWidget *column() const { return m_column; }

    // How many layer buttons are shown (0..3), and where that number comes
    // from: the settings file, the keypad, or the start-up default.
    int effectiveCount() const;
    void setStartupDefaultCount(int count) { m_startupDefaultCount = count; }
    void setForcedCount(int count);
    int forcedCount() const { return m_forcedCount; }
    void updateVisibility();

    void scaleToWindowWidth(int windowWidth);

signals:
    void layerClicked(int layer);

private:
    KeyboardData &m_store;
    const DeviceState &m_device;
    int m_startupDefaultCount = 3;
    int m_forcedCount = 0;
    int m_appliedWidth = -1;
    QWidget *m_column = nullptr;
    std::array<QPushButton *, kLayerButtonCount> m_buttons{};
    QButtonGroup *m_group = nullptr;
};
