#pragma once

// What Qt 5 and Qt 6 spell differently and no API of both can say. Code is
// written to the API the two share; only these names differ.

#include <QPoint>
#include <QTextStream>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
class QEnterEvent;
// The event QWidget::enterEvent takes.
using WidgetEnterEvent = QEnterEvent;

// Where on the screen a mouse event happened, in whole pixels.
template <typename MouseEvent>
QPoint globalPointOf(const MouseEvent *event)
{
    return event->globalPosition().toPoint();
}

// The part of a window an expose event shows; empty when the window left
// the screen. Qt 6 keeps the region only as a deprecated call, and no other
// call tells which part was shown.
template <typename ExposeEvent>
auto exposedRegionOf(const ExposeEvent *event)
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    return event->region();
    QT_WARNING_POP
}

// Reads and writes the stream as UTF-8, whatever the locale says.
inline void useUtf8(QTextStream &stream)
{
    stream.setEncoding(QStringConverter::Utf8);
}
#else
class QEvent;
using WidgetEnterEvent = QEvent;

template <typename MouseEvent>
QPoint globalPointOf(const MouseEvent *event)
{
    return event->globalPos();
}

template <typename ExposeEvent>
auto exposedRegionOf(const ExposeEvent *event)
{
    return event->region();
}

inline void useUtf8(QTextStream &stream)
{
    stream.setCodec("UTF-8");
}
#endif
