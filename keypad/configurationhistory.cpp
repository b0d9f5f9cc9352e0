#include "keypad/configurationhistory.h"

#include "model/keylayers.h"
#include "model/logging.h"
#include "model/translation.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <map>

namespace {

constexpr char kSuffix[] = ".zentrik.json";
// Sorts as it reads: the file names order the entries by date.
constexpr char kDateFormat[] = "yyyyMMdd'T'HHmmsszzz'Z'";
constexpr int kDateLength = 19;

struct WriterTag {
    HistoryWriter writer;
    const char *tag;
};
constexpr WriterTag kWriterTags[] = {
    {HistoryWriter::Save, "save"},
    {HistoryWriter::MacroSave, "macro"},
    {HistoryWriter::Apply, "apply"},
    {HistoryWriter::Restore, "restore"},
};

QString tagOf(HistoryWriter writer)
{
    for (const WriterTag &item : kWriterTags)
        if (item.writer == writer)
            return QString::fromLatin1(item.tag);
    return QString();
}

// "20261210T163012345Z-save.zentrik.json"; nothing for any other name.
std::optional<HistoryEntry> entryOf(const QDir &folder, const QString &name)
{
    if (!name.endsWith(QLatin1String(kSuffix)) || name.size() <= kDateLength + 1
        || name.at(kDateLength) != QLatin1Char('-'))
        return std::nullopt;
    HistoryEntry entry;
    entry.kept = QDateTime::fromString(name.left(kDateLength), QLatin1String(kDateFormat));
    entry.kept.setTimeSpec(Qt::UTC);
    const QString tag = name.mid(kDateLength + 1).section(QLatin1Char('.'), 0, 0);
    bool known = false;
    for (const WriterTag &item : kWriterTags) {
        if (tag == QLatin1String(item.tag)) {
            entry.writer = item.writer;
            known = true;
        }
    }
    if (!entry.kept.isValid() || !known)
        return std::nullopt;
    entry.path = folder.filePath(name);
    return entry;
}

using RoleRecords = std::map<std::pair<int, int>, const KeyConfig *>;

RoleRecords recordsOf(const KeypadFileLayer &layer)
{
    RoleRecords records;
    for (const KeypadFileControl &control : layer.controls)
        records[{int(control.role.part), control.role.number}] = &control.record;
    return records;
}

const KeypadFileLayer *layerOf(const KeypadFile &file, int index)
{
    for (const KeypadFileLayer &layer : file.layers)
        if (layer.index == index)
            return &layer;
    return nullptr;
}

int layerDifferences(const KeypadFileLayer *older, const KeypadFileLayer *newer)
{
    static const KeypadFileLayer none;
    const RoleRecords before = recordsOf(older ? *older : none);
    const RoleRecords after = recordsOf(newer ? *newer : none);
    const KeyConfig empty;
    int count = 0;
    // A control a file leaves out is empty.
    for (const auto &[role, record] : before) {
        const auto other = after.find(role);
        count += !record->sameAssignment(other == after.end() ? empty : *other->second);
    }
    for (const auto &[role, record] : after)
        count += before.count(role) == 0 && !record->isEmpty();
    const auto &lightBefore = older ? older->lighting : std::nullopt;
    const auto &lightAfter = newer ? newer->lighting : std::nullopt;
    if (lightBefore && lightAfter)
        count += !lightBefore->sameLighting(*lightAfter);
    return count;
}

} // namespace

ConfigurationHistory::ConfigurationHistory(const QString &root) : m_root(root) {}

QString ConfigurationHistory::defaultRoot()
{
    // zentrikctl keeps its entries where the window does.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/zentrik/history");
}

QString ConfigurationHistory::keypadFolderName(const KeypadFileSource &source)
{
    const QByteArray hash =
        QCryptographicHash::hash(source.family.toUtf8() + '\0' + source.description,
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(8);
    QString family = source.family.toLower();
    family.remove(QRegularExpression(QStringLiteral("[^a-z0-9]")));
    return QStringLiteral("%1-%2-%3-%4")
        .arg(family.isEmpty() ? QStringLiteral("keypad") : family)
        .arg(source.vendorId, 4, 16, QLatin1Char('0'))
        .arg(source.productId, 4, 16, QLatin1Char('0'))
        .arg(QString::fromLatin1(hash));
}

bool ConfigurationHistory::keep(const KeypadFile &held, HistoryWriter writer, QString *error) const
{
    const QDir folder(m_root + QLatin1Char('/') + keypadFolderName(held.source));
    const auto fail = [error](const QString &why) {
        qCWarning(lcSave).noquote() << "History: nothing kept:" << why;
        if (error)
            *error = why;
        return false;
    };
    if (!folder.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot make %1").arg(folder.path()));
    KeypadFile file = held;
    file.source.created = QDateTime::currentDateTimeUtc();
    // Two writes within one millisecond keep both, in their order.
    QString stamp = file.source.created.toString(QLatin1String(kDateFormat));
    while (!folder.entryList({stamp + QLatin1Char('*')}, QDir::Files).isEmpty()) {
        file.source.created = file.source.created.addMSecs(1);
        stamp = file.source.created.toString(QLatin1String(kDateFormat));
    }
    const QString name = stamp + QLatin1Char('-') + tagOf(writer) + QLatin1String(kSuffix);
    QSaveFile out(folder.filePath(name));
    const QByteArray bytes = writeKeypadFile(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return fail(out.errorString());
    const QVector<HistoryEntry> all = entries(folder.dirName());
    for (int i = kKeptPerKeypad; i < all.size(); ++i)
        QFile::remove(all[i].path);
    qCDebug(lcSave).noquote() << "History: kept" << folder.filePath(name);
    return true;
}

QStringList ConfigurationHistory::keypadFolders() const
{
    return QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QVector<HistoryEntry> ConfigurationHistory::entries(const QString &keypadFolder) const
{
    const QDir folder(m_root + QLatin1Char('/') + keypadFolder);
    QVector<HistoryEntry> found;
    const QStringList names = folder.entryList({QLatin1String("*") + QLatin1String(kSuffix)},
                                               QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString &name : names)
        if (const std::optional<HistoryEntry> entry = entryOf(folder, name))
            found.append(*entry);
    return found;
}

QString historyWriterText(HistoryWriter writer)
{
    switch (writer) {
    case HistoryWriter::Save: return translateText(QStringLiteral("Save Settings"));
    case HistoryWriter::MacroSave: return translateText(QStringLiteral("A recorded macro's save"));
    case HistoryWriter::Apply: return QStringLiteral("zentrikctl apply");
    case HistoryWriter::Restore: return QStringLiteral("zentrikctl history restore");
    }
    return QString();
}

int historyDifferenceCount(const KeypadFile &older, const KeypadFile &newer)
{
    int count = 0;
    for (int layer = 0; layer < kLayerCount; ++layer)
        count += layerDifferences(layerOf(older, layer), layerOf(newer, layer));
    return count;
}
