#pragma once
// The ChartDocument: the case on screen, the one truth the sheet and every
// other view show. It holds the cast (the lines, the day stem and builds and
// which of them were picked by hand, the mark, the moment, the category and
// the sex, the school options) and the case's own words: the question asked
// and how the lines were cast. Every input is a command here (a line typed, a
// box ticked, a day stem, a build or a mark chosen, the moment, a cast, a
// reopened case, New, a keystroke in the question); a change of the cast emits
// the Chart of the new cast, a change of the words only `wordsChanged`.
//
// The day stem, the month build and the day build each come either from the
// moment of the cast or by hand. Once they follow the moment (followMoment),
// every later change of the moment or of the day boundary moves them with it,
// until one of them is picked by hand; the others keep following.

#include "chart/castmoment.h"
#include "chart/chart.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace lotgrid {

class ChartDocument : public QObject
{
    Q_OBJECT
public:
    explicit ChartDocument(QObject *parent = nullptr);

    const CastInput &cast() const { return m_cast; }
    const Chart &chart() const { return m_chart; }

    // Line n (1 = bottom) as typed: u'1', u'0', or 0 for an empty line. A line
    // that takes another value, or none, stops moving.
    void setLine(int line, char16_t value);
    // The moving mark of line n; an empty line never moves.
    void setMoving(int line, bool moving);
    // All six lines of a cast at once; the mark of the lines before goes with them.
    void setLines(const std::array<CastLine, 6> &lines);

    // Picks by hand; none unchooses. A value out of range is refused.
    void setDayStem(std::optional<int> stem); // 0 = 甲 .. 9 = 癸
    void setMonthBuild(std::optional<Branch> branch);
    void setDayBuild(std::optional<Branch> branch);

    void setMark(LineMark mark); // a line outside 1..6 clears it
    // The moment as typed on the document's clock (北京时间 unless a zone is
    // set); the cast holds it in China Standard Time. A moment the clock cannot
    // give (outside the chart's span once converted) is refused with
    // momentRefused and changes nothing.
    void setMoment(std::optional<Moment> moment);
    // The moment given as an instant in China Standard Time (now, a date found
    // for 干支), typed as the document's clock shows it.
    bool setInstant(const Moment &standard);

    // The clock of the moment: the zone (an IANA name, empty for 北京时间),
    // 北京时间 kept as standard time on summer-time days, and the place whose
    // true solar time the hour and the day follow (none: off). The typed moment
    // is read again on the new clock; false, with momentRefused, when it
    // cannot be, and nothing changes.
    bool setZone(const std::string &iana);
    bool setStandardTime(bool standardTime);
    bool setPlace(std::optional<double> longitude, const std::u16string &name);
    const MomentClock &clock() const { return m_clock; }
    // The moment as typed on that clock.
    std::optional<Moment> typedMoment() const { return m_typed; }
    void setDayBoundary(DayBoundary boundary);

    // What the question is about and the asker's sex, which pick the use god
    // when none is marked by hand; none unchooses.
    void setCategory(std::optional<Category> category);
    void setSex(std::optional<Sex> sex);
    // The school readings the chart follows.
    void setOptions(const SchoolOptions &options);

    // A whole cast, as kept in the journal: its day stem and builds are its own
    // and stay as they are, each flagged by hand as the cast says.
    // Its school options are the document's own, not the cast's.
    void setCast(const CastInput &cast);
    // Empties the lines, their moving marks and the mark; the day and the moment stay.
    void clear();

    // The question asked (卜问何事), as typed; and how the lines were cast.
    const QString &question() const { return m_question; }
    void setQuestion(const QString &question);
    CastMethod method() const { return m_method; }
    void setMethod(CastMethod method);

    // The day stem and both builds from the moment's pillars, from now on.
    void followMoment();
    bool followsMoment(DayPart part) const { return m_follows[static_cast<std::size_t>(part)]; }

signals:
    void changed(const Chart &chart);
    void momentRefused(ZoneError error);
    // The question or the cast method changed; the chart stays as it was.
    void wordsChanged();

private:
    void update(CastInput next, DayParts follows);
    bool setClock(const MomentClock &clock, std::optional<Moment> typed);

    CastInput m_cast;
    Chart m_chart;
    DayParts m_follows{};
    QString m_question;
    CastMethod m_method = CastMethod::None;
    MomentClock m_clock;
    std::optional<Moment> m_typed;
};

} // namespace lotgrid
