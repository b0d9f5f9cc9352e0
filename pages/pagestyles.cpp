#include "pages/pagestyles.h"

#include "pages/pagebutton.h"

#include <QColor>

namespace {

// The page background every page of the stack shares.
constexpr char kPageBackground[] = "QWidget { background-color: #2d2d2d; }";

// The focus ring of a page button: a light border on the dark buttons. It
// comes last in a sheet, so it wins over the hover border of equal weight.
constexpr char kFocusRing[] = "border: 2px solid #ffffff;";

QString focusRule(const QString &selector)
{
    return selector + QStringLiteral(":focus { ") + QLatin1String(kFocusRing) + QStringLiteral(" }");
}

QString classFocusRule(const char *styleClass)
{
    return focusRule(QStringLiteral("QPushButton[class=\"%1\"]").arg(QLatin1String(styleClass)));
}

// Common look of a clickable page button of the given class and of its
// empty, disabled cells.
QString cellButtonRules(const QString &styleClass, const QString &emptyClass, int fontPx,
                        const QString &padding)
{
    return QStringLiteral(
               "QPushButton[class=\"%1\"] { background-color: #3c3c3c; color: #ffffff;"
               " border: 1px solid #555555; border-radius: 4px; padding: %4;"
               " font-size: %3px; text-align: center; }"
               "QPushButton[class=\"%1\"]:hover { background-color: #4a4a4a;"
               " border: 1px solid #777777; }"
               "QPushButton[class=\"%1\"]:pressed { background-color: #2a2a2a; }"
               "QPushButton[class=\"%2\"] { background-color: #2d2d2d; color: transparent;"
               " border: 1px solid #3a3a3a; border-radius: 4px; }")
               .arg(styleClass, emptyClass)
               .arg(fontPx)
               .arg(padding)
        + focusRule(QStringLiteral("QPushButton[class=\"%1\"]").arg(styleClass));
}

} // namespace

QString baseKeysStyleSheet(int keyGapPx)
{
    // The keys sit in a grid without spacing; their margin is the gap.
    return QString::fromLatin1(kPageBackground)
        + QStringLiteral(
              "QPushButton { background-color: #3c3c3c; color: #ffffff; border: 1px solid #555;"
              " border-radius: 4px; padding: 0px; margin: %1px; }"
              "QPushButton:hover { background-color: #4a4a4a; border-color: #777; }"
              "QPushButton:pressed { background-color: #2a2a2a; }"
              "QPushButton[class=\"numpadKey\"] { color: #87CEEB; border-color: #2a6f8f; }"
              "QPushButton[class=\"numpadKey\"]:hover { color: #a0e0ff; border-color: #3a8faf; }"
              "QPushButton[class=\"numpadOperator\"] { color: #ffa07a; border-color: #b45a3a; }"
              "QPushButton[class=\"numpadOperator\"]:hover { color: #ffb59e;"
              " border-color: #d47a5a; }")
              .arg(keyGapPx)
        + focusRule(QStringLiteral("QPushButton")) + classFocusRule("numpadKey")
        + classFocusRule("numpadOperator");
}

QString extKeysStyleSheet(double scale)
{
    const QString padding = QStringLiteral("%1px %2px")
                                .arg(scaledPixels(10, scale))
                                .arg(scaledPixels(12, scale));
    return QString::fromLatin1(kPageBackground)
        + cellButtonRules(QStringLiteral("extKey"), QStringLiteral("extKeyEmpty"),
                          scaledFontPixels(kExtKeyFontPx, scale), padding);
}

QString multiMediaStyleSheet(double scale)
{
    const QString padding = QStringLiteral("%1px").arg(scaledPixels(6, scale));
    return QString::fromLatin1(kPageBackground)
        + cellButtonRules(QStringLiteral("mediaKey"), QStringLiteral("mediaKeyEmpty"),
                          scaledFontPixels(kMediaKeyFontPx, scale), padding);
}

QString pageFocusRingRule()
{
    return focusRule(QStringLiteral("QPushButton"));
}

QString contrastFocusRingRule(const QColor &background)
{
    constexpr int kLightLuminance = 150;
    const bool light = 0.299 * background.red() + 0.587 * background.green()
            + 0.114 * background.blue()
        >= kLightLuminance;
    return QStringLiteral("QPushButton:focus { border: 3px dashed %1; }")
        .arg(light ? QStringLiteral("#000000") : QStringLiteral("#ffffff"));
}

QString mouseStyleSheet()
{
    // No font here: the mouse buttons carry their own font, which the
    // window's scaling sets.
    return QString::fromLatin1(kPageBackground)
        + QStringLiteral(
              "QPushButton[class=\"mouseKey\"] { background-color: #3c3c3c; color: #ffffff;"
              " border: 1px solid #555555; border-radius: 4px; padding: 4px 8px; }"
              "QPushButton[class=\"mouseKey\"]:hover { background-color: #4a4a4a;"
              " border: 1px solid #777777; }"
              "QPushButton[class=\"mouseKey\"]:pressed { background-color: #2a2a2a; }"
              "QPushButton[class=\"mouseKeyDisabled\"] { background-color: #2d2d2d;"
              " color: #8a8a8a; border: 1px solid #3a3a3a; border-radius: 4px; }")
        + classFocusRule("mouseKey");
}
