#include "pages/xkblayoutnames.h"

#include "model/qtcompat.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace {

constexpr auto kEvdevList = "/usr/share/X11/xkb/rules/evdev.lst";

} // namespace

QVector<LayoutName> xkbLayoutNames(const QString &listPath)
{
    QFile file(listPath.isEmpty() ? QString::fromLatin1(kEvdevList) : listPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // "! layout" lines are "  de   German"; "! variant" lines are
    // "  nodeadkeys   de: German (no dead keys)".
    QVector<LayoutName> layouts;
    QHash<QString, QVector<LayoutName>> variants;
    QString section;
    QTextStream in(&file);
    useUtf8(in);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1Char('!'))) {
            section = line.mid(1).trimmed();
            continue;
        }
        const QString name = line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        const QString rest = line.section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty);
        if (name.isEmpty() || rest.isEmpty())
            continue;
        if (section == QLatin1String("layout")) {
            layouts.append({{name, QString()}, rest});
        } else if (section == QLatin1String("variant")) {
            const int colon = rest.indexOf(QLatin1Char(':'));
            if (colon > 0)
                variants[rest.left(colon)].append(
                    {{rest.left(colon), name}, rest.mid(colon + 1).trimmed()});
        }
    }
    QVector<LayoutName> all;
    for (const LayoutName &layout : qAsConst(layouts))
        all += QVector<LayoutName>{layout} + variants.value(layout.choice.layout);
    return all;
}
