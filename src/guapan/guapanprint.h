#pragma once
// The 卦盘 on a printer's page. Qt Print Support comes with it, so the program
// loads this part as a plugin (lotgrid-print) when it first prints:
// printedChart() below does that; the plugin and the tests call the rest.

#include "guapan/guapanlayout.h"

#include <QPageSize>
#include <QString>

#include <optional>

class QPrinter;
class QWidget;

namespace lotgrid {

// Sets up `printer` for one chart: the page size, portrait, the document's name.
void preparePrinter(QPrinter &printer, const Chart &chart, QPageSize::PageSizeId pageSize = QPageSize::A4);

// Prints the chart on one page of `printer` as it is set up, and with
// `withTexts` its 经文 on the next.
bool printChart(QPrinter &printer, const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                bool withTexts = false);

// Shows the print preview of the chart (a QPrintPreviewDialog named
// "dayinPreview", whose tool bar has the box "dayinJingwen" 打印经文, ticked
// as `*withTexts` says and read back into it) and prints from it; the dialog's result.
int previewAndPrint(QWidget *parent, const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                    bool *withTexts = nullptr, QPageSize::PageSizeId pageSize = QPageSize::A4);

// previewAndPrint() from the printing plugin, loaded on first use: the dialog's
// result, or nothing with the reason in `error` when the plugin cannot be loaded.
std::optional<int> printedChart(QWidget *parent, const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                                bool *withTexts, QString *error);

// The plugin's entry point, by this name.
using PreviewAndPrint
    = int (*)(QWidget *parent, const Chart &chart, const GuapanWords &words, const GuapanStyle &style, bool *withTexts);
inline constexpr char PreviewAndPrintSymbol[] = "lotgrid_preview_and_print";

} // namespace lotgrid
