#pragma once

#include <QLabel>

// A label whose text carries a dark outline, so it stays readable over any
// colour beneath it: the key numbers over the keys' LED swatches, green
// numbers on a green or cyan key among them.
class OutlinedLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
