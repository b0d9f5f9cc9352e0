#pragma once

#include <QObject>

class QPushButton;
class QWidget;

// The column of "Clear", "Clear All", "View Settings" and "Save Settings".
// Their texts shrink together to fit the narrowest button, and the buttons
// grow lower with a low window.
class FunctionButtons : public QObject
{
    Q_OBJECT
public:
    explicit FunctionButtons(QObject *parent);

    QWidget *build();

    QPushButton *clearButton() const { return m_clear; }
    QPushButton *clearAllButton() const { return m_clearAll; }
    QPushButton *viewButton() const { return m_view; }
    QPushButton *saveButton() const { return m_save; }

    void fitTexts();
    void fitHeights(int windowHeight);

private:
    QPushButton *m_clear = nullptr;
    QPushButton *m_clearAll = nullptr;
    QPushButton *m_view = nullptr;
    QPushButton *m_save = nullptr;
    int m_appliedFontPx = -1;
};
