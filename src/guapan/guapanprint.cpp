#include "guapan/guapanprint.h"

#include "guapan/guapanexport.h"

#include <QCheckBox>
#include <QObject>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace lotgrid {

void preparePrinter(QPrinter &printer, const Chart &chart, QPageSize::PageSizeId pageSize)
{
    printer.setPageSize(QPageSize(pageSize));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm), QPageLayout::Millimeter);
    printer.setDocName(u"六爻 "_s + guapanTitle(chart));
    printer.setCreator(u"Lotgrid"_s);
}

bool printChart(QPrinter &printer, const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                bool withTexts)
{
    return paintChartPages(printer, chart, words, style, withTexts);
}

int previewAndPrint(QWidget *parent, const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                    bool *withTexts, QPageSize::PageSizeId pageSize)
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, chart, pageSize);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(u"dayinPreview"_s);
    dialog.setWindowTitle(u"打印预览"_s);
    bool texts = withTexts && *withTexts;
    if (auto *bar = dialog.findChild<QToolBar *>()) {
        auto *box = new QCheckBox(u"打印经文"_s, bar);
        box->setObjectName(u"dayinJingwen"_s);
        box->setToolTip(u"在第二页印出按朱熹考变占所取的卦辞、爻辞和象辞"_s);
        box->setChecked(texts);
        bar->addSeparator();
        bar->addWidget(box);
        QObject::connect(box, &QCheckBox::toggled, &dialog, [&dialog, &texts](bool on) {
            texts = on;
            if (auto *preview = dialog.findChild<QPrintPreviewWidget *>())
                preview->updatePreview();
        });
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter *p) { printChart(*p, chart, words, style, texts); });
    const int result = dialog.exec();
    if (withTexts)
        *withTexts = texts;
    return result;
}

} // namespace lotgrid
