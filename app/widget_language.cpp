// The language pass over the finished window. Texts set later (status line,
// key texts) are translated by the code that sets them.

#include "app/widget.h"

#include "model/translation.h"
#include "pages/procreatepage.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

namespace {

constexpr int kFunctionListLanguagePadding = 18;

} // namespace

void Widget::applyLanguage()
{
    for (QPushButton *button : findChildren<QPushButton *>()) {
        // Procreate shortcut buttons break their labels into lines by the
        // page's own rule, so the page words them itself.
        if (button->property("procreateLabel").isValid())
            continue;
        button->setText(translateText(button->text(), m_useChinese));
    }
    for (QLabel *label : findChildren<QLabel *>())
        label->setText(translateText(label->text(), m_useChinese));

    for (int row = 0; row < m_functionList->count(); ++row) {
        QListWidgetItem *item = m_functionList->item(row);
        item->setText(translateText(item->text(), m_useChinese));
    }
    m_functionList->setFixedWidth(m_functionList->sizeHintForColumn(0)
                                  + kFunctionListLanguagePadding);

    m_keyDisplay->setPlaceholderText(
        translateText(QStringLiteral("Key Function Display Area"), m_useChinese));

    m_procreatePage->applyLanguage(m_useChinese);
    updateMacroPageTitle();
    if (m_keyboardData.selectedKey >= 0)
        showKeyDisplayText(fullTextFor(m_keyboardData.selectedKey));
}

void Widget::updateMacroPageTitle()
{
    // The older keypad families have no macro recorder; their row 5 page
    // sets press delays instead.
    const bool delayPage = m_legacyR20Wide || m_legacyOld;
    if (QListWidgetItem *item = m_functionList->item(RowMacro))
        item->setText(translateText(
            delayPage ? QStringLiteral("DelaySetting") : QStringLiteral("Macro Key"), m_useChinese));
    // The connected family decides the pages of rows 3 and 5.
    applyDeviceStateToPages();
}

void Widget::showKeyDisplayText(const QString &text)
{
    if (text.contains(QLatin1String("<span")))
        m_keyDisplay->setHtml(text);
    else
        m_keyDisplay->setPlainText(translateText(text, m_useChinese));
    m_keyDisplay->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
