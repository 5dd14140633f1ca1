#include "journal/tongji.h"

#include "journal/tongjirules.h"
#include "qtcore/wholefile.h"
#include "widgets/toolwindows.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSqlDatabase>
#include <QStackedBarSeries>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QXYSeries>

#include <cmath>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<StatsBy, 5> Dimensions{StatsBy::Category, StatsBy::Tag, StatsBy::Strength, StatsBy::HexagramGroup,
                                            StatsBy::Month};
constexpr std::array<const char16_t *, 5> PageNames{u"byCategory", u"byTag", u"byStrength", u"byHexagramGroup",
                                                    u"byMonth"};

// What a series or bar set stands for, kept as its "role" property: the theme colours it by that.
constexpr char RoleProperty[] = "role";
const QString HitRole = u"hit"_s;
const QString MissRole = u"miss"_s;
const QString RateRole = u"rate"_s;

// Tango's greens, reds and blues: the darker shade on a light window, the lighter on a dark one.
QColor roleColour(const QString &role, bool dark)
{
    if (role == HitRole)
        return dark ? QColor(0x8a, 0xe2, 0x34) : QColor(0x4e, 0x9a, 0x06);
    if (role == MissRole)
        return dark ? QColor(0xef, 0x29, 0x29) : QColor(0xcc, 0x00, 0x00);
    return dark ? QColor(0x72, 0x9f, 0xcf) : QColor(0x34, 0x65, 0xa4);
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

// Labels that never overlap: labels that do not fit side by side turn
// upright, on one line; where even so they would touch, only every n-th
// category is named (the others take an invisible text of their own, as the
// axis keeps one per bar). The full names stay in the "names" property.
void fitCategoryLabels(QChart *chart, QBarCategoryAxis *axis)
{
    QStringList names = axis->property("names").toStringList();
    if (names.isEmpty()) {
        names = axis->categories();
        axis->setProperty("names", names);
    }
    if (names.isEmpty())
        return;
    const QFontMetrics fm(axis->labelsFont());
    const qreal each = chart->plotArea().width() / names.size();
    if (each <= 0)
        return;
    int widest = 0;
    for (const QString &name : names)
        for (const QString &line : name.split(u"<br>"_s))
            widest = std::max(widest, fm.horizontalAdvance(QTextDocumentFragment::fromHtml(line).toPlainText()));
    const int gap = fm.averageCharWidth();
    // Upright, a name and its counts stand on one line, one line's height wide.
    const int angle = widest + gap <= each ? 0 : -90;
    const int step
        = angle == 0 || fm.height() + gap <= each ? 1 : static_cast<int>(std::ceil((fm.height() + gap) / each));
    QStringList shown;
    for (int i = 0; i < names.size(); ++i)
        shown << (i % step != 0 ? QString(i + 1, QChar(0x200B))
                  : angle == 0  ? names.at(i)
                                : QString(names.at(i)).replace(u"<br>"_s, u"　"_s));
    if (axis->labelsAngle() != angle)
        axis->setLabelsAngle(angle);
    if (axis->categories() != shown) {
        // Bars keep their places: the axis takes the new labels one by one.
        const QStringList old = axis->categories();
        for (int i = 0; i < old.size() && i < shown.size(); ++i)
            if (old.at(i) != shown.at(i))
                axis->replace(old.at(i), shown.at(i));
    }
}

// "66.7%", or "—" without a decided case.
QString rateText(const HitCount &c)
{
    const auto rate = c.rate();
    return rate ? QString::number(*rate * 100, 'f', 1) + u'%' : u"—"_s;
}

// 0 to 100 in steps of 20.
QValueAxis *percentAxis()
{
    auto *axis = new QValueAxis;
    axis->setRange(0, 100);
    axis->setTickCount(6);
    axis->setLabelFormat(u"%d"_s);
    return axis;
}

// A group's name as the chart and the table show it: a long tag is cut, its
// whole text in the table's tooltip and in the CSV.
constexpr qsizetype LongestShownLabel = 24;
constexpr qsizetype LongestChartLabel = 10; // beside a bar

QString shownLabel(const QString &label, qsizetype longest = LongestShownLabel)
{
    if (label.size() <= longest)
        return label;
    qsizetype cut = longest;
    if (label.at(cut - 1).isHighSurrogate())
        --cut;
    return label.left(cut) + u'…';
}

// The columns of counts, in the order the tables and the CSV give them.
struct CountColumn {
    QString name;
    QString (*text)(const HitCount &);
};

const std::array<CountColumn, 4> &countColumns()
{
    static const std::array<CountColumn, 4> Columns{{
        {u"应验"_s, [](const HitCount &c) { return QString::number(c.hits); }},
        {u"不验"_s, [](const HitCount &c) { return QString::number(c.misses); }},
        {u"合计"_s, [](const HitCount &c) { return QString::number(c.decided()); }},
        {u"命中率"_s, rateText},
    }};
    return Columns;
}

QStringList countTexts(const HitCount &c)
{
    QStringList texts;
    for (const CountColumn &column : countColumns())
        texts << column.text(c);
    return texts;
}

QStringList countNames()
{
    QStringList names;
    for (const CountColumn &column : countColumns())
        names << column.name;
    return names;
}

int ratePercent(const HitCount &c)
{
    return qRound(c.rate().value_or(0) * 100);
}

// A cell as RFC 4180 writes it: quoted when it holds a comma, a quote, CR or LF.
// A text a spreadsheet would run as a formula (a first =, +, -, @, tab or CR)
// gets a leading ' first, which spreadsheets show as text and do not run.
QString csvField(const QString &text)
{
    static constexpr std::u16string_view FormulaStarts = u"=+-@\t\r";
    QString cell = text;
    if (!cell.isEmpty() && FormulaStarts.find(cell.front().unicode()) != std::u16string_view::npos)
        cell.prepend(u'\'');
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    return u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
}

} // namespace

// One grouping: its chart above, its table below.
class TongjiPage : public QWidget
{
public:
    static constexpr int GroupColumn = 0;

    TongjiPage(StatsBy by, Tongji *window)
        : QWidget(window)
        , m_by(by)
        , m_window(window)
        , m_view(new QChartView(this))
        , m_empty(new QLabel(u"还没有记下结果（应验或不验）的案例。"_s, this))
        , m_table(new QTableWidget(0, static_cast<int>(countColumns().size()) + 1, this))
    {
        setObjectName(QString::fromUtf16(PageNames[static_cast<std::size_t>(by)]));
        m_view->setObjectName(objectName() + u"Chart"_s);
        m_view->setRenderHint(QPainter::Antialiasing);
        m_table->setObjectName(objectName() + u"Table"_s);
        m_table->setHorizontalHeaderLabels(QStringList{statsByName(by)} + countNames());
        m_table->verticalHeader()->hide();
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_table->setSelectionMode(QAbstractItemView::SingleSelection);
        m_table->horizontalHeader()->setSectionResizeMode(GroupColumn, QHeaderView::Stretch);
        m_empty->setAlignment(Qt::AlignCenter);
        connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { choose(row); });

        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_view, 5); // the chart first: its labels need the height
        layout->addWidget(m_empty, 5);
        layout->addWidget(m_table, 2);
    }

    QTableWidget *table() const { return m_table; }

    void show(const QList<StatsRow> &rows)
    {
        m_rows = rows;
        fillTable();
        m_empty->setVisible(rows.isEmpty());
        m_view->setVisible(!rows.isEmpty());
        auto *chart = new QChart;
        chart->legend()->setVisible(m_by == StatsBy::Month);
        chart->legend()->setAlignment(Qt::AlignTop);
        chart->setMargins({4, 4, 4, 4});
        chart->setBackgroundRoundness(0);
        chart->setFont(font());
        if (m_by == StatsBy::Month)
            drawMonths(chart);
        else
            drawBars(chart);
        QChart *old = m_view->chart();
        m_view->setChart(chart);
        delete old;
        Tongji::themeChart(chart, palette());
    }

private:
    void choose(int row)
    {
        if (row >= 0 && row < m_rows.size())
            emit m_window->groupChosen(m_rows.at(row).group, statsByName(m_by) + u"："_s + m_rows.at(row).label);
    }

    void fillTable()
    {
        m_table->setRowCount(static_cast<int>(m_rows.size()));
        for (int row = 0; row < m_rows.size(); ++row) {
            const StatsRow &r = m_rows.at(row);
            const QStringList cells = QStringList{shownLabel(r.label)} + countTexts(r.count);
            for (int column = 0; column < cells.size(); ++column) {
                auto *item = new QTableWidgetItem(cells.at(column));
                item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
                if (column != GroupColumn)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                else if (r.label.size() > LongestShownLabel)
                    item->setToolTip(r.label.toHtmlEscaped());
                m_table->setItem(row, column, item);
            }
        }
        m_table->resizeColumnsToContents();
        m_table->horizontalHeader()->setSectionResizeMode(GroupColumn, QHeaderView::Stretch);
    }

    // The hit rate of each group as a bar, "75%" on it, the counts under its name.
    void drawBars(QChart *chart)
    {
        auto *set = new QBarSet(u"命中率"_s);
        QStringList categories;
        // Every category, strength and hexagram group is drawn; of many tags the most decided.
        const int shown = m_by == StatsBy::Tag ? std::min<int>(static_cast<int>(m_rows.size()), Tongji::MaxBars)
                                               : static_cast<int>(m_rows.size());
        chart->setTitle(shown < m_rows.size()
                            ? u"命中率（%）：案例最多的 %1 个标签，全部 %2 个见下表"_s.arg(shown).arg(m_rows.size())
                            : u"命中率（%）"_s);
        for (int i = 0; i < shown; ++i) {
            const StatsRow &r = m_rows.at(i);
            *set << ratePercent(r.count);
            // Axis labels are drawn as rich text: the group's name is the user's.
            const QString category = shownLabel(r.label, LongestChartLabel).toHtmlEscaped() + u"<br>"_s
                                     + u"%1/%2"_s.arg(r.count.hits).arg(r.count.decided());
            // The axis keeps one bar a name: two tags cut to the same words are numbered.
            QString unique = category;
            for (int n = 2; categories.contains(unique); ++n)
                unique = category + u"（%1）"_s.arg(n);
            categories << unique;
        }
        Tongji::addRateBars(chart, set, categories);
        QObject::connect(set, &QBarSet::clicked, this, [this](int index) { choose(index); });
    }

    // Each month's 应验 and 不验 stacked, their counts on them, and the hit rate as a line.
    void drawMonths(QChart *chart)
    {
        auto *hits = new QBarSet(u"应验"_s);
        auto *misses = new QBarSet(u"不验"_s);
        hits->setProperty(RoleProperty, HitRole);
        misses->setProperty(RoleProperty, MissRole);
        auto *rate = new QLineSeries;
        rate->setName(u"命中率"_s);
        rate->setProperty(RoleProperty, RateRole);
        rate->setPointsVisible(true);
        rate->setPointLabelsFormat(u"@yPoint%"_s);
        rate->setPointLabelsClipping(false);
        chart->setTitle(u"左轴：案例数　右轴：命中率（%）"_s);
        // The latest months only; the table holds them all.
        m_firstDrawn = std::max<int>(0, static_cast<int>(m_rows.size()) - Tongji::MaxMonths);
        rate->setPointLabelsVisible(m_rows.size() - m_firstDrawn <= Tongji::MaxBars);
        QStringList months;
        qint64 most = 0;
        for (int i = m_firstDrawn; i < m_rows.size(); ++i) {
            const StatsRow &r = m_rows.at(i);
            *hits << static_cast<qreal>(r.count.hits);
            *misses << static_cast<qreal>(r.count.misses);
            rate->append(i - m_firstDrawn, ratePercent(r.count));
            months << r.label;
            most = std::max(most, r.count.decided());
        }
        auto *bars = new QStackedBarSeries;
        bars->append(hits);
        bars->append(misses);
        bars->setLabelsVisible(true);
        bars->setLabelsFormat(u"@value"_s);
        chart->addSeries(bars);
        chart->addSeries(rate);
        auto *x = new QBarCategoryAxis;
        x->append(months);
        auto *count = new QValueAxis;
        count->setRange(0, static_cast<qreal>(std::max<qint64>(most, 1)) * 1.15);
        count->applyNiceNumbers();
        count->setLabelFormat(u"%d"_s);
        auto *percent = percentAxis();
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(count, Qt::AlignLeft);
        chart->addAxis(percent, Qt::AlignRight);
        bars->attachAxis(x);
        bars->attachAxis(count);
        rate->attachAxis(x);
        rate->attachAxis(percent);
        for (QBarSet *set : {hits, misses})
            QObject::connect(set, &QBarSet::clicked, this, [this](int index) { choose(m_firstDrawn + index); });
    }

    StatsBy m_by;
    Tongji *m_window;
    QChartView *m_view;
    QLabel *m_empty;
    QTableWidget *m_table;
    QList<StatsRow> m_rows;
    int m_firstDrawn = 0; // the first row drawn
};

// The 趋势 page: for each trend word of the 要点, its cases' 应验 and 不验 as bars
// side by side, the hit rate on the bar's name, and the same numbers in a table.
class TrendPage : public QWidget
{
public:
    explicit TrendPage(QWidget *parent)
        : QWidget(parent)
        , m_view(new QChartView(this))
        , m_empty(new QLabel(u"还没有记下结果（应验或不验）的案例。"_s, this))
        , m_table(new QTableWidget(0, 5, this))
    {
        setObjectName(u"byTrend"_s);
        m_view->setObjectName(u"byTrendChart"_s);
        m_view->setRenderHint(QPainter::Antialiasing);
        m_table->setObjectName(u"byTrendTable"_s);
        m_table->setHorizontalHeaderLabels({u"趋势"_s, u"应验"_s, u"不验"_s, u"合计"_s, u"命中率"_s});
        m_table->verticalHeader()->hide();
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_empty->setAlignment(Qt::AlignCenter);
        auto *note = new QLabel(u"趋势由断卦要点按规则汇总而来，只是读卦的参考；这里看它与结果相符的程度。"_s, this);
        note->setObjectName(u"byTrendNote"_s);
        note->setWordWrap(true);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(note);
        layout->addWidget(m_view, 3);
        layout->addWidget(m_empty, 3);
        layout->addWidget(m_table, 2);
    }

    QTableWidget *table() const { return m_table; }

    void show(const QList<TrendRow> &rows)
    {
        m_table->setRowCount(static_cast<int>(rows.size()));
        auto *hits = new QBarSet(u"应验"_s);
        auto *misses = new QBarSet(u"不验"_s);
        hits->setProperty(RoleProperty, HitRole);
        misses->setProperty(RoleProperty, MissRole);
        QStringList names;
        for (int row = 0; row < rows.size(); ++row) {
            const TrendRow &r = rows.at(row);
            const std::array<QString, 5> cells{r.label, QString::number(r.count.hits), QString::number(r.count.misses),
                                               QString::number(r.count.decided()), rateText(r.count)};
            for (int column = 0; column < 5; ++column) {
                auto *item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
                item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
                if (column > 0)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_table->setItem(row, column, item);
            }
            *hits << static_cast<qreal>(r.count.hits);
            *misses << static_cast<qreal>(r.count.misses);
            names << r.label + u"<br>"_s + rateText(r.count);
        }
        m_table->resizeColumnsToContents();
        m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
        m_empty->setVisible(rows.isEmpty());
        m_view->setVisible(!rows.isEmpty());

        auto *chart = new QChart;
        chart->legend()->setAlignment(Qt::AlignTop);
        chart->setMargins({4, 4, 4, 4});
        chart->setBackgroundRoundness(0);
        chart->setFont(font());
        auto *series = new QBarSeries;
        series->append(hits);
        series->append(misses);
        series->setLabelsVisible(true);
        series->setLabelsFormat(u"@value"_s);
        chart->addSeries(series);
        auto *x = new QBarCategoryAxis;
        x->append(names);
        auto *count = new QValueAxis;
        qint64 most = 1;
        for (const TrendRow &r : rows)
            most = std::max({most, r.count.hits, r.count.misses});
        count->setRange(0, static_cast<qreal>(most) * 1.15);
        count->applyNiceNumbers();
        count->setLabelFormat(u"%d"_s);
        chart->setTitle(u"案例数"_s); // upright, above the plot
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(count, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(count);
        QChart *old = m_view->chart();
        m_view->setChart(chart);
        delete old;
        Tongji::themeChart(chart, palette());
    }

private:
    QChartView *m_view;
    QLabel *m_empty;
    QTableWidget *m_table;
};

Tongji::Tongji(QString connectionName, JournalPrompts prompts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_connection(std::move(connectionName))
    , m_prompts(std::move(prompts))
    , m_summary(new QLabel(this))
    , m_pages(new QTabWidget(this))
    , m_rulePage(new TongjiRulePage(this))
    , m_export(new QPushButton(u"导出CSV…"_s, this))
    , m_status(new QStatusBar(this))
{
    setObjectName(u"tongji"_s);
    setWindowTitle(u"验证统计"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    m_summary->setObjectName(u"tongjiSummary"_s);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_pages->setObjectName(u"tongjiPages"_s);
    m_export->setObjectName(u"daochuCsv"_s);
    for (StatsBy by : Dimensions) {
        auto *page = new TongjiPage(by, this);
        m_pageOf[static_cast<std::size_t>(by)] = page;
        m_pages->addTab(page, statsByName(by));
    }
    m_trendPage = new TrendPage(this);
    m_pages->addTab(m_trendPage, u"趋势"_s);
    m_pages->addTab(m_rulePage, u"应期规则"_s);
    connect(m_export, &QPushButton::clicked, this, &Tongji::exportClicked);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_pages, 1);
    m_status->setObjectName(u"tongjiStatus"_s);
    m_status->setSizeGripEnabled(false);
    layout->addWidget(m_status);

    const QFontMetrics fm = fontMetrics();
    QSize size(fm.horizontalAdvance(u"字"_s) * 64, fm.height() * 46);
    if (const QScreen *at = screen())
        size = size.boundedTo(at->availableGeometry().size() * 0.9);
    resize(size);
    refresh();
}

void Tongji::addRateBars(QChart *chart, QBarSet *rates, const QStringList &names)
{
    rates->setProperty(RoleProperty, RateRole);
    auto *series = new QBarSeries;
    series->append(rates);
    series->setLabelsVisible(true);
    series->setLabelsFormat(u"@value%"_s);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart->addSeries(series);
    auto *x = new QBarCategoryAxis;
    x->append(names);
    auto *y = percentAxis();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

void Tongji::themeChart(QChart *chart, const QPalette &palette)
{
    if (!chart)
        return;
    const bool dark = isDark(palette);
    const QColor text = palette.color(QPalette::WindowText);
    const QColor line = palette.color(QPalette::Mid);
    QColor grid = line;
    grid.setAlpha(110);
    chart->setBackgroundBrush(palette.color(QPalette::Base));
    chart->setBackgroundPen(Qt::NoPen);
    chart->setPlotAreaBackgroundVisible(false);
    chart->setTitleBrush(text);
    chart->legend()->setLabelColor(text);
    chart->legend()->setBrush(Qt::NoBrush);
    for (QAbstractAxis *axis : chart->axes()) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        axis->setLinePenColor(line);
        axis->setGridLineColor(grid);
        axis->setMinorGridLineColor(grid);
        axis->setShadesVisible(false);
        if (auto *categories = qobject_cast<QBarCategoryAxis *>(axis)) {
            fitCategoryLabels(chart, categories);
            if (!categories->property("fitted").toBool()) { // once per axis, however often themed
                categories->setProperty("fitted", true);
                QObject::connect(chart, &QChart::plotAreaChanged, categories,
                                 [chart, categories] { fitCategoryLabels(chart, categories); });
            }
        }
    }
    for (QAbstractSeries *series : chart->series()) {
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(series)) {
            for (QBarSet *set : bars->barSets()) {
                const QColor colour = roleColour(set->property(RoleProperty).toString(), dark);
                set->setColor(colour);
                set->setBorderColor(colour);
                // Labels outside the bar stand on the chart's background, inside on the bar.
                set->setLabelColor(bars->labelsPosition() == QAbstractBarSeries::LabelsOutsideEnd
                                       ? text
                                       : (colour.lightness() > 140 ? QColor(Qt::black) : QColor(Qt::white)));
            }
        } else if (auto *xy = qobject_cast<QXYSeries *>(series)) {
            const QColor colour = roleColour(xy->property(RoleProperty).toString(), dark);
            xy->setColor(colour);
            xy->setPointLabelsColor(colour);
        }
    }
}

void Tongji::applyTheme()
{
    for (QChartView *view : findChildren<QChartView *>())
        themeChart(view->chart(), view->palette());
}

void Tongji::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        applyTheme();
}

void Tongji::showEvent(QShowEvent *event)
{
    applyTheme();
    QWidget::showEvent(event);
}

QTableWidget *Tongji::table(StatsBy by) const
{
    return m_pageOf[static_cast<std::size_t>(by)]->table();
}

bool Tongji::refresh()
{
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QString error;
    const auto overall = overallCount(db, &error);
    std::array<QList<StatsRow>, 5> rows;
    const auto rules = overall ? statsByRule(db, &error) : std::nullopt;
    bool ok = rules.has_value();
    for (StatsBy by : Dimensions) {
        if (!ok)
            break;
        const auto got = statsBy(db, by, &error);
        ok = got.has_value();
        if (ok)
            rows[static_cast<std::size_t>(by)] = *got;
    }
    std::optional<QList<TrendRow>> trends;
    if (ok) {
        trends = trendStats(db, &error);
        ok = trends.has_value();
    }
    if (!ok) {
        m_summary->setText(u"案例库无法读取，统计没有算出：%1"_s.arg(error));
        m_export->setEnabled(false);
        return false;
    }
    m_overall = *overall;
    m_rows = rows;
    m_summary->setText(m_overall.decided() == 0
                           ? u"还没有记下结果（应验或不验）的案例。"_s
                           : u"有结果的案例 %1 例：应验 %2，不验 %3，命中率 %4。"_s.arg(m_overall.decided())
                                 .arg(m_overall.hits)
                                 .arg(m_overall.misses)
                                 .arg(rateText(m_overall)));
    for (StatsBy by : Dimensions)
        m_pageOf[static_cast<std::size_t>(by)]->show(m_rows[static_cast<std::size_t>(by)]);
    m_trends = *trends;
    m_trendPage->show(m_trends);
    m_rulePage->show(*rules);
    m_export->setEnabled(true);
    applyTheme();
    return true;
}

bool Tongji::exportCsv(const QString &file)
{
    QString text = u"\uFEFF"_s + (QStringList{u"分组方式"_s, u"分组"_s} + countNames()).join(u',') + u"\r\n"_s;
    const auto line = [&text](const QString &by, const QString &group, const HitCount &c) {
        text += (QStringList{csvField(by), csvField(group)} + countTexts(c)).join(u',') + u"\r\n"_s;
    };
    line(u"全部"_s, QString(), m_overall);
    for (StatsBy by : Dimensions)
        for (const StatsRow &r : m_rows[static_cast<std::size_t>(by)])
            line(statsByName(by), r.label, r.count);
    for (const TrendRow &r : m_trends)
        line(u"趋势"_s, r.label, r.count);
    // The 应期 rules have columns of their own: a table of its own after a blank line.
    const auto cells = [&text](const QStringList &row) {
        QStringList fields;
        for (const QString &cell : row)
            fields << csvField(cell);
        text += fields.join(u',') + u"\r\n"_s;
    };
    text += u"\r\n"_s;
    cells(TongjiRulePage::header());
    for (const RuleStats &r : m_rulePage->rows())
        cells(TongjiRulePage::cells(r));
    QSaveFile out(file);
    QString error;
    if (!out.open(QIODevice::WriteOnly) || !writeAll(out, text.toUtf8(), &error) || !commitWhole(out, &error)) {
        if (error.isEmpty())
            error = out.errorString();
        out.cancelWriting();
        if (m_prompts.warn)
            m_prompts.warn(this, windowTitle(),
                           u"导出失败，没有写出文件 %1：%2"_s.arg(QDir::toNativeSeparators(file), error));
        return false;
    }
    tellFileWritten(m_status, u"统计已导出"_s, file);
    return true;
}

void Tongji::exportClicked()
{
    const QString file = m_prompts.exportFile ? m_prompts.exportFile(this, u"导出统计（CSV）"_s, u"验证统计.csv"_s,
                                                                     u"CSV 表格 (*.csv);;所有文件 (*)"_s)
                                              : QString();
    if (!file.isEmpty())
        exportCsv(file);
}

} // namespace lotgrid
