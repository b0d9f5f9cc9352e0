#include "pages/macrosummary.h"

#include "model/labels.h"
#include "model/macroedits.h"
#include "model/translation.h"
#include "pages/typedtext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr auto kTotalsStyle = "QLabel { color: #cccccc; }";
constexpr auto kPreviewStyle = "QLabel { color: #9fd0ff; }";
constexpr auto kWarningStyle = "QLabel { color: #ffb347; font-weight: bold; }";

QString keyNames(const QVector<uint8_t> &usages)
{
    QStringList names;
    for (uint8_t usage : usages)
        names << keyLabel(usage);
    return names.join(QStringLiteral(", "));
}

QLabel *summaryLabel(const char *style, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setStyleSheet(QLatin1String(style));
    // One line each, however long the macro: the page keeps its height, and
    // the tooltip holds what does not fit.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Read by screen readers and by the keyboard's Tab as plain text.
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    return label;
}

} // namespace

MacroSummary::MacroSummary(QWidget *parent)
    : QWidget(parent)
{
    m_totals = summaryLabel(kTotalsStyle, this);
    m_preview = summaryLabel(kPreviewStyle, this);
    m_warning = summaryLabel(kWarningStyle, this);
    m_fix = new QPushButton(this);
    m_fix->setFocusPolicy(Qt::StrongFocus);

    auto *warningRow = new QHBoxLayout;
    warningRow->setContentsMargins(0, 0, 0, 0);
    warningRow->addWidget(m_warning, 1);
    warningRow->addWidget(m_fix);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_totals);
    layout->addWidget(m_preview);
    layout->addLayout(warningRow);

    connect(m_fix, &QPushButton::clicked, this, &MacroSummary::fixRequested);
    retranslate();
}

void MacroSummary::showMacro(const QVector<MacroStep> &steps, const TypingLayout &layout)
{
    m_steps = steps;
    m_layoutName = layout.name();
    m_previewText = layout.isValid() ? typedPreview(steps, layout) : QString();
    retranslate();
}

void MacroSummary::retranslate()
{
    m_fix->setText(translateText("Add the missing releases"));
    const double seconds = macroRunningTime(m_steps) / 1000.0;
    m_totals->setText(translateText("Running time %1 s · %2 of %3 steps used")
                          .arg(QString::number(seconds, 'f', 2))
                          .arg(m_steps.size())
                          .arg(kMaxMacroSteps));
    m_totals->setAccessibleName(m_totals->text());
    m_totals->setToolTip(m_totals->text());

    m_preview->setVisible(!m_steps.isEmpty() && !m_layoutName.isEmpty());
    m_preview->setText(translateText("Types on %1: %2").arg(m_layoutName, m_previewText));
    m_preview->setAccessibleName(m_preview->text());
    m_preview->setToolTip(m_preview->text());

    const MacroBalance balance = macroBalance(m_steps);
    QStringList warnings;
    if (!balance.neverReleased.isEmpty())
        warnings
            << translateText("Pressed and never released: %1").arg(keyNames(balance.neverReleased));
    if (!balance.neverPressed.isEmpty())
        warnings
            << translateText("Released and never pressed: %1").arg(keyNames(balance.neverPressed));
    m_warning->setText(warnings.join(QStringLiteral("; ")));
    m_warning->setAccessibleName(m_warning->text());
    m_warning->setToolTip(m_warning->text());
    m_warning->setVisible(!warnings.isEmpty());
    m_fix->setVisible(!warnings.isEmpty());
    m_fix->setAccessibleName(m_fix->text());
}
