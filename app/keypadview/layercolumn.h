#pragma once

#include <QObject>
#include <array>

class KeyboardData;
class QButtonGroup;
class QLabel;
class QMenu;
class QPoint;
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
    // Greyed out while a macro recording holds the window.
    void setEnabled(bool enabled);

    // How many layer buttons are shown (0..3), and where that number comes
    // from: the settings file, the keypad, or the start-up default.
    int effectiveCount() const;
    void setStartupDefaultCount(int count) { m_startupDefaultCount = count; }
    void setForcedCount(int count);
    int forcedCount() const { return m_forcedCount; }
    void updateVisibility();

    void scaleToWindowWidth(int windowWidth);

    // The context menu of a layer button: "Copy this layer to…" each other
    // shown layer. The caller owns the menu.
    QMenu *createLayerMenu(int layer);
    // Fills `copyTo` with the other shown layers layer `layer` can be copied
    // to; greyed when there is none.
    void fillCopyMenu(QMenu *copyTo, int layer);
    QPushButton *button(int layer) const;

    // Whether a layer button carries the unsaved mark: a key or the
    // lighting of its layer was changed and not yet saved.
    bool isMarkedUnsaved(int layer) const;

signals:
    void layerClicked(int layer);
    // The user chose to copy layer `from` onto layer `to`.
    void copyLayerRequested(int from, int to);

private:
    KeyboardData &m_store;
    const DeviceState &m_device;
    int m_startupDefaultCount = 3;
    int m_forcedCount = 0;
    int m_appliedWidth = -1;
    QWidget *m_column = nullptr;
    std::array<QPushButton *, kLayerButtonCount> m_buttons{};
    std::array<QLabel *, kLayerButtonCount> m_unsavedDots{};
    QButtonGroup *m_group = nullptr;

    void showLayerMenu(int layer, const QPoint &pos);
    void refreshUnsavedMark(int layer);
};
