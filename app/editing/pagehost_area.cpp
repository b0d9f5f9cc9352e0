// The page area's own sizes: the function list and the page stack follow the
// window's ratio and language. The pages' contents scale in pagehost.cpp.

#include "app/editing/pagehost.h"

#include "app/keypadview/functionrows.h"
#include "app/look/widgetstyle.h"
#include "model/translation.h"
#include "pages/macropage.h"

#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QtMath>

namespace {

constexpr int kListDesignWidth = 144;
constexpr int kListMinWidth = 100;
constexpr int kListMaxWidth = 250;
constexpr int kListDesignRowPx = 48;
constexpr int kListMinRowPx = 30;
constexpr int kListMaxRowPx = 80;
constexpr double kListDesignFontPx = 18.2;
constexpr int kListMinFontPx = 10;
constexpr int kListMaxFontPx = 24;

constexpr int kPageDesignHeight = 300;
constexpr int kPageLabelDesignPoints = 14;

constexpr int kFunctionListLanguagePadding = 18;

} // namespace

void PageHost::stopFollowingFunctionList()
{
    m_functionList->disconnect(this);
}

void PageHost::scaleArea(double ratio)
{
    const int width = qBound(kListMinWidth, qRound(kListDesignWidth * ratio), kListMaxWidth);
    const int rowPx = qBound(kListMinRowPx, qRound(kListDesignRowPx * ratio), kListMaxRowPx);
    const int fontPx = qBound(kListMinFontPx, qRound(kListDesignFontPx * ratio), kListMaxFontPx);
    m_functionList->setFixedWidth(width);
    if (fontPx != m_appliedListFontPx || rowPx != m_appliedListRowPx) {
        m_appliedListFontPx = fontPx;
        m_appliedListRowPx = rowPx;
        m_functionList->setStyleSheet(functionListStyleSheet(fontPx, rowPx));
    }

    // The lighting page fits a lower window than the others.
    const int pageHeight = qRound(kPageDesignHeight * ratio);
    m_pageStack->setMinimumHeight(pageHeight);
    for (int index = 0; index < m_pageStack->count(); ++index)
        if (index != RowRgbLed)
            m_pageStack->widget(index)->setMinimumHeight(pageHeight);

    const int labelPoints = qRound(kPageLabelDesignPoints * ratio);
    if (labelPoints != m_appliedPageLabelPoints) {
        m_appliedPageLabelPoints = labelPoints;
        for (QLabel *label : m_pageStack->findChildren<QLabel *>()) {
            QFont font = label->font();
            font.setBold(true);
            font.setPointSize(labelPoints);
            label->setFont(font);
        }
    }
}

void PageHost::translateFunctionList()
{
    for (int row = 0; row < m_functionList->count(); ++row) {
        QListWidgetItem *item = m_functionList->item(row);
        item->setText(translateText(item->text()));
    }
    m_functionList->setFixedWidth(m_functionList->sizeHintForColumn(0)
                                  + kFunctionListLanguagePadding);
}

void PageHost::setRecording(bool recording)
{
    const bool enabled = !recording;
    m_functionList->setEnabled(enabled);
    for (int i = 0; i < m_pageStack->count(); ++i)
        if (m_pageStack->widget(i) != m_macroPage)
            m_pageStack->widget(i)->setEnabled(enabled);
}
