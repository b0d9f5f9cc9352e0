#include "keypad/settingsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

namespace {

constexpr char kFileName[] = "Config.ini";
constexpr int kMaxLayerNum = 3;

// Comments and section headers; sections carry no meaning in this file.
bool isIgnoredLine(const QString &line)
{
    return line.isEmpty() || line.startsWith(QLatin1Char('#'))
        || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('['));
}

std::optional<int> parseLayerNum(const QString &value)
{
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    if (!ok || number < 0 || number > kMaxLayerNum)
        return std::nullopt;
    return number;
}

void applySetting(AppSettings &settings, const QString &key, const QString &value)
{
    if (key == QLatin1String("layernum")) {
        if (const std::optional<int> number = parseLayerNum(value))
            settings.layerNum = number;
    } else if (key == QLatin1String("language")) {
        if (value == QLatin1String("ch"))
            settings.useChinese = true;
        else if (value == QLatin1String("en"))
            settings.useChinese = false;
    } else if (key == QLatin1String("history")) {
        if (value == QLatin1String("off"))
            settings.keepHistory = false;
        else if (value == QLatin1String("on"))
            settings.keepHistory = true;
    }
}

} // namespace

AppSettings parseSettingsText(const QByteArray &data)
{
    // The text ends at the first NUL byte; byte-order marks may appear
    // anywhere (files glued together by hand) and are dropped everywhere.
    const int nul = data.indexOf('\0');
    QString text = QString::fromUtf8(nul < 0 ? data : data.left(nul));
    text.remove(QChar(0xFEFF));

    AppSettings settings;
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (isIgnoredLine(line))
            continue;
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed().toLower();
        applySetting(settings, key, value);
    }
    return settings;
}

QString settingsFilePath(const QString &directory)
{
    return directory + QLatin1Char('/') + QLatin1String(kFileName);
}

AppSettings readSettingsFile(const QString &directory)
{
    QFile file(settingsFilePath(directory));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseSettingsText(file.readAll());
}

AppSettings readSettingsFile()
{
    return readSettingsFile(QCoreApplication::applicationDirPath());
}
