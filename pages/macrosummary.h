#pragma once

#include "model/keyconfig.h"

#include <QWidget>

class QLabel;
class QPushButton;
class TypingLayout;

// The lines under the macro flow: how long the macro runs and how many of a
// key's steps it uses, the text it types on the chosen layout, and a warning
// with its fix when it leaves a key held or releases one it never pressed.
class MacroSummary : public QWidget
{
    Q_OBJECT
public:
    explicit MacroSummary(QWidget *parent = nullptr);

    // `layout` may be invalid while it is being read: the preview waits.
    void showMacro(const QVector<MacroStep> &steps, const TypingLayout &layout);
    void retranslate();

    QLabel *totalsLabel() const { return m_totals; }
    QLabel *previewLabel() const { return m_preview; }
    QLabel *warningLabel() const { return m_warning; }
    QPushButton *fixButton() const { return m_fix; }

signals:
    void fixRequested();

private:
    QVector<MacroStep> m_steps;
    QString m_layoutName;
    QString m_previewText;
    QLabel *m_totals = nullptr;
    QLabel *m_preview = nullptr;
    QLabel *m_warning = nullptr;
    QPushButton *m_fix = nullptr;
};
