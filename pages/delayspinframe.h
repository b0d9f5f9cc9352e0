#pragma once

class QFrame;
class QPushButton;
class QSpinBox;
class QString;
class QWidget;

// The delay entry of the older keypads' pages: a spin box without buttons of
// its own in a frame, with an up and a down arrow beside it. The arrows repeat
// while held and take no keyboard focus. The parts carry the style classes
// `classPrefix` + "SpinFrame", "Spin", "ArrowPanel" and "Arrow".
struct DelaySpinFrame {
    QFrame *frame = nullptr;
    QSpinBox *spin = nullptr;
    QPushButton *upButton = nullptr;
    QPushButton *downButton = nullptr;
};

DelaySpinFrame buildDelaySpinFrame(QWidget *parent, const QString &classPrefix, int leftMargin,
                                   int spinStretch);
