#include "caserecord.h"

#include "chart/chart.h"
#include "chart/hexagrams.h"
#include "widgets/textconv.h"

#include <QJsonArray>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<std::u16string_view, 3> VerdictNames{u"未定", u"应验", u"不验"};
constexpr std::array<std::u16string_view, 3> MarkNames{u"", u"用神", u"伏神"};
constexpr qint64 ChinaOffsetMinutes = 8 * 60;

std::optional<int> indexIn(std::u16string_view names, const QString &text)
{
    if (text.size() != 1)
        return std::nullopt;
    const auto at = names.find(text.front().unicode());
    if (at == std::u16string_view::npos)
        return std::nullopt;
    return static_cast<int>(at);
}

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

QString castProblem(const CastInput &cast)
{
    if (!linesStand(cast))
        return u"六爻不全：每一爻须为 1（阳）或 0（阴）"_s;
    if (cast.dayStem && (*cast.dayStem < 0 || *cast.dayStem > 9))
        return u"日干超出 甲..癸"_s;
    if (cast.monthBuild && static_cast<int>(*cast.monthBuild) > 11)
        return u"月建超出 子..亥"_s;
    if (cast.dayBuild && static_cast<int>(*cast.dayBuild) > 11)
        return u"日建超出 子..亥"_s;
    switch (cast.mark.kind) {
    case MarkKind::None:
        if (cast.mark.line != 0)
            return u"未标用神或伏神，却给了爻位"_s;
        break;
    case MarkKind::UseGod:
    case MarkKind::Hidden:
        if (cast.mark.line < 1 || cast.mark.line > 6)
            return u"用神或伏神的爻位须在 1..6"_s;
        break;
    default:
        return u"用神或伏神的标记无法识别"_s;
    }
    if (cast.moment && !isValid(*cast.moment))
        return u"起卦时间不是有效的日期和时刻"_s;
    return {};
}

QString caseProblem(const CaseRecord &c)
{
    if (QString p = castProblem(c.cast); !p.isEmpty())
        return p;
    if (!c.saved.isValid() || !c.changed.isValid())
        return u"保存或修改时间无效"_s;
    if (!c.sex.isEmpty() && c.sex != u"男"_s && c.sex != u"女"_s)
        return u"性别须为“男”“女”或空"_s;
    if (static_cast<int>(c.verdict) > 2)
        return u"应验情况无法识别"_s;
    if (c.tags != normalizeTags(c.tags.join(u' ')))
        return u"标签不能为空，也不能含空格或分隔符"_s;
    return {};
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

QString originalName(const CastInput &cast)
{
    const Chart chart = chartOf(cast);
    return chart.original ? qs(hexagramName(*chart.original)) : QString();
}

QString changedName(const CastInput &cast)
{
    const Chart chart = chartOf(cast);
    return chart.changed && chart.hasMovingLine() ? qs(hexagramName(*chart.changed)) : QString();
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

QJsonObject caseToJson(const CaseRecord &c, const ChartJson &chart)
{
    QString moving;
    for (const CastLine &l : c.cast.lines)
        moving += l.moving ? u'1' : u'0';
    QJsonObject o{
        {u"id"_s, c.id},
        {u"saved"_s, c.saved.toUTC().toString(Qt::ISODateWithMs)},
        {u"changed"_s, c.changed.toUTC().toString(Qt::ISODateWithMs)},
        {u"moment"_s, c.cast.moment ? QJsonValue(momentText(c.cast.moment)) : QJsonValue()},
        {u"lines"_s, lineKey(c.cast)},
        {u"moving"_s, moving},
        {u"dayStem"_s, c.cast.dayStem ? QJsonValue(qs(StemNames.substr(*c.cast.dayStem, 1))) : QJsonValue()},
        {u"monthBuild"_s, c.cast.monthBuild ? QJsonValue(qs(branchName(*c.cast.monthBuild))) : QJsonValue()},
        {u"dayBuild"_s, c.cast.dayBuild ? QJsonValue(qs(branchName(*c.cast.dayBuild))) : QJsonValue()},
        {u"question"_s, c.question},
        {u"sex"_s, c.sex},
        {u"notes"_s, c.notes},
        {u"outcome"_s, c.outcome},
        {u"verdict"_s, verdictText(c.verdict)},
        {u"tags"_s, QJsonArray::fromStringList(c.tags)},
    };
    if (c.cast.mark.kind == MarkKind::None)
        o.insert(u"mark"_s, QJsonValue());
    else
        o.insert(u"mark"_s, QJsonObject{{u"kind"_s, qs(MarkNames[static_cast<std::size_t>(c.cast.mark.kind)])},
                                        {u"line"_s, c.cast.mark.line}});
    if (chart)
        o.insert(u"chart"_s, chart(c.cast));
    return o;
}

namespace {

// Reads one field: absent or null leaves `out` unset and is fine when the field is optional.
bool readString(const QJsonObject &o, const QString &key, bool required, std::optional<QString> &out, QString *problem)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull()) {
        if (required)
            *problem = u"缺少字段“%1”"_s.arg(key);
        return !required;
    }
    if (!v.isString()) {
        *problem = u"字段“%1”应为文字"_s.arg(key);
        return false;
    }
    out = v.toString();
    return true;
}

bool readTime(const std::optional<QString> &text, const QString &key, QDateTime &out, QString *problem)
{
    out = QDateTime::fromString(text.value_or(QString()), Qt::ISODateWithMs).toUTC();
    if (!out.isValid())
        *problem = u"字段“%1”不是有效的时间（如 2026-12-07T00:30:00.000Z）"_s.arg(key);
    return out.isValid();
}

template<typename T>
bool readIndexed(const std::optional<QString> &text, std::u16string_view names, const QString &key,
                 std::optional<T> &out, QString *problem)
{
    if (!text)
        return true;
    const std::optional<int> at = indexIn(names, *text);
    if (!at) {
        *problem = u"字段“%1”的值“%2”无法识别"_s.arg(key, *text);
        return false;
    }
    out = static_cast<T>(*at);
    return true;
}

} // namespace

std::optional<CaseRecord> caseFromJson(const QJsonObject &o, QString *problem)
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    std::optional<QString> saved, changed, moment, lines, moving, dayStem, monthBuild, dayBuild, question, sex, notes,
        outcome, verdict;
    if (!readString(o, u"saved"_s, true, saved, problem) || !readString(o, u"changed"_s, true, changed, problem)
        || !readString(o, u"moment"_s, false, moment, problem) || !readString(o, u"lines"_s, true, lines, problem)
        || !readString(o, u"moving"_s, true, moving, problem) || !readString(o, u"dayStem"_s, false, dayStem, problem)
        || !readString(o, u"monthBuild"_s, false, monthBuild, problem)
        || !readString(o, u"dayBuild"_s, false, dayBuild, problem)
        || !readString(o, u"question"_s, true, question, problem) || !readString(o, u"sex"_s, false, sex, problem)
        || !readString(o, u"notes"_s, false, notes, problem) || !readString(o, u"outcome"_s, false, outcome, problem)
        || !readString(o, u"verdict"_s, true, verdict, problem))
        return std::nullopt;

    CaseRecord c;
    if (!readTime(saved, u"saved"_s, c.saved, problem) || !readTime(changed, u"changed"_s, c.changed, problem))
        return std::nullopt;
    static const QRegularExpression sixBits(u"^[01]{6}$"_s);
    if (!sixBits.match(*lines).hasMatch()) {
        *problem = u"字段“lines”应为六个 0 或 1（初爻在前），而不是“%1”"_s.arg(*lines);
        return std::nullopt;
    }
    if (!sixBits.match(*moving).hasMatch()) {
        *problem = u"字段“moving”应为六个 0 或 1（初爻在前），而不是“%1”"_s.arg(*moving);
        return std::nullopt;
    }
    for (int n = 1; n <= 6; ++n)
        c.cast.line(n) = {lines->at(n - 1).unicode(), moving->at(n - 1) == u'1'};
    if (moment) {
        c.cast.moment = momentFromText(*moment);
        if (!c.cast.moment) {
            *problem = u"字段“moment”不是有效的起卦时间（如 2026-12-07 08:30）：“%1”"_s.arg(*moment);
            return std::nullopt;
        }
    }
    if (!readIndexed(dayStem, StemNames, u"dayStem"_s, c.cast.dayStem, problem)
        || !readIndexed(monthBuild, BranchNames, u"monthBuild"_s, c.cast.monthBuild, problem)
        || !readIndexed(dayBuild, BranchNames, u"dayBuild"_s, c.cast.dayBuild, problem))
        return std::nullopt;

    const QJsonValue mark = o.value(u"mark"_s);
    if (!mark.isUndefined() && !mark.isNull()) {
        const QJsonObject m = mark.toObject();
        const QString kind = m.value(u"kind"_s).toString();
        const QJsonValue line = m.value(u"line"_s);
        if (!mark.isObject() || (kind != u"用神"_s && kind != u"伏神"_s) || !line.isDouble()
            || line.toDouble() != line.toInt() || line.toInt() < 1 || line.toInt() > 6) {
            *problem = u"字段“mark”应为 {\"kind\": \"用神\" 或 \"伏神\", \"line\": 1..6}"_s;
            return std::nullopt;
        }
        c.cast.mark = {kind == u"用神"_s ? MarkKind::UseGod : MarkKind::Hidden, line.toInt()};
    }

    c.question = *question;
    c.sex = sex.value_or(QString());
    c.notes = notes.value_or(QString());
    c.outcome = outcome.value_or(QString());
    const std::optional<Verdict> v = verdictFromText(*verdict);
    if (!v) {
        *problem = u"字段“verdict”应为“应验”“不验”或“未定”，而不是“%1”"_s.arg(*verdict);
        return std::nullopt;
    }
    c.verdict = *v;

    const QJsonValue tags = o.value(u"tags"_s);
    if (!tags.isUndefined() && !tags.isNull()) {
        if (!tags.isArray()) {
            *problem = u"字段“tags”应为文字的列表"_s;
            return std::nullopt;
        }
        for (const QJsonValue &t : tags.toArray()) {
            if (!t.isString()) {
                *problem = u"字段“tags”应为文字的列表"_s;
                return std::nullopt;
            }
            c.tags << t.toString();
        }
    }
    if (QString p = caseProblem(c); !p.isEmpty()) {
        *problem = p;
        return std::nullopt;
    }
    return c;
}

} // namespace lotgrid
