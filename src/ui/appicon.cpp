#include "ui/appicon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace lotgrid {

QPixmap appIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(size / 2.0, size / 2.0);
    const qreal radius = size * 0.48;
    QPainterPath badge;
    for (int i = 0; i < 7; ++i) {
        const qreal angle = -M_PI / 2 + i * 2 * M_PI / 7;
        const QPointF corner = centre + QPointF(radius * qCos(angle), radius * qSin(angle));
        if (i == 0)
            badge.moveTo(corner);
        else
            badge.lineTo(corner);
    }
    badge.closeSubpath();
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, QColor(0x3a, 0x7b, 0xd5));
    fill.setColorAt(1, QColor(0x1b, 0x4f, 0x9c));
    p.fillPath(badge, fill);
    p.setPen(QPen(QColor(0x10, 0x35, 0x6e), qMax(1.0, size / 32.0)));
    p.drawPath(badge);

    QFont font(QStringList{u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s, u"serif"_s});
    font.setPixelSize(qRound(size * 0.52));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, size * 0.04, size, size), Qt::AlignCenter, u"爻"_s);
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace lotgrid
