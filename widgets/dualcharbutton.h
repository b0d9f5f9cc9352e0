#pragma once

#include "widgets/sharedbevelbutton.h"

#include <QString>

class QLabel;

// A key of the on-screen keyboard with two legends: the main one drawn by the
// push-button style, the shifted one small in the top-left corner.
class DualCharButton : public SharedBevelButton
{
    Q_OBJECT
public:
    DualCharButton(const QString &mainText, const QString &smallText, QWidget *parent = nullptr);

    QString mainText() const { return m_mainText; }
    QString smallText() const { return m_smallText; }
    QLabel *smallLabel() const { return m_smallLabel; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placeSmallLabel();

    QString m_mainText;
    QString m_smallText;
    QLabel *m_smallLabel = nullptr;
};
