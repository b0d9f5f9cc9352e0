// Scaling the window with its size: the debounce, the function list and the
// lower row, the columns' widths, and the panel fitted into what is left.

#include "app/windowscaler.h"

#include "app/functionbuttons.h"
#include "app/functionrows.h"
#include "app/keydisplay.h"
#include "app/keypadpanel.h"
#include "app/layercolumn.h"
#include "app/pagehost.h"
#include "app/widgetstyle.h"
#include "app/windowsize.h"
#include "model/logging.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QLayout>
#include <QStackedWidget>
#include <QTimer>
#include <QtMath>

namespace {

constexpr double kMinScaleRatio = 0.8;
// Ratio changes smaller than this are not worth a restyle.
constexpr double kScaleThreshold = 0.01;
constexpr int kResizeDebounceMs = 10;

// Function list.
constexpr int kListDesignWidth = 144;
constexpr int kListMinWidth = 100;
constexpr int kListMaxWidth = 250;
constexpr int kListDesignRowPx = 48;
constexpr int kListMinRowPx = 30;
constexpr int kListMaxRowPx = 80;
constexpr double kListDesignFontPx = 18.2;
constexpr int kListMinFontPx = 10;
constexpr int kListMaxFontPx = 24;

constexpr int kLowerRowDesignHeight = 350;
constexpr int kPageDesignHeight = 300;
constexpr int kPageLabelDesignPoints = 14;

// Below the floor ratio the shell's fonts stay at the floor, while the
// pages, the function list's rows and the input frame compact with the
// window down to this ratio.
constexpr double kMinPageRatio = 0.5;
constexpr int kFloorWidth = 1200;

constexpr double kInputFrameShare = 0.2;
constexpr int kInputFrameMinWidth = 250;
constexpr int kInputFrameMaxWidth = 500;

// The height the lighting page brings a restored window back to.
constexpr int kLightingRestoreHeight = qMax(600, kDesignHeight);

// Cleared by the first show of any window in the process.
bool g_firstShow = true;

} // namespace

WindowScaler::WindowScaler(QWidget *window, const Parts &parts)
    : QObject(window)
    , m_window(window)
    , m_parts(parts)
{
    m_resizeTimer = new QTimer(this);
    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(kResizeDebounceMs);
    connect(m_resizeTimer, &QTimer::timeout, this, &WindowScaler::onResizeTimeout);
}

double WindowScaler::targetRatioFor(const QSize &size)
{
    return qMax(kMinScaleRatio, qMin(double(size.height()) / kDesignHeight,
                                     double(size.width()) / kDesignWidth));
}

void WindowScaler::onResize(const QSize &size)
{
    const double target = targetRatioFor(size);
    m_targetScaleRatio = target;
    m_targetPageRatio = pageRatioFor(size);
    m_parts.functionButtons->fitHeights(size.height());
    const bool lightingShown = m_parts.pages->lightingShown();
    if (lightingShown && m_window->isMaximized())
        m_wasMaximizedOnLightingPage = true;
    if (qAbs(target - m_scaleRatio) >= kScaleThreshold
        || qAbs(m_targetPageRatio - m_pageRatio) >= kScaleThreshold)
        m_scalePending = true;
    // Only the last size of a burst reaches the rescale.
    m_resizeTimer->stop();
    m_resizeTimer->start(kResizeDebounceMs);
}

void WindowScaler::onResizeTimeout()
{
    if (!m_scalePending) {
        // The ratio stayed, the width may not have: the columns that follow
        // the width follow it whatever size came before.
        m_parts.layers->scaleToWindowWidth(m_window->width());
        scaleInputFrame();
        return;
    }
    m_scalePending = false;
    m_scaleRatio = m_targetScaleRatio;
    m_pageRatio = m_targetPageRatio;
    applyScale(m_scaleRatio);

    if (m_wasMaximizedOnLightingPage && m_parts.pages->lightingShown() && !m_window->isMaximized()
        && !m_window->isFullScreen()) {
        m_wasMaximizedOnLightingPage = false;
        if (m_window->height() > kLightingRestoreHeight)
            m_window->resize(m_window->width(), kLightingRestoreHeight);
    }
    // The new sizes have asked for layouts; they run now, before anything
    // paints. An expose arriving first would paint the whole window with the
    // new fonts in the old places, and the layouts would have it painted again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The paint follows in the same pass of the event loop, merged with the
    // paints the new geometry has already asked for.
    m_window->update();
}

void WindowScaler::onShow()
{
    if (!g_firstShow)
        return;
    g_firstShow = false;
    m_scalePending = false;
    // A window fitted to a small screen opens below the design size and is
    // drawn at its own ratio from the start.
    const double ratio = targetRatioFor(m_window->size());
    m_scaleRatio = ratio;
    m_targetScaleRatio = ratio;
    m_pageRatio = m_targetPageRatio = pageRatioFor(m_window->size());
    m_window->layout()->activate();
    m_parts.lowerRow->layout()->activate();
    m_parts.panel->group()->layout()->activate();
    if (qFuzzyCompare(ratio, 1.0) && qFuzzyCompare(m_pageRatio, 1.0))
        rescaleShell(1.0);
    else
        applyScale(ratio);
    m_window->update();
}

double WindowScaler::pageRatioFor(const QSize &size)
{
    return qMax(kMinPageRatio, qMin(double(size.height()) / kDesignHeight,
                                    double(size.width()) / kDesignWidth));
}

double WindowScaler::compacted(double ratio) const
{
    return ratio <= kMinScaleRatio ? qMin(ratio, m_pageRatio) : ratio;
}

void WindowScaler::applyScale(double ratio)
{
    rescaleShell(ratio);
    m_parts.pages->scalePages(compacted(ratio));
}

void WindowScaler::rescaleShell(double ratio)
{
    scaleFunctionList(ratio);
    m_parts.layers->scaleToWindowWidth(m_window->width());
    scaleInputFrame();
    // The panel is fitted into the room the other columns leave it.
    m_window->layout()->activate();
    m_parts.panel->fitTo(ratio);
    qCDebug(lcUi).noquote() << "[UI][size]" << "layout" << m_parts.panel->layout().name
                            << "window" << m_window->size()
                            << "init" << QSize(kDesignWidth, kDesignHeight) << "scale" << ratio
                            << "m_scaleRatio" << m_scaleRatio << "m_targetScaleRatio"
                            << m_targetScaleRatio;
    m_parts.functionButtons->fitTexts();
}

void WindowScaler::scaleFunctionList(double shellRatio)
{
    const double ratio = compacted(shellRatio);
    const int width = qBound(kListMinWidth, qRound(kListDesignWidth * ratio), kListMaxWidth);
    const int rowPx = qBound(kListMinRowPx, qRound(kListDesignRowPx * ratio), kListMaxRowPx);
    const int fontPx = qBound(kListMinFontPx, qRound(kListDesignFontPx * ratio), kListMaxFontPx);
    QListWidget *functionList = m_parts.pages->functionList();
    QStackedWidget *pageStack = m_parts.pages->pageStack();
    functionList->setFixedWidth(width);
    if (fontPx != m_appliedListFontPx || rowPx != m_appliedListRowPx) {
        m_appliedListFontPx = fontPx;
        m_appliedListRowPx = rowPx;
        functionList->setStyleSheet(functionListStyleSheet(fontPx, rowPx));
    }

    m_parts.lowerRow->setMinimumHeight(qRound(kLowerRowDesignHeight * ratio));
    const int pageHeight = qRound(kPageDesignHeight * ratio);
    pageStack->setMinimumHeight(pageHeight);
    for (int index = 0; index < pageStack->count(); ++index)
        if (index != RowRgbLed)
            pageStack->widget(index)->setMinimumHeight(pageHeight);

    const int labelPoints = qRound(kPageLabelDesignPoints * ratio);
    if (labelPoints != m_appliedPageLabelPoints) {
        m_appliedPageLabelPoints = labelPoints;
        for (QLabel *label : pageStack->findChildren<QLabel *>()) {
            QFont font = label->font();
            font.setBold(true);
            font.setPointSize(labelPoints);
            label->setFont(font);
        }
    }
}

void WindowScaler::scaleInputFrame()
{
    // Narrower than the floor's width, the frame gives up its share.
    const int width = m_window->width();
    m_parts.display->frame()->setFixedWidth(
        width >= kFloorWidth
            ? qBound(kInputFrameMinWidth, qRound(kInputFrameShare * width), kInputFrameMaxWidth)
            : qRound(double(kInputFrameMinWidth) * width / kFloorWidth));
}
