#include "pages/multimediapage.h"

#include "pages/cuttexttooltip.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "widgets/stylesheetupdate.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>

namespace {

struct MediaKeyEntry {
    const char *label;
    uint16_t code;
};

constexpr int kColumns = 7;
constexpr int kEmptyRows = 2;
constexpr int kSpacing = 6;
constexpr int kOuterMargin = 8;

constexpr MediaKeyEntry kMediaKeys[][kColumns] = {
    {{"Next Track", 0x00B5}, {"Stop", 0x00B7}, {"Prev Track", 0x00B6}, {"Play/Pause", 0x00CD},
     {"Bright+", 0x006F}, {"My Computer", 0x0194}, {"Bright-", 0x0070}},
    {{"Vol-", 0x00EA}, {"Vol+", 0x00E9}, {"Mute", 0x00E2}, {"Open Media", 0x0183},
     {"Calculator", 0x0192}, {"Browser", 0x0196}, {"Email", 0x018A}},
    {{"Bass+", 0x0152}, {"Refresh", 0x0227}, {"Treble-", 0x015D}, {"Treble+", 0x015C},
     {"Forward", 0x0225}, {"Bass-", 0x0153}, {"Back", 0x0224}},
};

QHBoxLayout *addRow(QVBoxLayout *outer)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    outer->addLayout(row);
    return row;
}

} // namespace

MultiMediaPage::MultiMediaPage(QWidget *parent)
    : AssignmentPage(parent)
{
    setObjectName(QStringLiteral("multiMediaPage"));
    setAttribute(Qt::WA_StyledBackground);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(kOuterMargin, kOuterMargin, kOuterMargin, kOuterMargin);
    outer->setSpacing(kSpacing);

    for (const auto &entries : kMediaKeys) {
        QHBoxLayout *row = addRow(outer);
        for (const MediaKeyEntry &entry : entries) {
            QPushButton *button = createPageButton(QString::fromLatin1(entry.label),
                                                   QStringLiteral("mediaKey"), this);
            button->setProperty(kMediaCodeProperty, int(entry.code));
            button->setAccessibleName(spokenLabel(entry.label));
            connect(button, &QPushButton::clicked, this,
                    [this, code = entry.code] { emit mediaChosen(code); });
            row->addWidget(button);
            m_mediaButtons << button;
        }
    }
    for (int i = 0; i < kEmptyRows; ++i) {
        QHBoxLayout *row = addRow(outer);
        for (int column = 0; column < kColumns; ++column)
            row->addWidget(createEmptyCell(QStringLiteral("mediaKeyEmpty"), this));
    }

    setScale(1.0);
    showCutTextsAsToolTips(this);
}

void MultiMediaPage::setScale(double scale)
{
    // A page that was never polished does not re-read a changed sheet,
    // while its keys already hold the old fonts.
    ensurePolished();
    setStyleSheetIfChanged(this, multiMediaStyleSheet(scale));
}
