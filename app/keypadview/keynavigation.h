#pragma once

#include <QRect>
#include <QVector>

enum class NavDirection { Left, Right, Up, Down };

// Where an arrow key moves the selection on the keypad picture. `controls`
// holds each control's place (a null rectangle for a control that cannot be
// selected now). From `from`, the nearest control in `direction`, those in
// the same row (or column) first; -1 when there is none. With no control
// selected (`from` -1) the first in reading order.
int neighbourInDirection(const QVector<QRect> &controls, int from, NavDirection direction);
