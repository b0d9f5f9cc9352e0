// The sizes of the keypad picture for a layout and a scale.

#include "app/keypadview/panelmetrics.h"

namespace {

// Panel frame numbers at the design size.
constexpr int kFrameMarginX = 26;
constexpr int kFrameMarginY = 18;
constexpr int kFrameSpacing = 28;
constexpr int kFrameBorder = 5;

QSize knobAreaSize(const LayoutSpec &layoutSpec, const PanelMetrics &m)
{
    if (layoutSpec.isSingleKnob())
        return QSize(3 * m.part + 2 * m.partGap, 2 * m.part + m.partGap);
    if (layoutSpec.extraTurnKnobs > 0) {
        const int knobs = layoutSpec.extraTurnKnobs;
        return QSize(2 * m.part + m.partGap, knobs * m.part + (knobs - 1) * m.groupGap);
    }
    const int count = qMin(int(layoutSpec.knobs.size()), kKnobCount);
    if (count == 0)
        return QSize();
    const int perRow = qMax(1, layoutSpec.knobsPerRow);
    int width = 0;
    int rows = 0;
    for (int row = 0; row * perRow < count; ++row, ++rows) {
        int rowWidth = 0;
        for (int i = row * perRow; i < qMin(count, (row + 1) * perRow); ++i)
            rowWidth += knobGroupSize(m, layoutSpec.knobs[i].shownParts()).width()
                + (i > row * perRow ? m.groupGap : 0);
        width = qMax(width, rowWidth);
    }
    return QSize(width, rows * m.part + (rows - 1) * m.groupGap);
}

} // namespace

QSize knobGroupSize(const PanelMetrics &m, int parts)
{
    return QSize(parts * m.part + (parts - 1) * m.partGap, m.part);
}

PanelMetrics panelMetrics(const LayoutSpec &layoutSpec, double ratio)
{
    PanelMetrics m;
    m.keySide = scaledPx(layoutSpec.keySize, controlScale(layoutSpec.keySize, ratio));
    m.cell = m.keySide + kKeyHoverRoom;
    m.keyGap = scaledPx(layoutSpec.keySpacing, ratio);
    m.part = qMax(1, scaledPx(layoutSpec.knobPartSize,
                              controlScale(layoutSpec.knobPartSize, ratio)));
    m.partGap = scaledPx(layoutSpec.knobPartGap, ratio);
    m.groupGap = scaledPx(layoutSpec.knobGroupGap, ratio);
    m.border = qMax(1, scaledPx(kFrameBorder, ratio));
    m.marginX = scaledPx(kFrameMarginX, ratio);
    m.marginY = scaledPx(kFrameMarginY, ratio);
    m.spacing = scaledPx(kFrameSpacing, ratio);

    const int keys = qMin(layoutSpec.keyCount, kGridKeyCount);
    const int columns = qMin(qMax(1, layoutSpec.columns), qMax(1, keys));
    const int rows = layoutSpec.usedRows();
    m.matrixShown = keys > 0;
    m.matrix = m.matrixShown ? QSize(columns * m.cell + (columns - 1) * m.keyGap,
                                     rows * m.cell + (rows - 1) * m.keyGap)
                             : QSize(1, 1);
    m.knobs = knobAreaSize(layoutSpec, m);
    m.knobsShown = !m.knobs.isEmpty();

    QSize content;
    if (m.matrixShown && m.knobsShown) {
        content = layoutSpec.topToBottom
            ? QSize(qMax(m.matrix.width(), m.knobs.width()),
                    m.matrix.height() + m.spacing + m.knobs.height())
            : QSize(m.matrix.width() + m.spacing + m.knobs.width(),
                    qMax(m.matrix.height(), m.knobs.height()));
    } else {
        content = m.knobsShown ? m.knobs : m.matrix;
    }
    m.frame = content + QSize(2 * (m.marginX + m.border), 2 * (m.marginY + m.border));
    return m;
}
