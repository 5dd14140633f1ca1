// The reading on the sheet: the category field and the sex field as commands,
// a click on a line's relative as the hand pick of its use god, and the marks
// the reading gives each line (the use god of the category, 原/忌/仇, the
// strength) with the 反吟/伏吟 words after the hexagram types.

#include "chart/chart.h"
#include "qtcore/textconv.h"
#include "sheet/chartsheet.h"
#include "widgets/chartcolours.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Turns a left click on a label into a call.
class ClickFilter : public QObject
{
public:
    ClickFilter(std::function<void()> clicked, QObject *parent)
        : QObject(parent)
        , m_clicked(std::move(clicked))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_clicked();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_clicked;
};

void write(QLabel *field, const QString &text, const QString &tip, const QColor &ink)
{
    if (field->text() != text)
        field->setText(text);
    if (field->toolTip() != tip)
        field->setToolTip(tip);
    if (field->palette().color(QPalette::WindowText) != ink) {
        QPalette p = field->palette();
        p.setColor(QPalette::WindowText, ink);
        field->setPalette(p);
    }
}

constexpr std::array<char16_t, 4> SupportMarks{0, u'原', u'忌', u'仇'};

ReadingRule supportRule(Support s)
{
    return s == Support::Origin ? ReadingRule::Origin : s == Support::Taboo ? ReadingRule::Taboo : ReadingRule::Foe;
}

// The facts behind a line's strength, one sentence each, its verdict last.
QString strengthTip(const LineStrength &s, const ChartLine &line, const CastInput &cast)
{
    QStringList facts;
    if (cast.monthBuild) {
        facts << qs(seasonNote(line.element, *cast.monthBuild));
        if (s.month)
            for (const Tie t : s.month->ties)
                facts << qs(tieNote(t, line.branch, *cast.monthBuild, Build::Month));
    }
    if (cast.dayBuild) {
        if (s.day)
            for (const Tie t : s.day->ties)
                facts << qs(tieNote(t, line.branch, *cast.dayBuild, Build::Day));
        facts << qs(stageNote(line.element, *cast.dayBuild));
    }
    facts << qs(strongNote(s));
    return facts.join(u'\n');
}

// The rule of each 反吟/伏吟 word, one sentence.
QString fanFuRule(FanFu f, bool facingTrigrams)
{
    switch (f) {
    case FanFu::InnerReverse:
    case FanFu::OuterReverse:
        return facingTrigrams ? u"内卦或外卦发动，变出的三支与原来三支逐位相冲，或变为后天对宫之卦，为反吟。"_s
                              : u"内卦或外卦发动，变出的三支与原来三支逐位相冲，为反吟。"_s;
    case FanFu::InnerRepeat:
    case FanFu::OuterRepeat:
        return u"内卦或外卦发动，变出的三支与原来三支相同（乾震互变），为伏吟。"_s;
    case FanFu::HexagramReverse:
        return u"八纯卦六爻皆动，变为与之相对之卦，为卦变反吟。"_s;
    }
    return {};
}

// Why the use god is where it is: the category, the school's rule for an
// absent relative, and for a hidden one whether it can come out.
QString useGodTip(const Chart &chart)
{
    const UseGod &g = *chart.reading.useGod;
    const CastInput &cast = chart.input;
    const QString by = cast.category ? u"按占类“%1”"_s.arg(qs(categoryName(*cast.category))) : QString();
    const QString whose = g.world ? u"世爻"_s : qs(relativeName(g.relative));
    if (g.fromBuild())
        return by
               + u"取%1为用神；卦中不现，%2%3带之，即以为用神（增删卜易飞伏神章）。"_s.arg(
                   whose, g.source == UseGodSource::Month ? u"月建"_s : u"日建"_s, qs(branchName(g.branch)));
    if (g.changed)
        return by
               + u"取%1为用神；卦中不现，取此爻变出之%2（卜筮正宗启蒙节要：查变爻）。"_s.arg(
                   whose, qs(relativeLabel(g.relative, g.branch)));
    if (!g.hidden)
        return by + u"取%1为用神。"_s.arg(whose);
    QString tip = by + u"取%1为用神；卦中不现，取伏于此爻下的伏神。"_s.arg(whose);
    if (g.fushen) {
        const auto list = [](const std::vector<std::u16string> &words) {
            QStringList out;
            for (const std::u16string &w : words)
                out << qs(w);
            return out.join(u'、');
        };
        tip += u"\n伏神%1"_s.arg(qs(FuShenStateNames[static_cast<std::size_t>(g.fushen->state)]));
        if (!g.fushen->helps.empty())
            tip += u"；得出之由：%1"_s.arg(list(g.fushen->helps));
        if (!g.fushen->blocks.empty())
            tip += u"；受阻之由：%1"_s.arg(list(g.fushen->blocks));
        tip += u"（增删卜易飞伏神章）。"_s;
    }
    return tip;
}

} // namespace

void ChartSheet::addReadingFields()
{
    zhanlei->addItem(u"（未选）"_s);
    for (const CategoryRow &row : Categories)
        zhanlei->addItem(qs(row.name));
    zhanlei->setToolTip(u"占类决定用神：未手选用神时，按所占之事取用神"_s);
    connect(zhanlei, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_showing)
            emit categoryPicked(index >= 1 ? std::optional(static_cast<Category>(index - 1)) : std::nullopt);
    });
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_showing)
            emit sexPicked(index >= 0 ? std::optional(static_cast<Sex>(index)) : std::nullopt);
    });
    for (int n = 1; n <= 6; ++n) {
        Lliuqin(n)->setCursor(Qt::PointingHandCursor);
        Lliuqin(n)->installEventFilter(new ClickFilter([this, n] { emit relativeClicked(n); }, Lliuqin(n)));
    }
}

void ChartSheet::showReading(const Chart &chart)
{
    const ChartColours colours(palette());
    const CastInput &cast = chart.input;
    const Reading &reading = chart.reading;
    const bool six = chart.original != nullptr;

    const int category = cast.category ? static_cast<int>(*cast.category) + 1 : 0;
    if (zhanlei->currentIndex() != category)
        zhanlei->setCurrentIndex(category);
    const int sex = cast.sex ? static_cast<int>(*cast.sex) : -1;
    if (Combo1->currentIndex() != sex)
        Combo1->setCurrentIndex(sex);

    // The use god: a mark set by hand keeps its field as showMark wrote it.
    const auto &g = reading.useGod;
    // A use god on the month or day build stands on no line: the category says where it is.
    const QString categoryTip = u"占类决定用神：未手选用神时，按所占之事取用神"_s;
    const QString onBuild = six && g && g->fromBuild() ? u"\n"_s + useGodTip(chart) : QString();
    if (zhanlei->toolTip() != categoryTip + onBuild)
        zhanlei->setToolTip(categoryTip + onBuild);
    for (int n = 1; n <= 6; ++n) {
        QLabel *field = Lyongshen(n);
        const bool marked = cast.mark.kind != MarkKind::None && cast.mark.line == n;
        if (marked) {
            const QString tip = cast.mark.kind == MarkKind::UseGod ? u"用神为手动选择，优先于按占类所取的用神"_s
                                                                   : u"伏神为手动标记，不改变用神"_s;
            write(field, field->text(), tip, colours.ink(Ink::Text));
            continue;
        }
        if (six && g && g->source == UseGodSource::Auto && g->position == n) {
            QFont f = field->font();
            f.setBold(true);
            field->setFont(f);
            write(field,
                  g->hidden    ? u"用(伏)"_s
                  : g->changed ? u"用(变)"_s
                               : u"用神"_s,
                  useGodTip(chart), colours.ink(Ink::AutoUseGod));
            field->show();
        } else if (six && g && g->timing == n) {
            write(field, u"两现"_s,
                  u"两现之%1旬空或月破：以旺爻定吉凶，以空破之爻定应期（增删卜易两现章）。"_s.arg(
                      qs(relativeName(g->relative))),
                  colours.ink(Ink::Reading));
            field->show();
        } else if (cast.mark.kind == MarkKind::None) {
            field->hide();
        }
    }

    for (int n = 1; n <= 6; ++n) {
        const LineReading &r = reading.line(n);
        const bool isUseGod = g && g->isLine(n);
        const auto s = static_cast<std::size_t>(r.support);
        if (six && r.support != Support::None && !isUseGod)
            write(Lyuanji(n), QString(QChar(SupportMarks[s])),
                  qs(supportName(r.support)) + u"："_s + qs(ruleText(supportRule(r.support))),
                  colours.ink(Ink::Reading));
        else
            write(Lyuanji(n), {}, {}, colours.ink(Ink::Reading));
        if (six && r.strength)
            write(Lwangshuai(n), qs(strengthVerdict(*r.strength)), strengthTip(*r.strength, chart.line(n), cast),
                  colours.ink(Ink::Reading));
        else
            write(Lwangshuai(n), {}, {}, colours.ink(Ink::Reading));
    }

    QStringList fanFu, tips;
    if (const auto &lone = chart.analysis.lone; six && lone) {
        const std::u16string_view word = LoneKindNames[static_cast<std::size_t>(lone->kind)];
        fanFu << qs(word);
        tips << qs(schoolMarkNote(word));
    }
    if (six)
        for (const FanFu f : chart.analysis.fanFu) {
            fanFu << qs(fanFuName(f));
            tips << qs(fanFuName(f)) + u"："_s + fanFuRule(f, cast.options.facingTrigramsReverse);
        }
    write(Lfanfu, fanFu.join(u' '), tips.join(u'\n'), colours.ink(Ink::HexagramType));
    fitFanfu();
}

// The changed hexagram's title holds the 反吟/伏吟 words after its type: it
// grows to show them whole and keeps that width, so the chart does not jump
// from one cast to the next.
void ChartSheet::fitFanfu()
{
    QWidget *title = Lfanfu->parentWidget();
    if (const int need = title->layout()->sizeHint().width(); need > title->minimumWidth())
        title->setMinimumWidth(need);
}

} // namespace lotgrid
