#include "app/look/qtdialogtranslation.h"

#include "model/logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QString qtTranslationsFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

} // namespace

QTranslator *installQtChineseTranslation(QCoreApplication &app)
{
    const QString folder = qtTranslationsFolder();
    auto *translator = new QTranslator(&app);
    // qtbase holds the texts of the widgets' dialogs and of the print dialog.
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        qCWarning(lcApp).noquote() << "App: Qt's Chinese translation is not in" << folder
                                   << "- its file and print dialogs stay in English";
        delete translator;
        return nullptr;
    }
    app.installTranslator(translator);
    return translator;
}
