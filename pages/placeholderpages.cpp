#include "pages/placeholderpages.h"

#include <QString>
#include <QWidget>

namespace {

// Object names by stack index.
constexpr const char *kPageNames[kPlaceholderPageCount] = {
    "baseKeysPage",        "extKeysPage",     "multiMediaPage", "rgbLightingPage",
    "mousePage",           "macroPage",       "procreatePage",  "r20WideDelayPage",
    "oldDelayPage",        "r20WideLightingPage", "oldLightingPage",
};

} // namespace

QWidget *createPlaceholderPage(int index)
{
    auto *page = new QWidget;
    if (index >= 0 && index < kPlaceholderPageCount)
        page->setObjectName(QString::fromLatin1(kPageNames[index]));
    return page;
}
