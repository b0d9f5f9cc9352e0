#include "app/files/keypadpages.h"

#include "app/keypadview/keypadview.h"
#include "model/keytexts.h"
#include "model/labels.h"
#include "model/translation.h"
#include "pages/lightingpage.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextOption>
#include <algorithm>
#include <iterator>

namespace {

// Where each part of a knob is marked around its drawing, in the order of
// ControlPart: an arrow and its place as a fraction of the knob's box.
struct PartMark {
    const char *arrow;
    double x;
    double y;
};
constexpr PartMark kPartMarks[] = {
    {"", 0, 0},           {"\u2190", 0.0, 0.5},        {"\u2192", 1.0, 0.5},
    {"\u2193", 0.5, 1.0}, {"\u2193\u2192", 0.9, 0.95}, {"\u2190\u2193", 0.1, 0.95},
};

// Page geometry in points (1/72 inch).
constexpr double kTitlePx = 18;
constexpr double kTextPx = 10;
constexpr double kTablePx = 9;
constexpr double kSmallPx = 8;
constexpr double kGap = 8;
constexpr double kPictureShare = 0.26;      // of the page's height at the most
constexpr double kLargestPictureUnit = 0.6; // a key 60 points wide at the most
constexpr double kNameColumnShare = 0.34;
constexpr double kCellPadding = 2;
constexpr double kSwatchSide = 10;
constexpr int kSwatchColumns = 6;

// The picture's own units: a key is 100 wide.
constexpr double kKeySide = 100;
constexpr double kKeyGap = 12;
constexpr double kKnobBox = 140;
constexpr double kKnobGap = 40;           // room for the arrows of two neighbours
constexpr double kKeyTextPx[] = {18, 14}; // a key's function text, largest first
constexpr double kPanelPadding = 30;

const QColor kPanelColor(0x3f, 0x3f, 0x3f);
const QColor kPanelBorder(0x9a, 0x9a, 0x9a);
const QColor kKeyColor(0x2a, 0x2a, 0x2a);
const QColor kNumberColor(0x00, 0xc0, 0x00);
const QColor kRuleColor(0xc8, 0xc8, 0xc8);
const QColor kStripeColor(0xf2, 0xf2, 0xf2);

QFont fontOf(double pixels, bool bold = false)
{
    QFont font(QStringLiteral("Microsoft YaHei"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qMax(1, qRound(pixels)));
    font.setBold(bold);
    // No ligatures: "#ffff00" copied or searched from the PDF must read as
    // it was written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QTextOption wrapping(Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    QTextOption option(alignment);
    // A long word with no break in it is still wrapped, never cut.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

QString hexOf(const RgbColor &color)
{
    return QColor(color.r, color.g, color.b).name();
}

int keyOf(const PrintContents &contents, int slot)
{
    return contents.controls.slotOfButton(slot);
}

// The keys and knobs of the picture in picture units, and where it sits.
struct KnobDrawing {
    int number = 0;
    QRectF box;
    QVector<PrintedControl> parts;
};

struct Picture {
    QVector<QPair<QRectF, PrintedControl>> keys;
    QVector<KnobDrawing> knobs;
    QSizeF size;
};

Picture pictureOf(const LayoutSpec &layout, const QVector<PrintedControl> &controls)
{
    Picture picture;
    const int columns = qMax(1, layout.columns);
    double keysWidth = 0;
    double keysHeight = 0;
    for (const PrintedControl &control : controls) {
        if (control.identity.part == ControlPart::Key) {
            const int index = control.identity.number - 1;
            const QRectF cell(kPanelPadding + (index % columns) * (kKeySide + kKeyGap),
                              kPanelPadding + (index / columns) * (kKeySide + kKeyGap), kKeySide,
                              kKeySide);
            picture.keys.append({cell, control});
            keysWidth = qMax(keysWidth, cell.right() - kPanelPadding);
            keysHeight = qMax(keysHeight, cell.bottom() - kPanelPadding);
            continue;
        }
        if (picture.knobs.isEmpty() || picture.knobs.last().number != control.identity.number)
            picture.knobs.append(KnobDrawing{control.identity.number, QRectF(), {}});
        picture.knobs.last().parts.append(control);
    }
    // Knobs stand in a column beside the keys, or in a row without keys.
    const bool knobsInRow = picture.keys.isEmpty();
    const double knobLeft = kPanelPadding + (keysWidth > 0 ? keysWidth + kKnobGap : 0);
    for (int i = 0; i < picture.knobs.size(); ++i) {
        const QPointF at = knobsInRow
            ? QPointF(knobLeft + i * (kKnobBox + kKnobGap), kPanelPadding)
            : QPointF(knobLeft, kPanelPadding + i * (kKnobBox + kKnobGap));
        picture.knobs[i].box = QRectF(at, QSizeF(kKnobBox, kKnobBox));
    }
    double width = kPanelPadding + keysWidth;
    double height = kPanelPadding + keysHeight;
    for (const KnobDrawing &knob : picture.knobs) {
        width = qMax(width, knob.box.right());
        height = qMax(height, knob.box.bottom());
    }
    picture.size =
        QSizeF(qMax(width, kKeySide) + kPanelPadding, qMax(height, kKeySide) + kPanelPadding);
    return picture;
}

// Draws text from the top left of `area` and says how tall it came out.
double drawWrapped(QPainter &painter, const QRectF &area, const QString &text,
                   const QTextOption &option = wrapping())
{
    const QRectF needed =
        painter.boundingRect(QRectF(area.left(), area.top(), area.width(), 1e6), text, option);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), needed.height()), text, option);
    return needed.height();
}

class PagePainter
{
public:
    PagePainter(QPagedPaintDevice *device, QPainter &painter, const PrintContents &contents)
        : m_device(device)
        , m_painter(painter)
        , m_contents(contents)
        , m_controls(printedControls(contents.controls))
    {
        const double pointScale = device->logicalDpiX() / 72.0;
        m_painter.scale(pointScale, device->logicalDpiY() / 72.0);
        m_page =
            QSizeF(device->width() / pointScale, device->height() * 72.0 / device->logicalDpiY());
    }

    void paintLayer(const PrintedLayer &layer)
    {
        m_layer = &layer;
        m_y = 0;
        paintHeading(false);
        paintPicture();
        paintLighting();
        paintFunctions();
    }

private:
    void paintHeading(bool continued)
    {
        m_painter.setPen(Qt::black);
        m_painter.setFont(fontOf(kTitlePx, true));
        const QString title = continued
            ? translateText("Layer %1 (continued)").arg(m_layer->number)
            : translateText("Layer %1").arg(m_layer->number);
        m_y += drawWrapped(m_painter, QRectF(0, m_y, m_page.width(), 0), title);
        m_painter.setFont(fontOf(kTextPx));
        const QString facts = translateText("Keypad: %1").arg(m_contents.modelName)
            + QLatin1Char('\n')
            + translateText("Date: %1").arg(m_contents.date.toString(Qt::ISODate));
        m_y += drawWrapped(m_painter, QRectF(0, m_y, m_page.width(), 0), facts) + kGap;
    }

    void paintPicture()
    {
        const Picture picture = pictureOf(m_contents.layout, m_controls);
        const double unit = std::min({m_page.width() / picture.size.width(),
                                      m_page.height() * kPictureShare / picture.size.height(),
                                      kLargestPictureUnit});
        m_painter.save();
        m_painter.translate((m_page.width() - picture.size.width() * unit) / 2, m_y);
        m_painter.scale(unit, unit);
        m_painter.setPen(QPen(kPanelBorder, 5));
        m_painter.setBrush(kPanelColor);
        m_painter.drawRoundedRect(QRectF(QPointF(0, 0), picture.size), 26, 26);
        for (const auto &key : picture.keys)
            paintKey(key.first, key.second);
        for (const KnobDrawing &knob : picture.knobs)
            paintKnob(knob);
        m_painter.restore();
        m_y += picture.size.height() * unit + kGap;
    }

    // A key with its number, and its LED's colour along its lower edge.
    void paintKey(const QRectF &cell, const PrintedControl &control)
    {
        m_painter.setPen(QPen(kPanelBorder, 3));
        m_painter.setBrush(kKeyColor);
        m_painter.drawRoundedRect(cell, 8, 8);
        const int key = keyOf(m_contents, control.slot);
        if (m_contents.lighting != LightingKind::Old && key >= 0 && key < kLedCount) {
            const RgbColor &color = m_layer->lighting.colors[size_t(key)];
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(QColor(color.r, color.g, color.b));
            m_painter.drawRect(QRectF(cell.left() + 10, cell.bottom() - 22, cell.width() - 20, 12));
        }
        m_painter.setPen(kNumberColor);
        m_painter.setFont(fontOf(30, true));
        m_painter.drawText(cell.adjusted(10, 6, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                           QString::number(control.identity.number));
        paintKeyFunction(
            cell, printedFunctionText(m_layer->keys.value(key), m_contents.layout));
    }

    // The function on the key, as the panel shows it, when it fits whole;
    // the table below always has it.
    void paintKeyFunction(const QRectF &cell, const QString &function)
    {
        const QRectF room = cell.adjusted(6, 38, -6, -26);
        const QTextOption option = wrapping(Qt::AlignHCenter | Qt::AlignTop);
        m_painter.setPen(Qt::white);
        for (double pixels : kKeyTextPx) {
            m_painter.setFont(fontOf(pixels));
            const QRectF needed = m_painter.boundingRect(
                QRectF(room.left(), room.top(), room.width(), 1e6), function, option);
            if (needed.height() <= room.height() && needed.width() <= room.width()) {
                m_painter.drawText(room, function, option);
                return;
            }
        }
    }

    // A knob: a circle with its number and an arrow beside each part.
    void paintKnob(const KnobDrawing &knob)
    {
        const QRectF circle = knob.box.adjusted(25, 20, -25, -30);
        m_painter.setPen(QPen(kPanelBorder, 4));
        m_painter.setBrush(kKeyColor);
        m_painter.drawEllipse(circle);
        m_painter.setPen(kNumberColor);
        m_painter.setFont(fontOf(40, true));
        m_painter.drawText(circle, Qt::AlignCenter, QString::number(knob.number));
        m_painter.setPen(Qt::white);
        m_painter.setFont(fontOf(26, true));
        for (const PrintedControl &part : knob.parts) {
            const PartMark &mark = kPartMarks[int(part.identity.part)];
            const QPointF at(knob.box.left() + mark.x * knob.box.width(),
                             knob.box.top() + mark.y * knob.box.height());
            m_painter.drawText(QRectF(at.x() - 25, at.y() - 15, 50, 30), Qt::AlignCenter,
                               QString::fromUtf8(mark.arrow));
        }
    }

    // The effect and a swatch with its #rrggbb for each LED the layer lights.
    void paintLighting()
    {
        const LedLayerConfig &lighting = m_layer->lighting;
        m_painter.setPen(Qt::black);
        m_painter.setFont(fontOf(kTextPx, true));
        m_y += drawWrapped(m_painter, QRectF(0, m_y, m_page.width(), 0),
                           translateText("Lighting effect: %1")
                               .arg(printedEffectName(m_contents, lighting.effect)));
        QVector<QPair<QString, RgbColor>> swatches;
        if (m_contents.lighting == LightingKind::Old) {
            swatches.append({translateText("Layer colour"), lighting.colors[0]});
        } else if (m_contents.layout.id == Layout0K1E_P1S1) {
            for (int led = 0; led < 4; ++led)
                swatches.append({translateText(QStringLiteral("LED%1").arg(led + 1)),
                                 lighting.colors[size_t(led)]});
        } else {
            for (const PrintedControl &control : m_controls) {
                const int key = keyOf(m_contents, control.slot);
                if (control.identity.part == ControlPart::Key && key >= 0 && key < kLedCount)
                    swatches.append({printedControlName(control.identity),
                                     lighting.colors[size_t(key)]});
            }
        }
        m_painter.setFont(fontOf(kSmallPx));
        const double column = m_page.width() / kSwatchColumns;
        for (int i = 0; i < swatches.size(); ++i) {
            const double x = (i % kSwatchColumns) * column;
            const double y = m_y + kGap / 2 + (i / kSwatchColumns) * (kSwatchSide + 4);
            const RgbColor &color = swatches[i].second;
            m_painter.setPen(QPen(Qt::black, 0.5));
            m_painter.setBrush(QColor(color.r, color.g, color.b));
            m_painter.drawRect(QRectF(x, y, kSwatchSide, kSwatchSide));
            m_painter.drawText(
                QRectF(x + kSwatchSide + 4, y - 2, column - kSwatchSide - 6, kSwatchSide + 4),
                Qt::AlignLeft | Qt::AlignVCenter,
                swatches[i].first + QStringLiteral("  ") + hexOf(color));
        }
        const int rows = (int(swatches.size()) + kSwatchColumns - 1) / kSwatchColumns;
        m_y += kGap / 2 + rows * (kSwatchSide + 4) + kGap;
    }

    // Every control's whole function text, wrapped in its cell; a row that
    // does not fit goes to the next page.
    void paintFunctions()
    {
        paintRow(translateText("Control"), translateText("Function"), true, false);
        bool striped = false;
        for (const PrintedControl &control : m_controls) {
            const KeyConfig key = m_layer->keys.value(keyOf(m_contents, control.slot));
            QString function = printedFunctionText(key, m_contents.layout);
            if (function.isEmpty())
                function = translateText("not assigned");
            paintRow(printedControlName(control.identity), function, false, striped);
            striped = !striped;
        }
    }

    void paintRow(const QString &name, const QString &function, bool header, bool striped)
    {
        m_painter.setFont(fontOf(kTablePx, header));
        const double nameWidth = m_page.width() * kNameColumnShare;
        const double functionWidth = m_page.width() - nameWidth;
        const QTextOption option = wrapping();
        const auto heightOf = [&](const QString &text, double width) {
            return m_painter.boundingRect(QRectF(0, 0, width - 2 * kCellPadding, 1e6), text, option)
                .height();
        };
        const double height =
            qMax(heightOf(name, nameWidth), heightOf(function, functionWidth)) + 2 * kCellPadding;
        if (m_y + height > m_page.height() && !header) {
            m_device->newPage();
            m_y = 0;
            paintHeading(true);
            paintRow(translateText("Control"), translateText("Function"), true, false);
            m_painter.setFont(fontOf(kTablePx));
        }
        const QRectF row(0, m_y, m_page.width(), height);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(header ? kRuleColor : striped ? kStripeColor : QColor(Qt::white));
        m_painter.drawRect(row);
        m_painter.setPen(Qt::black);
        m_painter.drawText(
            QRectF(kCellPadding, m_y + kCellPadding, nameWidth - 2 * kCellPadding, height), name,
            option);
        m_painter.drawText(QRectF(nameWidth + kCellPadding, m_y + kCellPadding,
                                  functionWidth - 2 * kCellPadding, height),
                           function, option);
        m_painter.setPen(QPen(kRuleColor, 0.5));
        m_painter.drawLine(row.bottomLeft(), row.bottomRight());
        m_y += height;
    }

    QPagedPaintDevice *m_device;
    QPainter &m_painter;
    const PrintContents &m_contents;
    const QVector<PrintedControl> m_controls;
    const PrintedLayer *m_layer = nullptr;
    QSizeF m_page;
    double m_y = 0;
};

} // namespace

QVector<PrintedControl> printedControls(const ControlMap &controls)
{
    QVector<PrintedControl> printed;
    for (const MappedControl &control : controls.shown())
        printed.append({control.button, control.identity});
    return printed;
}

QString printedControlName(const ControlIdentity &control)
{
    return translateText(controlTitlePattern(control.part)).arg(control.number);
}

QString printedFunctionText(const KeyConfig &key, const LayoutSpec &layout)
{
    if (key.isEmpty())
        return QString();
    if (keepsMediaInKeycode(layout.name, key))
        return translateText(mediaLabel(key.keycode));
    return printedTextOf(key);
}

QString printedEffectName(const PrintContents &contents, uint8_t effect)
{
    if (contents.lighting != LightingKind::PerKeyRgb) {
        const int mode = contents.lighting == LightingKind::Old ? qMin(int(effect), 5) : effect;
        return translateText(QStringLiteral("LED Mode%1").arg(mode));
    }
    for (const LightingEffect &entry : lightingEffects(contents.layout.id == Layout0K1E_P1S1))
        if (entry.id == effect)
            return translateText(QString::fromUtf8(entry.label));
    return translateText("Effect %1").arg(effect);
}

bool paintKeypadPages(QPagedPaintDevice *device, const PrintContents &contents)
{
    QPainter painter;
    if (!device || !painter.begin(device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    PagePainter pages(device, painter, contents);
    for (int i = 0; i < contents.layers.size(); ++i) {
        if (i > 0)
            device->newPage();
        pages.paintLayer(contents.layers[i]);
    }
    return painter.end();
}
