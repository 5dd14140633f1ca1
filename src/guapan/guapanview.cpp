#include "guapan/guapanview.h"

#include "guapan/guapanpaint.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

GuapanView::GuapanView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"guapan"_s);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    rebuild();
}

void GuapanView::setChart(const Chart &chart)
{
    m_chart = chart;
    rebuild();
}

void GuapanView::setWords(const GuapanWords &words)
{
    m_words = words;
    rebuild();
}

void GuapanView::setZoom(qreal zoom)
{
    if (zoom <= 0 || qFuzzyCompare(zoom, m_zoom))
        return;
    m_zoom = zoom;
    relayout();
}

void GuapanView::setFitWidth(int width)
{
    width = std::max(width, 0);
    if (width == m_fitWidth)
        return;
    m_fitWidth = width;
    relayout();
}

QSize GuapanView::sizeHint() const
{
    return m_natural;
}

QSize GuapanView::minimumSizeHint() const
{
    return m_fitWidth > 0 ? m_layout.size.toSize() : m_natural;
}

void GuapanView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const GuapanColours colours = guapanColours(palette());
    p.fillRect(rect(), colours.ground);
    paintGuapan(p, m_layout, colours);
}

void GuapanView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
    else if (event->type() == QEvent::PaletteChange)
        update();
}

void GuapanView::rebuild()
{
    m_model = guapanModel(m_chart, m_words);
    relayout();
}

void GuapanView::relayout()
{
    const GuapanLayout natural = layOutGuapan(m_model, {font(), m_zoom});
    m_natural = natural.size.toSize();
    m_layout = m_fitWidth > 0 && natural.size.width() > m_fitWidth
                   ? layOutGuapan(m_model, {font(), m_zoom, qreal(m_fitWidth)})
                   : natural;
    updateGeometry();
    update();
}

} // namespace lotgrid
