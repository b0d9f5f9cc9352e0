#pragma once

#include "model/keyconfig.h"
#include "model/ledlayerconfig.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// A keypad's whole configuration as a file the user keeps, shares and edits
// by hand: JSON, every layer's controls by what they are on the keypad (key
// 3, knob 1 turn left) rather than by slot, so a file made on one model lands
// on another. The reader checks everything before anyone uses the result.

constexpr char kKeypadFileFormat[] = "zentrik-keypad";
constexpr int kKeypadFileMajorVersion = 1;
// 1.1 names the single-knob pad's pressed turns and marks fixed controls.
constexpr int kKeypadFileMinorVersion = 1;
// Larger files are refused unread.
constexpr qint64 kKeypadFileMaxBytes = 1024 * 1024;
// Deeper nesting of arrays and objects is refused before parsing.
constexpr int kKeypadFileMaxDepth = 16;

// What a control is on the keypad; numbers count from 1. The single-knob pad
// also turns its knob while pressed.
enum class RolePart {
    Key,
    KnobTurnLeft,
    KnobTurnRight,
    KnobPress,
    Extra,
    KnobPressTurnRight,
    KnobPressTurnLeft,
};

struct ControlRole {
    RolePart part = RolePart::Key;
    int number = 1;

    bool operator==(const ControlRole &o) const { return part == o.part && number == o.number; }
    bool operator!=(const ControlRole &o) const { return !(*this == o); }
};

// "key 3", "knob 1 turn left", "extra 2": the file's names of the controls.
QString controlRoleName(const ControlRole &role);
std::optional<ControlRole> parseControlRole(const QString &name);

struct KeypadFileControl {
    ControlRole role;
    // Empty only for a fixed control: other empty controls are left out.
    KeyConfig record;
    // The keypad it came from could not change it: an import leaves the
    // target's control as it is.
    bool fixed = false;
};

struct KeypadFileLayer {
    int index = 0; // 0-based; the file counts layers from 1
    QVector<KeypadFileControl> controls;
    std::optional<LedLayerConfig> lighting; // marks clear
};

// The keypad a file was made from, as it described itself.
struct KeypadFileSource {
    QString family;          // "current", "R20Wide" or "Old"
    QByteArray description;  // the description bytes
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    QString programVersion;
    QDateTime created;
};

struct KeypadFile {
    KeypadFileSource source;
    QVector<KeypadFileLayer> layers;
};

// Why a file was refused: an English text (a row of the translation table,
// with %1.. filled from `arguments`), the field it is about ("layers[1]
// .controls[0].steps") and, for a JSON syntax error, the byte offset.
struct KeypadFileError {
    QString text;
    QStringList arguments;
    QString field;
    int offset = -1;
};

struct KeypadFileRead {
    std::optional<KeypadFile> file;
    KeypadFileError error; // when there is no file
};

// The file's bytes, indented for reading. Each assignment carries its codes
// and, for people, its text; the reader ignores the text.
QByteArray writeKeypadFile(const KeypadFile &file);

// Checks the whole file: size, nesting, syntax, format name and version,
// types and ranges of every field, macro length. Unknown fields are ignored.
KeypadFileRead readKeypadFile(const QByteArray &bytes);
