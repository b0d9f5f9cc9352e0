#include "model/keypadfile.h"

#include "model/jsonstructure.h"
#include "model/keytexts.h"
#include "model/labels.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <cstdint>

namespace {

// The file's names of the assignment types.
struct TypeName {
    uint8_t type;
    const char *name;
};
constexpr TypeName kTypeNames[] = {
    {KeyTypeSingle, "single"}, {KeyTypeCombination, "combination"}, {KeyTypeMacro, "macro"},
    {KeyTypeMedia, "media"},   {KeyTypeMouse, "mouse"},
};

struct PartName {
    RolePart part;
    const char *suffix; // after "knob N" for the knob parts
};
constexpr PartName kKnobParts[] = {
    {RolePart::KnobTurnLeft, "turn left"},
    {RolePart::KnobTurnRight, "turn right"},
    {RolePart::KnobPress, "press"},
    {RolePart::KnobPressTurnRight, "press and turn right"},
    {RolePart::KnobPressTurnLeft, "press and turn left"},
};

constexpr int kMaxRoleNumber = 25;
constexpr int kMaxMouseAction = 15;

QString typeName(uint8_t type)
{
    for (const TypeName &entry : kTypeNames)
        if (entry.type == type)
            return QLatin1String(entry.name);
    return QString();
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QString hexId(uint16_t id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

QJsonObject controlObject(const KeypadFileControl &control)
{
    const KeyConfig &record = control.record;
    QJsonObject object{{QStringLiteral("control"), controlRoleName(control.role)},
                       {QStringLiteral("type"), typeName(record.type)}};
    switch (record.type) {
    case KeyTypeSingle:
        object.insert(QStringLiteral("key"), record.keycode);
        break;
    case KeyTypeCombination: {
        QJsonArray keys;
        for (char usage : record.keycodes)
            keys.append(uint8_t(usage));
        object.insert(QStringLiteral("modifiers"), record.modifiers);
        object.insert(QStringLiteral("keys"), keys);
        break;
    }
    case KeyTypeMacro: {
        QJsonArray steps;
        for (const MacroStep &step : record.macroSteps)
            steps.append(QJsonObject{
                {QStringLiteral("action"),
                 step.action == 0 ? QStringLiteral("press") : QStringLiteral("release")},
                {QStringLiteral("key"), step.keycode},
                {QStringLiteral("delay"), step.delay}});
        object.insert(QStringLiteral("steps"), steps);
        break;
    }
    case KeyTypeMedia:
        object.insert(QStringLiteral("media"), record.mediaCode);
        break;
    case KeyTypeMouse:
        object.insert(QStringLiteral("mouse"), record.mouseAction);
        break;
    default:
        object.insert(QStringLiteral("type"), QStringLiteral("empty"));
        break;
    }
    if (control.fixed)
        object.insert(QStringLiteral("fixed"), true);
    if (!record.isEmpty())
        object.insert(QStringLiteral("text"), fileTextOf(record));
    return object;
}

QJsonObject lightingObject(const LedLayerConfig &lighting)
{
    QJsonArray colors;
    for (const RgbColor &color : lighting.colors)
        colors.append(QStringLiteral("#%1%2%3")
                          .arg(color.r, 2, 16, QLatin1Char('0'))
                          .arg(color.g, 2, 16, QLatin1Char('0'))
                          .arg(color.b, 2, 16, QLatin1Char('0')));
    return QJsonObject{{QStringLiteral("effect"), lighting.effect},
                       {QStringLiteral("colors"), colors}};
}

// Reads and checks the parsed document; the first problem found stops it.
class FileChecker
{
public:
    std::optional<KeypadFile> check(const QJsonObject &root);
    KeypadFileError error;

private:
    bool fail(const QString &field, const char *text, const QStringList &arguments = {})
    {
        error.field = field;
        error.text = QString::fromUtf8(text);
        error.arguments = arguments;
        return false;
    }
    bool number(const QJsonObject &object, const QString &key, const QString &path, int low,
                int high, int &out);
    bool objectAt(const QJsonValue &value, const QString &path, QJsonObject &out)
    {
        if (!value.isObject())
            return fail(path, "%1 must be an object", {path});
        out = value.toObject();
        return true;
    }
    bool checkVersion(const QJsonObject &root);
    bool checkSource(const QJsonObject &root, KeypadFileSource &source);
    bool checkLayer(const QJsonValue &value, const QString &path, KeypadFileLayer &layer);
    bool checkControl(const QJsonValue &value, const QString &path, KeypadFileControl &control);
    bool checkCombination(const QJsonObject &object, const QString &path, KeyConfig &record);
    bool checkMacro(const QJsonObject &object, const QString &path, KeyConfig &record);
    bool checkLighting(const QJsonValue &value, const QString &path, LedLayerConfig &lighting);
};

bool FileChecker::number(const QJsonObject &object, const QString &key, const QString &path,
                         int low, int high, int &out)
{
    const QString field = path.isEmpty() ? key : path + QLatin1Char('.') + key;
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fail(field, "%1 is missing", {field});
    const double d = value.toDouble();
    if (!value.isDouble() || std::floor(d) != d)
        return fail(field, "%1 must be a whole number", {field});
    if (d < low || d > high)
        return fail(field, "%1 must be between %2 and %3",
                    {field, QString::number(low), QString::number(high)});
    out = int(d);
    return true;
}

bool FileChecker::checkVersion(const QJsonObject &root)
{
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kKeypadFileFormat))
        return fail(QStringLiteral("format"), "This is not a Zentrik keypad file");
    const QString version = root.value(QStringLiteral("version")).toString();
    static const QRegularExpression versionPattern(QStringLiteral("^(\\d{1,4})\\.(\\d{1,4})$"));
    const QRegularExpressionMatch match = versionPattern.match(version);
    if (!match.hasMatch())
        return fail(QStringLiteral("version"), "%1 must be a version such as \"1.0\"",
                    {QStringLiteral("version")});
    if (match.captured(1).toInt() > kKeypadFileMajorVersion)
        return fail(QStringLiteral("version"),
                    "This file has format version %1, made by a newer Zentrik; this Zentrik "
                    "reads version %2",
                    {version, QStringLiteral("%1.%2").arg(kKeypadFileMajorVersion)
                                  .arg(kKeypadFileMinorVersion)});
    return true;
}

bool FileChecker::checkSource(const QJsonObject &root, KeypadFileSource &source)
{
    // What the file says of its keypad is shown, never relied on; only its
    // types are checked.
    const QJsonValue keypad = root.value(QStringLiteral("keypad"));
    if (!keypad.isUndefined() && !keypad.isObject())
        return fail(QStringLiteral("keypad"), "%1 must be an object", {QStringLiteral("keypad")});
    const QJsonObject object = keypad.toObject();
    source.family = object.value(QStringLiteral("family")).toString();
    source.description = QByteArray::fromHex(
        object.value(QStringLiteral("description")).toString().toLatin1());
    source.vendorId = uint16_t(object.value(QStringLiteral("vendorId")).toString().toUInt(nullptr, 16));
    source.productId = uint16_t(object.value(QStringLiteral("productId")).toString().toUInt(nullptr, 16));
    source.programVersion =
        root.value(QStringLiteral("program")).toObject().value(QStringLiteral("version")).toString();
    source.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(),
                                           Qt::ISODate);
    return true;
}

std::optional<KeypadFile> FileChecker::check(const QJsonObject &root)
{
    KeypadFile file;
    if (!checkVersion(root) || !checkSource(root, file.source))
        return std::nullopt;
    const QJsonValue layers = root.value(QStringLiteral("layers"));
    if (!layers.isArray()) {
        fail(QStringLiteral("layers"), "%1 must be a list", {QStringLiteral("layers")});
        return std::nullopt;
    }
    QSet<int> seen;
    const QJsonArray list = layers.toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = QStringLiteral("layers[%1]").arg(i);
        KeypadFileLayer layer;
        if (!checkLayer(list.at(i), path, layer))
            return std::nullopt;
        if (seen.contains(layer.index)) {
            fail(path + QStringLiteral(".layer"), "Layer %1 is in the file twice",
                 {QString::number(layer.index + 1)});
            return std::nullopt;
        }
        seen.insert(layer.index);
        file.layers.append(layer);
    }
    return file;
}

bool FileChecker::checkLayer(const QJsonValue &value, const QString &path, KeypadFileLayer &layer)
{
    QJsonObject object;
    if (!objectAt(value, path, object))
        return false;
    int layerNumber = 0;
    if (!number(object, QStringLiteral("layer"), path, 1, 4, layerNumber))
        return false;
    layer.index = layerNumber - 1;
    // A layer without its list would empty every control on import: a
    // misspelt member must not pass for an empty layer.
    const QJsonValue controls = object.value(QStringLiteral("controls"));
    const QString controlsPath = path + QStringLiteral(".controls");
    if (controls.isUndefined())
        return fail(controlsPath, "%1 is missing", {controlsPath});
    if (!controls.isArray())
        return fail(controlsPath, "%1 must be a list", {controlsPath});
    const QJsonArray list = controls.toArray();
    QVector<ControlRole> seen;
    for (int i = 0; i < list.size(); ++i) {
        const QString controlPath = QStringLiteral("%1[%2]").arg(controlsPath).arg(i);
        KeypadFileControl control;
        if (!checkControl(list.at(i), controlPath, control))
            return false;
        // Twice is refused whatever either entry says, "empty" included.
        if (seen.contains(control.role))
            return fail(controlPath, "%1 is in layer %2 twice",
                        {controlRoleName(control.role), QString::number(layerNumber)});
        seen.append(control.role);
        if (!control.record.isEmpty() || control.fixed)
            layer.controls.append(control);
    }
    const QJsonValue lighting = object.value(QStringLiteral("lighting"));
    if (!lighting.isUndefined()) {
        LedLayerConfig record;
        if (!checkLighting(lighting, path + QStringLiteral(".lighting"), record))
            return false;
        layer.lighting = record;
    }
    return true;
}

bool FileChecker::checkControl(const QJsonValue &value, const QString &path,
                               KeypadFileControl &control)
{
    QJsonObject object;
    if (!objectAt(value, path, object))
        return false;
    const QString roleField = path + QStringLiteral(".control");
    const std::optional<ControlRole> role =
        parseControlRole(object.value(QStringLiteral("control")).toString());
    if (!role)
        return fail(roleField, "%1 must name a control such as \"key 1\" or \"knob 1 turn left\"",
                    {roleField});
    control.role = *role;
    const QJsonValue fixed = object.value(QStringLiteral("fixed"));
    if (!fixed.isUndefined() && !fixed.isBool()) {
        const QString fixedField = path + QStringLiteral(".fixed");
        return fail(fixedField, "%1 must be true or false", {fixedField});
    }
    control.fixed = fixed.toBool();
    const QString type = object.value(QStringLiteral("type")).toString();
    KeyConfig &record = control.record;
    int code = 0;
    if (type == QLatin1String("empty"))
        return true;
    if (type == QLatin1String("single")) {
        if (!number(object, QStringLiteral("key"), path, 1, 255, code))
            return false;
        record.setSingleKey(uint8_t(code));
    } else if (type == QLatin1String("combination")) {
        if (!checkCombination(object, path, record))
            return false;
    } else if (type == QLatin1String("macro")) {
        if (!checkMacro(object, path, record))
            return false;
    } else if (type == QLatin1String("media")) {
        if (!number(object, QStringLiteral("media"), path, 1, 0xFFFF, code))
            return false;
        record.setMedia(uint16_t(code));
    } else if (type == QLatin1String("mouse")) {
        if (!number(object, QStringLiteral("mouse"), path, 0, kMaxMouseAction, code))
            return false;
        record.setMouseAction(uint8_t(code));
    } else {
        const QString field = path + QStringLiteral(".type");
        return fail(field, "%1 must be one of: %2",
                    {field, QStringLiteral("empty, single, combination, macro, media, mouse")});
    }
    record.dirty = 0;
    return true;
}

bool FileChecker::checkCombination(const QJsonObject &object, const QString &path,
                                   KeyConfig &record)
{
    int modifiers = 0;
    if (!number(object, QStringLiteral("modifiers"), path, 0, 255, modifiers))
        return false;
    const QString field = path + QStringLiteral(".keys");
    const QJsonValue keys = object.value(QStringLiteral("keys"));
    if (!keys.isArray())
        return fail(field, "%1 must be a list", {field});
    const QJsonArray list = keys.toArray();
    if (list.size() > kMaxCombinationKeys)
        return fail(field, "%1 holds more than %2 keys",
                    {field, QString::number(kMaxCombinationKeys)});
    QByteArray usages;
    for (int i = 0; i < list.size(); ++i) {
        const QString keyField = QStringLiteral("%1[%2]").arg(field).arg(i);
        const double d = list.at(i).toDouble(-1);
        if (!list.at(i).isDouble() || d < 1 || d > 255 || std::floor(d) != d
            || isModifierUsage(uint8_t(d)) || usages.contains(char(int(d))))
            return fail(keyField, "%1 must be a key code from 1 to 255, not a modifier and not "
                                  "repeated",
                        {keyField});
        usages.append(char(int(d)));
    }
    if (modifiers == 0 && usages.isEmpty())
        return fail(field, "%1 holds no key", {path});
    record.setCombination(uint8_t(modifiers), usages);
    return true;
}

bool FileChecker::checkMacro(const QJsonObject &object, const QString &path, KeyConfig &record)
{
    const QString field = path + QStringLiteral(".steps");
    const QJsonValue steps = object.value(QStringLiteral("steps"));
    if (!steps.isArray())
        return fail(field, "%1 must be a list", {field});
    const QJsonArray list = steps.toArray();
    if (list.isEmpty())
        return fail(field, "%1 holds no key", {path});
    if (list.size() > kMaxMacroSteps)
        return fail(field, "%1 holds %2 steps; a macro holds at most %3",
                    {field, QString::number(list.size()), QString::number(kMaxMacroSteps)});
    QVector<MacroStep> macro;
    for (int i = 0; i < list.size(); ++i) {
        const QString stepPath = QStringLiteral("%1[%2]").arg(field).arg(i);
        QJsonObject step;
        if (!objectAt(list.at(i), stepPath, step))
            return false;
        const QString action = step.value(QStringLiteral("action")).toString();
        if (action != QLatin1String("press") && action != QLatin1String("release")) {
            const QString actionField = stepPath + QStringLiteral(".action");
            return fail(actionField, "%1 must be one of: %2",
                        {actionField, QStringLiteral("press, release")});
        }
        int key = 0;
        int delay = 0;
        if (!number(step, QStringLiteral("key"), stepPath, 1, 255, key)
            || !number(step, QStringLiteral("delay"), stepPath, 0, 0xFFFF, delay))
            return false;
        macro.append(MacroStep{uint8_t(action == QLatin1String("press") ? 0 : 1), uint8_t(key),
                               uint16_t(delay)});
    }
    record.setMacro(macro);
    return true;
}

bool FileChecker::checkLighting(const QJsonValue &value, const QString &path,
                                LedLayerConfig &lighting)
{
    QJsonObject object;
    if (!objectAt(value, path, object))
        return false;
    int effect = 0;
    if (!number(object, QStringLiteral("effect"), path, 0, 255, effect))
        return false;
    lighting.effect = uint8_t(effect);
    const QString field = path + QStringLiteral(".colors");
    const QJsonArray colors = object.value(QStringLiteral("colors")).toArray();
    if (!object.value(QStringLiteral("colors")).isArray() || colors.size() != kLedCount)
        return fail(field, "%1 must list %2 colours", {field, QString::number(kLedCount)});
    static const QRegularExpression hex(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    for (int i = 0; i < kLedCount; ++i) {
        const QString text = colors.at(i).toString();
        if (!hex.match(text).hasMatch()) {
            const QString colorField = QStringLiteral("%1[%2]").arg(field).arg(i);
            return fail(colorField, "%1 must be a colour such as \"#ff8000\"", {colorField});
        }
        const uint rgb = text.mid(1).toUInt(nullptr, 16);
        lighting.colors[size_t(i)] = RgbColor{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
    }
    return true;
}

} // namespace

QString controlRoleName(const ControlRole &role)
{
    switch (role.part) {
    case RolePart::Key: return QStringLiteral("key %1").arg(role.number);
    case RolePart::Extra: return QStringLiteral("extra %1").arg(role.number);
    default: break;
    }
    for (const PartName &entry : kKnobParts)
        if (entry.part == role.part)
            return QStringLiteral("knob %1 %2").arg(role.number).arg(QLatin1String(entry.suffix));
    return QString();
}

std::optional<ControlRole> parseControlRole(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(key|extra|knob) ([1-9][0-9]?)"
                       "(?: (turn left|turn right|press|press and turn right|press and turn left))?$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    ControlRole role;
    role.number = match.captured(2).toInt();
    if (role.number > kMaxRoleNumber)
        return std::nullopt;
    const QString kind = match.captured(1);
    const QString part = match.captured(3);
    if (kind != QLatin1String("knob")) {
        if (!part.isEmpty())
            return std::nullopt;
        role.part = kind == QLatin1String("key") ? RolePart::Key : RolePart::Extra;
        return role;
    }
    for (const PartName &entry : kKnobParts)
        if (part == QLatin1String(entry.suffix)) {
            role.part = entry.part;
            return role;
        }
    return std::nullopt;
}

QByteArray writeKeypadFile(const KeypadFile &file)
{
    const KeypadFileSource &source = file.source;
    QJsonArray layers;
    for (const KeypadFileLayer &layer : file.layers) {
        QJsonArray controls;
        for (const KeypadFileControl &control : layer.controls)
            controls.append(controlObject(control));
        QJsonObject object{{QStringLiteral("layer"), layer.index + 1},
                           {QStringLiteral("controls"), controls}};
        if (layer.lighting)
            object.insert(QStringLiteral("lighting"), lightingObject(*layer.lighting));
        layers.append(object);
    }
    const QJsonObject root{
        {QStringLiteral("format"), QLatin1String(kKeypadFileFormat)},
        {QStringLiteral("version"),
         QStringLiteral("%1.%2").arg(kKeypadFileMajorVersion).arg(kKeypadFileMinorVersion)},
        {QStringLiteral("keypad"),
         QJsonObject{{QStringLiteral("family"), source.family},
                     {QStringLiteral("description"), hexBytes(source.description)},
                     {QStringLiteral("vendorId"), hexId(source.vendorId)},
                     {QStringLiteral("productId"), hexId(source.productId)}}},
        {QStringLiteral("program"),
         QJsonObject{{QStringLiteral("name"), QStringLiteral("Zentrik")},
                     {QStringLiteral("version"), source.programVersion}}},
        {QStringLiteral("created"), source.created.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("layers"), layers},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

KeypadFileRead readKeypadFile(const QByteArray &bytes)
{
    KeypadFileRead read;
    const auto refuse = [&read](const char *text, const QStringList &arguments, int offset = -1) {
        read.error = KeypadFileError{QString::fromUtf8(text), arguments, QString(), offset};
        return read;
    };
    if (bytes.size() > kKeypadFileMaxBytes)
        return refuse("The file is larger than %1 KiB",
                      QStringList{QString::number(kKeypadFileMaxBytes / 1024)});
    if (jsonNestingDepth(bytes, kKeypadFileMaxDepth) > kKeypadFileMaxDepth)
        return refuse("The file nests lists and objects deeper than %1 levels",
                      QStringList{QString::number(kKeypadFileMaxDepth)});
    // JSON leaves open which of two members of one name counts, and the
    // parser keeps one without a word; such a file is refused, before the
    // parser sees it, whatever else it holds.
    if (const std::optional<QString> name = repeatedMemberName(bytes))
        return refuse("An object in the file names \"%1\" twice", QStringList{*name});
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refuse("The file is not valid JSON (%1) at byte %2",
                      QStringList{parseError.errorString(), QString::number(parseError.offset)},
                      parseError.offset);
    if (!document.isObject())
        return refuse("This is not a Zentrik keypad file", QStringList());
    FileChecker checker;
    read.file = checker.check(document.object());
    if (!read.file)
        read.error = checker.error;
    return read;
}
