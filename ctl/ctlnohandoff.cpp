// The portable build: no session bus, so no window is ever found and
// zentrikctl opens the keypad itself.

#include "ctl/ctlhandoff.h"

bool ctlWindowIsRunning(const QString &)
{
    return false;
}

std::optional<QVariantMap> ctlHandToWindow(const QString &, const QVariantMap &, int)
{
    return std::nullopt;
}

bool ctlHoldScriptName(const QString &)
{
    return true;
}
