#pragma once

#include "guapan/guapanlayout.h"

#include <QWidget>

namespace lotgrid {

// The 卦盘 as a pane ("guapan"): shows the chart it was last given, drawn in
// the widget's font at its zoom, light or dark as its palette is. It takes its
// size from the drawing and reads nothing but what it is given, so the main
// window and the journal's preview can each hold one.
class GuapanView : public QWidget
{
    Q_OBJECT
public:
    explicit GuapanView(QWidget *parent = nullptr);

    void setWords(const GuapanWords &words);
    const GuapanWords &words() const { return m_words; }
    void setZoom(qreal zoom);
    qreal zoom() const { return m_zoom; }

    const Chart &chart() const { return m_chart; }
    const GuapanModel &model() const { return m_model; }
    const GuapanLayout &guapanLayout() const { return m_layout; }

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
    GuapanModel m_model;
    GuapanLayout m_layout;
};

} // namespace lotgrid
