#include "pages/basekeyspage.h"

#include "pages/basekeytable.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "widgets/dualcharbutton.h"

#include <QGridLayout>
#include <QPushButton>

namespace {

constexpr int kPageMargin = 15;
// A thin row between the function row and the rest, as on a real keyboard.
constexpr int kGapRow = 1;
constexpr int kKeyRowStretch = 4;
constexpr int kGapRowStretch = 1;

int gridRow(int keyRow) { return keyRow < kGapRow ? keyRow : keyRow + 1; }

QPushButton *createKey(const BaseKeyEntry &entry, QWidget *parent)
{
    const QString label = QString::fromUtf8(entry.label);
    QPushButton *key = nullptr;
    if (entry.shiftedLabel) {
        key = new DualCharButton(label, QString::fromUtf8(entry.shiftedLabel), parent);
        key->setFocusPolicy(Qt::NoFocus);
    } else {
        key = createPageButton(label, QString::fromLatin1(entry.styleClass), parent);
    }
    key->setProperty(kKeycodeProperty, int(entry.usage));
    // Widths come from the grid alone, not from the legends.
    key->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return key;
}

// Keeps a gap of the grid at its share of the page: a grid row or column
// that holds nothing would collapse to nothing.
void fillGap(QGridLayout *grid, int row, int column, int rowSpan, int columnSpan)
{
    auto *filler = new QWidget;
    filler->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    filler->setAttribute(Qt::WA_TransparentForMouseEvents);
    grid->addWidget(filler, row, column, rowSpan, columnSpan);
}

} // namespace

BaseKeysPage::BaseKeysPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("baseKeysPage"));
    setAttribute(Qt::WA_StyledBackground);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    grid->setSpacing(0);

    for (const BaseKeyEntry &entry : kBaseKeys) {
        QPushButton *key = createKey(entry, this);
        grid->addWidget(key, gridRow(entry.row), entry.column, entry.height, entry.width);
        m_keyButtons << key;
    }

    const int rows = gridRow(kBaseKeyRows);
    fillGap(grid, kGapRow, 0, 1, kBaseKeyColumns);
    fillGap(grid, 0, kNavBlockColumn - kBlockGap, rows, kBlockGap);
    fillGap(grid, 0, kNumpadBlockColumn - kBlockGap, rows, kBlockGap);

    for (int column = 0; column < kBaseKeyColumns; ++column)
        grid->setColumnStretch(column, 1);
    for (int row = 0; row < rows; ++row)
        grid->setRowStretch(row, row == kGapRow ? kGapRowStretch : kKeyRowStretch);

    setScale(1.0);
}

void BaseKeysPage::setScale(double scale)
{
    // A page that was never polished does not re-read a changed sheet,
    // while its keys already hold the old fonts.
    ensurePolished();
    setStyleSheet(baseKeysStyleSheet(scale));
}
