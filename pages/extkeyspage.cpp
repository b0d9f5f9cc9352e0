#include "pages/extkeyspage.h"

#include "pages/cuttexttooltip.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "widgets/stylesheetupdate.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>

namespace {

struct ExtKeyEntry {
    const char *label;
    uint8_t usage;
};

constexpr int kColumns = 8;
constexpr int kRows = 5;
constexpr int kSpacing = 6;
constexpr int kOuterMargin = 8;

// Filled row by row into the 8-column grid.
constexpr ExtKeyEntry kExtKeys[] = {
    {"Left\nCommand", 0xE3}, {"Right\nCommand", 0xE7}, {"Left\nOption", 0xE2},
    {"Right\nOption", 0xE6}, {"Left\nControl", 0xE0},  {"Right\nControl", 0xE4},
    {"F13", 0x68},           {"F14", 0x69},            {"F15", 0x6A},
    {"F16", 0x6B},           {"F17", 0x6C},            {"F18", 0x6D},
    {"F19", 0x6E},           {"F20", 0x6F},            {"F21", 0x70},
    {"F22", 0x71},           {"F23", 0x72},            {"F24", 0x73},
};
constexpr int kExtKeyCount = int(sizeof(kExtKeys) / sizeof(kExtKeys[0]));
static_assert(kExtKeyCount <= kColumns * kRows, "the Ext Keys grid is too small");

} // namespace

ExtKeysPage::ExtKeysPage(QWidget *parent)
    : AssignmentPage(parent)
{
    setObjectName(QStringLiteral("extKeysPage"));
    setAttribute(Qt::WA_StyledBackground);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(kOuterMargin, kOuterMargin, kOuterMargin, kOuterMargin);
    outer->setSpacing(kSpacing);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(kSpacing);
    outer->addLayout(grid);

    for (int cell = 0; cell < kColumns * kRows; ++cell) {
        QPushButton *button = nullptr;
        if (cell < kExtKeyCount) {
            button = createPageButton(QString::fromLatin1(kExtKeys[cell].label),
                                      QStringLiteral("extKey"), this);
            button->setProperty(kKeycodeProperty, int(kExtKeys[cell].usage));
            button->setAccessibleName(spokenLabel(kExtKeys[cell].label));
            connect(button, &QPushButton::clicked, this,
                    [this, usage = kExtKeys[cell].usage] { emit baseKeyChosen(usage); });
            m_keyButtons << button;
        } else {
            button = createEmptyCell(QStringLiteral("extKeyEmpty"), this);
        }
        grid->addWidget(button, cell / kColumns, cell % kColumns);
    }
    for (int column = 0; column < kColumns; ++column)
        grid->setColumnStretch(column, 1);
    for (int row = 0; row < kRows; ++row)
        grid->setRowStretch(row, 1);

    setScale(1.0);
    showCutTextsAsToolTips(this);
}

void ExtKeysPage::setScale(double scale)
{
    // A page that was never polished does not re-read a changed sheet,
    // while its keys already hold the old fonts.
    ensurePolished();
    setStyleSheetIfChanged(this, extKeysStyleSheet(scale));
}
