#include "ui/chartexport.h"

#include "chart/categories.h"
#include "chart/chart.h"
#include "chart/charttext.h"
#include "chart/summary.h"
#include "chart/zhouyi.h"
#include "guapan/guapanexport.h"
#include "guapan/guapanpaint.h"
#include "guapan/guapanprint.h"
#include "qtcore/textconv.h"
#include "qtcore/wholefile.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "widgets/settingskeys.h"
#include "widgets/traditional.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>

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
    const std::optional<QString> out = forOutput(text);
    if (!out)
        return;
    QGuiApplication::clipboard()->setText(*out);
    emit done(u"卦象文本已复制到剪贴板。"_s);
}

GuapanWords ChartExport::words() const
{
    GuapanWords words;
    words.question = m_document.question().trimmed();
    words.castMethod = qs(castMethodName(m_document.method()));
    return words;
}

GuapanWords ChartExport::outputWords() const
{
    GuapanWords out = words();
    out.traditional = m_traditional;
    return out;
}

// On paper the 卦盘 lists every 要点 item at its foot.
GuapanWords ChartExport::paperWords() const
{
    GuapanWords out = outputWords();
    out.fullSummary = true;
    return out;
}

QImage ChartExport::chartPicture() const
{
    const qreal ratio = 2 * (m_mainWindow ? m_mainWindow->devicePixelRatioF() : 1.0);
    const GuapanLayout layout = guapanLayout(m_document.chart(), outputWords(), {QApplication::font(), 1.0});
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

    if (!forOutput(QString()))
        return;
    const QImage image = chartPicture();
    QString error;
    if (image.isNull())
        error = u"无法取得卦象的图像。"_s;
    else
        writePicture(image, path, &error);
    if (error.isEmpty())
        emit written(u"卦象图片已保存"_s, path);
    else
        tell(false, u"卦象图片未能保存到：\n\n%1\n\n原因：%2"_s.arg(shown, error));
}

void ChartExport::dayin_Click()
{
    if (guapanTitle(m_document.chart()).isEmpty())
        return;
    if (!forOutput(QString()))
        return;
    QString error;
    const std::optional<int> result = printedChart(m_mainWindow, m_document.chart(), paperWords(),
                                                   {QApplication::font(), 1.0}, &m_printTexts, &error);
    if (!result)
        tell(false, u"无法打印：打印组件未能载入。\n\n"_s + error);
    else if (*result == QDialog::Accepted)
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
    if (!forOutput(QString()))
        return;
    QString error;
    if (writePdf(path, *pageSize, m_document.chart(), paperWords(), {QApplication::font(), 1.0}, &error, m_printTexts))
        emit written(u"PDF 已保存"_s, path);
    else
        tell(false, u"PDF 未能保存到：\n\n%1\n\n原因：%2"_s.arg(shown, error));
}

void ChartExport::addShareItems(QMenuBar &bar, const QString &settingsFile)
{
    auto *file = bar.findChild<QMenu *>(u"file"_s);
    auto *view = bar.findChild<QMenu *>(u"view"_s);
    if (!file || !view)
        return;
    const auto named = [this](const QString &name, const QString &caption) {
        auto *action = new QAction(caption, m_mainWindow);
        action->setObjectName(name);
        return action;
    };
    m_fuzhitu = named(u"fuzhitu"_s, u"复制卦盘图片"_s);
    m_fuzhitu->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    m_fuzhitu->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_fuzhitu, &QAction::triggered, this, &ChartExport::fuzhitu_Click);
    m_changtu = named(u"changtu"_s, u"导出长图…"_s);
    connect(m_changtu, &QAction::triggered, this, &ChartExport::changtu_Click);
    // After 导出图片…, where one looks for the picture.
    const QList<QAction *> items = file->actions();
    const auto picture = std::ranges::find(items, u"daochu"_s, &QAction::objectName);
    QAction *before = picture != items.end() && picture + 1 != items.end() ? *(picture + 1) : nullptr;
    file->insertActions(before, {m_fuzhitu, m_changtu});
    const auto enable = [this](const Chart &chart) {
        m_fuzhitu->setEnabled(chart.original != nullptr);
        m_changtu->setEnabled(chart.original != nullptr);
    };
    enable(m_document.chart());
    connect(&m_document, &ChartDocument::changed, this, enable);

    m_fanti = named(u"fanti"_s, u"输出繁体"_s);
    m_fanti->setCheckable(true);
    m_fanti->setToolTip(u"复制的文本、AI提问、图片、长图、打印和PDF用繁体字（经OpenCC转换），窗口仍用简体"_s);
    if (!settingsFile.isEmpty())
        m_traditional = QSettings(settingsFile, QSettings::IniFormat).value(settingskeys::Traditional, false).toBool();
    m_fanti->setChecked(m_traditional);
    connect(m_fanti, &QAction::toggled, this, [this, settingsFile](bool on) {
        m_traditional = on;
        if (!settingsFile.isEmpty())
            QSettings(settingsFile, QSettings::IniFormat).setValue(settingskeys::Traditional, on);
    });
    view->addSeparator();
    view->addAction(m_fanti);
}

void ChartExport::setTraditional(bool on)
{
    if (m_fanti)
        m_fanti->setChecked(on);
    m_traditional = on;
}

std::optional<QString> ChartExport::forOutput(const QString &text)
{
    if (!m_traditional)
        return text;
    QString error;
    std::optional<QString> out = toTraditional(text, &error);
    if (!out)
        tell(false, u"未能输出繁体：%1\n\n可以在“视图”菜单取消“输出繁体”后再试。"_s.arg(error));
    return out;
}

void ChartExport::fuzhitu_Click()
{
    if (guapanTitle(m_document.chart()).isEmpty() || !forOutput(QString()))
        return;
    const QImage image = chartPicture();
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (image.isNull()) {
        emit done(u"未能复制卦盘图片：无法取得卦盘的图像。"_s);
        return;
    }
    clipboard->setImage(image);
    // Without a clipboard that takes images (no owner on this system) the image is not there to paste.
    const QMimeData *held = clipboard->mimeData();
    if (!held || !held->hasImage()) {
        emit done(u"未能复制卦盘图片：本系统的剪贴板不接收图片。"_s);
        return;
    }
    emit done(u"卦盘图片已复制到剪贴板（%1×%2），可粘贴到聊天或文档。"_s.arg(image.width()).arg(image.height()));
}

QList<GuapanBlock> ChartExport::longPictureBlocks() const
{
    QList<GuapanBlock> blocks;
    if (const Summary summary = summaryOf(m_document.chart()); !summary.reason.empty()) {
        QStringList lines;
        for (const SummaryItem &item : summary.items)
            lines << qs(item.text);
        lines << qs(trendLine(summary)) << qs(SummaryDisclaimer);
        blocks << GuapanBlock{u"断卦要点"_s, lines.join(u'\n')};
    }
    if (const std::u16string texts = textsBlock(m_document.chart()); !texts.empty())
        blocks << GuapanBlock{u"周易经文"_s, qs(texts)};
    return blocks;
}

QImage ChartExport::longPicture() const
{
    const qreal ratio = 2 * (m_mainWindow ? m_mainWindow->devicePixelRatioF() : 1.0);
    return guapanLongPicture(m_document.chart(), outputWords(), {QApplication::font(), 1.0}, longPictureBlocks(),
                             ratio);
}

void ChartExport::changtu_Click()
{
    if (guapanTitle(m_document.chart()).isEmpty() || !forOutput(QString()))
        return;
    QString name = proposedName(m_settings.now ? m_settings.now() : QDateTime::currentDateTime());
    name.insert(name.lastIndexOf(u'.'), u"_长图"_s);
    const QString proposed = QDir(guapanFolder(m_settings.folder)).filePath(name);
    QString path
        = m_settings.saveFileName ? m_settings.saveFileName(m_mainWindow, u"导出长图"_s, proposed, nullptr) : QString();
    if (path.isEmpty())
        return; // cancelled
    if (QFileInfo(path).suffix().compare(u"png"_s, Qt::CaseInsensitive) != 0)
        path += u".png"_s;
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path)
        && !(m_settings.ask
             && m_settings.ask(m_mainWindow, u"提示"_s, u"文件已经存在：\n\n%1\n\n要替换它吗？"_s.arg(shown))))
        return;
    const QImage image = longPicture();
    QString error;
    if (image.isNull())
        error = u"长图太大，无法生成。"_s;
    else
        writePicture(image, path, &error);
    if (error.isEmpty())
        emit written(u"长图已保存"_s, path);
    else
        tell(false, u"长图未能保存到：\n\n%1\n\n原因：%2"_s.arg(shown, error));
}

void ChartExport::tell(bool ok, const QString &text)
{
    QMessageBox box(ok ? QMessageBox::Information : QMessageBox::Warning, u"提示"_s, text, QMessageBox::Ok,
                    m_mainWindow);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace lotgrid
