#include "chart/momentwords.h"

#include "chart/castmoment.h"
#include "chart/charttext.h"

#include <cstdlib>

namespace lotgrid {

namespace {

std::u16string number(long long n)
{
    std::u16string s;
    for (const char c : std::to_string(n))
        s += static_cast<char16_t>(c);
    return s;
}

} // namespace

std::u16string momentOriginWords(const Chart &chart)
{
    const CastInput &in = chart.input;
    if (!in.moment)
        return {};
    const std::u16string standard = chartMomentWords(*in.moment);
    if (!in.origin)
        return standard;
    const MomentOrigin &o = *in.origin;
    if (o.zone.empty())
        return o.summerTime ? standard + u"（夏令时，已减一小时）" : standard;
    return o.zoneName + u" " + chartMomentWords(o.typed) + (o.summerTime ? u"（夏令时）" : u"") + u" = 北京时间 "
           + standard;
}

std::u16string solarTimeWords(const Chart &chart)
{
    const auto &o = chart.input.origin;
    if (!o || !o->solar || !o->longitude)
        return {};
    std::u16string where
        = o->place.empty() ? longitudeWords(*o->longitude) : o->place + u"，" + longitudeWords(*o->longitude);
    return std::u16string(u"真太阳时：").append(chartMomentWords(*o->solar)).append(u"（").append(where).append(u"）");
}

std::u16string otherPillarsWords(const Chart &chart, const BoundaryWarning &w)
{
    std::u16string out;
    const auto add = [&out](Sexagenary other, std::optional<Sexagenary> own, std::u16string_view unit) {
        if (own == other)
            return;
        if (!out.empty())
            out += u' ';
        out += sexagenaryName(other);
        out += unit;
    };
    const auto &p = chart.pillars;
    add(w.other.year, p ? std::optional(p->year) : std::nullopt, u"年");
    add(w.other.month, p ? std::optional(p->month) : std::nullopt, u"月");
    add(w.other.day, p ? std::optional(p->day) : std::nullopt, u"日");
    add(w.other.hour, p ? std::optional(p->hour) : std::nullopt, u"时");
    return out;
}

std::vector<std::u16string> warningLines(const Chart &chart)
{
    std::vector<std::u16string> lines;
    for (const BoundaryWarning &w : chart.warnings) {
        const std::u16string boundary = std::u16string(w.name) + (w.kind == BoundaryKind::Hour ? u"之始" : u"") + u"（"
                                        + chartMomentWords(w.at) + u"）";
        std::u16string line = w.minutes == 0 ? u"临界：起卦正当" + boundary
                                             : u"临界：起卦在" + boundary + (w.minutes < 0 ? u"前" : u"后");
        if (w.minutes != 0)
            line.append(number(std::llabs(w.minutes))).append(u"分钟");
        if (const std::u16string other = otherPillarsWords(chart, w); !other.empty())
            line += u"，另一侧为" + other;
        lines.push_back(line);
    }
    return lines;
}

} // namespace lotgrid
