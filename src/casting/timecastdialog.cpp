#include "casting/timecastdialog.h"

#include "calendar/pillars.h"
#include "casting/dialogparts.h"
#include "chart/hexagrams.h"
#include "chart/words.h"
#include "core/elements.h"
#include "qtcore/textconv.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QString branchOf(int number)
{
    return QString(QChar(BranchNames[static_cast<std::size_t>(number - 1)]));
}

QString trigramOf(int number)
{
    return QString(QChar(TrigramNames[static_cast<std::size_t>(number - 1)]));
}

// "43 ÷ 8 余 3" ("余 0，作 8" for a remainder of 0).
QString remainder(int sum, int divisor)
{
    const int r = sum % divisor;
    return r == 0 ? u"%1 ÷ %2 余 0，作 %2"_s.arg(sum).arg(divisor) : u"%1 ÷ %2 余 %3"_s.arg(sum).arg(divisor).arg(r);
}

QString hexagramText(const CastLines &lines, bool changed)
{
    std::u16string key;
    for (const CastLine &line : lines)
        key += changed ? changedValue(line.value, line.moving) : line.value;
    const HexagramRow *row = FindHexagramByKey(key);
    return row ? qs(row->text) : QString();
}

// Why a moment gives no numbers: it lies outside the lunar calendar, or with
// 子初换日 its lunar day is that of the next civil day, which does.
QString outOfCalendarText(const Moment &moment, bool dayTurnsAt23)
{
    const QString span = u"1900 年 1 月 31 日至 2100 年 12 月 31 日"_s;
    const CivilDate day = dayOf(moment, dayTurnsAt23 ? DayBoundary::Zi23 : DayBoundary::Midnight);
    if (!inChartRange(moment) || day == moment.date)
        return u"此时间不在农历可推算的范围内（%1）。"_s.arg(span);
    return u"子初换日：23 点后的日数取次日 %1 年 %2 月 %3 日的农历日，次日已超出农历可推算的范围（%4）。"_s
        .arg(day.year)
        .arg(day.month)
        .arg(day.day)
        .arg(span);
}

} // namespace

TimeCastDialog::TimeCastDialog(const Moment &moment, bool yearAtLichun, bool dayTurnsAt23, QWidget *parent)
    : QDialog(parent)
    , momentLabel(new QLabel(this))
    , reckoning(new QLabel(this))
    , lichunYear(new QCheckBox(u"以立春换年（不勾选则以正月初一换年）"_s, this))
    , ok(new QPushButton(u"确定"_s, this))
    , cancel(new QPushButton(u"取消"_s, this))
    , m_moment(moment)
    , m_dayTurnsAt23(dayTurnsAt23)
{
    setObjectName(u"Shijian"_s);
    setWindowTitle(u"时间起卦"_s);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    momentLabel->setObjectName(u"momentLabel"_s);
    momentLabel->setText(u"起卦时间：%1-%2-%3 %4:%5"_s.arg(moment.date.year)
                             .arg(moment.date.month, 2, 10, QChar(u'0'))
                             .arg(moment.date.day, 2, 10, QChar(u'0'))
                             .arg(moment.hour, 2, 10, QChar(u'0'))
                             .arg(moment.minute, 2, 10, QChar(u'0')));
    reckoning->setObjectName(u"reckoning"_s);
    reckoning->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lichunYear->setObjectName(u"lichunYear"_s);
    lichunYear->setChecked(yearAtLichun);

    QHBoxLayout *buttons = okCancelRow(this, ok, cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(momentLabel);
    layout->addWidget(reckoning);
    layout->addWidget(lichunYear);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(lichunYear, &QCheckBox::toggled, this, &TimeCastDialog::showReckoning);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (cast())
            accept();
    });
    showReckoning();
}

std::optional<PlumCast> TimeCastDialog::cast() const
{
    const auto numbers
        = timeNumbers(m_moment, lichunYear->isChecked() ? YearTurn::Lichun : YearTurn::LunarNewYear, m_dayTurnsAt23);
    if (!numbers)
        return std::nullopt;
    return timeCast(*numbers);
}

void TimeCastDialog::showReckoning()
{
    const auto numbers
        = timeNumbers(m_moment, lichunYear->isChecked() ? YearTurn::Lichun : YearTurn::LunarNewYear, m_dayTurnsAt23);
    const auto plum = cast();
    const auto lines = plum ? linesOf(*plum) : std::nullopt;
    ok->setEnabled(lines.has_value());
    if (!numbers || !lines) {
        reckoning->setText(outOfCalendarText(m_moment, m_dayTurnsAt23));
        return;
    }
    const TimeNumbers &n = *numbers;
    const int upperSum = n.year + n.month + n.day;
    const int lowerSum = upperSum + n.hour;
    QStringList text;
    text << u"年 %1（%2）＋ 月 %3 ＋ 日 %4 ＝ %5"_s.arg(branchOf(n.year))
                .arg(n.year)
                .arg(n.month)
                .arg(n.day)
                .arg(upperSum);
    text << u"上卦：%1，%2"_s.arg(remainder(upperSum, 8), trigramOf(plum->upper));
    text << u"加时 %1（%2）＝ %3"_s.arg(branchOf(n.hour)).arg(n.hour).arg(lowerSum);
    text << u"下卦：%1，%2"_s.arg(remainder(lowerSum, 8), trigramOf(plum->lower));
    text << u"动爻：%1，%2"_s.arg(remainder(lowerSum, 6), qs(linePlaceName(plum->moving)));
    text << u"本卦：%1    变卦：%2"_s.arg(hexagramText(*lines, false), hexagramText(*lines, true));
    reckoning->setText(text.join(u'\n'));
}

} // namespace lotgrid
