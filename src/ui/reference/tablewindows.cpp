// The two tables among the reference windows: the six-decade void table
// (`Liujia`) and the seasonal strength of the five elements (`Sswx1`). Both
// are drawn as read-only tables whose cells can be selected and copied, in
// the colours of a light or a dark desktop.

#include "ui/reference/referencewindows.h"

#include "chart/reading.h"
#include "ui/reference/windowparts.h"
#include "widgets/chartcolours.h"

#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// The six decades (旬) of the sexagenary day cycle, one per column, each
// headed by its 甲 day, then its nine other days in cycle order, and last the
// two branches the decade leaves out: its void (空亡) pair.
// clang-format off
constexpr std::array<std::array<const char16_t *, 6>, 11> VoidTable{{
    {u"甲子旬", u"甲戌旬", u"甲申旬", u"甲午旬", u"甲辰旬", u"甲寅旬"},
    {u"乙丑",   u"乙亥",   u"乙酉",   u"乙未",   u"乙巳",   u"乙卯"},
    {u"丙寅",   u"丙子",   u"丙戌",   u"丙申",   u"丙午",   u"丙辰"},
    {u"丁卯",   u"丁丑",   u"丁亥",   u"丁酉",   u"丁未",   u"丁巳"},
    {u"戊辰",   u"戊寅",   u"戊子",   u"戊戌",   u"戊申",   u"戊午"},
    {u"己巳",   u"己卯",   u"己丑",   u"己亥",   u"己酉",   u"己未"},
    {u"庚午",   u"庚辰",   u"庚寅",   u"庚子",   u"庚戌",   u"庚申"},
    {u"辛未",   u"辛巳",   u"辛卯",   u"辛丑",   u"辛亥",   u"辛酉"},
    {u"壬申",   u"壬午",   u"壬辰",   u"壬寅",   u"壬子",   u"壬戌"},
    {u"癸酉",   u"癸未",   u"癸巳",   u"癸卯",   u"癸丑",   u"癸亥"},
    {u"戌亥",   u"申酉",   u"午未",   u"辰巳",   u"寅卯",   u"子丑"},
}};

// The columns of the seasonal table, in the order of generation from 木, and
// its rows, the months of the year from 寅.
constexpr std::array<Element, 5> SeasonColumns{Element::Wood, Element::Fire, Element::Earth, Element::Metal,
                                               Element::Water};
constexpr std::array<Branch, 12> SeasonMonths{Branch::Yin, Branch::Mao,  Branch::Chen, Branch::Si,
                                              Branch::Wu,  Branch::Wei,  Branch::Shen, Branch::You,
                                              Branch::Xu,  Branch::Hai,  Branch::Zi,   Branch::Chou};
// clang-format on

QWidget *tableWindow(QWidget *parent, const QString &name, const QString &caption, const QString &title,
                     QTableWidget *table)
{
    reference::fitTable(table);
    QWidget *w = reference::newWindow(parent, name, caption);
    auto *layout = new QVBoxLayout(w);
    layout->addWidget(reference::heading(title));
    layout->addWidget(table, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return w;
}

} // namespace

QWidget *createLiujia(QWidget *parent)
{
    const int last = int(VoidTable.size()) - 1;
    QTableWidget *table = reference::fixedTable(int(VoidTable.size()), 6);
    table->setObjectName(u"voidTable"_s);
    for (int row = 0; row <= last; ++row)
        for (int column = 0; column < 6; ++column)
            reference::setCell(table, row, column, QString::fromUtf16(VoidTable[row][column]), row == 0 || row == last);
    followDesktopColours(table, [table, last](const ChartColours &colours) {
        for (int row = 0; row <= last; ++row) {
            const Cell cell = row == 0 ? Cell::VoidHeading : row == last ? Cell::VoidPair : Cell::VoidDay;
            for (int column = 0; column < 6; ++column)
                reference::colourCell(table->item(row, column), colours.cell(cell));
        }
    });
    return tableWindow(parent, u"Liujia"_s, u"六甲旬空表"_s, u"六甲空亡表"_s, table);
}

QWidget *createSswx1(QWidget *parent)
{
    // Each cell by the rule the chart's strength follows (seasonOf), so that the
    // table and the sheet never disagree: 旺 the month's own element, 相 the one
    // it generates, 休 the one that generates it, 囚 the one that overcomes it,
    // 死 the one it overcomes.
    const int rows = int(SeasonMonths.size()) + 1;
    QTableWidget *table = reference::fixedTable(rows, 6);
    table->setObjectName(u"strengthTable"_s);
    const auto text = [](std::u16string_view s) { return QString::fromUtf16(s.data(), qsizetype(s.size())); };
    reference::setCell(table, 0, 0, QString(), true);
    for (int column = 1; column < 6; ++column)
        reference::setCell(table, 0, column, text(elementName(SeasonColumns[column - 1])), true);
    for (int row = 1; row < rows; ++row) {
        const Branch month = SeasonMonths[row - 1];
        reference::setCell(table, row, 0, text(branchName(month)) + u"月"_s, true);
        for (int column = 1; column < 6; ++column)
            reference::setCell(table, row, column,
                               text(seasonName(seasonOf(SeasonColumns[column - 1], branchElement(month)))), false);
    }
    followDesktopColours(table, [table, rows](const ChartColours &colours) {
        for (int row = 0; row < rows; ++row) {
            const Cell cell = row == 0 ? Cell::SeasonHeader : row % 2 == 1 ? Cell::SeasonRow : Cell::SeasonRowAlt;
            for (int column = 0; column < 6; ++column)
                reference::colourCell(table->item(row, column), colours.cell(cell));
        }
    });
    return tableWindow(parent, u"Sswx1"_s, u"四时旺相"_s, u"四时旺相"_s, table);
}

} // namespace lotgrid
