#include "model/logging.h"

Q_LOGGING_CATEGORY(lcDevice, "zentrik.device")
Q_LOGGING_CATEGORY(lcLegacy, "zentrik.legacy")
Q_LOGGING_CATEGORY(lcLayer, "zentrik.layer")
Q_LOGGING_CATEGORY(lcLayout, "zentrik.layout")
Q_LOGGING_CATEGORY(lcUi, "zentrik.ui")
Q_LOGGING_CATEGORY(lcView, "zentrik.view")
Q_LOGGING_CATEGORY(lcSave, "zentrik.save")
Q_LOGGING_CATEGORY(lcWidget, "zentrik.widget")
Q_LOGGING_CATEGORY(lcMacro, "zentrik.macro")
Q_LOGGING_CATEGORY(lcModel, "zentrik.model")
Q_LOGGING_CATEGORY(lcApp, "zentrik.app")
