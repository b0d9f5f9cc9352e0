#pragma once

#include <QFont>
#include <QPushButton>
#include <QString>

class QPainter;
class QStyleOptionButton;

// A push button that takes the bevel its style sheet draws (background,
// border, corners) from a cache shared by every button of the same look,
// size and state, and draws only its legend itself. The on-screen keyboard
// has a hundred keys of a few sizes: after a rescale it draws a few bevels
// instead of a hundred.
//
// The bevel is drawn over the parent's flat background colour, so the copy
// is pixel for pixel what the style would have painted. The look names the
// style sheet in force; whoever changes the sheet changes the look with it.
// Without a look the button paints as any push button.
class SharedBevelButton : public QPushButton
{
    Q_OBJECT
public:
    explicit SharedBevelButton(const QString &text, QWidget *parent = nullptr);

    void setBevelLook(const QString &look);
    QString bevelLook() const { return m_look; }

    // Draws the bevel of the button's present size and state into the
    // shared cache if it is not there yet, and the legend off screen once
    // in a font the button has not painted in (rasterizing its glyphs), so
    // that the next paint finds both ready.
    void prepareBevel();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool drawsSharedBevel(const QStyleOptionButton &option) const;
    void drawLegend(QPainter &painter, const QStyleOptionButton &option);
    QPixmap bevel(const QStyleOptionButton &option, const QColor &background) const;

    QString m_look;
    QFont m_legendFont; // the font the legend was last drawn in
    mutable QString m_keyPrefix; // the look and class part of the bevel's cache key
};

// Prepares the bevels of every shown shared-bevel button under `root`: run
// between a new size or scale and its paint, it takes the drawing of a few
// dozen new bevels out of that paint.
void prepareSharedBevels(QWidget *root);
