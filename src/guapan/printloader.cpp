#include "guapan/guapanprint.h"
#include "widgets/plugins.h"

namespace lotgrid {

std::optional<int> printedChart(QWidget *parent, const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                                bool *withTexts, QString *error)
{
    const auto print = reinterpret_cast<PreviewAndPrint>(
        pluginFunction(QStringLiteral("lotgrid-print"), PreviewAndPrintSymbol, error));
    if (!print)
        return std::nullopt;
    return print(parent, chart, words, style, withTexts);
}

} // namespace lotgrid
