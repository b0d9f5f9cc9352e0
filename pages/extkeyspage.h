#pragma once

#include "pages/assignmentpage.h"

#include <QList>
#include <cstdint>

class QPushButton;

// Page "Ext Keys": the Mac-style modifier keys and F13-F24. The keys follow
// the on-screen keyboard's rules: a click says baseKeyChosen with the key's
// usage, as a key of the base keys page does.
class ExtKeysPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit ExtKeysPage(QWidget *parent = nullptr);

    // The keys that carry a usage, in table order; the empty cells are not here.
    const QList<QPushButton *> &keyButtons() const { return m_keyButtons; }

    void setScale(double scale) override;

signals:
    void baseKeyChosen(uint8_t usage);

private:
    QList<QPushButton *> m_keyButtons;
};
