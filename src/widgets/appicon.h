#pragma once

#include <QIcon>
#include <QPixmap>

namespace lotgrid {

// The program's icon: the character 爻 on a blue seven-sided badge.
QIcon appIcon();
QPixmap appIconPixmap(int size);

} // namespace lotgrid
