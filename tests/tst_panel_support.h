#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

// Where the keypad picture's frame, as drawn, differs from a rounded outline
// with a border of `border` pixels and corners of `radius` pixels in the
// frame's colours; empty when it does not. Compared are the top-left corner
// and a strip down the left edge, where no key or knob lies.
inline QString panelOutlineMismatch(QWidget &frame, int border, int radius)
{
    // Drawn inside a transparent holder, as the frame holds its face: a
    // widget grabbed on its own has its corners filled.
    QWidget holder;
    holder.setStyleSheet(QStringLiteral("background: transparent;"));
    holder.resize(frame.size());
    auto *outline = new QWidget(&holder);
    outline->setAttribute(Qt::WA_StyledBackground);
    outline->setStyleSheet(QStringLiteral("background-color: #3f3f3f; border: %1px solid #9a9a9a;"
                                          " border-radius: %2px;")
                               .arg(border)
                               .arg(radius));
    outline->resize(frame.size());
    const QImage expected = holder.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = frame.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (drawn.size() != expected.size())
        return QStringLiteral("size");
    const QRect corner(0, 0, radius, radius);
    const QRect edge(0, radius, border + 2, frame.height() - 2 * radius);
    for (const QRect &area : {corner, edge})
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (drawn.pixel(x, y) != expected.pixel(x, y))
                    return QStringLiteral("pixel %1,%2").arg(x).arg(y);
    return QString();
}
