#include "ui/reference/yingqiwindow.h"

#include "chart/words.h"
#include "chart/yingqi.h"
#include "qtcore/textconv.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QString positionName(int n)
{
    return qs(linePlaceName(n));
}

// "用神 妻财子水（伏于五爻）", "世爻 兄弟未土（三爻）".
QString subjectText(const TimingLine &t)
{
    const QString label
        = qs(relativeName(t.relative)) + qs(branchName(t.branch)) + qs(elementName(branchElement(t.branch)));
    const QString place = !t.build.empty() ? qs(t.build)
                          : t.hidden       ? u"伏于"_s + positionName(t.position)
                          : t.changedLine  ? positionName(t.position) + u"变"_s
                                           : positionName(t.position);
    return (t.useGod ? u"用神 "_s : u"世爻 "_s) + label + u"（"_s + place + u"）"_s;
}

QLabel *plainLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

YingqiWindow::YingqiWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(u"yingqi"_s);
    setWindowTitle(u"应期参考"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    m_subject = plainLabel(u"yingqiSubject"_s, this);
    QFont bold = m_subject->font();
    bold.setBold(true);
    m_subject->setFont(bold);
    layout->addWidget(m_subject);
    auto *caution = plainLabel(u"yingqiCaution"_s, this);
    caution->setText(u"以下是按旺衰、空破、冲合、墓库诸规则列出的候选日期（起卦后 %1 日内、%2 个月内），"
                     u"须结合全卦取舍，不是断语。"_s.arg(YingqiDays)
                         .arg(YingqiMonths));
    layout->addWidget(caution);
    m_empty = plainLabel(u"yingqiEmpty"_s, this);
    layout->addWidget(m_empty);

    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(u"yingqiTable"_s);
    m_table->setHorizontalHeaderLabels({u"公历"_s, u"干支"_s, u"规则"_s, u"爻"_s, u"说明"_s});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    const QFontMetrics fm = fontMetrics();
    resize(fm.horizontalAdvance(u"字"_s) * 44, fm.height() * 26);
}

void YingqiWindow::setChart(const Chart &chart)
{
    const auto line = timingLineOf(chart);
    const std::vector<YingqiCandidate> &list = chart.yingqi;
    m_subject->setText(line ? subjectText(*line) : QString());
    m_subject->setVisible(line.has_value());
    QString why;
    if (!line)
        why = u"六爻未齐，没有应期可列。"_s;
    else if (!chart.input.moment)
        why = u"没有起卦时间，无法推算应期。"_s;
    else if (list.empty())
        why = u"起卦时间超出历法范围（1900–2100），无法推算应期。"_s;
    m_empty->setText(why);
    m_empty->setVisible(!why.isEmpty());

    m_table->setRowCount(static_cast<int>(list.size()));
    for (int row = 0; row < static_cast<int>(list.size()); ++row) {
        const YingqiCandidate &c = list[static_cast<std::size_t>(row)];
        const std::array<QString, ColumnCount> cells{
            qs(isoDate(c.date)), qs(sexagenaryName(c.pillar)) + qs(yingqiUnitName(c.unit)),
            qs(YingqiLineNames[static_cast<std::size_t>(c.line)]) + qs(yingqiRuleName(c.rule)),
            positionName(c.position), qs(c.why)};
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
}

} // namespace lotgrid
