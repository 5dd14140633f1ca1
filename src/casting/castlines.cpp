#include "casting/castlines.h"

#include "sheet/chartsheet.h"
#include "sheet/chartsteps.h"
#include "widgets/linefield.h"

#include <QCheckBox>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

void clearSheetForCast(ChartSheet &sheet)
{
    sheet.hideMarks();
    sheet.emptyChartAndLines();
    sheet.emptyLineDisplays();
}

bool writeCast(ChartSheet &sheet, ChartSteps &steps, const std::array<CastLine, 6> &lines)
{
    if (!std::ranges::all_of(lines, [](const CastLine &l) { return l.value == u'1' || l.value == u'0'; }))
        return false;
    ChartSteps::Scope pass(steps);
    clearSheetForCast(sheet);
    for (int n = 1; n <= 6; ++n)
        sheet.Text(n)->setText(QString(QChar(lines[n - 1].value)));
    for (int n = 1; n <= 6; ++n) {
        const CastLine &line = lines[n - 1];
        if (line.moving)
            (line.value == u'1' ? sheet.co(n) : sheet.cx(n))->setChecked(true);
    }
    return true;
}

} // namespace lotgrid
