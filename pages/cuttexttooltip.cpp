#include "pages/cuttexttooltip.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// The style puts this gap between a button's icon and its text.
constexpr int kIconTextGap = 4;

class CutTextToolTips : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            if (auto *button = qobject_cast<QPushButton *>(watched)) {
                const QString tip = buttonTextFits(*button)
                    ? QString()
                    : button->text().simplified();
                if (tip != button->toolTip())
                    button->setToolTip(tip);
            }
        }
        return false;
    }
};

} // namespace

bool buttonTextFits(const QPushButton &button)
{
    const QString text = button.text();
    if (text.isEmpty())
        return true;
    QStyleOptionButton option;
    option.initFrom(&button);
    option.rect = button.rect();
    QRect room = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    if (!button.icon().isNull())
        room.setWidth(room.width() - button.iconSize().width() - kIconTextGap);
    const QSize needed = QFontMetrics(button.font()).size(Qt::TextShowMnemonic, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

void showCutTextsAsToolTips(QWidget *page)
{
    auto *filter = new CutTextToolTips(page);
    for (QPushButton *button : page->findChildren<QPushButton *>())
        button->installEventFilter(filter);
}
