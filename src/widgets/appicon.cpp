#include "widgets/appicon.h"

#include <QIconEngine>
#include <QPainter>

namespace lotgrid {

namespace {

// Drawn on a 128-unit square, like the scalable icon that is installed with the program.
void paintIcon(QPainter &p, const QRectF &rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.topLeft());
    p.scale(rect.width() / 128.0, rect.height() / 128.0);
    const QPolygonF badge{{64.00, 3.00},   {111.69, 25.97}, {123.47, 77.57}, {90.47, 118.96},
                          {37.53, 118.96}, {4.53, 77.57},   {16.31, 25.97}};
    p.setPen(QPen(QColor(0x10, 0x35, 0x6e), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x2a, 0x65, 0xb9));
    p.drawPolygon(badge);

    // 爻: two crossed strokes over two.
    p.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44, 30), QPointF(82, 60));
    p.drawLine(QPointF(84, 28), QPointF(46, 62));
    p.drawLine(QPointF(38, 66), QPointF(90, 104));
    p.drawLine(QPointF(90, 64), QPointF(36, 106));
    p.restore();
}

// Paints the icon at whatever size is asked for, when it is asked for.
class IconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override { paintIcon(*painter, rect); }
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        paintIcon(p, QRectF(QPointF(0, 0), size));
        return pixmap;
    }
    QIconEngine *clone() const override { return new IconEngine; }
};

} // namespace

QPixmap appIconPixmap(int size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paintIcon(p, QRectF(0, 0, size, size));
    return pixmap;
}

QIcon appIcon()
{
    return QIcon(new IconEngine);
}

} // namespace lotgrid
