#include "app/widget.h"

#include "app/settingsfile.h"
#include "model/translation.h"
#include "app/widgetstyle.h"
#include "model/logging.h"

#include <QButtonGroup>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace {

constexpr int kDesignWidth = 1500;
constexpr int kDesignHeight = 1100;
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
constexpr int kResizeDebounceMs = 10;
constexpr int kFunctionButtonMinHeight = 70;

} // namespace

Widget::Widget(QWidget *parent)
    : QWidget(parent)
{
    // The style sheet comes first so every child is polished with it.
    setStyleSheet(windowStyleSheet());
    m_resizeTimer = new QTimer(this);

    // The key store is a member; the control-button slots start empty.
    m_controlButtons.fill(nullptr);
    m_gridKeyButtons.fill(nullptr);

    // The settings file beside the executable picks the language and the
    // number of layer buttons for the life of the window.
    const AppSettings settings = readSettingsFile();
    m_useChinese = settings.useChinese;
    if (settings.layerNum) {
        m_startupDefaultLayerCount = *settings.layerNum;
        setForcedLayerDisplayCount(*settings.layerNum);
    }

    setWindowTitle(QStringLiteral("Zentrik"));
    resize(kDesignWidth, kDesignHeight);
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    buildWidgetTree();
    setupFunctionButtons();
    createLayerButtonGroup();

    applyStartupLayout();

    qCDebug(lcLayer).noquote() << "[Layer] ctor startup forced count=" << m_forcedLayerDisplayCount
                               << "effective=" << effectiveLayerDisplayCount();
    updateLayerButtonsVisibility();

    connectControlButtons();
    // Every text of the finished tree is translated in one pass.
    applyLanguage();
    connectKeyboardData();
    connectFunctionButtons();

    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(kResizeDebounceMs);
    connect(m_resizeTimer, &QTimer::timeout, this, &Widget::onResizeTimeout);

    // No keypad yet.
    clearDeviceState();
    showDisconnectedStatus();
    m_saveSettingsButton->setEnabled(false);
    m_viewSettingsButton->setEnabled(false);

    // The keypad link comes last: it may report a keypad at once.
    updateLayerButtonsVisibility();
    initHIDCommunication();
}

Widget::~Widget()
{
    // Children are destroyed after this body, when the window is no longer a
    // Widget; none of their last signals may reach its slots.
    m_functionList->disconnect(this);
    m_keyboardData.disconnect(this);

    m_layerButtonGroup->deleteLater();
    m_layerButtonGroup = nullptr;
    m_resizeTimer->deleteLater();
    m_resizeTimer = nullptr;
}

void Widget::setupFunctionButtons()
{
    m_functionButtons = {m_clearButton, m_clearAllButton, m_viewSettingsButton,
                         m_saveSettingsButton};
    for (QPushButton *button : qAsConst(m_functionButtons)) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setMinimumHeight(kFunctionButtonMinHeight);
    }
}

void Widget::applyStartupLayout()
{
    applyLayout(layoutForPreset(m_startupPreset));
}

void Widget::wireControlSlots()
{
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        QPushButton *button = m_controlButtons[size_t(slot)];
        if (!button)
            continue;
        button->setProperty("buttonIndex", slot);
        connect(button, &QPushButton::clicked, this, &Widget::onButtonClicked,
                Qt::UniqueConnection);
    }
}

void Widget::connectControlButtons()
{
    // Applying a layout has connected the buttons it placed already.
    wireControlSlots();

    // The store's own clear actions run first; the window's slots connected
    // later tidy the buttons and the display.
    connect(m_clearButton, &QPushButton::clicked, this, [this] {
        if (m_keyboardData.selectedKey >= 0)
            m_keyboardData.clearSelectedKey();
        forgetSelectedButton();
        qCDebug(lcUi).noquote() << "Clear button clicked - cleared selected key";
    });
    connect(m_clearAllButton, &QPushButton::clicked, this, [this] {
        m_keyboardData.clearAllKeys();
        m_selectedButton = nullptr;
        qCDebug(lcUi).noquote() << "Clear All button clicked - cleared all keys";
    });
    connect(m_viewSettingsButton, &QPushButton::clicked, this,
            [] { qCDebug(lcView).noquote() << "View Settings clicked"; });
}

void Widget::connectKeyboardData()
{
    connect(&m_keyboardData, &KeyboardData::keyButtonTextChanged, this,
            &Widget::onKeyButtonTextChanged);
    connect(&m_keyboardData, &KeyboardData::keyFullTextChanged, this,
            &Widget::onKeyFullTextChanged);
    connect(&m_keyboardData, &KeyboardData::selectedKeyChanged, this,
            &Widget::onSelectedKeyChanged);
    connect(&m_keyboardData, &KeyboardData::error, this, &Widget::showError);
}

void Widget::connectFunctionButtons()
{
    connect(m_clearButton, &QPushButton::clicked, this, &Widget::onClearSelectedClicked);
    connect(m_clearAllButton, &QPushButton::clicked, this, &Widget::onClearAllClicked);
    connect(m_saveSettingsButton, &QPushButton::clicked, this, &Widget::onSaveSettingsClicked);
    connect(m_viewSettingsButton, &QPushButton::clicked, this, &Widget::onViewSettingsClicked);
}

void Widget::clearDeviceState()
{
    m_deviceConnected = false;
    m_legacyActive = false;
    m_legacyR20Wide = false;
    m_legacyOld = false;
    m_deviceInfo = DeviceInfo();
    m_legacyInfo = LegacyDeviceInfo();
}

void Widget::showDisconnectedStatus()
{
    m_tipLabel->setText(translateText(QStringLiteral("Connect the device with a usb cable"),
                                      m_useChinese));
    m_tipLabel->setStyleSheet(QStringLiteral("color: #FF0000;"));
}
