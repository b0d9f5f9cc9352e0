#pragma once

#include "widgets/legendfit.h"

#include <QColor>
#include <QPushButton>
#include <QRect>
#include <QSizeF>
#include <QString>

// A control of the panel picture: a key, or one part of a knob. Each shows
// its legend fitted to its size, its whole function text as tooltip while
// the legend cuts it, whether it holds a function and whether that waits for
// a save.
class ControlButton : public QPushButton
{
    Q_OBJECT
    // What the legend shows, its lines joined by "\n".
    Q_PROPERTY(QString legend READ legend)
public:
    explicit ControlButton(QWidget *parent = nullptr);

    // The place of the keypad picture this button shows; also its
    // "buttonIndex" property, by which scripts and tests find it.
    void setPlace(int place);
    int place() const { return m_place; }

    // Side at the current scale (a key's without its hover growth).
    int buttonSize() const { return m_size; }
    int fontPointSize() const { return m_fontPointSize; }
    bool isHovered() const { return m_hovered; }

    void setAssigned(bool assigned);
    bool isAssigned() const { return m_assigned; }
    // Changed but not yet saved to the keypad: drawn with a mark of its own.
    void setUnsaved(bool unsaved);
    bool isUnsaved() const { return m_unsaved; }

    // How the record behind the legend is made up: where its legend may be
    // broken and what a cut keeps.
    void setLegendShape(LegendShape shape);
    LegendShape legendShape() const { return m_legendShape; }

    // The control's whole function text; shown as its tooltip while the
    // legend shows less than all of it (see legendToolTip).
    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    // The text the legend is fitted from: the button text, or the whole
    // function when the button text is a shortened one ("LCtrl + LS...").
    QString legendText() const;
    // The fitted legend with the font it is painted in and the size of its
    // lines.
    struct PaintedLegend
    {
        FittedLegend fit;
        QFont font;
        QSizeF block;
    };
    const PaintedLegend &paintedLegend() const;
    const FittedLegend &fittedLegend() const { return paintedLegend().fit; }
    QString legend() const { return fittedLegend().lines.join(QLatin1Char('\n')); }
    QFont paintedLegendFont() const { return paintedLegend().font; }
    // The font the legend starts from before it shrinks to fit.
    virtual QFont legendBaseFont() const = 0;

signals:
    // Clicked by mouse, keyboard or click(), with the place it shows.
    void placeClicked(int place);

protected:
    bool event(QEvent *event) override;
    void updateLegendToolTip();
    // False while the control stands for something else than its function
    // (a key showing its LED colour).
    virtual bool legendShowsFunction() const { return true; }
    // Where the legend may go, at the button's side without hover growth.
    virtual QRect legendRoom() const = 0;
    // Checked, assigned or empty.
    QColor legendColor() const;
    // The button's square without hover growth, `inset` pixels in from each side.
    QRect insetSquare(int inset) const
    {
        return QRect(inset, inset, m_size - 2 * inset, m_size - 2 * inset);
    }

    int m_size = 80;
    int m_fontPointSize = 10;
    bool m_hovered = false;

private:
    int m_place = -1;
    bool m_assigned = false;
    bool m_unsaved = false;
    QString m_fullText;
    LegendShape m_legendShape = LegendShape::Words;

    // The last fit, kept while text, font and room stay the same: painting
    // asks for it at every repaint.
    struct LegendCache
    {
        QString text;
        LegendShape shape = LegendShape::Words;
        QFont font;
        QSize room;
        PaintedLegend painted;
        bool valid = false;
    };
    mutable LegendCache m_legendCache;
};
