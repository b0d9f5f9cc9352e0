#include "app/connection/unsavedprompt.h"

#include "model/translation.h"

#include <QMessageBox>
#include <QPushButton>

namespace UnsavedPrompt {

Choice askBeforeClose(QWidget *parent, bool canSave)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrik"),
                    translateText("Some changes have not been saved to the keypad."),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("closePrompt"));
    box.setInformativeText(canSave ? translateText("Save them before closing?")
                                   : translateText("No keypad can take them now. Close anyway?"));
    QPushButton *save = nullptr;
    if (canSave)
        save = box.addButton(translateText("Save"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(translateText("Discard"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(translateText("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save ? save : cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (save && box.clickedButton() == save)
        return Choice::Save;
    if (box.clickedButton() == discard)
        return Choice::Discard;
    return Choice::Cancel;
}

bool askBeforeReread(QWidget *parent)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrik"),
                    translateText("Reading the keypad again discards the changes not yet saved."),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("rereadPrompt"));
    QPushButton *discard =
        box.addButton(translateText("Discard and read"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(translateText("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == discard;
}

} // namespace UnsavedPrompt
