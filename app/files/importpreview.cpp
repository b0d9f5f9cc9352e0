#include "app/files/importpreview.h"

#include "model/translation.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 420;
constexpr int kPreferredWidth = 760;
constexpr int kPreferredHeight = 640;
constexpr int kListIndent = 24;

QLabel *listLabel(const QStringList &lines, QWidget *parent)
{
    auto *label = new QLabel(lines.join(QLatin1Char('\n')), parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setContentsMargins(kListIndent, 0, 0, 0);
    return label;
}

} // namespace

ImportPreview::ImportPreview(const ImportPlan &plan, const QString &fileName, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(translateText("Import from file"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    auto *layout = new QVBoxLayout(this);
    auto *heading =
        new QLabel(translateText("Importing %1 changes these layers of the keypad. Nothing "
                                 "reaches the keypad until you save.")
                       .arg(fileName),
                   this);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto *content = new QWidget(scroll);
    auto *list = new QVBoxLayout(content);
    // What is skipped comes first, where it is seen.
    if (!plan.notHeld.isEmpty()) {
        auto *title =
            new QLabel(translateText("This keypad cannot hold these; they are skipped:"), content);
        title->setStyleSheet(QStringLiteral("font-weight: bold;"));
        list->addWidget(title);
        list->addWidget(listLabel(plan.notHeld, content));
    }
    QStringList lightingLines;
    for (const LayerImport &layer : plan.layers) {
        auto *box = new QCheckBox(translateText("Layer %1: %2 changes").arg(layer.layer + 1)
                                      .arg(layer.changes.size()),
                                  content);
        box->setChecked(true);
        m_layerBoxes.append(box);
        list->addWidget(box);
        list->addWidget(listLabel(layer.changes.isEmpty()
                                      ? QStringList{translateText("No function changes")}
                                      : layer.changes,
                                  content));
        if (layer.hasLighting)
            lightingLines << translateText(layer.lightingChanges ? "Layer %1: lighting changes"
                                                        : "Layer %1: lighting stays as it is")
                                 .arg(layer.layer + 1);
    }
    if (!lightingLines.isEmpty()) {
        m_lightingBox = new QCheckBox(translateText("Lighting"), content);
        m_lightingBox->setChecked(true);
        list->addWidget(m_lightingBox);
        list->addWidget(listLabel(lightingLines, content));
    }
    list->addStretch(1);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *import = buttons->addButton(translateText("Import"), QDialogButtonBox::AcceptRole);
    buttons->addButton(translateText("Cancel"), QDialogButtonBox::RejectRole);
    import->setDefault(true);
    import->setAutoDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Within the screen: a small one shows the preview whole, with scrolling.
    QSize size(kPreferredWidth, kPreferredHeight);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size.expandedTo(minimumSize()));
}

ImportChoice ImportPreview::choice() const
{
    ImportChoice chosen;
    for (QCheckBox *box : m_layerBoxes)
        chosen.layers.append(box->isChecked());
    chosen.lighting = m_lightingBox && m_lightingBox->isChecked();
    return chosen;
}
