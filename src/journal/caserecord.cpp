#include "caserecord.h"

#include "chart/casefacts.h"
#include "chart/chart.h"
#include "chart/hexagrams.h"
#include "qtcore/textconv.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<std::u16string_view, 3> VerdictNames{u"未定", u"应验", u"不验"};
constexpr qint64 ChinaOffsetMinutes = 8 * 60;

} // namespace

QString verdictText(Verdict v)
{
    return qs(VerdictNames[static_cast<std::size_t>(v)]);
}

std::optional<Verdict> verdictFromText(const QString &text)
{
    for (std::size_t i = 0; i < VerdictNames.size(); ++i)
        if (u16(text) == VerdictNames[i])
            return static_cast<Verdict>(i);
    return std::nullopt;
}

bool linesStand(const CastInput &cast)
{
    return std::ranges::all_of(cast.lines, [](const CastLine &l) { return l.value == u'1' || l.value == u'0'; });
}

std::optional<CaseProblem> checkCast(const CastInput &cast)
{
    const auto fault = [](CaseFault f, QString value = {}) { return CaseProblem{f, {}, std::move(value)}; };
    if (!linesStand(cast))
        return fault(CaseFault::LinesMissing);
    if (cast.dayStem && (*cast.dayStem < 0 || *cast.dayStem > 9))
        return fault(CaseFault::DayStemRange);
    if (cast.monthBuild && static_cast<int>(*cast.monthBuild) > 11)
        return fault(CaseFault::MonthBuildRange);
    if (cast.dayBuild && static_cast<int>(*cast.dayBuild) > 11)
        return fault(CaseFault::DayBuildRange);
    switch (cast.mark.kind) {
    case MarkKind::None:
        if (cast.mark.line != 0)
            return fault(CaseFault::MarkLineWithoutMark);
        break;
    case MarkKind::UseGod:
    case MarkKind::Hidden:
        if (cast.mark.line < 1 || cast.mark.line > 6)
            return fault(CaseFault::MarkLineRange);
        break;
    default:
        return fault(CaseFault::MarkUnknown);
    }
    if (cast.moment && !isValid(*cast.moment))
        return fault(CaseFault::MomentInvalid);
    if (cast.moment && !inChartRange(*cast.moment))
        return fault(CaseFault::MomentOutOfRange, momentText(cast.moment));
    return std::nullopt;
}

std::optional<CaseProblem> checkCase(const CaseRecord &c)
{
    if (std::optional<CaseProblem> p = checkCast(c.cast))
        return p;
    const auto fault = [](CaseFault f, QString value = {}) { return CaseProblem{f, {}, std::move(value)}; };
    if (!c.saved.isValid() || !c.changed.isValid())
        return fault(CaseFault::TimesInvalid);
    if (c.sex && static_cast<int>(*c.sex) >= static_cast<int>(SexNames.size()))
        return fault(CaseFault::SexUnknown, QString::number(static_cast<int>(*c.sex)));
    if (static_cast<int>(c.verdict) > 2)
        return fault(CaseFault::VerdictUnknown);
    for (qsizetype i = 0; i < c.tags.size(); ++i) {
        const QString &tag = c.tags.at(i);
        if (tag.isEmpty())
            return fault(CaseFault::TagEmpty);
        if (normalizeTags(tag) != QStringList{tag})
            return fault(CaseFault::TagWithSeparator, tag);
        if (c.tags.indexOf(tag) < i)
            return fault(CaseFault::TagDuplicate, tag);
    }
    return std::nullopt;
}

namespace {

void makeWellFormed(QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
}

} // namespace

void makeWellFormed(CaseRecord &c)
{
    for (QString *text : {&c.question, &c.notes, &c.outcome})
        makeWellFormed(*text);
    for (QString &tag : c.tags)
        makeWellFormed(tag);
}

QString categoryText(const std::optional<Category> &c)
{
    return c && static_cast<std::size_t>(*c) < Categories.size() ? qs(categoryName(*c)) : QString();
}

QString sexText(const std::optional<Sex> &s)
{
    return s && static_cast<std::size_t>(*s) < SexNames.size() ? qs(sexName(*s)) : QString();
}

DayParts inferredByHand(const CastInput &cast)
{
    CastInput plain = cast;
    plain.dayBoundary = DayBoundary::Midnight;
    const CastInput moment = followingMoment(plain, {true, true, true});
    return {cast.dayStem && (!cast.moment || cast.dayStem != moment.dayStem),
            cast.monthBuild && (!cast.moment || cast.monthBuild != moment.monthBuild),
            cast.dayBuild && (!cast.moment || cast.dayBuild != moment.dayBuild)};
}

CaseRecord withOutcome(CaseRecord c, Verdict verdict, const std::optional<QDate> &day, const QString &note)
{
    c.verdict = verdict;
    c.outcomeDate = day;
    if (const QString line = note.trimmed(); !line.isEmpty())
        c.outcome = c.outcome.isEmpty() ? line : c.outcome + u'\n' + line;
    return c;
}

bool sameCase(const CaseRecord &a, const CaseRecord &b)
{
    CastInput cast = b.cast;
    cast.byHand = a.cast.byHand;
    return a.cast == cast && a.question == b.question && a.sex == b.sex;
}

Chart caseChart(const CaseRecord &c)
{
    return chartOf(readingCast(c));
}

std::optional<QDate> firstYingqiOf(const CaseRecord &c)
{
    const std::optional<CivilDate> d = firstYingqi(caseChart(c));
    return d ? std::optional(QDate(d->year, d->month, d->day)) : std::nullopt;
}

QString lineKey(const CastInput &cast)
{
    if (!linesStand(cast))
        return {};
    QString key;
    for (const CastLine &l : cast.lines)
        key += QChar(l.value);
    return key;
}

QString changedLineKey(const CastInput &cast)
{
    if (!linesStand(cast))
        return {};
    QString key;
    for (const CastLine &l : cast.lines)
        key += QChar(changedValue(l.value, l.moving));
    return key;
}

// The names come from the hexagram table by line key: no chart is worked out for them.
QString originalName(const CastInput &cast)
{
    const HexagramRow *row = FindHexagramByKey(u16(lineKey(cast)));
    return row ? qs(hexagramName(*row)) : QString();
}

QString changedName(const CastInput &cast)
{
    const bool moving = std::ranges::any_of(cast.lines, [](const CastLine &l) { return l.moving; });
    const HexagramRow *row = moving ? FindHexagramByKey(u16(changedLineKey(cast))) : nullptr;
    return row ? qs(hexagramName(*row)) : QString();
}

QString hexagramsText(const CastInput &cast)
{
    const QString changed = changedName(cast);
    return changed.isEmpty() ? originalName(cast) : originalName(cast) + u" → "_s + changed;
}

QStringList normalizeTags(const QString &typed)
{
    static const QRegularExpression separators(u"[\\s,，、;；]+"_s);
    QStringList tags;
    for (const QString &piece : typed.split(separators, Qt::SkipEmptyParts))
        if (!tags.contains(piece))
            tags << piece;
    return tags;
}

QString momentText(const std::optional<Moment> &moment)
{
    if (!moment)
        return {};
    return u"%1-%2-%3 %4:%5"_s.arg(moment->date.year, 4, 10, QLatin1Char('0'))
        .arg(moment->date.month, 2, 10, QLatin1Char('0'))
        .arg(moment->date.day, 2, 10, QLatin1Char('0'))
        .arg(moment->hour, 2, 10, QLatin1Char('0'))
        .arg(moment->minute, 2, 10, QLatin1Char('0'));
}

std::optional<Moment> momentFromText(const QString &text)
{
    static const QRegularExpression form(u"^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2})$"_s);
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const Moment moment{{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()},
                        m.captured(4).toInt(),
                        m.captured(5).toInt()};
    if (!isValid(moment))
        return std::nullopt;
    return moment;
}

Moment chinaMoment(const QDateTime &utc)
{
    const qint64 ms = utc.toMSecsSinceEpoch();
    const qint64 minutes = ms >= 0 ? ms / 60000 : (ms - 59999) / 60000; // rounded down before 1970 as well
    return momentFromMinutes(minutes + ChinaOffsetMinutes);
}

qint64 caseMinute(const CaseRecord &c)
{
    return minuteNumber(c.cast.moment ? *c.cast.moment : chinaMoment(c.saved));
}

bool datedInRange(const CaseRecord &c)
{
    const auto inYears = [](int year) { return year >= 1 && year <= 9999; };
    if (c.cast.moment)
        return isValid(*c.cast.moment) && inYears(c.cast.moment->date.year);
    return c.saved.isValid() && inYears(c.saved.toUTC().date().year());
}

CastInput readingCast(const CaseRecord &c)
{
    CastInput cast = c.cast;
    cast.category = c.category;
    cast.sex = c.sex;
    return cast;
}

} // namespace lotgrid
