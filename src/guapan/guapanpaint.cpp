#include "guapan/guapanpaint.h"

#include <QPainter>
#include <QPalette>

#include <cmath>

namespace lotgrid {

namespace {

// A yin line is two bars with a gap of a seventh of the line between them.
constexpr qreal YinGap = 1.0 / 7.0;

QColor mixed(const QColor &a, const QColor &b, qreal share)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                            static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                            static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
}

// `r` with its edges on whole device pixels where the painter only scales and
// moves (a screen or a picture), so the bars stay sharp and the halves of a yin
// line equal; as it is on a page, where the device's pixels are fine enough.
QRectF snapped(const QPainter &p, const QRectF &r)
{
    const QTransform t = p.deviceTransform();
    if (t.type() > QTransform::TxScale)
        return r;
    const QRectF d = t.mapRect(r);
    const QRectF whole(QPointF(std::round(d.left()), std::round(d.top())),
                       QPointF(std::round(d.right()), std::round(d.bottom())));
    return t.inverted().mapRect(whole);
}

} // namespace

const QColor &GuapanColours::of(GuapanInk i) const
{
    return i == GuapanInk::Accent ? accent : i == GuapanInk::Secondary ? secondary : ink;
}

GuapanColours lightGuapanColours()
{
    const QColor ground(0xff, 0xff, 0xff);
    const QColor accent(0xb0, 0x24, 0x18); // vermilion ink
    return {ground, QColor(0x1a, 0x1a, 0x1a), QColor(0x5c, 0x5c, 0x5c), accent, mixed(ground, accent, 0.10)};
}

GuapanColours darkGuapanColours()
{
    const QColor ground(0x1e, 0x1f, 0x22);
    const QColor accent(0xff, 0x8f, 0x80);
    return {ground, QColor(0xec, 0xec, 0xec), QColor(0xa8, 0xa8, 0xa8), accent, mixed(ground, accent, 0.14)};
}

GuapanColours guapanColours(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? darkGuapanColours() : lightGuapanColours();
}

void paintGuapan(QPainter &p, const GuapanLayout &layout, const GuapanColours &colours)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(QPointF(0, 0), layout.size), colours.ground);
    const qreal em = layout.body.pixelSize();
    for (const QRectF &h : layout.highlights) {
        p.setPen(Qt::NoPen);
        p.setBrush(colours.highlight);
        p.drawRoundedRect(h, em * 0.3, em * 0.3);
    }
    QPen rule(colours.secondary, std::max<qreal>(1.0, em / 16));
    rule.setCapStyle(Qt::FlatCap);
    for (const QLineF &l : layout.rules) {
        p.setPen(rule);
        p.drawLine(l);
    }
    p.setPen(Qt::NoPen);
    for (const GuapanBar &bar : layout.bars) {
        const QColor &c = colours.of(bar.ink);
        if (bar.yang) {
            p.fillRect(snapped(p, bar.box), c);
        } else {
            const qreal half = bar.box.width() * (1 - YinGap) / 2;
            p.fillRect(snapped(p, QRectF(bar.box.left(), bar.box.top(), half, bar.box.height())), c);
            p.fillRect(snapped(p, QRectF(bar.box.right() - half, bar.box.top(), half, bar.box.height())), c);
        }
    }
    for (const GuapanRun &run : layout.runs) {
        p.setFont(layout.font(run.type));
        p.setPen(colours.of(run.ink));
        p.drawText(run.origin, run.text);
    }
    p.restore();
}

QImage guapanImage(const GuapanLayout &layout, const GuapanColours &colours, qreal devicePixelRatio)
{
    const QSize pixels = (layout.size * devicePixelRatio).toSize();
    if (pixels.isEmpty())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(colours.ground);
    QPainter p(&image);
    paintGuapan(p, layout, colours);
    return image;
}

} // namespace lotgrid
