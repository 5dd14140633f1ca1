#include "widgets/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace lotgrid {

bool installChineseQtTranslations(QCoreApplication &app)
{
    // The translator lives as long as the application; a second call adds nothing.
    if (app.findChild<QTranslator *>(u"qtbaseChinese"_s))
        return true;
    auto *translator = new QTranslator(&app);
    translator->setObjectName(u"qtbaseChinese"_s);
    if (!translator->load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace lotgrid
