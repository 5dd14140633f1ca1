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
    // A bar 35/4 times as long as it is high (1575 x 180 twips), its height two thirds of a line of type.
    const int h = qMax(8, fontMetrics().height() * 2 / 3);
    return {h * 35 / 4, h};
}

void LineGlyph::paintEvent(QPaintEvent *)
{
    // Drawn in device pixels, every edge on a whole pixel, so the bars stay
    // sharp and the two halves of a yin line equal at any scale.
    QPainter p(this);
    const qreal ratio = p.device()->devicePixelRatioF();
    p.scale(1 / ratio, 1 / ratio);
    const int width = qRound(this->width() * ratio);
    const int height = qRound(this->height() * ratio);
    const int barHeight = qMin(height, qMax(qRound(4 * ratio), qRound(height * 0.6)));
    const int top = (height - barHeight) / 2;
    const QColor ink = palette().color(QPalette::WindowText);
    if (m_kind == Kind::Yang) {
        p.fillRect(0, top, width, barHeight, ink);
    } else {
        const int gap = qMax(1, qRound(width * 105.0 / 1575.0));
        const int bar = (width - gap) / 2;
        p.fillRect(0, top, bar, barHeight, ink);
        p.fillRect(width - bar, top, bar, barHeight, ink);
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

void GlyphSpot::resizeEvent(QResizeEvent *)
{
    placeGlyphs();
}

void GlyphSpot::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeGlyphs();
}

void GlyphSpot::placeGlyphs()
{
    // Every spot draws its glyphs at their own size, whatever the width of
    // its column, so that the original and the changed hexagram match.
    const QSize glyph = m_yang->sizeHint().boundedTo(size());
    const QRect r(QPoint(0, (height() - glyph.height()) / 2), glyph);
    m_yang->setGeometry(r);
    m_yin->setGeometry(r);
}

} // namespace lotgrid
