#include "widgets/appfont.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace lotgrid {

QString chineseFamily()
{
    return u"Noto Sans CJK SC"_s;
}

void useChineseFamily(QGuiApplication &app)
{
    // Not looked up first: where it is missing, the font matching falls back to the desktop's face.
    QFont font = QGuiApplication::font();
    font.setFamilies({chineseFamily()});
    app.setFont(font);
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
