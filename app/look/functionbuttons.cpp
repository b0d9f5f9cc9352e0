#include "app/look/functionbuttons.h"

#include "app/look/resizewatcher.h"
#include "model/translation.h"

#include <QAction>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QVariant>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDesignHeight = 1100;
constexpr int kFunctionButtonPointSize = 32;
// The function buttons fit their texts to the column rather than widen it.
constexpr int kFunctionColumnMinWidth = 120;

// Function-button texts shrink to fit their buttons, never above the
// design size.
constexpr int kFunctionFontMaxPx = 32;
constexpr int kFunctionFontMinPx = 8;
constexpr int kFunctionTextPadding = 8;
constexpr int kFunctionButtonDesignPx = 70;
constexpr int kFunctionButtonLowestPx = 36;

struct TextSize {
    int width = 0;
    int height = 0;
};

// The function-button texts are fitted again at every resize of each of
// the four buttons, always among the same few texts and sizes, so their
// measurements are kept rather than taken from the font again.
TextSize measuredText(const QFont &font, const QString &text)
{
    constexpr int kMaxKept = 512;
    static QHash<QString, TextSize> kept;
    const QString key = font.key() + QLatin1Char('\n') + text;
    const auto found = kept.constFind(key);
    if (found != kept.constEnd())
        return *found;
    if (kept.size() >= kMaxKept)
        kept.clear();
    const QFontMetrics metrics(font);
    const TextSize size{metrics.horizontalAdvance(text), metrics.height()};
    kept.insert(key, size);
    return size;
}

int fittingFontPx(const QPushButton &button)
{
    const QString text = button.text();
    const int roomWidth = button.width() - 2 * kFunctionTextPadding;
    const int roomHeight = button.height() - kFunctionTextPadding;
    if (text.isEmpty() || roomWidth <= 0 || roomHeight <= 0)
        return kFunctionFontMaxPx;
    QFont font = button.font();
    font.setBold(true);
    const auto sizeAt = [&](int px) {
        font.setPixelSize(px);
        return measuredText(font, text);
    };
    const auto fits = [&](int px) {
        const TextSize size = sizeAt(px);
        return size.width <= roomWidth && size.height <= roomHeight;
    };
    const TextSize design = sizeAt(kFunctionFontMaxPx);
    if (design.width <= roomWidth && design.height <= roomHeight)
        return kFunctionFontMaxPx;
    // Text width grows about linearly with the font size: start from the
    // proportional guess and step down the last pixels.
    int px = qMin(kFunctionFontMaxPx - 1,
                  qMin(kFunctionFontMaxPx * roomWidth / qMax(1, design.width),
                       kFunctionFontMaxPx * roomHeight / qMax(1, design.height)) + 1);
    while (px > kFunctionFontMinPx && !fits(px))
        --px;
    return qMax(px, kFunctionFontMinPx);
}

QPushButton *makeFunctionButton(const char *text)
{
    auto *button = new QPushButton(QString::fromLatin1(text));
    button->setProperty("class", QStringLiteral("FuncBtn"));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QFont font = button->font();
    font.setPointSize(kFunctionButtonPointSize);
    font.setWeight(QFont::Bold);
    button->setFont(font);
    return button;
}

} // namespace

FunctionButtons::FunctionButtons(QObject *parent)
    : QObject(parent)
{
}

QWidget *FunctionButtons::build()
{
    m_clear = makeFunctionButton("Clear");
    m_clearAll = makeFunctionButton("Clear All");
    m_view = makeFunctionButton("View Settings");
    m_save = makeFunctionButton("Save Settings");

    auto *column = new QWidget;
    column->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column->setMinimumWidth(kFunctionColumnMinWidth);
    auto *layout = new QVBoxLayout(column);
    layout->setSpacing(10);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addStretch();
    for (QPushButton *button : {m_clear, m_clearAll, m_view, m_save}) {
        // Each text follows its button's size, whatever resized it.
        button->installEventFilter(new ResizeWatcher(this, [this] { fitTexts(); }));
        button->setMinimumHeight(kFunctionButtonDesignPx);
        layout->addWidget(button);
    }
    layout->addStretch();
    connect(m_clear, &QPushButton::clicked, this, &FunctionButtons::clearClicked);
    connect(m_clearAll, &QPushButton::clicked, this, &FunctionButtons::clearAllClicked);
    connect(m_view, &QPushButton::clicked, this, &FunctionButtons::viewClicked);
    connect(m_save, &QPushButton::clicked, this, &FunctionButtons::saveClicked);
    m_clearAllAction = commandOf(m_clearAll);
    m_viewAction = commandOf(m_view);
    m_saveAction = commandOf(m_save);
    return column;
}

QAction *FunctionButtons::commandOf(QPushButton *button)
{
    auto *action = new QAction(this);
    // A click runs every handler of the button, in its order, and a disabled
    // button ignores it.
    connect(action, &QAction::triggered, button, &QPushButton::click);
    action->setEnabled(button->isEnabled());
    return action;
}

void FunctionButtons::followButtons()
{
    m_clearAllAction->setEnabled(m_clearAll->isEnabled());
    m_viewAction->setEnabled(m_view->isEnabled());
    m_saveAction->setEnabled(m_save->isEnabled());
}

void FunctionButtons::setKeypadState(bool connected)
{
    m_connected = connected;
    m_save->setEnabled(connected);
    m_save->setText(translateText(QStringLiteral("Save Settings")));
    m_view->setEnabled(connected);
    followButtons();
}

void FunctionButtons::setRecording(bool recording)
{
    m_clearAll->setEnabled(!recording);
    m_view->setEnabled(!recording && m_connected);
    m_save->setEnabled(!recording && m_connected);
    followButtons();
}

void FunctionButtons::clickClear()
{
    m_clear->click();
}

void FunctionButtons::fitTexts()
{
    // The design font is 32 px; narrow columns (small windows, long
    // translations) get the largest size at which every text fits, the same
    // for all four buttons so they read as one column.
    const QPushButton *const buttons[] = {m_clear, m_clearAll, m_view, m_save};
    int px = kFunctionFontMaxPx;
    for (const QPushButton *button : buttons)
        px = qMin(px, fittingFontPx(*button));
    if (px == m_appliedFontPx)
        return;
    m_appliedFontPx = px;
    const QString style = QStringLiteral("QPushButton { font-size: %1px; }").arg(px);
    for (QPushButton *button : {m_clear, m_clearAll, m_view, m_save})
        button->setStyleSheet(style);
}

void FunctionButtons::fitHeights(int windowHeight)
{
    // Four buttons of 70 pixels do not fit beside the pages in a window
    // much lower than the design; there they shrink with the window.
    const double share = double(windowHeight) / kDesignHeight;
    const int minimum = qBound(kFunctionButtonLowestPx, qRound(kFunctionButtonDesignPx * share),
                               kFunctionButtonDesignPx);
    for (QPushButton *button : {m_clear, m_clearAll, m_view, m_save})
        if (button->minimumHeight() != minimum)
            button->setMinimumHeight(minimum);
}
