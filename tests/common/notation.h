#pragma once
// A cast written in 6/7/8/9 notation, line 1 first: 6 old yin (moving),
// 7 young yang, 8 young yin, 9 old yang (moving), as lotgrid-chart takes it.
// It is read by the modern rules (通行); a test of a book's rules sets its school.

#include "chart/cast.h"

#include <QStringView>

namespace lotgrid {

inline CastInput castOf(QStringView lines)
{
    CastInput in;
    in.options = schoolPreset(School::Common);
    for (int n = 1; n <= 6 && n <= lines.size(); ++n) {
        const QChar c = lines[n - 1];
        in.line(n) = {c == u'7' || c == u'9' ? u'1' : u'0', c == u'6' || c == u'9'};
    }
    return in;
}

} // namespace lotgrid
