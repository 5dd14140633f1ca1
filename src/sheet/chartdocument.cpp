#include "sheet/chartdocument.h"

namespace lotgrid {

namespace {

bool isLineValue(char16_t v)
{
    return v == u'1' || v == u'0';
}

bool inLines(int line)
{
    return line >= 1 && line <= 6;
}

} // namespace

ChartDocument::ChartDocument(QObject *parent)
    : QObject(parent)
    , m_chart(chartOf(m_cast))
{
}

void ChartDocument::update(CastInput next, DayParts follows)
{
    next = followingMoment(std::move(next), follows);
    if (next == m_cast && follows == m_follows)
        return;
    m_cast = next;
    m_follows = follows;
    m_chart = chartOf(m_cast);
    emit changed(m_chart);
}

void ChartDocument::setLine(int line, char16_t value)
{
    if (!inLines(line) || (value != 0 && !isLineValue(value)))
        return;
    CastInput next = m_cast;
    CastLine &l = next.line(line);
    if (l.value != value)
        l = {value, false};
    update(next, m_follows);
}

void ChartDocument::setMoving(int line, bool moving)
{
    if (!inLines(line))
        return;
    CastInput next = m_cast;
    CastLine &l = next.line(line);
    l.moving = moving && isLineValue(l.value);
    update(next, m_follows);
}

void ChartDocument::setLines(const std::array<CastLine, 6> &lines)
{
    CastInput next = m_cast;
    for (int n = 1; n <= 6; ++n) {
        const CastLine &l = lines[static_cast<std::size_t>(n - 1)];
        next.line(n) = isLineValue(l.value) ? l : CastLine{};
    }
    next.mark = {};
    update(next, m_follows);
}

void ChartDocument::setDayStem(std::optional<int> stem)
{
    if (stem && (*stem < 0 || *stem > 9))
        return;
    CastInput next = m_cast;
    next.dayStem = stem;
    next.byHand[static_cast<std::size_t>(DayPart::DayStem)] = stem.has_value();
    auto follows = m_follows;
    follows[static_cast<std::size_t>(DayPart::DayStem)] = false;
    update(next, follows);
}

void ChartDocument::setMonthBuild(std::optional<Branch> branch)
{
    if (branch && static_cast<int>(*branch) > 11)
        return;
    CastInput next = m_cast;
    next.monthBuild = branch;
    next.byHand[static_cast<std::size_t>(DayPart::MonthBuild)] = branch.has_value();
    auto follows = m_follows;
    follows[static_cast<std::size_t>(DayPart::MonthBuild)] = false;
    update(next, follows);
}

void ChartDocument::setDayBuild(std::optional<Branch> branch)
{
    if (branch && static_cast<int>(*branch) > 11)
        return;
    CastInput next = m_cast;
    next.dayBuild = branch;
    next.byHand[static_cast<std::size_t>(DayPart::DayBuild)] = branch.has_value();
    auto follows = m_follows;
    follows[static_cast<std::size_t>(DayPart::DayBuild)] = false;
    update(next, follows);
}

void ChartDocument::setMark(LineMark mark)
{
    CastInput next = m_cast;
    next.mark = mark.kind != MarkKind::None && inLines(mark.line) ? mark : LineMark{};
    update(next, m_follows);
}

void ChartDocument::setMoment(std::optional<Moment> moment)
{
    if (moment && !isValid(*moment))
        return;
    setClock(m_clock, moment);
}

bool ChartDocument::setClock(const MomentClock &clock, std::optional<Moment> typed)
{
    CastInput next = m_cast;
    next.moment.reset();
    next.origin.reset();
    if (typed) {
        const CastMomentResult r = castMomentOf(*typed, clock);
        if (!r.value) {
            emit momentRefused(r.error);
            return false;
        }
        next.moment = r.value->moment;
        next.origin = r.value->origin;
    }
    m_clock = clock;
    m_typed = typed;
    update(next, m_follows);
    return true;
}

bool ChartDocument::setInstant(const Moment &standard)
{
    // The zone's own reading, else the moment itself or, on a summer-time day of 北京时间, an hour later.
    std::vector<Moment> candidates{standard, momentFromMinutes(minuteNumber(standard) + 60)};
    if (const auto onClock = fromChinaStandardTime(standard, m_clock.zone))
        candidates.insert(candidates.begin(), *onClock);
    for (const Moment &typed : candidates) {
        const CastMomentResult r = castMomentOf(typed, m_clock);
        if (r.value && r.value->moment == standard)
            return setClock(m_clock, typed);
    }
    emit momentRefused(ZoneError::OutOfRange);
    return false;
}

bool ChartDocument::setZone(const std::string &iana)
{
    MomentClock clock = m_clock;
    clock.zone = iana;
    return setClock(clock, m_typed);
}

bool ChartDocument::setStandardTime(bool standardTime)
{
    MomentClock clock = m_clock;
    clock.standardTime = standardTime;
    return setClock(clock, m_typed);
}

bool ChartDocument::setPlace(std::optional<double> longitude, const std::u16string &name)
{
    MomentClock clock = m_clock;
    clock.longitude = longitude;
    clock.place = longitude ? name : std::u16string();
    return setClock(clock, m_typed);
}

void ChartDocument::setDayBoundary(DayBoundary boundary)
{
    CastInput next = m_cast;
    next.dayBoundary = boundary;
    update(next, m_follows);
}

void ChartDocument::setCategory(std::optional<Category> category)
{
    if (category && static_cast<std::size_t>(*category) >= Categories.size())
        return;
    CastInput next = m_cast;
    next.category = category;
    update(next, m_follows);
}

void ChartDocument::setSex(std::optional<Sex> sex)
{
    if (sex && static_cast<std::size_t>(*sex) >= SexNames.size())
        return;
    CastInput next = m_cast;
    next.sex = sex;
    update(next, m_follows);
}

void ChartDocument::setOptions(const SchoolOptions &options)
{
    CastInput next = m_cast;
    next.options = options;
    update(next, m_follows);
}

void ChartDocument::setCast(const CastInput &cast)
{
    CastInput next = cast;
    next.options = m_cast.options;
    for (CastLine &l : next.lines)
        if (!isLineValue(l.value))
            l = {};
    if (next.dayStem && (*next.dayStem < 0 || *next.dayStem > 9))
        next.dayStem.reset();
    if (next.moment && !isValid(*next.moment))
        next.moment.reset();
    // The case's moment stands as it was kept: its clock comes with it, and it is not read again.
    if (!next.moment)
        next.origin.reset();
    m_typed = next.origin ? std::optional(next.origin->typed) : next.moment;
    m_clock.zone = next.origin ? next.origin->zone : std::string();
    m_clock.longitude = next.origin ? next.origin->longitude : std::nullopt;
    m_clock.place = next.origin ? next.origin->place : std::u16string();
    if (next.mark.kind == MarkKind::None || !inLines(next.mark.line))
        next.mark = {};
    update(next, {});
}

void ChartDocument::clear()
{
    setLines({});
}

void ChartDocument::setQuestion(const QString &question)
{
    if (question == m_question)
        return;
    m_question = question;
    emit wordsChanged();
}

void ChartDocument::setMethod(CastMethod method)
{
    if (method == m_method || static_cast<std::size_t>(method) > static_cast<std::size_t>(CastMethod::Auto))
        return;
    m_method = method;
    emit wordsChanged();
}

void ChartDocument::followMoment()
{
    update(m_cast, {true, true, true});
}

} // namespace lotgrid
