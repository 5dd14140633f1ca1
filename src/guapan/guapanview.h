#pragma once

#include "guapan/guapanlayout.h"

#include <QWidget>

namespace lotgrid {

// The 卦盘 as a pane ("guapan"): shows the chart it was last given, drawn in
// the widget's font at its zoom, light or dark as its palette is. Its size
// hint is the whole drawing; given a width to fit (setFitWidth), it draws
// within that width, in smaller type or wrapped, and is as tall as that
// drawing. It reads nothing but what it is given, so the main window and the
// journal's preview can each hold one.
class GuapanView : public QWidget
{
    Q_OBJECT
public:
    explicit GuapanView(QWidget *parent = nullptr);

    void setWords(const GuapanWords &words);
    const GuapanWords &words() const { return m_words; }
    void setZoom(qreal zoom);
    qreal zoom() const { return m_zoom; }
    // The width the drawing keeps within; 0 for none.
    void setFitWidth(int width);
    int fitWidth() const { return m_fitWidth; }

    const Chart &chart() const { return m_chart; }
    const GuapanModel &model() const { return m_model; }
    // The layout as drawn, within the fit width.
    const GuapanLayout &guapanLayout() const { return m_layout; }
    // The whole drawing's size at the zoom, without a width to fit.
    QSize naturalSize() const { return m_natural; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void setChart(const lotgrid::Chart &chart);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void rebuild();
    void relayout();

    Chart m_chart;
    GuapanWords m_words;
    qreal m_zoom = 1.0;
    int m_fitWidth = 0;
    QSize m_natural;
    GuapanModel m_model;
    GuapanLayout m_layout;
};

} // namespace lotgrid
