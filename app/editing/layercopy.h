#pragma once

#include "model/ledlayerconfig.h"

#include <QObject>
#include <functional>

class EditHistory;
class KeyboardData;
class QWidget;

// Copies every key and knob function and the lighting of one layer onto
// another, as one step of the history, then shows the copy. When the target
// layer holds assignments the user is asked first.
class LayerCopy : public QObject
{
    Q_OBJECT
public:
    // Whether to replace what layer `to` holds; the window asks with a
    // message box, tests answer themselves.
    using Ask = std::function<bool(int from, int to)>;
    using LayerSwitch = std::function<void(int layer)>;

    LayerCopy(KeyboardData &store, EditHistory &history, QWidget *window,
              LayerSwitch layerSwitch);

    void setAsk(Ask ask) { m_ask = std::move(ask); }
    // False when the user declined or the layers are not two different ones.
    bool copy(int from, int to);

private:
    bool askReplace(int from, int to) const;

    KeyboardData &m_store;
    EditHistory &m_history;
    QWidget *m_window;
    LayerSwitch m_layerSwitch;
    Ask m_ask;
};

