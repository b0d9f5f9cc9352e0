// Scaling the window with its size: the debounce, and the ratio handed to
// each part in turn, the panel last, fitted into what the others leave.

#include "app/window/windowscaler.h"

#include "app/look/functionbuttons.h"
#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keypadview.h"
#include "app/keypadview/layercolumn.h"
#include "app/editing/pagehost.h"
#include "app/look/windowsize.h"
#include "model/logging.h"
#include "widgets/nextpasspaint.h"
#include "widgets/sharedbevelbutton.h"

#include <QCoreApplication>
#include <QLayout>
#include <QStackedWidget>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QtMath>

namespace {

constexpr double kMinScaleRatio = 0.8;
// Ratio changes smaller than this are not worth a restyle.
constexpr double kScaleThreshold = 0.01;
constexpr int kResizeDebounceMs = 10;

constexpr int kLowerRowDesignHeight = 350;

// Below the floor ratio the shell's fonts stay at the floor, while the
// pages, the function list's rows and the input frame compact with the
// window down to this ratio.
constexpr double kMinPageRatio = 0.5;

// The height the lighting page brings a restored window back to.
constexpr int kLightingRestoreHeight = qMax(600, kDesignHeight);

// Only the first show in the process settles a window's sizes at once; the
// application object, which outlives every window, remembers that it came.
constexpr char kFirstShowDoneProperty[] = "zentrikFirstShowDone";

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
    m_nextPassPaint = new NextPassPaint(window);
    // The on-screen keyboard's keys take new sizes with the window.
    m_nextPassPaint->setBeforePaint([window] { prepareSharedBevels(window); });
    // A page shown lays itself out and is painted: two holds, not one. Only
    // what the page's change asked for is painted, as without the hold.
    if (QStackedWidget *stack = parts.pages->pageStack())
        connect(stack, &QStackedWidget::currentChanged, this, [this] {
            if (m_window->isVisible())
                m_nextPassPaint->hold(NextPassPaint::Repaint::Asked);
        });
}

double WindowScaler::targetRatioFor(const QSize &size)
{
    return qMax(kMinScaleRatio, qMin(double(size.height()) / kDesignHeight,
                                     double(size.width()) / kDesignWidth));
}

void WindowScaler::onResize(const QSize &windowSize)
{
    // The layouts of a new size and the paint of the whole window that
    // follows are two holds of the event loop, not one.
    if (m_window->isVisible())
        m_nextPassPaint->hold();
    // The design sizes are those of the content below the menu bar.
    const QSize size = contentSizeOfWindow(windowSize);
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
        m_parts.display->fitToWindowWidth(m_window->width());
        return;
    }
    m_scalePending = false;
    m_scaleRatio = m_targetScaleRatio;
    m_pageRatio = m_targetPageRatio;
    // The restyle and the whole window's paint at the new ratio each take a
    // few milliseconds: the paint waits for the next pass, so neither holds
    // the event loop for a frame.
    m_nextPassPaint->hold();
    applyScale(m_scaleRatio);

    if (m_wasMaximizedOnLightingPage && m_parts.pages->lightingShown() && !m_window->isMaximized()
        && !m_window->isFullScreen()) {
        m_wasMaximizedOnLightingPage = false;
        const int restoreHeight = kLightingRestoreHeight + kMenuBarHeight;
        if (m_window->height() > restoreHeight)
            m_window->resize(m_window->width(), restoreHeight);
    }
    // The new sizes have asked for layouts; they run now, before anything
    // paints. An expose arriving first would paint the whole window with the
    // new fonts in the old places, and the layouts would have it painted again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The whole window, merged with the paints the new geometry has asked for.
    m_window->update();
}

void WindowScaler::onShow()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (application->property(kFirstShowDoneProperty).toBool())
        return;
    application->setProperty(kFirstShowDoneProperty, true);
    m_scalePending = false;
    // A window fitted to a small screen opens below the design size and is
    // drawn at its own ratio from the start.
    const QSize content = contentSizeOfWindow(m_window->size());
    const double ratio = targetRatioFor(content);
    m_scaleRatio = ratio;
    m_targetScaleRatio = ratio;
    m_pageRatio = m_targetPageRatio = pageRatioFor(content);
    m_window->layout()->activate();
    m_parts.lowerRow->layout()->activate();
    m_parts.panel->activateLayout();
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
    // Below the floor the page area compacts with the window.
    const double areaRatio = compacted(ratio);
    m_parts.pages->scaleArea(areaRatio);
    m_parts.lowerRow->setMinimumHeight(qRound(kLowerRowDesignHeight * areaRatio));
    m_parts.layers->scaleToWindowWidth(m_window->width());
    m_parts.display->fitToWindowWidth(m_window->width());
    // The panel is fitted into the room the other columns leave it.
    m_window->layout()->activate();
    m_parts.panel->fitTo(ratio);
    qCDebug(lcUi).noquote() << "[UI][size]" << "layout" << m_parts.panel->layout().name
                            << "window" << contentSizeOfWindow(m_window->size())
                            << "init" << QSize(kDesignWidth, kDesignHeight) << "scale" << ratio
                            << "m_scaleRatio" << m_scaleRatio << "m_targetScaleRatio"
                            << m_targetScaleRatio;
    m_parts.functionButtons->fitTexts();
}
