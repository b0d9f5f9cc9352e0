#pragma once

#include "model/keyconfig.h"
#include "model/ledlayerconfig.h"

#include <QVector>

constexpr int kLayerCount = 4;
constexpr int kKeySlotCount = 25;

using KeyLayer = QVector<KeyConfig>;
using KeyLayers = QVector<KeyLayer>;
using LedLayers = QVector<LedLayerConfig>;
