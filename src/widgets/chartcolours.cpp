#include "widgets/chartcolours.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace lotgrid {

namespace {

// clang-format off
// In Ink order. The light colours are the sheet's own, darkened where they
// read below 4.5:1 on its paper (red, magenta, green, grey); the dark ones
// keep their hues, lightened to read on a ground as light as DarkGroundLimit.
constexpr std::array<QRgb, InkCount> LightInks{
    0x000000, 0x666666, 0xc80000, 0x0000ff, 0x800080, 0x000080, 0xb000b0, 0x006400, 0x007000, 0xa00000,
    0x8a4b00, 0x3e5468};
constexpr std::array<QRgb, InkCount> DarkInks{
    0xe8e8e8, 0xababab, 0xff8080, 0x72a8ff, 0xd9a0ff, 0xb4c8ff, 0xff80ff, 0x8fd18f, 0x5fe05f, 0xffa08a,
    0xffc070, 0xa8c4dc};
// clang-format on

constexpr QRgb LightPaper = 0xf0f0f0;
constexpr QRgb LightPanel = 0xffffff;

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// `colour`, darkened until it is no lighter than DarkGroundLimit.
QColor darkGround(QColor colour)
{
    colour.setAlpha(255);
    const double limit = relativeLuminance(ChartColours::DarkGroundLimit);
    for (int i = 0; i < 64 && relativeLuminance(colour) > limit; ++i)
        colour = colour.darker(110);
    return relativeLuminance(colour) > limit ? ChartColours::DarkGroundLimit : colour;
}

} // namespace

const QColor ChartColours::DarkGroundLimit(0x38, 0x38, 0x38);

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.red()) + 0.7152 * channel(rgb.green()) + 0.0722 * channel(rgb.blue());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ChartColours::ChartColours(const QPalette &desktop)
    : m_dark(desktop.color(QPalette::Active, QPalette::Window).lightness() < 128)
    , m_desktop(desktop)
{
    const auto &inks = m_dark ? DarkInks : LightInks;
    for (std::size_t i = 0; i < inks.size(); ++i)
        m_inks[i] = QColor::fromRgb(inks[i]);
    if (m_dark) {
        m_paper = darkGround(desktop.color(QPalette::Active, QPalette::Window));
        m_panel = darkGround(desktop.color(QPalette::Active, QPalette::Base));
    } else {
        m_paper = QColor::fromRgb(LightPaper);
        m_panel = QColor::fromRgb(LightPanel);
    }

    const QColor text = ink(Ink::Text), pair = ink(Ink::Changed);
    const auto rgb = [](QRgb value) { return QColor::fromRgb(value); };
    if (m_dark)
        m_cells = {{{rgb(0xffe08a), rgb(0x3a3420)},
                    {text, m_panel},
                    {pair, m_panel},
                    {rgb(0xffffff), rgb(0x2a4f8f)},
                    {text, rgb(0x1c2635)},
                    {text, rgb(0x26364d)}}};
    else
        m_cells = {{{rgb(0x1f3a93), rgb(0xffffd9)},
                    {text, m_panel},
                    {pair, m_panel},
                    {rgb(0xffffff), rgb(0x2f5fb3)},
                    {text, rgb(0xdeebf7)},
                    {text, rgb(0xb4cfec)}}};
}

ChartColours ChartColours::forDesktop()
{
    return ChartColours(QApplication::palette());
}

QPalette ChartColours::sheetPalette() const
{
    QPalette sheet = m_dark ? m_desktop : QPalette(m_paper, m_paper);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        sheet.setColor(group, QPalette::Window, m_paper);
        sheet.setColor(group, QPalette::Base, group == QPalette::Disabled ? m_paper : m_panel);
    }
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            sheet.setColor(group, role, ink(Ink::Text));
    return sheet;
}

namespace {

class PaletteFollower : public QObject
{
public:
    PaletteFollower(QWidget *widget, std::function<void(const ChartColours &)> apply)
        : QObject(widget)
        , m_apply(std::move(apply))
    {
        // The application itself hears of every change of its palette; windows and
        // widgets hear of it only as far as their own palettes follow it.
        qApp->installEventFilter(this);
        m_apply(ChartColours::forDesktop());
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp)
            m_apply(ChartColours::forDesktop());
        return false;
    }

private:
    std::function<void(const ChartColours &)> m_apply;
};

} // namespace

void followDesktopColours(QWidget *widget, std::function<void(const ChartColours &)> apply)
{
    new PaletteFollower(widget, std::move(apply));
}

} // namespace lotgrid
