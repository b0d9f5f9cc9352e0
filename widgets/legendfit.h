#pragma once

#include "model/keytexts.h"

#include <QFont>
#include <QSize>
#include <QStringList>

// The legend of a key or knob fitted to the room the button has for it: the
// whole text on one or two lines when it fits at some size down to the
// smallest legible one, else a cut marked with "…" that keeps what names the
// function: the final key of a combination ("… + C"), the first keys of a
// macro ("LShift -> …"), the first words of a name, and never less than the
// start of a word.
struct FittedLegend
{
    QStringList lines;
    int pixelSize = 0;
    bool cut = false;

    bool operator==(const FittedLegend &o) const
    {
        return lines == o.lines && pixelSize == o.pixelSize && cut == o.cut;
    }
};

// Smallest legend sizes in pixels: Latin text, and text with Chinese in it.
constexpr int kMinLegendPx = 8;
constexpr int kMinChineseLegendPx = 9;
// At most this many lines.
constexpr int kMaxLegendLines = 2;

const QString &legendCutMark();

// Fits `text`, the legend of a record of the given shape, starting at the
// size of `font` and shrinking a pixel at a time.
FittedLegend fitLegend(const QString &text, LegendShape shape, const QFont &font,
                       const QSize &room);
