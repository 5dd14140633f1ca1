#pragma once

#include "guapan/guapanexport.h"
#include "guapan/guapanmodel.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QPageSize>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenuBar;
class QWidget;

namespace lotgrid {

class ChartDocument;
class ChartSheet;

struct ChartExportSettings {
    QString folder; // the folder the file dialog proposes: the Pictures folder
    std::function<QDateTime()> now;
    // The file dialog: returns the chosen path, or an empty string when cancelled;
    // with `dark`, the picture's dark variant is chosen there too.
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposedPath, bool *dark)>
        saveFileName;
    // Asks a Yes/No question (replacing a file); true for Yes.
    std::function<bool(QWidget *parent, const QString &title, const QString &text)> ask;
    // No longer read: the picture is named after its hexagrams and moment.
    std::function<QString(const QDateTime &)> screenshotName;
    // Asks the page size of a PDF (A4 or A5); nothing when cancelled. Unset: A4.
    // With `texts`, the dialog also offers 打印经文, ticked as `*texts` stands,
    // and leaves the choice there.
    std::function<std::optional<QPageSize::PageSizeId>(QWidget *parent, bool *texts)> pageSize;
};

// The two commands that take the chart out of the program: the chart as text
// on the clipboard (复制卦象文本), and the drawn chart (the 卦盘) as a picture at
// twice the screen's pixel density (导出图片…), PNG unless the chosen name's
// suffix names another image format. The picture goes where the user picks in
// a file dialog, which opens in the Pictures folder (the home folder when there
// is none); an existing file is replaced only when the user says so, and the
// user is told where the picture went or why it could not be written.
class ChartExport : public QObject
{
    Q_OBJECT
public:
    ChartExport(const ChartDocument &document, ChartSheet &sheet, QWidget *mainWindow, ChartExportSettings settings,
                QObject *parent);

    void fuzhi_Click();
    void daochu_Click();
    void dayin_Click();     // 打印…: the print preview, printed from there
    void daochupdf_Click(); // 导出PDF…: one page, A4 or A5

    // How the lines on the sheet were cast ("手动摇卦" …), as the 卦盘 says it.
    // The exported picture in the dark variant rather than the light one (the
    // print stays light); the save dialog proposes the choice it last took.
    void setDarkPicture(bool dark) { m_darkPicture = dark; }
    bool darkPicture() const { return m_darkPicture; }
    // The print and the PDF carry the cast's 周易 texts on a second page
    // (打印经文); the print dialog and the PDF's page dialog propose the last choice.
    void setPrintTexts(bool texts) { m_printTexts = texts; }
    bool printTexts() const { return m_printTexts; }
    // The case's words as the sheet holds them, for the 卦盘.
    GuapanWords words() const;
    // The same for what leaves the program: in Traditional characters with 输出繁体.
    GuapanWords outputWords() const;
    // The same for print and PDF, with the full 要点 list.
    GuapanWords paperWords() const;

    // 复制卦盘图片 ("fuzhitu", Ctrl+Alt+C) and 导出长图… ("changtu") in the 菜单
    // after 导出图片…, and the checkable 输出繁体 ("fanti") in 视图, remembered in
    // `settingsFile`.
    void addShareItems(QMenuBar &bar, const QString &settingsFile);
    void fuzhitu_Click();
    void changtu_Click();
    // 输出繁体: the copied text, the AI question, the pictures, the print and
    // the PDF in Traditional characters; the windows stay Simplified.
    void setTraditional(bool on);
    bool traditional() const { return m_traditional; }
    // `text` as it leaves the program; nothing when 输出繁体 is on and OpenCC
    // cannot convert, which the user is then told.
    std::optional<QString> forOutput(const QString &text);
    // The blocks under the 卦盘 in the long image, in order: the 断卦要点 when
    // the chart has them, then the 经文 when the cast reads any.
    QList<GuapanBlock> longPictureBlocks() const;
    // The long image as 导出长图 writes it.
    QImage longPicture() const;

    // The chart as the copy command writes it: chart, question and sex.
    QString chartText() const;
    // The drawn chart at twice the screen's pixel density.
    QImage chartPicture() const;
    // The name the file dialog proposes at `at`.
    QString proposedName(const QDateTime &at) const;

    // Writes `image` as PNG to `path`, whole or not at all; the reason on failure.
    static bool writePng(const QImage &image, const QString &path, QString *error);

signals:
    // A command finished without a window of its own to say so: the short message for the status bar.
    void done(const QString &message);
    // A file was written: `what` ("卦象图片已保存") and the file, for the status bar.
    void written(const QString &what, const QString &path);
    // The user chose the light or dark picture in the save dialog.
    void darkPictureChosen(bool dark);

private:
    void tell(bool ok, const QString &text);

    const ChartDocument &m_document;
    ChartSheet &m_sheet;
    QWidget *m_mainWindow;
    ChartExportSettings m_settings;
    bool m_darkPicture = false;
    bool m_printTexts = false;
    bool m_traditional = false;
    QAction *m_fuzhitu = nullptr;
    QAction *m_changtu = nullptr;
    QAction *m_fanti = nullptr;
};

} // namespace lotgrid
