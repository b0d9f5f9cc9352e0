#pragma once

#include "pages/assignmentpage.h"

#include <QList>

class QPushButton;

// Page "Ext Keys": the Mac-style modifier keys and F13-F24. The keys follow
// the on-screen keyboard's rules, so the window connects them to the same
// base-key slot.
class ExtKeysPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit ExtKeysPage(QWidget *parent = nullptr);

    // The keys that carry a usage, in table order; the empty cells are not here.
    const QList<QPushButton *> &keyButtons() const { return m_keyButtons; }

    void setScale(double scale) override;

private:
    QList<QPushButton *> m_keyButtons;
};
