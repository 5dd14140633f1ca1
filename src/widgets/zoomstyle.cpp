#include "widgets/zoomstyle.h"

namespace lotgrid {

ZoomStyle::ZoomStyle(QObject *parent)
    : QProxyStyle()
{
    setParent(parent);
}

int ZoomStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return qRound(base * m_factor);
    default:
        return base;
    }
}

} // namespace lotgrid
