#pragma once

#include "pages/assignmentpage.h"

#include <QList>
#include <cstdint>

class QPushButton;

// Page "MultiMedia": consumer-control keys (media transport, volume,
// brightness, application launch). Each carries its 16-bit usage in
// "mediaCode"; a click says mediaChosen with that usage.
class MultiMediaPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit MultiMediaPage(QWidget *parent = nullptr);

    // The buttons that carry a code, row by row; the empty cells are not here.
    const QList<QPushButton *> &mediaButtons() const { return m_mediaButtons; }

    void setScale(double scale) override;

signals:
    void mediaChosen(uint16_t code);

private:
    QList<QPushButton *> m_mediaButtons;
};
