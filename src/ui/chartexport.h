#pragma once

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace lotgrid {

class ChartDocument;
class ChartSheet;

struct ChartExportSettings {
    QString folder; // the folder the file dialog proposes: the Pictures folder
    std::function<QDateTime()> now;
    // The file dialog: returns the chosen path, or an empty string when cancelled.
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposedPath)> saveFileName;
    // Asks a Yes/No question (replacing a file); true for Yes.
    std::function<bool(QWidget *parent, const QString &title, const QString &text)> ask;
    // No longer read: the picture is named after its hexagrams and moment.
    std::function<QString(const QDateTime &)> screenshotName;
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

    // The chart as the copy command writes it: chart, question and sex.
    QString chartText() const;
    // The drawn chart at twice the screen's pixel density.
    QImage chartPicture() const;
    // The name the file dialog proposes at `at`.
    QString proposedName(const QDateTime &at) const;

    // Writes `image` as PNG to `path`, whole or not at all; the reason on failure.
    static bool writePng(const QImage &image, const QString &path, QString *error);

private:
    void tell(bool ok, const QString &text);

    const ChartDocument &m_document;
    ChartSheet &m_sheet;
    QWidget *m_mainWindow;
    ChartExportSettings m_settings;
};

} // namespace lotgrid
