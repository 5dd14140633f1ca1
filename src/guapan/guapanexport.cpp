#include "guapan/guapanexport.h"

#include "chart/zhouyi.h"
#include "guapan/guapanpaint.h"
#include "qtcore/textconv.h"
#include "qtcore/wholefile.h"
#include "widgets/traditional.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRawFont>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// The layout's unit is the screen's logical pixel, 1/96 inch.
constexpr qreal UnitsPerInch = 96.0;
constexpr qreal PageMarginMm = 15.0;
// On a page the drawing fills the width between the margins, up to this many
// times its size on the screen.
constexpr qreal MaxEnlargement = 1.75;

// Puts the written file in place; the reason when that fails.
bool committed(QSaveFile &file, QString *error)
{
    if (commitWhole(file, error))
        return true;
    if (error->isEmpty())
        *error = u"无法写入文件"_s;
    return false;
}

// Qt's PDF names each glyph of an embedded font in the text map by the first
// code point its font draws with that glyph. CJK fonts draw the Kangxi radicals
// (U+2F00 …) and the radical supplement (U+2E80 …) with the glyphs of the
// ideographs, so 火 would be copied out of the PDF as ⽕ and a search for 火水未济
// would fail. Each radical in a text map is put back to the ideograph of the
// chart with the same glyph; the codes keep their four digits, so no byte of
// the file moves.
void mapRadicalsToIdeographs(QByteArray &pdf, const GuapanLayout &layout, const QString &more)
{
    const QRawFont raw = QRawFont::fromFont(layout.body, QFontDatabase::SimplifiedChinese);
    if (!raw.isValid())
        return;
    const auto glyphOf = [&raw](char16_t c) {
        const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(c)));
        return g.isEmpty() ? 0u : g.front();
    };
    QHash<quint32, char16_t> ideographs; // by glyph
    const auto keep = [&](const QString &text) {
        for (QChar c : text)
            if (c.unicode() >= 0x3400 && !c.isSurrogate())
                if (const quint32 g = glyphOf(c.unicode()))
                    ideographs.insert(g, c.unicode());
    };
    for (const GuapanRun &run : layout.runs)
        keep(run.text);
    keep(more);
    const auto isRadical = [](uint code) { return code >= 0x2E80 && code <= 0x2FDF; };
    // Replaces the code in the token "<XXXX>" that starts at `i`, when it is a radical.
    const auto replaceAt = [&](qsizetype i) {
        bool ok = false;
        const uint code = pdf.mid(i + 1, 4).toUInt(&ok, 16);
        if (!ok || !isRadical(code))
            return;
        const auto found = ideographs.constFind(glyphOf(static_cast<char16_t>(code)));
        if (found == ideographs.constEnd())
            return;
        const QByteArray hex = QByteArray::number(static_cast<uint>(*found), 16).toUpper().rightJustified(4, '0');
        pdf.replace(i + 1, 4, hex);
    };
    for (qsizetype at = pdf.indexOf("begincmap"); at >= 0; at = pdf.indexOf("begincmap", at)) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0)
            return;
        // A line "<from> <to> [<code> …]" (bfrange) or "<glyph> <code>" (bfchar): only
        // the codes are text, never the glyph numbers before them.
        for (qsizetype line = at; line < end;) {
            qsizetype next = pdf.indexOf('\n', line);
            if (next < 0 || next > end)
                next = end;
            const qsizetype bracket = pdf.indexOf('[', line);
            QList<qsizetype> tokens;
            for (qsizetype i = pdf.indexOf('<', line); i >= 0 && i < next; i = pdf.indexOf('<', i + 1))
                if (i + 5 < next && pdf.at(i + 5) == '>')
                    tokens << i;
            if (bracket >= 0 && bracket < next) {
                for (qsizetype i : tokens)
                    if (i > bracket)
                        replaceAt(i);
            } else if (tokens.size() == 2) {
                replaceAt(tokens[1]);
            }
            line = next + 1;
        }
        at = end;
    }
}

// The layout on the painter's current page, as paintGuapanPage says.
void paintLayout(QPainter &p, const QPagedPaintDevice &device, const GuapanLayout &layout)
{
    // The painter's units are the device's pixels over the page's paintable area.
    const qreal dpi = device.logicalDpiX() > 0 ? device.logicalDpiX() : 72;
    const qreal natural = dpi / UnitsPerInch;
    const qreal scale = std::min(
        {natural * MaxEnlargement, device.width() / layout.size.width(), device.height() / layout.size.height()});
    p.save();
    p.translate((device.width() - layout.size.width() * scale) / 2, 0);
    p.scale(scale, scale);
    paintGuapan(p, layout, lightGuapanColours());
    p.restore();
}

// The 经文 text on new pages after the current one, wrapped to the page's
// width in the chart's type at 12 points, a line never split across pages.
void paintTextPages(QPainter &p, QPagedPaintDevice &device, const QString &text, const QFont &type)
{
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&device);
    QFont font = type;
    font.setPointSizeF(12);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    const QSizeF page(device.width(), device.height());
    doc.setPageSize(page);
    doc.setPlainText(text);
    for (int n = 0; n < doc.pageCount(); ++n) {
        device.newPage();
        p.save();
        p.translate(0, -n * page.height());
        doc.drawContents(&p, QRectF(QPointF(0, n * page.height()), page));
        p.restore();
    }
}

// `text` as the words ask: in Traditional characters with 输出繁体.
QString asWords(const QString &text, const GuapanWords &words)
{
    if (!words.traditional)
        return text;
    return toTraditional(text).value_or(text);
}

// The texts page's words: its heading with the hexagrams, then the block.
QString textPageWords(const Chart &chart, const GuapanWords &words)
{
    const std::u16string block = textsBlock(chart);
    if (block.empty())
        return {};
    return asWords(u"周易经文　"_s + guapanTitle(chart) + u"\n\n"_s + qs(block), words);
}

// The chart's page and, when `withTexts`, its texts on the next.
bool paintPages(QPagedPaintDevice &device, const GuapanLayout &layout, const QString &texts)
{
    QPainter p;
    if (!p.begin(&device))
        return false;
    paintLayout(p, device, layout);
    if (!texts.isEmpty())
        paintTextPages(p, device, texts, layout.body);
    return p.end();
}

} // namespace

QString guapanTitle(const Chart &chart)
{
    if (!chart.original)
        return {};
    QString title = qs(hexagramName(*chart.original));
    if (chart.hasMovingLine() && chart.changed)
        title += u"之"_s + qs(hexagramName(*chart.changed));
    return title;
}

QString guapanFileName(const Chart &chart, const QDateTime &now, const QString &suffix)
{
    QDateTime at = now;
    if (const auto &m = chart.input.moment)
        at = QDateTime(QDate(m->date.year, m->date.month, m->date.day), QTime(m->hour, m->minute));
    QStringList parts{u"六爻"_s};
    if (const QString title = guapanTitle(chart); !title.isEmpty())
        parts << title;
    if (at.isValid())
        parts << at.toString(u"yyyyMMdd-HHmm"_s);
    return parts.join(u'_') + u'.' + suffix;
}

QString guapanFolder(const QString &preferred)
{
    if (!preferred.isEmpty() && QFileInfo(preferred).isDir())
        return QDir::cleanPath(preferred);
    return QDir::homePath();
}

QByteArray pictureFormat(const QString &path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix.isEmpty())
        return {};
    if (suffix == "jpg")
        return "jpeg";
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

QString picturePath(const QString &chosen)
{
    if (chosen.isEmpty() || !pictureFormat(chosen).isEmpty())
        return chosen;
    QString path = chosen;
    while (path.endsWith(u'.'))
        path.chop(1);
    return path + u".png"_s;
}

bool writePicture(const QImage &image, const QString &path, QString *error)
{
    const QByteArray format = pictureFormat(path);
    if (format.isEmpty()) {
        *error = u"不认识的图片格式：%1"_s.arg(QFileInfo(path).suffix());
        return false;
    }
    // Encoded in memory first: a refused write then is the file's alone, told in
    // the system's words, and the image codec never sees a failing device.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format == "jpeg")
        writer.setQuality(95);
    if (!writer.write(image)) {
        *error = writer.errorString();
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (!writeAll(file, bytes, error)) {
        file.cancelWriting();
        return false;
    }
    return committed(file, error);
}

QImage guapanPicture(const Chart &chart, const GuapanWords &words, const GuapanStyle &style, qreal devicePixelRatio)
{
    return guapanImage(guapanLayout(chart, words, style), lightGuapanColours(), devicePixelRatio);
}

QImage guapanLongPicture(const Chart &chart, const GuapanWords &words, const GuapanStyle &style,
                         const QList<GuapanBlock> &blocks, qreal devicePixelRatio)
{
    const GuapanLayout layout = guapanLayout(chart, words, style);
    const qreal em = layout.body.pixelSize();
    const qreal margin = em * 1.2;
    const qreal width = layout.size.width();
    const GuapanColours colours = lightGuapanColours();
    // Each block as a document of the drawing's width, its heading bold.
    std::vector<std::unique_ptr<QTextDocument>> documents;
    qreal height = layout.size.height();
    for (const GuapanBlock &block : blocks) {
        if (block.text.trimmed().isEmpty())
            continue;
        auto doc = std::make_unique<QTextDocument>();
        doc->setDefaultFont(layout.body);
        doc->setDocumentMargin(0);
        doc->setTextWidth(width - 2 * margin);
        QTextCursor cursor(doc.get());
        QTextCharFormat plain;
        plain.setForeground(colours.ink); // not the desktop's text colour, which may be light
        QTextCharFormat heading = plain;
        heading.setFontWeight(QFont::Bold);
        QTextBlockFormat spaced;
        spaced.setBottomMargin(em * 0.5);
        cursor.setBlockFormat(spaced);
        cursor.insertText(asWords(block.heading, words), heading);
        cursor.insertBlock(QTextBlockFormat(), plain);
        cursor.insertText(asWords(block.text.trimmed(), words), plain);
        height += doc->size().height() + margin * 1.5;
        documents.push_back(std::move(doc));
    }
    const QSize pixels = (QSizeF(width, height + (documents.empty() ? 0 : margin)) * devicePixelRatio).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(colours.ground);
    QPainter p(&image);
    paintGuapan(p, layout, colours);
    qreal y = layout.size.height();
    for (const auto &doc : documents) {
        p.setPen(QPen(colours.secondary, std::max<qreal>(1.0, em / 16)));
        p.drawLine(QPointF(margin, y), QPointF(width - margin, y));
        y += margin * 0.75;
        p.save();
        p.translate(margin, y);
        doc->drawContents(&p);
        p.restore();
        y += doc->size().height() + margin * 0.75;
    }
    return image;
}

bool paintGuapanPage(QPagedPaintDevice &device, const GuapanLayout &layout)
{
    return paintPages(device, layout, {});
}

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
    return paintPages(printer, guapanLayout(chart, words, style), withTexts ? textPageWords(chart, words) : QString());
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

bool writePdf(const QString &path, QPageSize::PageSizeId pageSize, const Chart &chart, const GuapanWords &words,
              const GuapanStyle &style, QString *error, bool withTexts)
{
    const GuapanLayout layout = guapanLayout(chart, words, style);
    const QString texts = withTexts ? textPageWords(chart, words) : QString();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(pageSize));
        pdf.setPageOrientation(QPageLayout::Portrait);
        pdf.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm), QPageLayout::Millimeter);
        pdf.setTitle(u"六爻 "_s + guapanTitle(chart));
        pdf.setCreator(u"Lotgrid"_s);
        painted = paintPages(pdf, layout, texts);
    }
    if (!painted || buffer.data().isEmpty()) {
        *error = u"无法生成 PDF"_s;
        return false;
    }
    QByteArray bytes = buffer.data();
    mapRadicalsToIdeographs(bytes, layout, texts);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (!writeAll(file, bytes, error)) {
        file.cancelWriting();
        return false;
    }
    return committed(file, error);
}

} // namespace lotgrid
