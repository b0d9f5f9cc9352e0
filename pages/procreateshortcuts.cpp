#include "pages/procreateshortcuts.h"

#include "model/translation.h"
#include "model/labels.h"

#include <QStringList>

namespace {

constexpr uint8_t kLShift = 0xE1;
constexpr uint8_t kLAlt = 0xE2;
constexpr uint8_t kCommand = 0xE3; // left GUI: Command on the iPad, Win on the keyboard page

constexpr std::array<ProcreateShortcut, kProcreateShortcutCount> kShortcuts{{
    {"QuickMenu", "QuickMenu", {0x2C}, 1},
    {"Debug Commands", "Debug", {0x35}, 1},
    {"Activate Brush Tool", "Brush", {0x05}, 1},
    {"Open Color Panel", "Color", {0x06}, 1},
    {"Activate Eraser Tool", "Eraser", {0x08}, 1},
    {"Open Layers Panel", "Layers", {0x0F}, 1},
    {"Enter Selection Mode", "Select", {0x16}, 1},
    {"Enter Transform Mode", "Transform", {0x19}, 1},
    {"Switch Between Previous and Current Color", "Swap Color", {0x1B}, 1},
    {"Color Pick (Alt)", "Pick Alt", {kLAlt}, 1},
    {"Color Pick M (iOS 17)", "Pick M", {0x10}, 1},
    {"Clear Selected Layer", "Clear Layer", {kCommand, 0x2A}, 2},
    {"Toggle Full Screen Mode", "Fullscreen", {kCommand, 0x27}, 2},
    {"Toggle Perspective Guide", "Guide", {kCommand, 0x33}, 2},
    {"Decrease Brush Size by 1%", "Brush -1%", {kCommand, 0x2F}, 2},
    {"Increase Brush Size by 1%", "Brush +1%", {kCommand, 0x30}, 2},
    {"Decrease Brush Size by 5%", "Brush -5%", {0x2F}, 1},
    {"Increase Brush Size by 5%", "Brush +5%", {0x30}, 1},
    {"Decrease Brush Size by 10%", "Brush -10%", {kLShift, 0x2F}, 2},
    {"Increase Brush Size by 10%", "Brush +10%", {kLShift, 0x30}, 2},
    {"Copy All", "Copy All", {kCommand, 0x04}, 2},
    {"Apply Color Balance Adjustment", "Color Bal", {kCommand, 0x05}, 2},
    {"Copy", "Copy", {kCommand, 0x06}, 2},
    {"Clear Selection", "Clear Sel", {kCommand, 0x07}, 2},
    {"Duplicate Selection", "Duplicate", {kCommand, 0x0D}, 2},
    {"Open Actions Menu", "Actions", {kCommand, 0x0E}, 2},
    {"Apply HSB Adjustment", "HSB", {kCommand, 0x18}, 2},
    {"Paste", "Paste", {kCommand, 0x19}, 2},
    {"Cut", "Cut", {kCommand, 0x1B}, 2},
    {"Undo", "Undo", {kCommand, 0x1D}, 2},
    {"Redo", "Redo", {kLShift, kCommand, 0x1D}, 3},
    {"Deselect", "Deselect", {kCommand, 0x07}, 2},
}};

// Long labels whose automatic wrapping reads badly get hand-made breaks.
struct FixedBreak {
    const char *label;
    const char *text;
};

constexpr std::array<FixedBreak, 14> kFixedBreaks{{
    {"Switch Between Previous and Current Color", "Switch Between\nPrevious and\nCurrent Color"},
    {"Apply Color Balance Adjustment", "Apply Color\nBalance\nAdjustment"},
    {"Toggle Full Screen Mode", "Toggle Full\nScreen Mode"},
    {"Toggle Perspective Guide", "Toggle\nPerspective\nGuide"},
    {"Activate Brush Tool", "Activate\nBrush Tool"},
    {"Activate Eraser Tool", "Activate\nEraser Tool"},
    {"Open Color Panel", "Open Color\nPanel"},
    {"Open Layers Panel", "Open Layers\nPanel"},
    {"Enter Selection Mode", "Enter\nSelection\nMode"},
    {"Enter Transform Mode", "Enter\nTransform\nMode"},
    {"Clear Selected Layer", "Clear\nSelected\nLayer"},
    {"Open Actions Menu", "Open\nActions\nMenu"},
    {"Apply HSB Adjustment", "Apply HSB\nAdjustment"},
    {"Color Pick M (iOS 17)", "Color Pick\nM (iOS 17)"},
}};

constexpr uint16_t kFirstStepDelay = 0;
constexpr uint16_t kStepDelay = 20;
constexpr int kMinWrapWidth = 10;
constexpr int kMaxFinishedLines = 2; // so at most three lines in all

} // namespace

const std::array<ProcreateShortcut, kProcreateShortcutCount> &procreateShortcuts()
{
    return kShortcuts;
}

QVector<uint8_t> procreateKeys(const ProcreateShortcut &shortcut)
{
    QVector<uint8_t> keys;
    for (int i = 0; i < shortcut.keyCount; ++i)
        keys << shortcut.keys[size_t(i)];
    return keys;
}

KeyConfig procreateRecord(const QVector<uint8_t> &keys)
{
    KeyConfig record;
    if (keys.size() == 1) {
        record.setSingleKey(keys.first());
        return record;
    }
    QVector<MacroStep> steps;
    for (int i = 0; i < keys.size(); ++i)
        steps << MacroStep{0, keys.at(i), i == 0 ? kFirstStepDelay : kStepDelay};
    for (int i = keys.size() - 1; i >= 0; --i)
        steps << MacroStep{1, keys.at(i), kStepDelay};
    record.setMacro(steps);
    return record;
}

std::optional<ProcreateShortcut> recognizeProcreate(const KeyConfig &key)
{
    for (const ProcreateShortcut &shortcut : kShortcuts) {
        if (shortcut.keyCount == 1) {
            if (key.type == KeyTypeSingle && key.keycode == shortcut.keys[0])
                return shortcut;
        } else if (key.type == KeyTypeMacro
                   && key.macroSteps == procreateRecord(procreateKeys(shortcut)).macroSteps) {
            return shortcut;
        }
    }
    return std::nullopt;
}

QString procreateWrappedText(const QString &label)
{
    for (const FixedBreak &entry : kFixedBreaks)
        if (label == QLatin1String(entry.label))
            return QString::fromUtf8(entry.text);

    const QStringList words = label.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return label;

    const int width = qMax(int(label.size()) / 3, kMinWrapWidth);
    QStringList finished;
    QString line;
    for (const QString &word : words) {
        const int joinedLength = line.size() + 1 + word.size();
        if (!line.isEmpty() && joinedLength > width && finished.size() < kMaxFinishedLines) {
            finished << line;
            line = word;
        } else {
            line = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        }
    }
    finished << line;
    return finished.join(QLatin1Char('\n'));
}

QString procreateButtonText(const QString &englishLabel)
{
    return procreateWrappedText(translateText(englishLabel));
}
