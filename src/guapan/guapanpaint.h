#pragma once
// The 卦盘's layout painted onto any QPaintDevice: a widget, a picture, a
// printer's page or a PDF. Two inks (the main one and a secondary one for
// labels and what is said in passing) and one accent (the moving lines) on a
// ground, in a light and a dark variant; every ink reads at 4.5:1 or better on
// the ground and on the use god's highlight.

#include "guapan/guapanlayout.h"
#include "widgets/chartcolours.h"

#include <QColor>
#include <QImage>

class QPainter;
class QPalette;

namespace lotgrid {

struct GuapanColours {
    QColor ground;
    QColor ink;
    QColor secondary;
    QColor accent;
    QColor highlight; // behind the use god

    const QColor &of(GuapanInk ink) const;
};

GuapanColours lightGuapanColours();
GuapanColours darkGuapanColours();
// The variant that suits the palette: dark where its window is dark.
GuapanColours guapanColours(const QPalette &palette);

// Paints `layout` with its top left corner at the painter's origin, on the
// ground colour, in the painter's own units.
void paintGuapan(QPainter &painter, const GuapanLayout &layout, const GuapanColours &colours);

// The layout as an image of `devicePixelRatio` device pixels to the layout's
// unit; a null image when it cannot be made (too large for memory).
QImage guapanImage(const GuapanLayout &layout, const GuapanColours &colours, qreal devicePixelRatio);

} // namespace lotgrid
