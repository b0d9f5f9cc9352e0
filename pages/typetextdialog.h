#pragma once

#include "model/keyconfig.h"
#include "pages/typedtext.h"
#include "pages/typinglayout.h"
#include "pages/xkblayoutnames.h"

#include <QDialog>
#include <QFutureWatcher>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// "Type text…": a text and a delay between keys become the steps that type
// the text on the chosen keyboard layout. Shows how many of the key's free
// steps they take and which characters the layout cannot type before
// anything is added; a text that does not fit is refused, never cut.
//
// Layouts are read on a worker thread; the dialog stays responsive and its
// Add button waits for the layout.
class TypeTextDialog : public QDialog
{
    Q_OBJECT
public:
    // `freeSteps`: how many more steps the key holds. `firstStep`: the text
    // starts the macro, so its first step waits for nothing.
    // `singleDelay`: the keypad plays every press after one common delay.
    TypeTextDialog(int freeSteps, bool firstStep, bool singleDelay, QWidget *parent = nullptr);

    // Types on `layout`, read for `choice`; reads `choice` when `layout` is
    // not valid yet. Call once, after the constructor.
    void useLayout(const LayoutChoice &choice, const TypingLayout &layout);

    QVector<MacroStep> steps() const { return m_typed.steps; }
    LayoutChoice layoutChoice() const { return m_choice; }
    const TypingLayout &layout() const { return m_layout; }

    QComboBox *layoutBox() const { return m_layoutBox; }
    QPlainTextEdit *textEdit() const { return m_text; }
    QSpinBox *delaySpin() const { return m_delay; }
    QLabel *stepsLabel() const { return m_stepsLabel; }
    QLabel *problemLabel() const { return m_problemLabel; }
    QPushButton *addButton() const { return m_addButton; }
    // Waits for the layout being read; for tests.
    void waitForLayout();

public slots:
    // Compiles the text again and says what it takes; cheap, run on every edit.
    void updatePreview();

private:
    void chooseLayout(int row);
    void onLayoutRead();
    void onNamesRead();

    int m_freeSteps = 0;
    bool m_firstStep = false;
    LayoutChoice m_choice;
    TypingLayout m_layout;
    TypedText m_typed;
    QFutureWatcher<TypingLayout> m_layoutRead;
    QFutureWatcher<QVector<LayoutName>> m_namesRead;
    QComboBox *m_layoutBox = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QSpinBox *m_delay = nullptr;
    QLabel *m_stepsLabel = nullptr;
    QLabel *m_problemLabel = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_addButton = nullptr;
};
