#include "widgets/appfont.h"

#include <QFontDatabase>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace lotgrid {

QString chineseFamily()
{
    return u"Noto Sans CJK SC"_s;
}

bool useChineseFamily(QGuiApplication &app)
{
    if (!QFontDatabase::hasFamily(chineseFamily()))
        return false;
    QFont font = QGuiApplication::font();
    font.setFamilies({chineseFamily()});
    app.setFont(font);
    return true;
}

QFont emphasised(QFont font)
{
    font.setBold(true);
    // Matched by this style name the regular face is taken and emboldened; a
    // family without a "Regular" style is matched by its weight, its bold face.
    font.setStyleName(u"Regular"_s);
    return font;
}

} // namespace lotgrid
