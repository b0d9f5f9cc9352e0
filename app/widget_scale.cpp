// Scaling the window with its size; a short debounce keeps a drag from
// restyling the window at every step, and every step below restyles only
// what a new ratio actually changes.

#include "app/widget.h"

#include "app/resizewatcher.h"
#include "app/widgetstyle.h"
#include "model/logging.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

namespace {

constexpr int kDesignWidth = 1500;
constexpr int kDesignHeight = 1100;
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

constexpr int kLayerColumnMinWidth = 80;

constexpr double kInputFrameShare = 0.2;
constexpr int kInputFrameMinWidth = 250;
constexpr int kInputFrameMaxWidth = 500;

// Function-button texts shrink to fit their buttons, never above the
// design size.
constexpr int kFunctionFontMaxPx = 32;
constexpr int kFunctionFontMinPx = 8;
constexpr int kFunctionTextPadding = 8;
constexpr int kFunctionButtonDesignPx = 70;
constexpr int kFunctionButtonLowestPx = 36;

// The height the lighting page brings a restored window back to.
constexpr int kLightingRestoreHeight = qMax(600, kDesignHeight);

// Cleared by the first show of any window in the process.
bool g_firstShow = true;

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

} // namespace

void Widget::resizeEvent(QResizeEvent *event)
{
    const QSize size = event->size();
    const double target = qMax(kMinScaleRatio, qMin(double(size.height()) / kDesignHeight,
                                                    double(size.width()) / kDesignWidth));
    m_targetScaleRatio = target;
    fitFunctionButtonHeights(size.height());
    if (m_rgbPageShown && isMaximized())
        m_wasMaximizedOnLightingPage = true;
    if (qAbs(target - m_scaleRatio) >= kScaleThreshold)
        m_scalePending = true;
    QWidget::resizeEvent(event);
    // Only the last size of a burst reaches the rescale.
    m_resizeTimer->stop();
    m_resizeTimer->start(kResizeDebounceMs);
}

void Widget::onResizeTimeout()
{
    if (!m_scalePending)
        return;
    m_scalePending = false;
    m_scaleRatio = m_targetScaleRatio;
    applyScale(m_scaleRatio);

    if (m_wasMaximizedOnLightingPage && m_rgbPageShown && !isMaximized() && !isFullScreen()) {
        m_wasMaximizedOnLightingPage = false;
        if (height() > kLightingRestoreHeight)
            resize(width(), kLightingRestoreHeight);
    }
    // The new sizes have asked for layouts; they run now, before anything
    // paints. An expose arriving first would paint the whole window with the
    // new fonts in the old places, and the layouts would have it painted again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The paint follows in the same pass of the event loop, merged with the
    // paints the new geometry has already asked for.
    update();
}

void Widget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!g_firstShow)
        return;
    g_firstShow = false;
    m_scalePending = false;
    m_scaleRatio = 1.0;
    m_targetScaleRatio = 1.0;
    layout()->activate();
    m_lowerRow->layout()->activate();
    m_keyKnobGroup->layout()->activate();
    rescaleShell(1.0);
    update();
}

void Widget::applyScale(double ratio)
{
    rescaleShell(ratio);
    scalePages(ratio);
}

void Widget::rescaleShell(double ratio)
{
    scaleFunctionList(ratio);
    scaleLayerColumn();
    scaleInputFrame();
    // The panel is fitted into the room the other columns leave it.
    layout()->activate();
    placePanel(fittingPanelScale(ratio));
    qCDebug(lcUi).noquote() << "[UI][size]" << "layout" << m_layout.name << "window" << size()
                            << "init" << QSize(kDesignWidth, kDesignHeight) << "scale" << ratio
                            << "m_scaleRatio" << m_scaleRatio << "m_targetScaleRatio"
                            << m_targetScaleRatio;
    fitFunctionButtonTexts();
}

void Widget::scaleFunctionList(double ratio)
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

    m_lowerRow->setMinimumHeight(qRound(kLowerRowDesignHeight * ratio));
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

void Widget::scaleLayerColumn()
{
    const int width = qMax(kLayerColumnMinWidth,
                           qRound(double(this->width()) / kDesignWidth * kLayerColumnWidth));
    if (width == m_appliedLayerColumnWidth)
        return;
    m_appliedLayerColumnWidth = width;
    m_layerColumn->setFixedWidth(width);
    for (QPushButton *button : m_layerButtons)
        button->setFixedWidth(width);
}

void Widget::scaleInputFrame()
{
    m_inputFrame->setFixedWidth(qBound(kInputFrameMinWidth, qRound(kInputFrameShare * width()),
                                       kInputFrameMaxWidth));
}

void Widget::fitFunctionButtonTexts()
{
    // The design font is 32 px; narrow columns (small windows, long
    // translations) get the largest size at which every text fits, the same
    // for all four buttons so they read as one column.
    int px = kFunctionFontMaxPx;
    for (const QPushButton *button : qAsConst(m_functionButtons))
        px = qMin(px, fittingFontPx(*button));
    if (px == m_appliedFunctionFontPx)
        return;
    m_appliedFunctionFontPx = px;
    const QString style = QStringLiteral("QPushButton { font-size: %1px; }").arg(px);
    for (QPushButton *button : qAsConst(m_functionButtons))
        button->setStyleSheet(style);
}

void Widget::fitFunctionButtonHeights(int windowHeight)
{
    // Four buttons of 70 pixels do not fit beside the pages in a window
    // much lower than the design; there they shrink with the window.
    const double share = double(windowHeight) / kDesignHeight;
    const int minimum = qBound(kFunctionButtonLowestPx, qRound(kFunctionButtonDesignPx * share),
                               kFunctionButtonDesignPx);
    for (QPushButton *button : qAsConst(m_functionButtons))
        if (button->minimumHeight() != minimum)
            button->setMinimumHeight(minimum);
}
