#include "pages/delayspinframe.h"

#include "model/translation.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QVBoxLayout>

namespace {

void setStyleClass(QWidget *widget, const QString &styleClass)
{
    widget->setProperty("class", styleClass);
}

} // namespace

DelaySpinFrame buildDelaySpinFrame(QWidget *parent, const QString &classPrefix, int leftMargin,
                                   int spinStretch)
{
    DelaySpinFrame parts;
    parts.frame = new QFrame(parent);
    setStyleClass(parts.frame, classPrefix + QStringLiteral("SpinFrame"));
    parts.spin = new QSpinBox(parts.frame);
    setStyleClass(parts.spin, classPrefix + QStringLiteral("Spin"));
    parts.spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    parts.spin->setAlignment(Qt::AlignCenter);
    parts.spin->setAccessibleName(translateText(QStringLiteral("Delay in milliseconds")));

    auto *arrowPanel = new QWidget(parts.frame);
    setStyleClass(arrowPanel, classPrefix + QStringLiteral("ArrowPanel"));
    parts.upButton = new QPushButton(QStringLiteral("▲"), arrowPanel);
    parts.downButton = new QPushButton(QStringLiteral("▼"), arrowPanel);
    auto *arrowLayout = new QVBoxLayout(arrowPanel);
    arrowLayout->setContentsMargins(0, 2, 2, 2);
    arrowLayout->setSpacing(2);
    for (QPushButton *arrow : {parts.upButton, parts.downButton}) {
        setStyleClass(arrow, classPrefix + QStringLiteral("Arrow"));
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrowLayout->addWidget(arrow);
    }

    auto *frameLayout = new QHBoxLayout(parts.frame);
    frameLayout->setContentsMargins(leftMargin, 0, 0, 0);
    frameLayout->setSpacing(2);
    frameLayout->addWidget(parts.spin, spinStretch);
    frameLayout->addWidget(arrowPanel);
    return parts;
}
