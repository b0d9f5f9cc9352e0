#pragma once

#include "keypad/keypadfileplan.h"

#include <QDialog>
#include <QVector>

class QCheckBox;

// Shows what importing a file would change before anything does: each
// layer's changed controls (old → new) with a box to take or leave the
// layer, the lighting with a box of its own, and what this keypad cannot
// hold, which is skipped. The default button imports, so Enter accepts.
class ImportPreview : public QDialog
{
    Q_OBJECT
public:
    ImportPreview(const ImportPlan &plan, const QString &fileName, QWidget *parent);

    ImportChoice choice() const;
    // The box of planned layer `index`, and the lighting's; null when absent.
    QCheckBox *layerBox(int index) const { return m_layerBoxes.value(index); }
    QCheckBox *lightingBox() const { return m_lightingBox; }

private:
    QVector<QCheckBox *> m_layerBoxes;
    QCheckBox *m_lightingBox = nullptr;
};
