#include "pages/pagebutton.h"

#include "model/translation.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QtGlobal>

namespace {

// Enter clicks a page button the way Space does: down on the press, the
// click on the release. QPushButton takes Enter only inside a dialog.
class EnterClicks : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto *button = static_cast<QAbstractButton *>(watched);
        if (key->isAutoRepeat())
            return true;
        if (event->type() == QEvent::KeyPress) {
            button->setDown(true);
        } else if (button->isDown()) {
            button->setDown(false);
            button->click();
        }
        return true;
    }
};

} // namespace

QPushButton *createPageButton(const QString &text, const QString &styleClass, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    if (!styleClass.isEmpty())
        button->setProperty(kClassProperty, styleClass);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    makeKeyboardReachable(button);
    return button;
}

void makeKeyboardReachable(QAbstractButton *button)
{
    button->setFocusPolicy(Qt::TabFocus);
    button->installEventFilter(new EnterClicks(button));
}

QString spokenLabel(const char *englishLabel)
{
    return translateText(QString::fromUtf8(englishLabel)).simplified();
}

QPushButton *createEmptyCell(const QString &styleClass, QWidget *parent)
{
    QPushButton *cell = createPageButton(QString(), styleClass, parent);
    cell->setEnabled(false);
    cell->setFocusPolicy(Qt::NoFocus);
    return cell;
}

int scaledPixels(double pixels, double scale)
{
    return qMax(1, qRound(pixels * scale));
}

double fixedPageShare(double ratio)
{
    constexpr double kFullSizeRatio = 0.8;
    return ratio > 0 ? qMin(1.0, ratio / kFullSizeRatio) : 1.0;
}

int scaledFontPixels(double pixels, double scale)
{
    return qMax(kMinPageFontPx, qRound(pixels * scale));
}
