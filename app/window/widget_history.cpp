#include "app/window/widget.h"
#include "app/connection/connectionflows.h"
#include "app/files/historywindow.h"
#include "app/files/keypadfilecommands.h"
#include "app/keypadview/keypadview.h"
#include "app/look/statusline.h"
#include "app/window/windowmenus.h"
#include "keypad/keypadfileplan.h"
#include "model/translation.h"

#include <QAction>

void Widget::connectHistory(bool keepHistory)
{
    // What the keypad holds, as its last read and the saves since found it.
    const auto heldFile = [this]() -> std::optional<KeypadFile> {
        if (!m_flows->state().connected || !m_flows->held().known())
            return std::nullopt;
        KeyboardData held;
        m_flows->held().fill(held);
        return keypadFileOf(held, m_flows->state(), m_view->controlMap(),
                            m_flows->fileSource());
    };
    if (keepHistory)
        m_flows->setHistory(ConfigurationHistory(), heldFile);

    HistoryWindow::Hooks hooks;
    hooks.connectedFolder = [this] {
        return m_flows->state().connected
            ? ConfigurationHistory::keypadFolderName(m_flows->fileSource())
            : QString();
    };
    hooks.heldNow = heldFile;
    hooks.changesOnKeypad = [this](const KeypadFile &file) {
        const ImportPlan plan =
            planImport(file, m_keyboardData, m_flows->state(), m_view->controlMap());
        QStringList lines;
        for (const LayerImport &layer : plan.layers) {
            for (const QString &change : layer.changes)
                lines << translateText(QStringLiteral("Layer %1, %2")).arg(layer.layer + 1).arg(change);
            if (layer.lightingChanges)
                lines << translateText(QStringLiteral("Layer %1: lighting changes")).arg(layer.layer + 1);
        }
        return lines;
    };
    hooks.restore = [this](const QString &path) { m_fileCommands->importPath(path); };

    auto *action = new QAction(translateText(QStringLiteral("History…")), this);
    action->setObjectName(QStringLiteral("historyAction"));
    connect(action, &QAction::triggered, this, [this, hooks, keepHistory] {
        auto *window = new HistoryWindow(ConfigurationHistory(), !keepHistory, hooks, this);
        window->open();
    });
    m_menus->addToFileMenu({action});
}
