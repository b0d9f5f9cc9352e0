// The language pass over the finished window. Texts set later (status line,
// key texts) are translated by the code that sets them.

#include "app/window/widget.h"

#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keypadview.h"
#include "app/editing/pagehost.h"
#include "pages/procreatepage.h"

#include "model/translation.h"

#include <QLabel>
#include <QPushButton>

void Widget::applyLanguage()
{
    const QWidget *procreatePage = m_pages->procreatePage();
    for (QPushButton *button : findChildren<QPushButton *>()) {
        // Procreate shortcut buttons break their labels into lines by the
        // page's own rule, so the page words them itself.
        if (procreatePage->isAncestorOf(button))
            continue;
        button->setText(translateText(button->text()));
    }
    for (QLabel *label : findChildren<QLabel *>())
        label->setText(translateText(label->text()));

    m_pages->translateFunctionList();

    m_display->showPlaceholder();

    m_pages->retranslatePages();
    m_pages->updateMacroPageTitle();
    m_view->showSelectedKeyText();
}
