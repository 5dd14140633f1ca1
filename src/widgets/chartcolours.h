#pragma once
// The colours the chart and its reference windows write text in, for a light
// and for a dark desktop. The desktop's palette decides which: a window colour
// of lightness below the middle is a dark desktop. Each colour reads at least
// 4.5:1 (WCAG's contrast ratio for text) against every ground it is drawn on:
// the sheet's paper and the chart's panel, which on a dark desktop follow the
// palette's window and base colours but never grow lighter than DarkGroundLimit,
// and the grounds of the reference tables' cells.

#include <QColor>
#include <QPalette>

#include <array>
#include <functional>

class QWidget;

namespace lotgrid {

// What a text on the sheet says, by the colour it has always had there.
enum class Ink : std::uint8_t {
    Text,          // ordinary text (black)
    Quiet,         // 伏神 and the 神煞 markers (grey)
    Alert,         // the marks of a line, (必选), a dialog's refusal (red)
    Relative,      // 六亲, 月建 (blue)
    DayBuild,      // 日建, 旬空, 空 (purple)
    Original,      // the original hexagram's name, 卦身 (navy)
    Changed,       // the changed hexagram's name (magenta)
    Spirit,        // 六神 (dark green)
    WorldResponse, // 世, 应 (green)
    HexagramType,  // 六冲, 六合 (dark red)
    AutoUseGod,    // the use god taken from the question's category (brown)
    Reading,       // 原/忌/仇 and the strength of a line (slate)
};
inline constexpr int InkCount = 12;

// The cells of the reference tables, each a text on its own ground.
enum class Cell : std::uint8_t {
    VoidHeading,  // 旬空表: the decades' heads
    VoidDay,      // 旬空表: the days
    VoidPair,     // 旬空表: the void branches
    SeasonHeader, // 四时旺相: the elements
    SeasonRow,    // 四时旺相: the months, alternately
    SeasonRowAlt,
};
inline constexpr int CellCount = 6;

struct CellColours {
    QColor text;
    QColor ground;
};

// WCAG 2 relative luminance of a colour's sRGB value, in [0, 1].
double relativeLuminance(const QColor &colour);
// WCAG 2 contrast ratio of two colours, in [1, 21]; order does not matter.
double contrastRatio(const QColor &a, const QColor &b);

class ChartColours
{
public:
    // The lightest ground a dark desktop's paper or panel may take: a lighter
    // window or base colour is darkened to it.
    static const QColor DarkGroundLimit;

    // Light or dark after `desktop`'s window colour.
    explicit ChartColours(const QPalette &desktop);
    // After the application's palette.
    static ChartColours forDesktop();

    bool isDark() const { return m_dark; }
    QColor ink(Ink role) const { return m_inks[static_cast<std::size_t>(role)]; }
    QColor paper() const { return m_paper; } // the ground of the sheet and the windows' text
    QColor panel() const { return m_panel; } // the ground of the chart itself and of the tables
    CellColours cell(Cell c) const { return m_cells[static_cast<std::size_t>(c)]; }

    // A palette for the sheet: paper as the window colour, the panel as the
    // base, ordinary text in every text role; on a dark desktop the desktop's
    // own palette underneath, so buttons and selections stay the desktop's.
    QPalette sheetPalette() const;

private:
    bool m_dark = false;
    QPalette m_desktop;
    QColor m_paper;
    QColor m_panel;
    std::array<QColor, InkCount> m_inks;
    std::array<CellColours, CellCount> m_cells;
};

// Calls `apply` with the colours of the application's palette now, and again
// each time that palette changes (the desktop turning dark or light) while
// `widget` lives.
void followDesktopColours(QWidget *widget, std::function<void(const ChartColours &)> apply);

} // namespace lotgrid
