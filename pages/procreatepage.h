#pragma once

#include "pages/assignmentpage.h"

#include <QList>
#include <QVector>
#include <cstdint>

class KeyboardData;
class QPushButton;

// Function-list row 6: ready-made Procreate shortcuts, five rows of eight
// cells. A click says shortcutChosen with the shortcut's keys; the page host
// stores them in the selected key as a single key or a press-then-release
// macro.
class ProcreatePage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit ProcreatePage(QWidget *parent = nullptr);

    // Words every shortcut button from its shortcut's label.
    void retranslate() override;

    // Fonts and cell heights follow the window's scale (1.0 at 1500 x 1100).
    void setScale(double scale) override;

    QList<QPushButton *> shortcutButtons() const { return m_shortcutButtons; }

signals:
    // The keys of the shortcut clicked, pressed in this order.
    void shortcutChosen(const QVector<uint8_t> &keys);

protected:
    // A narrow window shrinks the cells' fonts so the labels stay inside.
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyStyle(double scale, int keyFontPx);
    int fittingFontPx(double cellScale) const;
    void applyCellSizes();

    double m_scale = 1.0;
    double m_appliedCellScale = -1;
    bool m_appliedPlaced = false;

    // In the order of the shortcut table.
    QList<QPushButton *> m_shortcutButtons;
    QList<QPushButton *> m_emptyButtons;
};

// Stores the shortcut of `keys` in the selected key of `data`; logs and does
// nothing without a selection. Returns whether it was stored.
bool assignProcreateShortcut(KeyboardData &data, const QVector<uint8_t> &keys);
