#include "ui/chartexport.h"

#include "chart/categories.h"
#include "chart/chart.h"
#include "chart/charttext.h"
#include "chart/zhouyi.h"
#include "guapan/guapanexport.h"
#include "guapan/guapanpaint.h"
#include "qtcore/textconv.h"
#include "qtcore/wholefile.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace lotgrid {

ChartExport::ChartExport(const ChartDocument &document, ChartSheet &sheet, QWidget *mainWindow,
                         ChartExportSettings settings, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_sheet(sheet)
    , m_mainWindow(mainWindow)
    , m_settings(std::move(settings))
{
}

QString ChartExport::chartText() const
{
    const Chart &chart = m_document.chart();
    return qs(lotgrid::chartText(chart, u16(m_document.question().trimmed()),
                                 chart.input.sex ? sexName(*chart.input.sex) : std::u16string_view{}));
}

void ChartExport::fuzhi_Click()
{
    const QString text = chartText() + qs(textsBlock(m_document.chart()));
    if (text.isEmpty()) {
        tell(false, u"六爻尚未排齐，没有可复制的卦象。"_s);
        return;
    }
    QGuiApplication::clipboard()->setText(text);
    emit done(u"卦象文本已复制到剪贴板。"_s);
}

GuapanWords ChartExport::words() const
{
    GuapanWords words;
    words.question = m_document.question().trimmed();
    words.castMethod = qs(castMethodName(m_document.method()));
    return words;
}

// On paper the 卦盘 lists every 要点 item at its foot.
GuapanWords ChartExport::paperWords() const
{
    GuapanWords w = words();
    w.fullSummary = true;
    return w;
}

QImage ChartExport::chartPicture() const
{
    const qreal ratio = 2 * (m_mainWindow ? m_mainWindow->devicePixelRatioF() : 1.0);
    const GuapanLayout layout = guapanLayout(m_document.chart(), words(), {QApplication::font(), 1.0});
    return guapanImage(layout, m_darkPicture ? darkGuapanColours() : lightGuapanColours(), ratio);
}

QString ChartExport::proposedName(const QDateTime &at) const
{
    return guapanFileName(m_document.chart(), at);
}

bool ChartExport::writePng(const QImage &image, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    errno = 0;
    if (!image.save(&file, "PNG")) {
        *error = file.error() != QFileDevice::NoError ? writeFailure(file) : u"无法写入 PNG 图片"_s;
        file.cancelWriting();
        return false;
    }
    return commitWhole(file, error);
}

void ChartExport::daochu_Click()
{
    const QString proposed
        = QDir(guapanFolder(m_settings.folder))
              .filePath(proposedName(m_settings.now ? m_settings.now() : QDateTime::currentDateTime()));
    bool dark = m_darkPicture;
    const QString path = picturePath(
        m_settings.saveFileName ? m_settings.saveFileName(m_mainWindow, u"导出图片"_s, proposed, &dark) : QString());
    if (path.isEmpty())
        return; // cancelled
    if (dark != m_darkPicture) {
        m_darkPicture = dark;
        emit darkPictureChosen(dark);
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path)
        && !(m_settings.ask
             && m_settings.ask(m_mainWindow, u"提示"_s, u"文件已经存在：\n\n%1\n\n要替换它吗？"_s.arg(shown))))
        return;

    const QImage image = chartPicture();
    QString error;
    if (image.isNull())
        error = u"无法取得卦象的图像。"_s;
    else
        writePicture(image, path, &error);
    if (error.isEmpty()) {
        emit done(u"卦象图片已保存：%1"_s.arg(shown));
        tell(true, u"卦象图片已经保存到：\n\n"_s + shown);
    } else
        tell(false, u"卦象图片未能保存到：\n\n%1\n\n原因：%2"_s.arg(shown, error));
}

void ChartExport::dayin_Click()
{
    if (guapanTitle(m_document.chart()).isEmpty())
        return;
    if (previewAndPrint(m_mainWindow, m_document.chart(), paperWords(), {QApplication::font(), 1.0}, &m_printTexts)
        == QDialog::Accepted)
        emit done(u"卦盘已送往打印机。"_s);
}

void ChartExport::daochupdf_Click()
{
    if (guapanTitle(m_document.chart()).isEmpty())
        return;
    const std::optional<QPageSize::PageSizeId> pageSize
        = m_settings.pageSize ? m_settings.pageSize(m_mainWindow, &m_printTexts) : std::optional(QPageSize::A4);
    if (!pageSize)
        return; // cancelled
    const QString proposed
        = QDir(guapanFolder(m_settings.folder))
              .filePath(guapanFileName(m_document.chart(),
                                       m_settings.now ? m_settings.now() : QDateTime::currentDateTime(), u"pdf"_s));
    QString path
        = m_settings.saveFileName ? m_settings.saveFileName(m_mainWindow, u"导出PDF"_s, proposed, nullptr) : QString();
    if (path.isEmpty())
        return; // cancelled
    if (QFileInfo(path).suffix().compare(u"pdf"_s, Qt::CaseInsensitive) != 0)
        path += u".pdf"_s;
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path)
        && !(m_settings.ask
             && m_settings.ask(m_mainWindow, u"提示"_s, u"文件已经存在：\n\n%1\n\n要替换它吗？"_s.arg(shown))))
        return;
    QString error;
    if (writePdf(path, *pageSize, m_document.chart(), paperWords(), {QApplication::font(), 1.0}, &error, m_printTexts))
        emit done(u"PDF 已保存：%1"_s.arg(shown));
    else
        tell(false, u"PDF 未能保存到：\n\n%1\n\n原因：%2"_s.arg(shown, error));
}

void ChartExport::tell(bool ok, const QString &text)
{
    QMessageBox box(ok ? QMessageBox::Information : QMessageBox::Warning, u"提示"_s, text, QMessageBox::Ok,
                    m_mainWindow);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace lotgrid
