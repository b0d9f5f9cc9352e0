#include "pages/olddelaypage.h"

#include "model/keyboarddata.h"
#include "pages/legacydelayedit.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kMaxOldDelay = 6000;
constexpr int kSliderPageStep = 50;
constexpr int kSliderMinWidth = 300;
constexpr int kSliderMaxWidth = 820;

// The window's style sheet has no rules for this page's classes, so the page
// brings its own.
constexpr auto kPageStyle =
    "QLabel[class=\"legacyOldDelayLabel\"], QLabel[class=\"legacyOldDelayUnit\"] {"
    " color: #ffffff; font-size: 20px; font-weight: bold; background: transparent; }"
    "QSlider[class=\"legacyOldDelaySlider\"] { background: transparent; min-height: 28px; }"
    "QSlider[class=\"legacyOldDelaySlider\"]::groove:horizontal { height: 6px;"
    " background: #555555; border-radius: 3px; }"
    "QSlider[class=\"legacyOldDelaySlider\"]::sub-page:horizontal { background: #1E90FF;"
    " border-radius: 3px; }"
    "QSlider[class=\"legacyOldDelaySlider\"]::handle:horizontal { width: 18px; margin: -7px 0px;"
    " background: #ffffff; border-radius: 9px; }"
    "QSlider[class=\"legacyOldDelaySlider\"]::handle:horizontal:disabled { background: #777777; }"
    "QSlider[class=\"legacyOldDelaySlider\"]::sub-page:horizontal:disabled { background: #3A5F86; }"
    "QFrame[class=\"legacyOldDelaySpinFrame\"] { background-color: #2a2a2a;"
    " border: 1px solid #555555; border-radius: 4px; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"] { background: transparent; border: none;"
    " color: #ffffff; font-size: 20px; font-weight: bold; min-width: 80px; min-height: 36px; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"]:disabled { color: #777777; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"] QLineEdit { min-height: 0px;"
    " max-height: 16777215px; background: transparent; color: #ffffff; font-size: 20px; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"] QLineEdit:disabled { color: #777777; }"
    "QWidget[class=\"legacyOldDelayArrowPanel\"] { background: transparent; }"
    "QPushButton[class=\"legacyOldDelayArrow\"] { background-color: #3c3c3c; color: #ffffff;"
    " border: none; border-radius: 2px; font-size: 10px; min-width: 22px; max-width: 22px;"
    " min-height: 16px; }"
    "QPushButton[class=\"legacyOldDelayArrow\"]:hover { background-color: #4a4a4a; }"
    "QPushButton[class=\"legacyOldDelayArrow\"]:disabled { color: #666666; }";

void setStyleClass(QWidget *widget, const char *styleClass)
{
    widget->setProperty("class", QLatin1String(styleClass));
}

} // namespace

OldDelayPage::OldDelayPage(KeyboardData &store, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("oldDelayPage"));
    // Paints the page background the window's style sheet gives every page.
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QLatin1String(kPageStyle));

    auto *label = new QLabel(QStringLiteral("Delay:"), this);
    setStyleClass(label, "legacyOldDelayLabel");

    m_slider = new QSlider(Qt::Horizontal, this);
    setStyleClass(m_slider, "legacyOldDelaySlider");
    m_slider->setRange(0, kMaxOldDelay);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(kSliderPageStep);
    m_slider->setMinimumWidth(kSliderMinWidth);
    m_slider->setMaximumWidth(kSliderMaxWidth);

    auto *spinFrame = new QFrame(this);
    setStyleClass(spinFrame, "legacyOldDelaySpinFrame");
    m_spin = new QSpinBox(spinFrame);
    setStyleClass(m_spin, "legacyOldDelaySpin");
    m_spin->setRange(0, kMaxOldDelay);
    m_spin->setSingleStep(1);
    m_spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_spin->setAlignment(Qt::AlignCenter);

    auto *arrowPanel = new QWidget(spinFrame);
    setStyleClass(arrowPanel, "legacyOldDelayArrowPanel");
    m_upButton = new QPushButton(QStringLiteral("▲"), arrowPanel);
    m_downButton = new QPushButton(QStringLiteral("▼"), arrowPanel);
    for (QPushButton *arrow : {m_upButton, m_downButton}) {
        setStyleClass(arrow, "legacyOldDelayArrow");
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
    }
    auto *arrowLayout = new QVBoxLayout(arrowPanel);
    arrowLayout->setContentsMargins(0, 2, 2, 2);
    arrowLayout->setSpacing(2);
    arrowLayout->addWidget(m_upButton);
    arrowLayout->addWidget(m_downButton);

    auto *spinLayout = new QHBoxLayout(spinFrame);
    spinLayout->setContentsMargins(4, 0, 0, 0);
    spinLayout->setSpacing(2);
    spinLayout->addWidget(m_spin);
    spinLayout->addWidget(arrowPanel);

    auto *unit = new QLabel(QStringLiteral("MS"), this);
    setStyleClass(unit, "legacyOldDelayUnit");

    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    row->addStretch();
    row->addWidget(label);
    row->addWidget(m_slider, 1);
    row->addWidget(spinFrame);
    row->addWidget(unit);
    row->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addStretch();
    layout->addLayout(row);
    layout->addStretch();

    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        const QSignalBlocker blocker(m_spin);
        m_spin->setValue(value);
        onValueChosen(value);
    });
    connect(m_spin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(value);
        onValueChosen(value);
    });
    connect(m_upButton, &QPushButton::clicked, this, [this] { stepSpin(1); });
    connect(m_downButton, &QPushButton::clicked, this, [this] { stepSpin(-1); });
    connect(&m_store, &KeyboardData::selectedKeyChanged, this, &OldDelayPage::refresh);
    connect(&m_store, &KeyboardData::keyButtonTextChanged, this, [this](int keyIdx) {
        if (keyIdx == m_store.selectedKey)
            refresh();
    });

    refresh();
}

void OldDelayPage::setDeviceConnected(bool connected)
{
    m_deviceConnected = connected;
    refresh();
}

void OldDelayPage::refresh()
{
    const KeyConfig *key = m_store.selectedConfig();
    const int delay = key ? oldFamilyDelay(*key) : 0;
    for (QWidget *control : {static_cast<QWidget *>(m_slider), static_cast<QWidget *>(m_spin),
                             static_cast<QWidget *>(m_upButton), static_cast<QWidget *>(m_downButton)})
        control->setEnabled(m_deviceConnected);
    const QSignalBlocker sliderBlocker(m_slider);
    const QSignalBlocker spinBlocker(m_spin);
    m_slider->setValue(delay);
    m_spin->setValue(delay);
}

void OldDelayPage::onValueChosen(int value)
{
    if (m_deviceConnected)
        applyOldFamilyDelay(m_store, value);
    refresh();
}

void OldDelayPage::stepSpin(int steps)
{
    m_spin->stepBy(steps);
    if (QLineEdit *edit = m_spin->findChild<QLineEdit *>())
        edit->deselect();
}
