#pragma once

#include "model/keyconfig.h"
#include "pages/typinglayout.h"

#include <QString>
#include <QVector>

// A written text turned into macro steps on one layout, and a macro's steps
// read back as the text they type.

struct TypedText {
    QVector<MacroStep> steps;
    // Characters the layout has no key for, each once, in the text's order;
    // they are left out of the steps.
    QString untypable;
};

// Every character becomes its key's press and release, with Shift and AltGr
// pressed before and released after it when it needs them; each step comes
// `delay` ms after the one before.
TypedText typeText(const QString &text, const TypingLayout &layout, uint16_t delay);

// The text `steps` type on `layout`. Keys that type no character show as
// their name in angle brackets ("‹F5›").
QString typedPreview(const QVector<MacroStep> &steps, const TypingLayout &layout);
