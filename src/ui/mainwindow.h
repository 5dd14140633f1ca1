#pragma once
// Lotgrid's main window. Its ChartDocument holds the cast; every input is a
// command on it, and each change of it is shown on the ChartSheet: the lines
// through LineEntry (which also turns each typed line and tick into a command),
// the day, the builds, the mark and the moment by the sheet itself, the rest
// of the chart by ChartSteps (by timers, and by an instant pass after every
// change). The menu commands here choose the day stem, the builds and the
// use-god mark, reset the sheet (New, Clear data), and open the other
// windows: the automatic cast and the hand casts (coins, time, numbers), the hidden-spirit query, the reference tables,
// help, about, the update check. Screenshot and automatic cast own their
// deferred steps. Today's line comes from the calendar engine. The sheet sits
// in a scroll area and is zoomed as a whole (its type, and with it every field,
// glyph and column): by the zoom commands, remembered in the settings file, and
// by resizing the window, which zooms the sheet to fill it (ScreenArranger). The case journal
// is opened on its first use: 保存到案例库 keeps the chart on screen with its
// question and sex, and a case chosen in 案例库 comes back onto the sheet
// through loadCast. The 卦盘 pane (GuapanPane) stands beside the sheet and the
// status bar (StatusMessages) says what a command did. The ScreenArranger
// holds the zoom and fits the sheet, the pane and the window to the screen. At start-up the journal
// is only read, for the count of cases 待验 (still open, their first 应期
// passed), which the status bar and the 案例库 item show. 应期参考 lists the
// timing candidates of the chart on screen.

#include "chart/cast.h"
#include "core/six.h"
#include "ui/environment.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QPushButton;
class QMenu;
class QDialog;

namespace lotgrid {

class AutoCast;
class ChartDocument;
class ChartExport;
class ChartSheet;
class ChartSteps;
class GuapanPane;
class YaodianPane;
class StatusMessages;
class Journal;
class LineEntry;
struct CaseRecord;
class Screenshot;
class ScreenArranger;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Environment env = Environment::production(), QWidget *parent = nullptr);
    ~MainWindow() override;

    // The cast on screen: every command on it shows on the sheet.
    ChartDocument &document() { return *m_document; }
    ChartSheet &sheet() { return *m_sheet; }
    ChartSteps &steps() { return *m_steps; }
    AutoCast &autoCast() { return *m_autoCast; }
    Screenshot &screenshot() { return *m_screenshot; }
    ChartExport &chartExport() { return *m_chartExport; }
    GuapanPane &guapanPane() { return *m_guapan; }
    StatusMessages &statusMessages() { return *m_status; }
    ScreenArranger &arranger() { return *m_arranger; }

    // Commands, as the menu runs them.
    void news_Click();
    void qc_Click();
    void end_Click();
    void dayStem_Click(int stem);      // 0 = 甲 .. 9 = 癸
    void monthBuild_Click(int branch); // 0 = 子 .. 11 = 亥
    void dayBuild_Click(int branch);
    void yao_Click(int line);
    void F_Click(int line);
    void yingbi_Click();  // 手动摇卦
    void shijian_Click(); // 时间起卦
    void shuzi_Click();   // 数字起卦
    void baocun_Click();  // 保存到案例库
    void anliku_Click();  // 案例库
    void yingqi_Click();  // 应期参考
    void jingwen_Click(); // 周易经文
    // Counts the cases 待验 again and shows the count; the journal file is only read.
    void countAwaiting();
    void liupai_Click();  // 流派设置…
    void fuzhiAI_Click(); // 复制为AI提问
    // Keeps the school options in the settings file and charts by them.
    void applySchoolOptions(const SchoolOptions &options);
    // Puts a case of the journal back on the sheet, asking first when another
    // chart stands there: its cast through loadCast, its question and sex.
    void openCase(const CaseRecord &c);

    // The case journal of this run, opened on first use; null when there is
    // none or it could not be opened (which is told once).
    Journal *journal();

    // The moment of the cast, in China Standard Time (UTC+8), which time casting
    // reads and the cast by coins sets to the time of its "确定". Any instant
    // is taken and read on that clock. A case kept without a moment reads now.
    QDateTime castMoment() const;
    void setCastMoment(const QDateTime &moment);

    // Puts a cast on the sheet: the sheet is reset as New does (without
    // asking), then the document takes the cast whole, its moment, day stem,
    // builds and mark its own (flagged by hand as the cast says). Parts the cast
    // lacks stay empty.
    void loadCast(const CastInput &cast);

    // The chart's zoom, in percent of the desktop's type, 80 to 250. The
    // commands step through ZoomSteps, remember the zoom and size a window of
    // normal state to the sheet.
    int zoomPercent() const;
    void setZoomPercent(int percent);
    void zoomIn();
    void zoomOut();
    void zoomReset();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool journalUsable() const;
    void addJournalCommands(QMenu *file);
    void addReadingCommands(QMenu *tools);
    void addJingwenCommands();
    CaseRecord caseOnSheet() const;
    bool showsKeptCase() const;
    bool sheetShows(const CaseRecord *c) const; // `c` stands on the sheet as it was kept
    // Six lines stand that are neither saved to 案例库 nor exported (picture, PDF, screenshot).
    bool holdsUnsharedChart() const;
    void buildMenus();
    void addPaneAndStatus();
    bool confirm(const QString &line1, const QString &line2);
    void resetSheet();
    void startAtNow();
    void showDocument();
    void showBuildItems();
    void enableChartCommands(bool enabled);
    bool dayTurnsAt23() const;
    void ansj_Click();
    template<typename Create, typename Done>
    void openCastDialog(Create create, Done done);
    void writeHandCast(const std::optional<std::array<CastLine, 6>> &lines);
    template<typename Factory>
    void openWindow(QPointer<QWidget> &slot, Factory create);

    Environment m_env;
    ChartDocument *m_document;
    ChartSheet *m_sheet;
    ChartSteps *m_steps;
    LineEntry *m_lineEntry;
    AutoCast *m_autoCast;
    Screenshot *m_screenshot;
    ChartExport *m_chartExport;
    ScreenArranger *m_arranger = nullptr;

    QAction *m_jietutu = nullptr;
    QAction *m_fuzhi = nullptr;
    QAction *m_daochu = nullptr;
    QAction *m_dayin = nullptr;
    QAction *m_daochupdf = nullptr;
    GuapanPane *m_guapan = nullptr;
    YaodianPane *m_yaodian = nullptr; // 断卦要点
    StatusMessages *m_status = nullptr;
    QAction *m_baocun = nullptr;
    QAction *m_anliku = nullptr;
    QAction *m_yingqi = nullptr;
    QPushButton *m_daiyan = nullptr; // the count of cases 待验 in the status bar
    QAction *m_fuzhiAI = nullptr;
    QPointer<QDialog> m_liupai;
    Six<QAction *> m_yao;
    Six<QAction *> m_F;
    std::array<QAction *, 12> m_monthBuild{}; // 月建 items, 子 .. 亥
    std::array<QAction *, 12> m_dayBuild{};   // 日建 items

    QAction *m_zichu = nullptr;   // 子初换日
    QPointer<QDialog> m_handCast; // the open dialog of a hand cast
    std::unique_ptr<Journal> m_journal;
    bool m_journalTried = false;
    std::unique_ptr<CaseRecord> m_keptCase;   // the case the sheet shows, as last saved or opened
    std::unique_ptr<CaseRecord> m_sharedCase; // the chart as last written to a file
    SchoolOptions m_school; // the program's school (流派设置); an opened case is read by its own until the sheet is new
    QPointer<QWidget> m_Anli;
    QPointer<QWidget> m_Yingqi;
    QPointer<QWidget> m_Fenshen, m_Liujia, m_Sswx1, m_Yao3x, m_yao6h, m_yao6c, m_Helpf;
};

} // namespace lotgrid
