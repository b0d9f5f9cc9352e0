#include "pages/typetextdialog.h"

#include "model/translation.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

constexpr int kDefaultKeyDelay = 50;
constexpr int kMaxKeyDelay = 9999;
constexpr auto kProblemStyle = "QLabel { color: #ff6b5b; font-weight: bold; }";

} // namespace

TypeTextDialog::TypeTextDialog(int freeSteps, bool firstStep, bool singleDelay, QWidget *parent)
    : QDialog(parent)
    , m_freeSteps(freeSteps)
    , m_firstStep(firstStep)
{
    setWindowTitle(translateText("Type text"));
    setObjectName(QStringLiteral("typeTextDialog"));

    m_layoutBox = new QComboBox(this);
    m_layoutBox->setAccessibleName(translateText("Keyboard layout"));
    m_layoutBox->addItem(translateText("Reading the keyboard layout…"));
    m_layoutBox->setEnabled(false);

    m_text = new QPlainTextEdit(this);
    m_text->setAccessibleName(translateText("Text to type"));
    m_text->setTabChangesFocus(true);
    m_text->setMinimumHeight(80);

    m_delay = new QSpinBox(this);
    m_delay->setRange(0, kMaxKeyDelay);
    m_delay->setValue(kDefaultKeyDelay);
    m_delay->setSuffix(QLatin1Char(' ') + translateText("ms"));
    m_delay->setAccessibleName(translateText("Delay between keys"));
    m_delay->setEnabled(!singleDelay);

    m_stepsLabel = new QLabel(this);
    m_stepsLabel->setWordWrap(true);
    m_problemLabel = new QLabel(this);
    m_problemLabel->setWordWrap(true);
    m_problemLabel->setStyleSheet(QLatin1String(kProblemStyle));

    m_buttons = new QDialogButtonBox(this);
    m_addButton = m_buttons->addButton(translateText("Add"), QDialogButtonBox::AcceptRole);
    m_buttons->addButton(translateText("Cancel"), QDialogButtonBox::RejectRole);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(translateText("Keyboard layout"), m_layoutBox);
    form->addRow(translateText("Text to type"), m_text);
    form->addRow(translateText("Delay between keys"), m_delay);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (singleDelay) {
        auto *note =
            new QLabel(translateText("This keypad plays every press after one common delay: "
                                     "the delay between keys does not apply."),
                       this);
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    layout->addWidget(m_stepsLabel);
    layout->addWidget(m_problemLabel);
    layout->addWidget(m_buttons);

    connect(m_text, &QPlainTextEdit::textChanged, this, &TypeTextDialog::updatePreview);
    connect(m_delay, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &TypeTextDialog::updatePreview);
    connect(&m_layoutRead, &QFutureWatcherBase::finished, this, &TypeTextDialog::onLayoutRead);
    connect(&m_namesRead, &QFutureWatcherBase::finished, this, &TypeTextDialog::onNamesRead);

    m_namesRead.setFuture(QtConcurrent::run([] { return xkbLayoutNames(); }));
}

void TypeTextDialog::useLayout(const LayoutChoice &choice, const TypingLayout &layout)
{
    m_choice = choice;
    m_layout = layout;
    if (!layout.isValid())
        m_layoutRead.setFuture(QtConcurrent::run(&TypingLayout::load, choice));
    else if (choice.isDesktop())
        m_layoutBox->setItemText(0, translateText("Desktop layout (%1)").arg(layout.name()));
    updatePreview();
}

void TypeTextDialog::waitForLayout()
{
    m_layoutRead.waitForFinished();
    m_namesRead.waitForFinished();
    QCoreApplication::processEvents();
}

void TypeTextDialog::onLayoutRead()
{
    if (m_layoutRead.future().resultCount() == 0)
        return;
    m_layout = m_layoutRead.result();
    if (m_choice.isDesktop())
        m_layoutBox->setItemText(0, translateText("Desktop layout (%1)").arg(m_layout.name()));
    updatePreview();
}

void TypeTextDialog::onNamesRead()
{
    if (m_namesRead.future().resultCount() == 0)
        return;
    const QVector<LayoutName> names = m_namesRead.result();
    int chosen = 0;
    for (const LayoutName &name : names) {
        if (name.choice == m_choice)
            chosen = m_layoutBox->count();
        const QString code = name.choice.variant.isEmpty()
                                 ? name.choice.layout
                                 : name.choice.layout + QLatin1Char('(') + name.choice.variant
                                       + QLatin1Char(')');
        m_layoutBox->addItem(QStringLiteral("%1 — %2").arg(code, name.description),
                             QStringList{name.choice.layout, name.choice.variant});
    }
    m_layoutBox->setCurrentIndex(chosen);
    m_layoutBox->setEnabled(true);
    connect(m_layoutBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &TypeTextDialog::chooseLayout);
}

void TypeTextDialog::chooseLayout(int row)
{
    const QStringList names = m_layoutBox->itemData(row).toStringList();
    m_choice = names.size() == 2 ? LayoutChoice{names[0], names[1]} : LayoutChoice{};
    m_layout = TypingLayout();
    updatePreview();
    m_layoutRead.setFuture(QtConcurrent::run(&TypingLayout::load, m_choice));
}

void TypeTextDialog::updatePreview()
{
    const QString written = m_text->toPlainText();
    const bool reading = !m_layout.isValid() && m_layoutRead.isRunning();
    m_typed = m_layout.isValid() ? typeText(written, m_layout, uint16_t(m_delay->value()))
                                 : TypedText();
    if (m_firstStep && !m_typed.steps.isEmpty())
        m_typed.steps.first().delay = 0;

    const int needed = m_typed.steps.size();
    m_stepsLabel->setText(translateText("%1 steps of the %2 this key still has room for")
                              .arg(needed)
                              .arg(m_freeSteps));
    QStringList problems;
    if (reading)
        problems << translateText("Reading the keyboard layout…");
    else if (!m_layout.isValid())
        problems << translateText("This layout cannot be read.");
    if (!m_typed.untypable.isEmpty())
        problems
            << translateText("Cannot be typed on this layout, left out: %1").arg(m_typed.untypable);
    const bool fits = needed <= m_freeSteps;
    if (!fits)
        problems << translateText("This text needs %1 steps, but the key has room for %2 more: "
                                  "shorten the text.")
                        .arg(needed)
                        .arg(m_freeSteps);
    m_problemLabel->setText(problems.join(QLatin1Char('\n')));
    m_problemLabel->setVisible(!problems.isEmpty());
    m_stepsLabel->setAccessibleName(m_stepsLabel->text());
    m_problemLabel->setAccessibleName(m_problemLabel->text());
    m_addButton->setEnabled(fits && needed > 0);
}
