#pragma once

#include <QWidget>

namespace lotgrid {

// One line of a hexagram as drawn on the chart: a solid bar for yang, a bar
// broken in the middle for yin (two bars of 735 with a gap of 105, in 1575).
class LineGlyph : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Yang, Yin };
    LineGlyph(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
};

// The spot where a yang and a yin glyph of one line lie on top of each other;
// at most one of them is shown at a time, and the spot keeps its size when neither is.
// The glyphs keep the size their font gives them, at the left of the spot.
class GlyphSpot : public QWidget
{
    Q_OBJECT
public:
    explicit GlyphSpot(QWidget *parent = nullptr);
    LineGlyph *yang() const { return m_yang; }
    LineGlyph *yin() const { return m_yin; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeGlyphs();

    LineGlyph *m_yang;
    LineGlyph *m_yin;
};

} // namespace lotgrid
