// The whole window, with every keypad model in both languages, at sizes from
// the smallest the window allows to 4K, reached in more than one order: every
// text fits its widget and is legible, no buttons overlap, the keypad picture
// stays in its group with usable keys, and nothing leaves the window.

#include "tst_flows_support.h"
#include "app/keypadview/functionrows.h"
#include "app/look/windowsize.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <memory>

namespace {

constexpr int kMinTextPx = 8;
constexpr int kMinControlSide = 32;
constexpr int kRowCount = RowProcreate + 1;

const QSize kSizes[] = {{800, 600},   {800, 800},   {1280, 720},  {1366, 768},  {1920, 700},
                        {1000, 880},  {1500, 1100}, {1900, 800},  {3000, 2200}};
// Shrinking after growing, narrowing after widening, and back.
const QSize kShuffled[] = {{3000, 2200}, {800, 600},  {1920, 700},  {1366, 768}, {1500, 1100},
                           {800, 800},   {1900, 800}, {1000, 880},  {1280, 720}};

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString rectText(const QSize &s) { return rectText(QRect(QPoint(), s)); }

QRect windowRect(const QWidget *widget, const QWidget *window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The part of a widget its ancestors let show, in window coordinates.
QRect shownRect(const QWidget *widget, const QWidget *window)
{
    QRect rect = windowRect(widget, window);
    for (const QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget())
        rect &= windowRect(up, window);
    return rect & window->rect();
}

bool insideScrolledArea(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(up->parentWidget())
            && static_cast<const QAbstractScrollArea *>(up->parentWidget())->viewport() == up)
            return true;
    return false;
}

bool isControl(const QWidget *widget)
{
    return qobject_cast<const KeyButton *>(widget) || qobject_cast<const KnobButton *>(widget);
}

QFont shownFont(const QWidget *widget)
{
    if (auto *key = qobject_cast<const KeyButton *>(widget))
        return key->paintedLegendFont();
    if (auto *knob = qobject_cast<const KnobButton *>(widget))
        return knob->paintedLegendFont();
    return widget->font();
}

// The text a widget shows on one line each, and the width it has for it.
bool shownText(const QWidget *widget, QStringList *lines, int *room)
{
    QString text;
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        text = Qt::mightBeRichText(label->text())
            ? QTextDocumentFragment::fromHtml(label->text()).toPlainText() : label->text();
        *room = label->contentsRect().width() - 2 * qMax(0, label->margin());
    } else if (auto *box = qobject_cast<const QCheckBox *>(widget)) {
        text = box->text();
        *room = box->width() - box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
    } else if (auto *radio = qobject_cast<const QRadioButton *>(widget)) {
        text = radio->text();
        *room = radio->width()
            - radio->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, radio);
    } else if (auto *button = qobject_cast<const QPushButton *>(widget)) {
        text = button->text();
        // The style's own contents rectangle: a style sheet's padding and
        // border leave less room than the widget's contents rectangle.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->isFlat())
            option.features |= QStyleOptionButton::Flat;
        *room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                    .width();
    } else {
        return false;
    }
    text.remove(QLatin1Char('&'));
    *lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return !lines->isEmpty();
}

// What breaks the rules in the window as it is now; empty when nothing.
QStringList faults(const Widget &window)
{
    QStringList found;
    const auto name = [](const QWidget *w) {
        QString text = w->metaObject()->className();
        if (!w->objectName().isEmpty())
            text += QLatin1Char('#') + w->objectName();
        if (auto *button = qobject_cast<const QAbstractButton *>(w))
            text += QLatin1String(" \"") + button->text() + QLatin1Char('"');
        else if (auto *label = qobject_cast<const QLabel *>(w))
            text += QLatin1String(" \"") + label->text().left(30) + QLatin1Char('"');
        return text;
    };
    const QWidget *group = window.findChild<QWidget *>(QStringLiteral("keyKnobGroup"));
    const QRect groupRect = windowRect(group, &window);

    QVector<QPair<const QWidget *, QRect>> buttons;
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window) || widget->size().isEmpty())
            continue;
        const QRect shown = shownRect(widget, &window);
        if (shown.isEmpty())
            continue;
        const QRect full = windowRect(widget, &window);
        const bool scrolled = insideScrolledArea(widget, &window);
        if (!scrolled && !window.rect().contains(full))
            found << QStringLiteral("outside the window: %1 %2").arg(name(widget))
                         .arg(rectText(full));
        if (isControl(widget)) {
            if (!groupRect.contains(full))
                found << QStringLiteral("outside the keypad group: %1").arg(name(widget));
            if (widget->width() < kMinControlSide || widget->height() < kMinControlSide)
                found << QStringLiteral("control of %1 px: %2").arg(widget->width())
                             .arg(name(widget));
        }
        QStringList lines;
        int room = 0;
        if (!shownText(widget, &lines, &room)) {
            // An empty cell of a page grid is cut as visibly as a labelled one.
            if (qobject_cast<const QAbstractButton *>(widget) && !scrolled && shown != full)
                found << QStringLiteral("clipped: %1 %2 of %3").arg(name(widget))
                             .arg(rectText(shown)).arg(rectText(full));
            continue;
        }
        const QFont font = shownFont(widget);
        if (QFontInfo(font).pixelSize() < kMinTextPx)
            found << QStringLiteral("text of %1 px: %2").arg(QFontInfo(font).pixelSize())
                         .arg(name(widget));
        // Keys and knobs cut their texts to fit on purpose; a wrapped label
        // needs the height of its lines.
        auto *label = qobject_cast<const QLabel *>(widget);
        if (label && label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height())
                found << QStringLiteral("wrapped text %1 px high in %2: %3")
                             .arg(label->heightForWidth(label->width())).arg(label->height())
                             .arg(name(widget));
        } else if (!isControl(widget)) {
            const QFontMetrics metrics(font);
            for (const QString &line : lines)
                if (metrics.horizontalAdvance(line) > room)
                    found << QStringLiteral("text %1 px wide in %2: %3")
                                 .arg(metrics.horizontalAdvance(line)).arg(room).arg(name(widget));
            // A widget whose parent clips it shows part of its text.
            if (!scrolled && shown != full)
                found << QStringLiteral("clipped: %1 %2 of %3").arg(name(widget))
                             .arg(rectText(shown)).arg(rectText(full));
        }
        if (qobject_cast<const QAbstractButton *>(widget))
            buttons.append({widget, shown});
    }
    for (int i = 0; i < buttons.size(); ++i)
        for (int j = i + 1; j < buttons.size(); ++j)
            if (buttons[i].second.intersects(buttons[j].second))
                found << QStringLiteral("overlap: %1 and %2").arg(name(buttons[i].first))
                             .arg(name(buttons[j].first));
    return found;
}

// Where every shown widget is, to compare one order of resizes with another.
QStringList placement(const Widget &window)
{
    QStringList places;
    for (const QWidget *widget : window.findChildren<QWidget *>())
        if (widget->isVisibleTo(&window))
            places << QStringLiteral("%1#%2 %3").arg(widget->metaObject()->className(),
                                                    widget->objectName(),
                                                    rectText(windowRect(widget, &window)));
    return places;
}

// Resizes and waits until the rescale and the layouts it asks for have run.
bool resizeTo(Widget &window, const QSize &size)
{
    // The sizes are the content's, below the menu bar.
    if (!flowtest::resizeAndRescale(window, windowSizeForContent(size)))
        return false;
    QTest::qWait(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    return true;
}

void showRow(Widget &window, int row)
{
    window.findChild<QListWidget *>()->setCurrentRow(row);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
}

QString where(const QSize &size, int row)
{
    return QStringLiteral("%1 x %2, row %3: ").arg(size.width()).arg(size.height()).arg(row);
}

} // namespace

class TestLayoutSweep : public QObject
{
    Q_OBJECT
private slots:
    // The knob pictures live in the static program library.
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init() { flowtest::dropKeypads(); }
    void cleanup() { flowtest::dropKeypads(); }
    void wholeAndLegibleAtEverySize_data();
    void wholeAndLegibleAtEverySize();
};

void TestLayoutSweep::wholeAndLegibleAtEverySize_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("chinese");
    for (const char *model : {"16k3e", "4k3e", "5k2e", "0k1e", "r20wide", "old"})
        for (const bool chinese : {false, true})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(model, chinese ? "zh" : "en")))
                << QString::fromLatin1(model) << chinese;
}

void TestLayoutSweep::wholeAndLegibleAtEverySize()
{
    QFETCH(QString, model);
    QFETCH(bool, chinese);

    LogCapture log;
    Widget window(parseSettingsText(chinese ? "Language = CH\r\n" : ""), *HIDManager::instance());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(flowtest::connectDemo(log, model.toStdString()));

    QStringList failures;
    // Straight through the sizes, every page at each.
    QHash<QString, QStringList> placements;
    for (const QSize &size : kSizes) {
        QVERIFY(resizeTo(window, size));
        for (int row = 0; row < kRowCount; ++row) {
            showRow(window, row);
            for (const QString &fault : faults(window))
                failures << where(size, row) + fault;
            if (row == RowBaseKeys)
                placements.insert(rectText(size), placement(window));
        }
    }
    // The other order ends every step where the straight walk was.
    for (const QSize &size : kShuffled) {
        QVERIFY(resizeTo(window, size));
        showRow(window, RowBaseKeys);
        for (const QString &fault : faults(window))
            failures << QStringLiteral("after others, ") + where(size, 0) + fault;
        const QStringList places = placement(window);
        const QStringList direct = placements.value(rectText(size));
        for (int i = 0; i < places.size(); ++i)
            if (places[i] != direct.value(i)) {
                failures << where(size, 0) + QStringLiteral("placed otherwise than when reached "
                                                            "directly: %1, not %2")
                                                 .arg(places[i], direct.value(i));
                break;
            }
    }
    // Every fault of the walk is told, not only the first.
    for (const QString &failure : failures)
        qWarning().noquote() << failure;
    QVERIFY2(failures.isEmpty(), qPrintable(QStringLiteral("%1 faults, the first: %2")
                                                .arg(failures.size()).arg(failures.value(0))));
}

QTEST_MAIN(TestLayoutSweep)
#include "tst_layoutsweep.moc"
