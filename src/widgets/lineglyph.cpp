#include "widgets/lineglyph.h"

#include <QPainter>
#include <QResizeEvent>

namespace lotgrid {

LineGlyph::LineGlyph(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize LineGlyph::sizeHint() const
{
    // 1575 x 180 twips in the reference, scaled with the font.
    const int h = qMax(8, fontMetrics().height() * 2 / 3);
    return {h * 35 / 4, h};
}

void LineGlyph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF r = rect();
    const qreal barHeight = qMax<qreal>(4.0, r.height() * 0.6);
    const qreal top = r.top() + (r.height() - barHeight) / 2;
    const QColor ink = palette().color(QPalette::WindowText);
    if (m_kind == Kind::Yang) {
        p.fillRect(QRectF(r.left(), top, r.width(), barHeight), ink);
    } else {
        const qreal bar = r.width() * 735.0 / 1575.0;
        p.fillRect(QRectF(r.left(), top, bar, barHeight), ink);
        p.fillRect(QRectF(r.right() + 1 - bar, top, bar, barHeight), ink);
    }
}

GlyphSpot::GlyphSpot(QWidget *parent)
    : QWidget(parent)
    , m_yang(new LineGlyph(LineGlyph::Kind::Yang, this))
    , m_yin(new LineGlyph(LineGlyph::Kind::Yin, this))
{
    m_yang->hide();
    m_yin->hide();
}

QSize GlyphSpot::sizeHint() const
{
    return m_yang->sizeHint();
}
QSize GlyphSpot::minimumSizeHint() const
{
    return m_yang->sizeHint();
}

void GlyphSpot::resizeEvent(QResizeEvent *event)
{
    const QSize glyph = m_yang->sizeHint();
    const QRect r(QPoint(0, (event->size().height() - glyph.height()) / 2),
                  QSize(event->size().width(), glyph.height()));
    m_yang->setGeometry(r);
    m_yin->setGeometry(r);
}

} // namespace lotgrid
