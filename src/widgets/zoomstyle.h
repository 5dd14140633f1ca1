#pragma once

#include <QProxyStyle>

namespace lotgrid {

// The desktop's style with the boxes of check boxes and option buttons scaled
// by a factor, so they keep in proportion with zoomed type.
class ZoomStyle : public QProxyStyle
{
    Q_OBJECT
public:
    explicit ZoomStyle(QObject *parent = nullptr);
    void setFactor(qreal factor) { m_factor = factor; }
    qreal factor() const { return m_factor; }

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;

private:
    qreal m_factor = 1.0;
};

} // namespace lotgrid
