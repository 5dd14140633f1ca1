#pragma once
// The one Chinese face of the whole program. Qt would otherwise take the
// desktop's Latin face and let the system fall back for the Chinese, which picks
// another region's face of the same Noto CJK collection than the 卦盘 asks for:
// the collection mapped twice, and the characters in two regions' forms.

#include <QFont>
#include <QString>

class QGuiApplication;

namespace lotgrid {

// The Simplified Chinese face of the Noto CJK collection (Debian: fonts-noto-cjk).
QString chineseFamily();

// Makes chineseFamily() the application's font at the desktop's size.
void useChineseFamily(QGuiApplication &app);

// `font` in bold, drawn by emboldening its family's regular face where the
// family has one, so that bold text loads no second face.
QFont emphasised(QFont font);

} // namespace lotgrid
