#pragma once

#include <QIcon>
#include <QPixmap>

namespace lotgrid {

// The program's icon: the character 爻 on a blue seven-sided badge.
QIcon appIcon();
// The icon whole in a square of `size` logical pixels, drawn for a screen of
// the given device pixel ratio: (size × ratio) device pixels, marked with the ratio.
QPixmap appIconPixmap(int size, qreal devicePixelRatio = 1.0);

} // namespace lotgrid
