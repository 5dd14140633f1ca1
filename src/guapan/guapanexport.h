#pragma once
// The 卦盘 leaving the program: as a picture file (PNG at twice the screen's
// pixel density, or the format its name's suffix asks for), on a printer's
// page and as a PDF, one page per chart, the text kept as text; on request
// the 周易 texts the cast reads (the 经文 block) follow on a second page. Everything
// here draws the light variant: paper and forums are light.

#include "guapan/guapanlayout.h"

#include <QDateTime>
#include <QImage>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace lotgrid {

// "山火贲之艮为山", "乾为天" without a moving line; empty before six lines stand.
QString guapanTitle(const Chart &chart);

// The name proposed for a chart's picture, "六爻_山火贲之艮为山_20261207-1237.png":
// the hexagrams and the moment of the cast, or `now` when the cast has none.
QString guapanFileName(const Chart &chart, const QDateTime &now, const QString &suffix = QStringLiteral("png"));

// The folder a save dialog opens in: `preferred` (the Pictures folder) when it
// is an existing folder, otherwise the home folder.
QString guapanFolder(const QString &preferred);

// The path a picture is written to for the path a user chose: kept when its
// suffix names an image format this program writes (png, jpg, jpeg, bmp …),
// otherwise given ".png" ("chart" → "chart.png", "dot." → "dot.png",
// "a.chart" → "a.chart.png").
QString picturePath(const QString &chosen);

// The image format a path's suffix names ("png", "jpeg" …), or empty when
// it names none this program writes.
QByteArray pictureFormat(const QString &path);

// Writes `image` to `path` in the format its suffix names, whole or not at
// all; on failure the reason is put into `error`.
bool writePicture(const QImage &image, const QString &path, QString *error);

// The chart drawn as a picture with `devicePixelRatio` pixels to the layout's unit.
QImage guapanPicture(const Chart &chart, const GuapanWords &words, const GuapanStyle &style, qreal devicePixelRatio);

// A block of text under the 卦盘 in the long image: 断卦要点, 经文 …
struct GuapanBlock {
    QString heading; // "周易经文"
    QString text;    // plain text, its lines kept
};

// The long image (导出长图): one tall picture of the 卦盘 and under it each
// block in turn at the drawing's width, light, with `devicePixelRatio` pixels
// to the layout's unit; with `words.traditional` the blocks in Traditional
// characters too. A null image when it cannot be made (too large for memory).
QImage guapanLongPicture(const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                         const QList<GuapanBlock> &blocks, qreal devicePixelRatio);

// Paints the layout on the current page of `device`, as wide as the page's
// paintable area but at most 1.75 times its size on the screen (where a unit of
// the layout is 1/96 inch), smaller when the page is not tall enough, centred
// across the page. False when no painter could be started on the device.
bool paintGuapanPage(QPagedPaintDevice &device, const GuapanLayout &layout);

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

// Writes the chart as a one-page PDF (A4 or A5, portrait), with `withTexts`
// its 经文 on a second page, the text as text, whole or not at all; on
// failure the reason is put into `error`.
bool writePdf(const QString &path, QPageSize::PageSizeId pageSize, const Chart &chart, const GuapanWords &words,
              const GuapanStyle &style, QString *error, bool withTexts = false);

} // namespace lotgrid
