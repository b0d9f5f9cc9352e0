#pragma once

#include <QObject>

class QLabel;
class QString;
class QTextEdit;
class QWidget;

// The key display beside the keypad picture: the whole function text of
// the selected key, in the frame whose width follows the window.
class KeyDisplay : public QObject
{
    Q_OBJECT
public:
    explicit KeyDisplay(QObject *parent);

    // Builds the input frame that holds the display.
    QWidget *build();
    // The frame takes a share of the window's width.
    void fitToWindowWidth(int windowWidth);

    // Rich text (the macro arrows) is shown as built; plain text through the
    // translation table. `controlName` ("Key 6") heads it. Lines break only
    // between the keys of a combination or the steps of a macro.
    void showText(const QString &controlName, const QString &text);
    void clear();
    void showPlaceholder();
    // A line under the function on how the shown page assigns; empty hides it.
    void setHint(const QString &hint);

private:
    QWidget *m_frame = nullptr;
    QLabel *m_heading = nullptr;
    QLabel *m_hint = nullptr;
    QTextEdit *m_display = nullptr;
};
