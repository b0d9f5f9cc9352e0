// Selecting a key or knob, following the key store's texts, and the Clear
// and Clear All commands.

#include "app/widget.h"

#include "app/translation.h"
#include "model/logging.h"

#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>

namespace {

constexpr int kLightingPageMinHeight = 300;
constexpr int kPageMinHeight = 600;

} // namespace

void Widget::onButtonClicked()
{
    auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    bool ok = false;
    const int index = button->property("buttonIndex").toInt(&ok);
    if (!ok || index < 0 || index >= kKeySlotCount || m_controlButtons[size_t(index)] != button)
        return;

    for (QPushButton *control : m_controlButtons)
        if (control)
            control->setChecked(control == button);
    m_selectedButton = button;
    m_keyboardData.selectKey(index);
}

void Widget::onKeyButtonTextChanged(int index, QString text)
{
    if (index < 0 || index >= kKeySlotCount)
        return;
    if (QPushButton *button = m_controlButtons[size_t(index)])
        button->setText(translateText(text, m_useChinese));
}

void Widget::onKeyFullTextChanged(int index, QString text)
{
    if (index != m_keyboardData.selectedKey)
        return;
    showKeyDisplayText(text);
}

void Widget::onSelectedKeyChanged(int index)
{
    QPushButton *selected = index >= 0 && index < kKeySlotCount
        ? m_controlButtons[size_t(index)] : nullptr;
    for (QPushButton *control : m_controlButtons)
        if (control)
            control->setChecked(control == selected);
    m_selectedButton = selected;

    if (index < 0 || index >= kKeySlotCount) {
        m_keyDisplay->clear();
        return;
    }
    const KeyLayer &layer = m_keyboardData.layers[m_keyboardData.currentLayer];
    showKeyDisplayText(layer[index].fullText);
}

void Widget::forgetSelectedButton()
{
    if (m_selectedButton)
        m_selectedButton->setChecked(false);
    m_selectedButton = nullptr;
}

void Widget::onClearSelectedClicked()
{
    const int key = m_keyboardData.selectedKey;
    if (key >= 0)
        m_keyboardData.clearSelectedKey();
    forgetSelectedButton();
    m_keyDisplay->clear();
    if (key >= 0 && key < kKeySlotCount && m_controlButtons[size_t(key)])
        m_controlButtons[size_t(key)]->setText(QString());
    qCDebug(lcUi).noquote() << "Clear button clicked - cleared selected key";
}

void Widget::onClearAllClicked()
{
    m_keyboardData.clearAllKeys();
    m_selectedButton = nullptr;
    for (QPushButton *control : m_controlButtons)
        if (control)
            control->setText(QString());
    m_keyDisplay->clear();
    qCDebug(lcUi).noquote() << "Clear All - cleared layer" << m_keyboardData.currentLayer + 1;
}

void Widget::showPage(int row)
{
    if (row < 0 || row >= m_pageStack->count())
        return;
    m_pageStack->setCurrentIndex(row);
    m_rgbPageShown = row == RowRgbLed;
    // The lighting page fits a lower window than the key pages.
    setMinimumHeight(m_rgbPageShown ? kLightingPageMinHeight : kPageMinHeight);

    const int key = m_keyboardData.selectedKey;
    if (m_rgbPageShown || key < 0 || key >= kKeySlotCount)
        m_keyDisplay->clear();
    else
        showKeyDisplayText(m_keyboardData.layers[m_keyboardData.currentLayer][key].fullText);
}
