#include "pages/olddelaypage.h"

#include "model/keyboarddata.h"
#include "model/translation.h"
#include "pages/delayspinframe.h"
#include "pages/legacydelayedit.h"
#include "pages/pagebutton.h"
#include "widgets/stylesheetupdate.h"

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
constexpr int kSpinLeftMargin = 4;

constexpr int kTextFontPx = 20;
constexpr int kSpinMinWidth = 80;
constexpr int kSpinMinHeight = 36;
constexpr int kArrowFontPx = 10;
constexpr int kArrowWidth = 22;
constexpr int kArrowMinHeight = 16;

constexpr auto kLabelText = "Delay:";
constexpr auto kUnitText = "MS";

// The window's style sheet has no rules for this page's classes, so the page
// brings its own.
// Sizes: %1 text font, %2 spin width, %3 spin height, %4 arrow font,
// %5 arrow width, %6 arrow height.
constexpr auto kPageStyle =
    "QLabel[class=\"legacyOldDelayLabel\"], QLabel[class=\"legacyOldDelayUnit\"] {"
    " color: #ffffff; font-size: %1px; font-weight: bold; background: transparent; }"
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
    " color: #ffffff; font-size: %1px; font-weight: bold; min-width: %2px; min-height: %3px; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"]:disabled { color: #777777; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"] QLineEdit { min-height: 0px;"
    " max-height: 16777215px; background: transparent; color: #ffffff; font-size: %1px; }"
    "QSpinBox[class=\"legacyOldDelaySpin\"] QLineEdit:disabled { color: #777777; }"
    "QWidget[class=\"legacyOldDelayArrowPanel\"] { background: transparent; }"
    "QPushButton[class=\"legacyOldDelayArrow\"] { background-color: #3c3c3c; color: #ffffff;"
    " border: none; border-radius: 2px; font-size: %4px; min-width: %5px; max-width: %5px;"
    " min-height: %6px; }"
    "QPushButton[class=\"legacyOldDelayArrow\"]:hover { background-color: #4a4a4a; }"
    "QPushButton[class=\"legacyOldDelayArrow\"]:disabled { color: #666666; }";

QString pageStyle(double share)
{
    return QString::fromLatin1(kPageStyle)
        .arg(scaledFontPixels(kTextFontPx, share))
        .arg(scaledPixels(kSpinMinWidth, share))
        .arg(scaledPixels(kSpinMinHeight, share))
        .arg(scaledFontPixels(kArrowFontPx, share))
        .arg(scaledPixels(kArrowWidth, share))
        .arg(scaledPixels(kArrowMinHeight, share));
}

void setStyleClass(QWidget *widget, const char *styleClass)
{
    widget->setProperty("class", QLatin1String(styleClass));
}

} // namespace

OldDelayPage::OldDelayPage(KeyboardData &store, QWidget *parent)
    : AssignmentPage(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("oldDelayPage"));
    // Paints the page background the window's style sheet gives every page.
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(pageStyle(1.0));

    m_label = new QLabel(translateText(QString::fromLatin1(kLabelText)), this);
    setStyleClass(m_label, "legacyOldDelayLabel");

    m_slider = new QSlider(Qt::Horizontal, this);
    setStyleClass(m_slider, "legacyOldDelaySlider");
    m_slider->setRange(0, kMaxOldDelay);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(kSliderPageStep);
    m_slider->setMinimumWidth(kSliderMinWidth);
    m_slider->setMaximumWidth(kSliderMaxWidth);

    const DelaySpinFrame entry =
        buildDelaySpinFrame(this, QStringLiteral("legacyOldDelay"), kSpinLeftMargin, 0);
    QFrame *spinFrame = entry.frame;
    m_spin = entry.spin;
    m_upButton = entry.upButton;
    m_downButton = entry.downButton;
    m_spin->setRange(0, kMaxOldDelay);
    m_spin->setSingleStep(1);

    m_unit = new QLabel(translateText(QString::fromLatin1(kUnitText)), this);
    setStyleClass(m_unit, "legacyOldDelayUnit");

    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    row->addStretch();
    row->addWidget(m_label);
    row->addWidget(m_slider, 1);
    row->addWidget(spinFrame);
    row->addWidget(m_unit);
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
        if (keyIdx == m_store.selectedKey())
            refresh();
    });

    refresh();
}

void OldDelayPage::setDeviceConnected(bool connected)
{
    m_deviceConnected = connected;
    refresh();
}

void OldDelayPage::setScale(double ratio)
{
    const double share = fixedPageShare(ratio);
    if (share == m_share)
        return;
    m_share = share;
    // A page that was never polished does not re-read a changed sheet.
    ensurePolished();
    setStyleSheetIfChanged(this, pageStyle(share));
    m_slider->setMinimumWidth(scaledPixels(kSliderMinWidth, share));
}

void OldDelayPage::retranslate()
{
    m_label->setText(translateText(QString::fromLatin1(kLabelText)));
    m_unit->setText(translateText(QString::fromLatin1(kUnitText)));
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
