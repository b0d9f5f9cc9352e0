#pragma once

#include <QWidget>

#include <optional>

class KeyboardData;

// One page of the window's page stack, as the page host drives it: its scale,
// showing what the store holds, binding to the store and its own texts.
class AssignmentPage : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Restyles the page for the window's scale ratio.
    virtual void setScale(double ratio) = 0;
    // Shows what the store now holds for the selected key and layer.
    virtual void refresh() {}
    // Pages that edit the store themselves take it here; the others hand
    // their clicks to the page host.
    virtual void bind(KeyboardData &) {}
    // Words the texts the page set itself again in the interface's language.
    virtual void retranslate() {}

    // Restyling a page costs several milliseconds, so a rescale restyles
    // only the page on screen; the others keep the ratio until they are
    // shown or the window is idle.
    void scaleLater(double ratio) { m_pendingScale = ratio; }
    bool scalePending() const { return m_pendingScale.has_value(); }
    void applyPendingScale();

private:
    std::optional<double> m_pendingScale;
};
