#pragma once

#include <QObject>

class FunctionButtons;
class KeyDisplay;
class KeypadView;
class LayerColumn;
class NextPassPaint;
class PageHost;
class QSize;
class QTimer;
class QWidget;

// Scales the window with its size. The window is designed for 1500 x 1100;
// a short debounce keeps a drag from restyling the window at every step, and
// every step restyles only what a new ratio actually changes.
class WindowScaler : public QObject
{
    Q_OBJECT
public:
    struct Parts {
        KeypadView *panel;
        LayerColumn *layers;
        PageHost *pages;
        FunctionButtons *functionButtons;
        KeyDisplay *display;
        QWidget *lowerRow;
    };
    WindowScaler(QWidget *window, const Parts &parts);

    double scaleRatio() const { return m_scaleRatio; }
    double targetScaleRatio() const { return m_targetScaleRatio; }
    // The ratio content of `size` is drawn at.
    static double targetRatioFor(const QSize &size);
    // The ratio the pages are drawn at: the same, but below the floor they
    // compact with the window.
    static double pageRatioFor(const QSize &size);
    double pageRatio() const { return m_pageRatio; }

    // From the window's resize and show events; the ratio follows the
    // content below the menu bar.
    void onResize(const QSize &windowSize);
    void onShow();

    void applyScale(double ratio);

private:
    void onResizeTimeout();
    void rescaleShell(double ratio);
    double compacted(double ratio) const;

    QWidget *m_window;
    Parts m_parts;
    double m_scaleRatio = 1.0;
    double m_targetScaleRatio = 1.0;
    double m_pageRatio = 1.0;
    double m_targetPageRatio = 1.0;
    bool m_scalePending = false;
    bool m_wasMaximizedOnLightingPage = false;
    QTimer *m_resizeTimer = nullptr;
    NextPassPaint *m_nextPassPaint = nullptr;
};
