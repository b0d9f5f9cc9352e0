// The widget tree of the main window, built once during construction.

#include "app/widget.h"

#include "app/resizewatcher.h"
#include "app/widgetstyle.h"

#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kWindowSpacing = 15;
constexpr int kTopBarHeight = 50;
constexpr int kTipLabelHeight = 34;
constexpr int kTopBarRightSpace = 84;
constexpr int kColumnGap = 12;
constexpr int kKeyDisplayMinHeight = 80;
constexpr int kKeyDisplayMaxHeight = 150;
constexpr int kFunctionButtonPointSize = 32;
constexpr int kLowerRowMinHeight = 350;
constexpr int kPageStackMinHeight = 300;
constexpr int kFunctionListBuildPadding = 5;
// The function buttons fit their texts to the column rather than widen it.
constexpr int kFunctionColumnMinWidth = 120;

// Function-list rows, in page order.
constexpr const char *kFunctionRowTitles[] = {
    "BaseKeys", "Ext Keys", "MultiMedia", "RGB LED", "Mouse", "Macro Key", "Procreate",
};

constexpr const char *kFunctionButtonTexts[] = {
    "Clear", "Clear All", "View Settings", "Save Settings",
};

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

void Widget::buildWidgetTree()
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(kWindowSpacing);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTopBar(), 0);
    layout->addWidget(buildContentRow(), 3);
    layout->addWidget(buildLowerRow(), 4);
}

QWidget *Widget::buildTopBar()
{
    auto *topBar = new QWidget;
    topBar->setObjectName(QStringLiteral("topBar"));
    topBar->setFixedHeight(kTopBarHeight);

    m_tipLabel = new QLabel;
    m_tipLabel->setObjectName(QStringLiteral("topTipBar"));
    m_tipLabel->setAlignment(Qt::AlignCenter);
    m_tipLabel->setFixedHeight(kTipLabelHeight);

    auto *layout = new QHBoxLayout(topBar);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(8);
    layout->addWidget(m_tipLabel, 1);
    layout->addSpacing(kTopBarRightSpace);
    return topBar;
}

QWidget *Widget::buildContentRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setSpacing(0);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->addWidget(buildLayerColumn());
    layout->addWidget(buildKeyKnobGroup(), 3);
    layout->addSpacing(kColumnGap);
    layout->addWidget(buildInputFrame(), 1);
    layout->addSpacing(kColumnGap);
    layout->addWidget(buildFunctionButtonColumn(), 1);
    return row;
}

QWidget *Widget::buildKeyKnobGroup()
{
    auto *group = new QGroupBox;
    group->setObjectName(QStringLiteral("keyKnobGroup"));
    m_keyKnobGroup = group;

    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(20, 0, 20, 20);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    buildPhysicalPanel();
    layout->addWidget(m_physicalPanelFrame);
    return group;
}

QWidget *Widget::buildInputFrame()
{
    m_inputFrame = new QWidget;
    m_inputFrame->setObjectName(QStringLiteral("inputFrame"));

    m_keyDisplay = new QTextEdit;
    m_keyDisplay->setReadOnly(true);
    m_keyDisplay->setPlaceholderText(QStringLiteral("Key Function Display Area"));
    m_keyDisplay->setMinimumHeight(kKeyDisplayMinHeight);
    m_keyDisplay->setMaximumHeight(kKeyDisplayMaxHeight);
    m_keyDisplay->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_keyDisplay->setLineWrapMode(QTextEdit::WidgetWidth);
    m_keyDisplay->setWordWrapMode(QTextOption::WrapAnywhere);
    m_keyDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_keyDisplay->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_keyDisplay->setStyleSheet(keyDisplayStyleSheet());

    auto *layout = new QVBoxLayout(m_inputFrame);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(0);
    layout->addStretch();
    layout->addWidget(m_keyDisplay);
    layout->addStretch();
    return m_inputFrame;
}

QWidget *Widget::buildFunctionButtonColumn()
{
    m_clearButton = makeFunctionButton(kFunctionButtonTexts[0]);
    m_clearAllButton = makeFunctionButton(kFunctionButtonTexts[1]);
    m_viewSettingsButton = makeFunctionButton(kFunctionButtonTexts[2]);
    m_saveSettingsButton = makeFunctionButton(kFunctionButtonTexts[3]);

    // Each text follows its button's size, whatever resized it.
    QPushButton *const buttons[] = {m_clearButton, m_clearAllButton, m_viewSettingsButton,
                                    m_saveSettingsButton};
    for (QPushButton *button : buttons)
        button->installEventFilter(new ResizeWatcher(this, [this] { fitFunctionButtonTexts(); }));

    auto *column = new QWidget;
    column->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column->setMinimumWidth(kFunctionColumnMinWidth);
    auto *layout = new QVBoxLayout(column);
    layout->setSpacing(10);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addStretch();
    for (QPushButton *button :
         {m_clearButton, m_clearAllButton, m_viewSettingsButton, m_saveSettingsButton})
        layout->addWidget(button);
    layout->addStretch();
    return column;
}

QWidget *Widget::buildLowerRow()
{
    m_lowerRow = new QWidget;
    m_lowerRow->setMinimumHeight(kLowerRowMinHeight);
    m_lowerRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // The stack exists before the list, whose row changes switch its pages.
    m_pageStack = buildPageStack();
    m_functionList = buildFunctionList();

    auto *layout = new QHBoxLayout(m_lowerRow);
    layout->setSpacing(0);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->addWidget(m_functionList, 1);
    layout->addWidget(m_pageStack, 4);
    return m_lowerRow;
}

QListWidget *Widget::buildFunctionList()
{
    auto *list = new QListWidget;
    list->setStyleSheet(functionListStyleSheet(kFunctionListFontPx, kFunctionListRowPx));
    for (const char *title : kFunctionRowTitles) {
        auto *item = new QListWidgetItem(QString::fromLatin1(title), list);
        item->setTextAlignment(Qt::AlignCenter);
    }
    // The width is measured with the list's own font, which its style sheet sets.
    list->ensurePolished();
    list->setFixedWidth(list->sizeHintForColumn(0) + kFunctionListBuildPadding);
    list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    connect(list, &QListWidget::currentRowChanged, this, &Widget::showPage);
    list->setCurrentRow(RowBaseKeys);
    return list;
}

QStackedWidget *Widget::buildPageStack()
{
    auto *stack = new QStackedWidget;
    stack->setMinimumHeight(kPageStackMinHeight);
    stack->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    createPages(stack);
    return stack;
}
