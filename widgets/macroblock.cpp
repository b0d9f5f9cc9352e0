#include "widgets/macroblock.h"

#include "model/qtcompat.h"
#include "model/translation.h"

#include <QFontMetrics>
#include <QHash>
#include <QSignalBlocker>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtMath>

namespace {

constexpr int kBlockMargin = 4;
constexpr int kBlockSpacing = 2;
constexpr int kMaxBlockDelay = 9999;
// Spin boxes draw their text inset by a frame of their own.
constexpr int kSpinTextInset = 2;
// Texts are drawn smaller to fit their block, but never below this.
constexpr int kMinTextPx = 8;

constexpr auto kDelayTitle = "delay";
constexpr auto kPressTitle = "Press";
constexpr auto kReleaseTitle = "Release";
constexpr auto kDelayUnit = "ms";

// A block draws its own rounded background: selecting all 64 steps of a
// macro re-polished 128 blocks when the selection was a style-sheet rule.
constexpr QRgb kBlockColour = 0xff3a3a3a;
constexpr QRgb kSelectedBlockColour = 0xff1f4f86;
constexpr qreal kBlockRadius = 6;

constexpr auto kFlowStyle =
    "MacroFlowWidget { background-color: #2a2a2a; }"
    "QLabel { background-color: transparent; border: none; }"
    "QSpinBox { background-color: transparent; border: none; color: #ffffff; }"
    "QLabel#delayTitle { color: #aaaaaa; }"
    "QLabel#pressTitle { color: #5599ff; }"
    "QLabel#releaseTitle { color: #ff7755; }"
    "QLabel#keyName { color: #ffffff; }";

// Turning the wheel over a long flow scrolls it; a delay changes by wheel
// only once its editor was clicked.
class DelaySpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        if (hasFocus())
            QSpinBox::wheelEvent(event);
        else
            event->ignore();
    }
};

// Texts take their bold pixel size as a font: a style sheet per label or
// editor would have every one of a long macro re-polished when it is shown
// or scaled. Colours come from the flow's style sheet.
void setBoldPixelSize(QWidget *widget, int pixelSize)
{
    QFont font = widget->font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    if (font != widget->font())
        widget->setFont(font);
}

const char *titleName(MacroBlock::Kind kind)
{
    switch (kind) {
    case MacroBlock::Kind::Delay:
        return "delayTitle";
    case MacroBlock::Kind::Press:
        return "pressTitle";
    case MacroBlock::Kind::Release:
        break;
    }
    return "releaseTitle";
}

// Filling an antialiased rounded rectangle was a fifth of painting a long
// macro; every block of one size and colour shares one drawn background.
QPixmap blockBackground(QSize size, qreal pixelRatio, QRgb colour)
{
    const QString key = QStringLiteral("zentrik-macro-block-%1x%2@%3-%4")
                            .arg(size.width()).arg(size.height()).arg(pixelRatio).arg(colour, 0, 16);
    QPixmap background;
    if (QPixmapCache::find(key, &background))
        return background;
    background = QPixmap(size * pixelRatio);
    background.setDevicePixelRatio(pixelRatio);
    background.fill(Qt::transparent);
    QPainter painter(&background);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(colour));
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), kBlockRadius, kBlockRadius);
    painter.end();
    QPixmapCache::insert(key, background);
    return background;
}

int scaled(double value, double ratio, int floor)
{
    return qMax(qRound(value * ratio), floor);
}

} // namespace

// Long texts ("Release", "LShift", "9999ms") are drawn smaller rather than
// cut off at the block's edges.
int MacroBlock::fittedPixelSize(const QString &text, int wantedPx, int inset) const
{
    const int available = width() - 2 * kBlockMargin - inset;
    // The block has its family from the flow, which has it from the window.
    QFont font = this->font();
    font.setBold(true);
    // Measuring a font size is slow and a long macro asks the same question
    // for most of its blocks.
    static QHash<QString, int> fitted;
    const QString question = QStringLiteral("%1|%2|%3|%4")
                                 .arg(font.family()).arg(wantedPx).arg(available).arg(text);
    const auto known = fitted.constFind(question);
    if (known != fitted.constEnd())
        return *known;
    int px = wantedPx;
    for (; px > kMinTextPx; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(text) <= available)
            break;
    }
    if (fitted.size() > 4096)
        fitted.clear();
    fitted.insert(question, px);
    return px;
}

QString MacroBlock::flowStyleSheet()
{
    return QLatin1String(kFlowStyle);
}

MacroBlockMetrics MacroBlockMetrics::forScale(double ratio)
{
    if (ratio <= 0)
        return {};
    MacroBlockMetrics m;
    m.side = scaled(70, ratio, 58);
    m.titlePx = scaled(16.5, ratio, 10);
    m.keyPx = scaled(21, ratio, 12);
    m.delayPx = scaled(15, ratio, 9);
    return m;
}

MacroBlock::MacroBlock(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("macroBlock"));

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(kBlockMargin, kBlockMargin, kBlockMargin, kBlockMargin);
    m_layout->setSpacing(kBlockSpacing);
    m_layout->setAlignment(Qt::AlignCenter);

    m_title = new QLabel(this);
    m_title->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_title, 0, Qt::AlignCenter);
}

MacroBlock *MacroBlock::createDelayBlock(int delay, const MacroBlockMetrics &metrics,
                                         QWidget *parent)
{
    auto *block = new MacroBlock(Kind::Delay, parent);

    auto *spin = new DelaySpinBox(block);
    spin->setRange(0, kMaxBlockDelay);
    spin->setValue(delay);
    spin->setAlignment(Qt::AlignCenter);
    spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    spin->setFocusPolicy(Qt::StrongFocus);
    block->m_delaySpin = spin;
    block->m_layout->addWidget(spin);
    connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), block, &MacroBlock::delayChanged);

    block->applyWords();
    block->applyMetrics(metrics);
    return block;
}

MacroBlock *MacroBlock::createKeyBlock(bool press, const QString &keyName,
                                       const MacroBlockMetrics &metrics, QWidget *parent)
{
    auto *block = new MacroBlock(press ? Kind::Press : Kind::Release, parent);
    block->applyWords();

    block->m_keyName = new QLabel(keyName, block);
    block->m_keyName->setObjectName(QStringLiteral("keyName"));
    block->m_keyName->setAlignment(Qt::AlignCenter);
    block->m_layout->addWidget(block->m_keyName, 0, Qt::AlignCenter);

    block->applyMetrics(metrics);
    return block;
}

void MacroBlock::showDelay(int delay)
{
    const QSignalBlocker quiet(m_delaySpin);
    m_delaySpin->setValue(delay);
}

void MacroBlock::showKey(bool press, const QString &keyName)
{
    const Kind kind = press ? Kind::Press : Kind::Release;
    if (kind != m_kind) {
        m_kind = kind;
        applyWords();
        styleTitle();
    }
    if (keyName != m_keyName->text()) {
        m_keyName->setText(keyName);
        styleKeyName();
    }
}

void MacroBlock::applyWords()
{
    switch (m_kind) {
    case Kind::Delay:
        m_title->setText(translateText(kDelayTitle));
        break;
    case Kind::Press:
        m_title->setText(translateText(kPressTitle));
        break;
    case Kind::Release:
        m_title->setText(translateText(kReleaseTitle));
        break;
    }
    if (m_delaySpin) {
        m_delaySpin->setSuffix(translateText(kDelayUnit));
        m_delaySpin->setAccessibleName(translateText("Delay in milliseconds"));
    }
}

void MacroBlock::retranslate()
{
    applyWords();
    // The longest title and delay text differ from language to language.
    if (m_styled) {
        m_styled = false;
        applyMetrics(m_metrics);
    }
}

void MacroBlock::applyMetrics(const MacroBlockMetrics &metrics)
{
    // Restyling re-polishes the block's widgets; a long macro has 128 blocks.
    if (m_styled && metrics == m_metrics)
        return;
    m_metrics = metrics;
    m_styled = true;
    setFixedSize(metrics.side, metrics.side);
    styleTitle();
    if (m_delaySpin) {
        // Sized for the longest delay, so the text keeps its size while edited.
        const QString longest = QString::number(m_delaySpin->maximum()) + m_delaySpin->suffix();
        const int delayPx = fittedPixelSize(longest, metrics.delayPx, kSpinTextInset);
        setBoldPixelSize(m_delaySpin, delayPx);
    }
    styleKeyName();
}

void MacroBlock::styleTitle()
{
    const QString name = QLatin1String(titleName(m_kind));
    if (m_title->objectName() != name) {
        m_title->setObjectName(name);
        // The colour rule follows the name only once the label is re-polished.
        m_title->style()->unpolish(m_title);
        m_title->style()->polish(m_title);
    }
    setBoldPixelSize(m_title, titlePixelSize());
}

// Every title takes the size that fits the longest one, so a row of blocks
// reads evenly. All blocks of a flow ask the same question in turn, and
// wording and measuring the three titles was a third of restyling a block.
int MacroBlock::titlePixelSize() const
{
    struct Answer {
        int wantedPx = -1;
        int width = -1;
        bool chinese = false;
        QString family;
        int px = 0;
    };
    static Answer last;
    const QString family = font().family();
    if (last.wantedPx == m_metrics.titlePx && last.width == width()
        && last.chinese == interfaceIsChinese() && last.family == family)
        return last.px;
    int titlePx = m_metrics.titlePx;
    for (const char *title : {kDelayTitle, kPressTitle, kReleaseTitle})
        titlePx = qMin(titlePx, fittedPixelSize(translateText(title), m_metrics.titlePx));
    last = {m_metrics.titlePx, width(), interfaceIsChinese(), family, titlePx};
    return titlePx;
}

void MacroBlock::styleKeyName()
{
    if (!m_keyName)
        return;
    const int keyPx = fittedPixelSize(m_keyName->text(), m_metrics.keyPx);
    setBoldPixelSize(m_keyName, keyPx);
}

void MacroBlock::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void MacroBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, blockBackground(size(), devicePixelRatioF(),
                                             m_selected ? kSelectedBlockColour : kBlockColour));
}

void MacroBlock::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->button(), event->modifiers());
    event->accept();
}

void MacroBlock::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        emit dragged(globalPointOf(event));
    event->accept();
}

void MacroBlock::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit dropped(globalPointOf(event));
    event->accept();
}
