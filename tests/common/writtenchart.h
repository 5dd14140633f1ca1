#pragma once
// A chart written as the books' worked examples give it, read by a school:
//   "777777 亥 甲寅 求财"          lines, month build, day pillar, category
//   "787897 2000-04-27 12:00 求财 [女]"  lines, moment (the builds and the day
//                                      from its pillars), category, sex

#include "chart/chart.h"
#include "common/notation.h"
#include "qtcore/textconv.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>

namespace lotgrid {

inline Chart chartAt(const QString &written, const QString &school)
{
    using namespace Qt::StringLiterals;
    const QStringList w = written.split(u' ');
    CastInput in = castOf(w[0]);
    in.options = schoolPreset(
        static_cast<School>(std::ranges::find(SchoolNames, school.toStdU16String()) - SchoolNames.begin()));
    const auto indexIn
        = [](std::u16string_view names, QStringView c) { return static_cast<int>(names.find(c.at(0).unicode())); };
    if (w[1].contains(u'-')) {
        const QDateTime t = QDateTime::fromString(w[1] + u' ' + w[2], u"yyyy-MM-dd HH:mm"_s);
        in.moment = Moment{{t.date().year(), t.date().month(), t.date().day()}, t.time().hour(), t.time().minute()};
        in = followingMoment(in, {true, true, true});
    } else {
        in.monthBuild = static_cast<Branch>(indexIn(BranchNames, w[1]));
        in.dayStem = indexIn(StemNames, w[2]);
        in.dayBuild = static_cast<Branch>(indexIn(BranchNames, QStringView(w[2]).mid(1)));
    }
    in.category = categoryFromText(u16(w.value(3)));
    in.sex = sexFromText(u16(w.value(4)));
    return chartOf(in);
}

} // namespace lotgrid
