#pragma once

#include <QLoggingCategory>

// One category per diagnostic area. Every line still begins with its area's
// own prefix ("HIDManager: ", "[Layer]", ...), so a plain debug log reads the
// same whether or not categories are shown.
Q_DECLARE_LOGGING_CATEGORY(lcDevice)  // "HIDManager: "
Q_DECLARE_LOGGING_CATEGORY(lcLegacy)  // "Legacy "
Q_DECLARE_LOGGING_CATEGORY(lcLayer)   // "[Layer]"
Q_DECLARE_LOGGING_CATEGORY(lcLayout)  // "[Layout]"
Q_DECLARE_LOGGING_CATEGORY(lcUi)      // "[UI]" and the pages
Q_DECLARE_LOGGING_CATEGORY(lcView)    // "View:"
Q_DECLARE_LOGGING_CATEGORY(lcSave)    // "Save:"
Q_DECLARE_LOGGING_CATEGORY(lcWidget)  // "Widget:"
Q_DECLARE_LOGGING_CATEGORY(lcMacro)   // "Macro:"
Q_DECLARE_LOGGING_CATEGORY(lcModel)   // key store lines
Q_DECLARE_LOGGING_CATEGORY(lcApp)     // "App: " start-up and the session
