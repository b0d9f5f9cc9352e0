// The widget tree of the main window, built once during construction from
// the parts' own widgets.

#include "app/window/widget.h"

#include "app/look/functionbuttons.h"
#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keypadview.h"
#include "app/editing/pagehost.h"
#include "app/look/statusline.h"
#include "pages/macropage.h"
#include "widgets/stylesheetupdate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWindowSpacing = 15;
constexpr int kTopBarHeight = 50;
constexpr int kTopBarRightSpace = 84;
constexpr int kColumnGap = 12;
constexpr int kLowerRowMinHeight = 350;

} // namespace

void Widget::buildWidgetTree()
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(kWindowSpacing);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTopBar(), 0);
    layout->addWidget(buildContentRow(), 3);
    layout->addWidget(buildLowerRow(), 4);

    connect(m_pages->macroPage(), &MacroPage::recordingChanged, this,
            &Widget::onMacroRecordingChanged);
    connect(m_pages->macroPage(), &MacroPage::saveKeysRequested, this,
            &Widget::saveRecordedKey);
}

QWidget *Widget::buildTopBar()
{
    auto *topBar = new QWidget;
    topBar->setObjectName(QStringLiteral("topBar"));
    topBar->setFixedHeight(kTopBarHeight);

    auto *layout = new QHBoxLayout(topBar);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(8);
    layout->addWidget(m_status->build(), 1);
    layout->addSpacing(kTopBarRightSpace);
    return topBar;
}

QWidget *Widget::buildContentRow()
{
    auto *row = new QWidget;
    showParentBackground(row);
    auto *layout = new QHBoxLayout(row);
    layout->setSpacing(0);
    layout->setContentsMargins(20, 0, 20, 0);
    layout->addWidget(m_layers->build());
    layout->addWidget(m_view->build(), 3);
    layout->addSpacing(kColumnGap);
    layout->addWidget(m_display->build(), 1);
    layout->addSpacing(kColumnGap);
    layout->addWidget(m_functionButtons->build(), 1);
    return row;
}

QWidget *Widget::buildLowerRow()
{
    m_lowerRow = new QWidget;
    showParentBackground(m_lowerRow);
    m_lowerRow->setMinimumHeight(kLowerRowMinHeight);
    m_lowerRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // The stack exists before the list, whose row changes switch its pages.
    QStackedWidget *stack = m_pages->buildPageStack();
    QListWidget *list = m_pages->buildFunctionList();

    auto *layout = new QHBoxLayout(m_lowerRow);
    layout->setSpacing(0);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->addWidget(list, 1);
    layout->addWidget(stack, 4);
    return m_lowerRow;
}
