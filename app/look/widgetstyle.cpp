#include "app/look/widgetstyle.h"

QString windowStyleSheet()
{
    return QStringLiteral(
        "QWidget { font-family: \"Microsoft YaHei\"; background-color: #202020; color: #ffffff; }"
        "QWidget#topBar { background-color: #383838; border-radius: 4px; }"
        "QLabel#topTipBar { background: transparent; color: #FF0000; font-size: 24px; }"
        "#keyKnobGroup { background-color: #404040; border: none;"
        " border-top-left-radius: 0px; border-top-right-radius: 8px;"
        " border-bottom-left-radius: 8px; border-bottom-right-radius: 8px; }"
        // The keypad picture's fill and border are its face's (panelFaceStyleSheet).
        "#physicalPanelFrame { background: transparent; border: none; }"
        // Its width follows the window (WindowScaler::scaleInputFrame).
        "QWidget#inputFrame { background-color: #F5F5DC; border-radius: 8px; }"
        // Only the key display's field: a bare QLineEdit rule reached every
        // dialog the window opens (an 85 px file name, a red print path).
        "QWidget#inputFrame QLineEdit { background: transparent; color: #CD5C5C; font-weight: bold;"
        " font-size: 18px; min-height: 80px; max-height: 150px; }"
        "QPushButton[class=\"FuncBtn\"] { background-color: #1E90FF; color: #FFF; border: none;"
        " border-radius: 4px; font-weight: bold; font-size: 32px; }"
        "QPushButton[class=\"FuncBtn\"]:hover { background-color: #1874CD; }"
        // Without a keypad, View and Save are disabled; they must not look
        // like the buttons that work.
        "QPushButton[class=\"FuncBtn\"]:disabled { background-color: #3A5F86; color: #9FB3C8; }"
        // Qt's own focus frame is gone under the sheets: the focused control
        // shows a ring of its own.
        "QPushButton[class=\"FuncBtn\"]:focus { border: 2px solid #ffffff; }"
        "QStackedWidget QWidget { background-color: #333; border-radius: 0px; }")
        + toolTipStyleRule();
}

QString toolTipStyleRule()
{
    return QStringLiteral("QToolTip { background-color: #FFFFDC; color: #000000;"
                          " border: 1px solid #767676; padding: 1px; border-radius: 0px; }");
}

QString transparentAreaStyleSheet()
{
    return QStringLiteral("* { background: transparent; }") + toolTipStyleRule();
}

QString keyDisplayStyleSheet()
{
    return QStringLiteral(
        "QTextEdit {    background-color: transparent;    border: none;    color: #CD5C5C;"
        "    font-size: 18px;    font-weight: bold;    padding: 8px;}"
        // The display sits on a light frame: its focus ring is dark.
        "QTextEdit:focus { border: 2px solid #202020; }");
}

QString panelFaceStyleSheet(int borderPx, int radiusPx)
{
    return QStringLiteral("#physicalPanelFace {background-color: #3f3f3f;border: %1px solid "
                          "#9a9a9a;border-radius: %2px;}")
        .arg(borderPx)
        .arg(radiusPx);
}

QString keyNumberStyleSheet()
{
    return QStringLiteral(
        "color: #00FF00 !important;font-weight: bold !important;"
        "background: transparent !important;border: none !important;padding: 0px !important;"
        "margin: 0px !important;");
}

QString functionListStyleSheet(int fontPx, int rowHeightPx)
{
    return QStringLiteral(
               "QListWidget { background-color: #282828; color: #E0E0E0; border: none;"
               " border-right: 1px solid #444; font-size: %1px;}"
               " QListWidget::item { height: %2px; text-align: center; padding: 0px;"
               " font-weight: bold;}"
               " QListWidget::item:selected { background-color: #1E90FF; color: white;}"
               " QListWidget:focus { border: 2px solid #ffffff; }")
        .arg(fontPx)
        .arg(rowHeightPx);
}

QString layerButtonStyleSheet()
{
    return QStringLiteral(
               "QPushButton { min-height: %1px; max-height: %1px; color: white; font-size: 16px;"
               " font-weight: bold; text-align: center; border: none; border-radius: 0px;"
               " padding: 0px; margin: 0px; outline: none; background: transparent; }"
               "QPushButton:hover { background: transparent; }"
               "QPushButton:checked { background-color: #404040; }"
               "QPushButton:checked:hover { background-color: #404040; }"
               "QPushButton:focus { border: 2px solid #ffffff; }")
        .arg(kLayerButtonHeight);
}
