#pragma once

#include "model/keyconfig.h"

#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <optional>

// One ready-made shortcut of the Procreate drawing app: its full label, the
// short label shown on a key button, and the key usages pressed in order.
struct ProcreateShortcut {
    const char *label;
    const char *shortLabel;
    std::array<uint8_t, 3> keys;
    int keyCount;
};

constexpr int kProcreateShortcutCount = 32;

// The shortcuts in page order. Clear Selection and Deselect share Cmd + D;
// recognition takes the first, so such a key always reads "Clear Sel".
const std::array<ProcreateShortcut, kProcreateShortcutCount> &procreateShortcuts();

// The key usages of a shortcut, in pressing order.
QVector<uint8_t> procreateKeys(const ProcreateShortcut &shortcut);

// The record a shortcut gives a key: one usage is a single key, more are a
// macro pressing them in order and releasing them in reverse. Marked dirty.
KeyConfig procreateRecord(const QVector<uint8_t> &keys);

// The first shortcut whose record the key holds (same single key, or the
// same macro step by step, delays included), or nothing.
std::optional<ProcreateShortcut> recognizeProcreate(const KeyConfig &key);

// The label with its line breaks: a fixed text for the long labels, else the
// words wrapped onto at most three lines.
QString procreateWrappedText(const QString &label);

// What a shortcut button shows: the label in the interface's language, then
// broken into lines.
QString procreateButtonText(const QString &englishLabel);
