#include "pages/basekeyspage.h"

#include "pages/basekeynames.h"
#include "pages/basekeytable.h"
#include "pages/cuttexttooltip.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "widgets/dualcharbutton.h"
#include "widgets/sharedbevelbutton.h"

#include <QGridLayout>
#include <QPushButton>
#include <cstring>

namespace {

constexpr int kPageMargin = 15;
// A thin row between the function row and the rest, as on a real keyboard.
constexpr int kGapRow = 1;
constexpr int kKeyRowStretch = 4;
constexpr int kGapRowStretch = 1;
constexpr int kDesignKeyGapPx = 2;

struct KeyFont {
    const char *styleClass;
    int designPx;
};

// Letters, digits and the two-legend keys have no class and take the plain size.
constexpr KeyFont kKeyFonts[] = {
    {kFunctionKey, kPlainKeyFontPx}, {kSpecialKey, kSpecialKeyFontPx},
    {kNavKey, kNavKeyFontPx},        {kNumpadKey, kPlainKeyFontPx},
    {kNumpadOperator, kNumpadOperatorFontPx},
};

int designFontPx(const char *styleClass)
{
    if (styleClass)
        for (const KeyFont &font : kKeyFonts)
            if (std::strcmp(font.styleClass, styleClass) == 0)
                return font.designPx;
    return kPlainKeyFontPx;
}

int gridRow(int keyRow) { return keyRow < kGapRow ? keyRow : keyRow + 1; }

SharedBevelButton *createKey(const BaseKeyEntry &entry, QWidget *parent)
{
    const QString label = QString::fromUtf8(entry.label);
    SharedBevelButton *key = nullptr;
    if (entry.shiftedLabel) {
        key = new DualCharButton(label, QString::fromUtf8(entry.shiftedLabel), parent);
    } else {
        key = new SharedBevelButton(label, parent);
        if (entry.styleClass)
            key->setProperty(kClassProperty, QString::fromLatin1(entry.styleClass));
    }
    makeKeyboardReachable(key);
    key->setAccessibleName(baseKeySpokenName(entry.usage, entry.label));
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
    : AssignmentPage(parent)
{
    setObjectName(QStringLiteral("baseKeysPage"));
    setAttribute(Qt::WA_StyledBackground);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    grid->setSpacing(0);

    for (const BaseKeyEntry &entry : kBaseKeys) {
        SharedBevelButton *key = createKey(entry, this);
        connect(key, &QPushButton::clicked, this,
                [this, usage = entry.usage] { emit baseKeyChosen(usage); });
        grid->addWidget(key, gridRow(entry.row), entry.column, entry.height, entry.width);
        m_keyButtons << key;
        m_bevelKeys << key;
        m_designFontPx << designFontPx(entry.styleClass);
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
    showCutTextsAsToolTips(this);
}

void BaseKeysPage::setScale(double scale)
{
    // The gap is each key's margin in the sheet. A new sheet re-polishes all
    // hundred keys, so it is set only at the few ratios that change the gap.
    const int gap = scaledPixels(kDesignKeyGapPx, scale);
    if (gap != m_appliedKeyGapPx) {
        m_appliedKeyGapPx = gap;
        // A page that was never polished does not re-read a changed sheet.
        ensurePolished();
        setStyleSheet(baseKeysStyleSheet(gap));
        // The keys share their drawn bevels; another sheet is another look.
        const QString look = QStringLiteral("baseKeys/gap%1").arg(gap);
        for (SharedBevelButton *key : qAsConst(m_bevelKeys))
            key->setBevelLook(look);
    }
    // The font sizes change at every ratio and are set on the keys. Only the
    // size is set: the family still comes from the window's sheet.
    for (int i = 0; i < m_keyButtons.size(); ++i) {
        QPushButton *key = m_keyButtons[i];
        const int px = scaledFontPixels(m_designFontPx[i], scale);
        if (key->testAttribute(Qt::WA_SetFont) && key->font().pixelSize() == px)
            continue;
        QFont font;
        font.setPixelSize(px);
        key->setFont(font);
    }
}
