#include "ui/mainwindow.h"

#include "calendar/pillars.h"
#include "casting/autocast.h"
#include "casting/castsettings.h"
#include "casting/coindialog.h"
#include "casting/numberdialog.h"
#include "casting/timecastdialog.h"
#include "chart/castingrules.h"
#include "chart/chart.h"
#include "chart/charttext.h"
#include "chart/spirits.h"
#include "core/elements.h"
#include "core/version.h"
#include "journal/anli.h"
#include "journal/casestats.h"
#include "journal/journal.h"
#include "journal/journalmessages.h"
#include "journal/savecasedialog.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "sheet/chartsteps.h"
#include "sheet/lineentry.h"
#include "sheet/momententry.h"
#include "ui/chartexport.h"
#include "ui/guapanpane.h"
#include "ui/reference/referencewindows.h"
#include "ui/reference/yingqiwindow.h"
#include "ui/screenarranger.h"
#include "ui/screenshot.h"
#include "ui/startup.h"
#include "ui/statusmessages.h"
#include "ui/todayline.h"
#include "ui/yaodianpane.h"
#include "update/updatewizard.h"
#include "widgets/appicon.h"
#include "widgets/linefield.h"
#include "widgets/lineglyph.h"
#include "widgets/settingskeys.h"
#include "widgets/toolwindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSettings>
#include <QSqlDatabase>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<const char16_t *, 12> MonthBuildItems{u"zi", u"chou", u"yin",  u"mao", u"chen", u"si",
                                                           u"wu", u"wei",  u"shen", u"you", u"xu",   u"hai"};
constexpr std::array<const char16_t *, 12> DayBuildItems{u"jia",  u"yi",  u"bing", u"ding",  u"riwu", u"riji",
                                                         u"geng", u"xin", u"ren",  u"rigui", u"xuxu", u"haihai"};

// The first line of the question before 新建 and 清除数据 empty a chart kept nowhere.
const QString UnsharedChart = u"当前的卦还没有保存到案例库，也没有导出。"_s;

// China Standard Time, the clock of every moment of a cast: UTC+8, no daylight saving.
constexpr int ChinaOffsetSeconds = 8 * 3600;

QString branchText(int branch)
{
    return QString(QChar(BranchNames[branch]));
}

// What an exported case carries under "chart": the chart model's JSON of its cast.
std::string chartJsonOf(const CastInput &cast)
{
    return chartJson(chartOf(cast));
}

} // namespace

MainWindow::MainWindow(Environment env, QWidget *parent)
    : QMainWindow(parent)
    , m_env(std::move(env))
    , m_document(new ChartDocument(this))
    , m_sheet(new ChartSheet(this))
    , m_steps(new ChartSteps(*m_document, *m_sheet, this))
    , m_lineEntry(new LineEntry(
          *m_document, *m_sheet, *m_steps, [this] { enableChartCommands(true); }, this))
    , m_autoCast(new AutoCast(*m_document, *m_sheet, *m_steps, this, m_env.newCastSource, this))
    , m_screenshot(new Screenshot(*m_document, *m_sheet, this,
                                  ScreenshotSettings{m_env.screenshotFolder, m_env.screenshotFallbackFolder, m_env.now},
                                  this))
    , m_chartExport(new ChartExport(
          *m_document, *m_sheet, this,
          ChartExportSettings{m_env.picturesFolder, m_env.now, m_env.saveFileName, m_env.ask,
                              [this](const QDateTime &at) { return m_screenshot->fileName(at); }, m_env.pageSize},
          this))
{
    setObjectName(u"MainWindow"_s);
    setWindowTitle(u"Lotgrid(六爻) %1"_s.arg(QStringView(VersionText)));
    setWindowIcon(appIcon());
    // The sheet grows and shrinks with the window; at a zoom larger than the window it scrolls.
    QScrollArea *scroll = sheetScrollArea(
        m_sheet,
        [this] {
            if (m_arranger)
                m_arranger->keepSheetWhole();
        },
        this);
    scroll->setObjectName(u"sheetScroll"_s);
    setCentralWidget(scroll);
    buildMenus();
    addPaneAndStatus();
    addJingwenCommands();

    int zoom = 100;
    if (!m_env.settingsFile.isEmpty()) {
        bool ok = false;
        const int stored
            = QSettings(m_env.settingsFile, QSettings::IniFormat).value(settingskeys::ChartZoom).toInt(&ok);
        if (ok)
            zoom = stored;
    }
    m_arranger = new ScreenArranger(*this, *m_sheet, *m_guapan, zoom, m_env.screenRoom);

    connect(m_document, &ChartDocument::changed, this, &MainWindow::showDocument);
    connect(m_sheet, &ChartSheet::dayStemPicked, this, &MainWindow::dayStem_Click);
    connect(m_sheet, &ChartSheet::momentEdited, m_document, [this](const Moment &m) { m_document->setMoment(m); });
    connect(m_sheet, &ChartSheet::questionEdited, m_document, &ChartDocument::setQuestion);
    connect(m_document, &ChartDocument::wordsChanged, m_sheet,
            [this] { m_sheet->showQuestion(m_document->question()); });
    connect(m_sheet->ansj, &QPushButton::clicked, this, &MainWindow::ansj_Click);
    connect(m_sheet->zdsj, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_env.settingsFile.isEmpty())
            QSettings(m_env.settingsFile, QSettings::IniFormat).setValue(settingskeys::AutoFromMoment, on);
        if (on)
            ansj_Click();
    });
    connect(m_autoCast, &AutoCast::linesCast, this, &MainWindow::startAtNow);
    new MomentEntry(*m_document, *m_sheet, *m_steps, m_env.today, this);
    if (!m_env.settingsFile.isEmpty()) {
        const QSettings settings(m_env.settingsFile, QSettings::IniFormat);
        m_zichu->setChecked(settings.value(settingskeys::DayTurnsAt23, false).toBool());
        m_sheet->zdsj->setChecked(settings.value(settingskeys::AutoFromMoment, false).toBool());
    }
    Form_Load();
}

MainWindow::~MainWindow()
{
    delete m_Anli; // reads the journal, which goes before the window's children
}

void MainWindow::Form_Load()
{
    if (m_env.today)
        new TodayLine(m_sheet->Lnongli, m_env.today, this); // owned by the window, rewrites the line at midnight
    startAtNow();
    showDocument();
    m_sheet->Text(1)->setFocus();
    // The journal is read for the count once the window stands on screen.
    afterFirstPaint(this, [this] { countAwaiting(); });
}

void MainWindow::countAwaiting()
{
    if (!m_anliku)
        return;
    // Before its first use the journal is opened to read only, and closed again:
    // a missing or unreadable file counts nothing and says nothing.
    std::optional<qint64> count;
    const QDate today = m_env.today ? m_env.today() : QDate::currentDate();
    if (m_journal) {
        count = awaitingCount(QSqlDatabase::database(m_journal->connectionName(), false), today, nullptr);
    } else if (!m_journalTried && !m_env.journalPath.isEmpty() && QFileInfo::exists(m_env.journalPath)) {
        Journal reader(m_env.journalPath);
        if (reader.openReadOnly())
            count = awaitingCount(QSqlDatabase::database(reader.connectionName(), false), today, nullptr);
    }
    const qint64 n = count.value_or(0);
    m_anliku->setText(n > 0 ? u"案例库（%1 待验）"_s.arg(n) : u"案例库"_s);
    if (n > 0 && !m_daiyan) {
        statusBar()->setObjectName(u"zhuangtai"_s);
        m_daiyan = new QPushButton(statusBar());
        m_daiyan->setObjectName(u"daiyan"_s);
        m_daiyan->setFlat(true);
        m_daiyan->setCursor(Qt::PointingHandCursor);
        m_daiyan->setToolTip(u"未定、且首个应期已过的案例：点击列出"_s);
        statusBar()->addWidget(m_daiyan);
        connect(m_daiyan, &QPushButton::clicked, this, [this] {
            anliku_Click();
            if (auto *anli = qobject_cast<Anli *>(m_Anli.data()))
                anli->showAwaiting();
        });
    }
    if (m_daiyan) {
        m_daiyan->setText(u"%1 个案例待验，记下结果吧"_s.arg(n));
        statusBar()->setVisible(n > 0);
    }
}

void MainWindow::buildMenus()
{
    const auto item = [this](QMenu *menu, const QString &name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    const auto menuOf = [](QMenu *parent, const QString &name, const QString &caption) {
        QMenu *menu = parent->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };
    QMenuBar *bar = menuBar();
    const auto topMenu = [bar](const QString &name, const QString &caption) {
        QMenu *menu = bar->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };

    QMenu *file = topMenu(u"file"_s, u"菜单(&F)"_s);
    QAction *news = item(file, u"news"_s, u"新建(&N)"_s);
    news->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    // The window's keys work from every window of the program that stands in front.
    news->setShortcutContext(Qt::ApplicationShortcut);
    connect(news, &QAction::triggered, this, &MainWindow::news_Click);
    file->addSeparator();
    m_jietutu = item(file, u"jietutu"_s, u"截图(&S)"_s);
    m_jietutu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_jietutu->setShortcutContext(Qt::ApplicationShortcut);
    m_jietutu->setEnabled(false);
    connect(m_jietutu, &QAction::triggered, m_screenshot, &Screenshot::jietutu_Click);
    m_fuzhi = item(file, u"fuzhi"_s, u"复制卦象文本"_s);
    m_fuzhi->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(m_fuzhi, &QAction::triggered, m_chartExport, &ChartExport::fuzhi_Click);
    m_daochu = item(file, u"daochu"_s, u"导出图片…"_s);
    connect(m_daochu, &QAction::triggered, m_chartExport, &ChartExport::daochu_Click);
    m_dayin = item(file, u"dayin"_s, u"打印…"_s);
    m_dayin->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_dayin, &QAction::triggered, m_chartExport, &ChartExport::dayin_Click);
    m_daochupdf = item(file, u"daochupdf"_s, u"导出PDF…"_s);
    connect(m_daochupdf, &QAction::triggered, m_chartExport, &ChartExport::daochupdf_Click);
    m_fuzhiAI = item(file, u"fuzhiAI"_s, u"复制为AI提问"_s);
    file->addSeparator();
    addJournalCommands(file);
    file->addSeparator();
    QAction *end = item(file, u"end"_s, u"退出(&Q)"_s);
    end->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    end->setShortcutContext(Qt::ApplicationShortcut);
    connect(end, &QAction::triggered, this, &MainWindow::end_Click);

    QMenu *tls = topMenu(u"tls"_s, u"工具(&T)"_s);
    const auto castItem = [&](const QString &name, const QString &caption, Qt::Key key) {
        QAction *action = item(tls, name, caption);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::ApplicationShortcut);
        return action;
    };
    connect(castItem(u"zd"_s, u"自动卜卦"_s, Qt::Key_F5), &QAction::triggered, m_autoCast, &AutoCast::zd_Click);
    connect(castItem(u"yingbi"_s, u"手动摇卦"_s, Qt::Key_F6), &QAction::triggered, this, &MainWindow::yingbi_Click);
    connect(castItem(u"shijian"_s, u"时间起卦"_s, Qt::Key_F7), &QAction::triggered, this, &MainWindow::shijian_Click);
    connect(castItem(u"shuzi"_s, u"数字起卦"_s, Qt::Key_F8), &QAction::triggered, this, &MainWindow::shuzi_Click);
    tls->addSeparator();
    connect(item(tls, u"chaxun"_s, u"查询伏神"_s), &QAction::triggered, this, [this] {
        openWindow(m_Fenshen, [this] { return createFenshen(this, [this] { return m_document->chart().original; }); });
    });
    m_yingqi = item(tls, u"yingqiCankao"_s, u"应期参考"_s);
    m_yingqi->setEnabled(false);
    connect(m_yingqi, &QAction::triggered, this, &MainWindow::yingqi_Click);
    tls->addSeparator();
    connect(item(tls, u"qc"_s, u"清除数据"_s), &QAction::triggered, this, &MainWindow::qc_Click);
    tls->addSeparator();
    connect(item(tls, u"xunk"_s, u"旬空表"_s), &QAction::triggered, this,
            [this] { openWindow(m_Liujia, [this] { return createLiujia(this); }); });
    connect(item(tls, u"yaox"_s, u"爻之三刑"_s), &QAction::triggered, this,
            [this] { openWindow(m_Yao3x, [this] { return createYao3x(this); }); });
    connect(item(tls, u"wx"_s, u"四时旺相"_s), &QAction::triggered, this,
            [this] { openWindow(m_Sswx1, [this] { return createSswx1(this); }); });
    connect(item(tls, u"yaoh"_s, u"爻之六合"_s), &QAction::triggered, this,
            [this] { openWindow(m_yao6h, [this] { return createYao6h(this); }); });
    connect(item(tls, u"yaoc"_s, u"爻之六冲"_s), &QAction::triggered, this,
            [this] { openWindow(m_yao6c, [this] { return createYao6c(this); }); });
    addReadingCommands(tls);

    QMenu *yueri = topMenu(u"yueri"_s, u"月建日建选择(&D)"_s);
    // Each build's item is checked when the document holds that build.
    QMenu *yue = menuOf(yueri, u"yue"_s, u"月建"_s);
    for (int b = 0; b < 12; ++b) {
        m_monthBuild[b] = item(yue, QString::fromUtf16(MonthBuildItems[b]), branchText(b));
        m_monthBuild[b]->setCheckable(true);
        connect(m_monthBuild[b], &QAction::triggered, this, [this, b] { monthBuild_Click(b); });
    }
    yueri->addSeparator();
    QMenu *rijian = menuOf(yueri, u"rijian"_s, u"日建"_s);
    for (int b = 0; b < 12; ++b) {
        m_dayBuild[b] = item(rijian, QString::fromUtf16(DayBuildItems[b]), branchText(b));
        m_dayBuild[b]->setCheckable(true);
        connect(m_dayBuild[b], &QAction::triggered, this, [this, b] { dayBuild_Click(b); });
    }
    yueri->addSeparator();
    m_zichu = item(yueri, u"zichu"_s, u"子初换日"_s);
    m_zichu->setCheckable(true);
    connect(m_zichu, &QAction::toggled, this, [this](bool on) {
        if (!m_env.settingsFile.isEmpty())
            QSettings(m_env.settingsFile, QSettings::IniFormat).setValue(settingskeys::DayTurnsAt23, on);
        m_document->setDayBoundary(on ? DayBoundary::Zi23 : DayBoundary::Midnight);
    });

    QMenu *ys = topMenu(u"ys"_s, u"用神或伏神选择(&Y)"_s);
    QMenu *yss = menuOf(ys, u"yss"_s, u"卦中有用神"_s);
    for (int n = 1; n <= 6; ++n) {
        if (n > 1)
            yss->addSeparator();
        m_yao(n) = item(yss, u"yao"_s + QString::number(n), u"选择%1爻作为用神"_s.arg(n));
        connect(m_yao(n), &QAction::triggered, this, [this, n] { yao_Click(n); });
    }
    ys->addSeparator();
    QMenu *fushen = menuOf(ys, u"fushen"_s, u"卦中无用神"_s);
    for (int n = 1; n <= 6; ++n) {
        if (n > 1)
            fushen->addSeparator();
        m_F(n) = item(fushen, u"F"_s + QString::number(n), u"选择%1爻作为伏神"_s.arg(n));
        connect(m_F(n), &QAction::triggered, this, [this, n] { F_Click(n); });
    }
    enableChartCommands(false);

    QMenu *view = topMenu(u"view"_s, u"视图(&V)"_s);
    const auto zoomItem
        = [&](const QString &name, const QString &caption, QList<QKeySequence> keys, void (MainWindow::*command)()) {
              QAction *action = item(view, name, caption);
              action->setShortcuts(keys);
              action->setShortcutContext(Qt::ApplicationShortcut);
              connect(action, &QAction::triggered, this, command);
          };
    zoomItem(u"zoomIn"_s, u"放大(&I)"_s,
             {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)}, &MainWindow::zoomIn);
    zoomItem(u"zoomOut"_s, u"缩小(&O)"_s, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &MainWindow::zoomOut);
    zoomItem(u"zoomReset"_s, u"原始大小(&R)"_s, {QKeySequence(Qt::CTRL | Qt::Key_0)}, &MainWindow::zoomReset);

    QMenu *help = topMenu(u"help"_s, u"帮助(&H)"_s);
    QAction *help1 = item(help, u"help1"_s, u"使用说明"_s);
    help1->setShortcut(QKeySequence(Qt::Key_F1));
    help1->setShortcutContext(Qt::ApplicationShortcut);
    connect(help1, &QAction::triggered, this, [this] { openWindow(m_Helpf, [this] { return createHelpf(this); }); });
    help->addSeparator();
    connect(item(help, u"about"_s, u"关于软件"_s), &QAction::triggered, this, [this] {
        QDialog *about = createAboutt(this);
        about->setWindowIcon(appIcon());
        about->exec();
    });
    help->addSeparator();
    connect(item(help, u"uploadTessa"_s, u"检查更新"_s), &QAction::triggered, this, [this] {
        UpdateWizard wizard(UpdateSettings{m_env.updateServer, m_env.updateTimeoutMs, m_env.openUrl}, this);
        wizard.setWindowIcon(appIcon());
        wizard.exec();
    });
}

template<typename Factory>
void MainWindow::openWindow(QPointer<QWidget> &slot, Factory create)
{
    if (!slot) {
        slot = create();
        slot->setWindowIcon(appIcon());
    }
    showToolWindow(slot, this);
}

void MainWindow::enableChartCommands(bool enabled)
{
    for (QAction *a : {m_jietutu, m_fuzhi, m_daochu, m_dayin, m_daochupdf})
        if (a)
            a->setEnabled(enabled);
    if (m_baocun)
        m_baocun->setEnabled(enabled && journalUsable());
    for (QAction *a : m_yao)
        if (a)
            a->setEnabled(enabled);
    for (QAction *a : m_F)
        if (a)
            a->setEnabled(enabled);
}

int MainWindow::zoomPercent() const
{
    return m_arranger->zoomPercent();
}

void MainWindow::setZoomPercent(int percent)
{
    m_arranger->zoomTo(percent);
    if (!m_env.settingsFile.isEmpty())
        QSettings(m_env.settingsFile, QSettings::IniFormat).setValue(settingskeys::ChartZoom, zoomPercent());
}

void MainWindow::zoomIn()
{
    const auto next = std::upper_bound(ZoomSteps.begin(), ZoomSteps.end(), zoomPercent());
    setZoomPercent(next == ZoomSteps.end() ? ZoomSteps.back() : *next);
}

void MainWindow::zoomOut()
{
    const auto next = std::lower_bound(ZoomSteps.begin(), ZoomSteps.end(), zoomPercent());
    setZoomPercent(next == ZoomSteps.begin() ? ZoomSteps.front() : *(next - 1));
}

void MainWindow::zoomReset()
{
    setZoomPercent(100);
}

void MainWindow::dayStem_Click(int stem)
{
    m_document->setDayStem(stem);
}

void MainWindow::monthBuild_Click(int branch)
{
    m_document->setMonthBuild(static_cast<Branch>(branch));
    showBuildItems(); // the item was toggled even when the build stays
}

void MainWindow::dayBuild_Click(int branch)
{
    m_document->setDayBuild(static_cast<Branch>(branch));
    showBuildItems();
}

void MainWindow::yao_Click(int line)
{
    m_document->setMark({MarkKind::UseGod, line});
}

void MainWindow::F_Click(int line)
{
    m_document->setMark({MarkKind::Hidden, line});
}

// Every change of the document, shown: the lines first, then the rest of the
// sheet and the menus; the steps complete the chart when the pass ends.
void MainWindow::showDocument()
{
    ChartSteps::Scope pass(*m_steps);
    m_lineEntry->showLines();
    m_sheet->showDocument(*m_document);
    showBuildItems();
    const Chart &chart = m_document->chart();
    if (m_yingqi)
        m_yingqi->setEnabled(chart.original && chart.input.moment);
    if (auto *yingqi = qobject_cast<YingqiWindow *>(m_Yingqi.data()))
        yingqi->setChart(chart);
}

void MainWindow::yingqi_Click()
{
    openWindow(m_Yingqi, [this] { return new YingqiWindow(this); });
    static_cast<YingqiWindow *>(m_Yingqi.data())->setChart(m_document->chart());
}

void MainWindow::showBuildItems()
{
    const CastInput &cast = m_document->cast();
    for (int b = 0; b < 12; ++b) {
        m_monthBuild[b]->setChecked(cast.monthBuild && static_cast<int>(*cast.monthBuild) == b);
        m_dayBuild[b]->setChecked(cast.dayBuild && static_cast<int>(*cast.dayBuild) == b);
    }
}

bool MainWindow::confirm(const QString &line1, const QString &line2)
{
    return m_env.ask && m_env.ask(this, u"提示"_s, line1 + u"\r\n"_s + line2);
}

// A new or cleared sheet reads by the program's school again, a case opened before by its own.
// Asked only while the sheet holds a chart kept nowhere: neither in 案例库 nor written to a file.
void MainWindow::news_Click()
{
    if (!holdsUnsharedChart() || confirm(UnsharedChart, u"请问您真的需要新建吗？"_s)) {
        resetSheet();
        m_document->setOptions(m_school);
    }
}

void MainWindow::qc_Click()
{
    if (!holdsUnsharedChart() || confirm(UnsharedChart, u"请问您真的需要清除所有数据吗？"_s)) {
        resetSheet();
        m_document->setOptions(m_school);
    }
}

void MainWindow::resetSheet()
{
    ChartSteps::Scope pass(*m_steps);
    ChartSheet &s = *m_sheet;

    enableChartCommands(false);
    m_document->setQuestion({});

    m_steps->switchOff(m_steps->Tsy);
    m_steps->switchOff(m_steps->TimerBengua);
    m_steps->switchOff(m_steps->Timerai);
    m_steps->switchOff(m_steps->TimerSBG2);

    m_document->clear();
    m_document->setCategory(std::nullopt); // the category belongs to the question, emptied above
    // The last chart may still stand on lines already emptied.
    s.emptyChartAndLines();
    // Locked only now: the line handling of an unticked box frees its line.
    for (int n = 2; n <= 6; ++n)
        s.Text(n)->setEnabled(false);
    for (QString &by : s.BY)
        by.clear();
    s.emptyLineDisplays();
    for (QLabel *name : s.Lyao)
        name->clear();

    m_document->setMethod(CastMethod::Hand);
    startAtNow();
    s.Text(1)->setFocus();
}

// A new chart is cast now; with 自动 its day follows the moment.
void MainWindow::startAtNow()
{
    setCastMoment(m_env.now ? m_env.now() : QDateTime::currentDateTimeUtc());
    if (m_sheet->zdsj->isChecked())
        m_document->followMoment();
}

void MainWindow::loadCast(const CastInput &cast)
{
    ChartSteps::Scope pass(*m_steps);
    resetSheet();
    m_document->setMethod(CastMethod::None);
    CastInput own = cast;
    own.dayBoundary = m_document->cast().dayBoundary; // 子初换日 is the program's option, not the case's
    m_document->setCast(own);
}

QDateTime MainWindow::castMoment() const
{
    const auto &moment = m_document->cast().moment;
    if (!moment) // a case kept without its moment: the time casts read now
        return (m_env.now ? m_env.now() : QDateTime::currentDateTimeUtc()).toOffsetFromUtc(ChinaOffsetSeconds);
    const QDateTime reading = ChartSheet::readingOf(*moment);
    return QDateTime(reading.date(), reading.time(), Qt::OffsetFromUTC, ChinaOffsetSeconds);
}

// A moment outside the chart's span is taken at the nearer end, as the field holds it.
void MainWindow::setCastMoment(const QDateTime &moment)
{
    if (!moment.isValid())
        return;
    const Moment m = ChartSheet::momentOf(moment.toOffsetFromUtc(ChinaOffsetSeconds));
    const std::int64_t minute
        = std::clamp(minuteNumber(m), minuteNumber(FirstChartMoment), minuteNumber(LastChartMoment));
    m_document->setInstant(momentFromMinutes(minute));
}

// 子初换日: the day turns at 23:00 instead of midnight.
bool MainWindow::dayTurnsAt23() const
{
    return m_document->cast().dayBoundary == DayBoundary::Zi23;
}

// 按时间排盘: the day stem and the two builds follow the moment from now on.
void MainWindow::ansj_Click()
{
    m_document->followMoment();
}

// Shows the dialog of a hand cast, one at a time, and runs `done` on it when it is confirmed.
template<typename Create, typename Done>
void MainWindow::openCastDialog(Create create, Done done)
{
    if (m_handCast && m_handCast->isVisible()) { // a confirmed dialog stays until deleted
        m_handCast->raise();
        m_handCast->activateWindow();
        return;
    }
    auto *dialog = create();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowIcon(appIcon());
    connect(dialog, &QDialog::accepted, this, [dialog, done] { done(*dialog); });
    m_handCast = dialog;
    showToolWindow(dialog, this);
}

void MainWindow::writeHandCast(const std::optional<std::array<CastLine, 6>> &lines)
{
    if (!lines)
        return;
    // A pending write-back of an automatic cast must not overwrite these lines.
    m_autoCast->Timerzg->stop();
    m_autoCast->Timer6y->stop();
    // A hand cast charts at the moment of its cast.
    ChartSteps::Scope pass(*m_steps);
    m_document->setLines(*lines);
    m_document->followMoment();
}

void MainWindow::yingbi_Click()
{
    const auto create
        = [this] { return new CoinDialog(castOption(m_env.settingsFile, CastOption::CoinFacesSwapped), this); };
    openCastDialog(create, [this](CoinDialog &d) {
        setCastOption(m_env.settingsFile, CastOption::CoinFacesSwapped, d.swapFaces->isChecked());
        m_document->setMethod(CastMethod::Coins);
        writeHandCast(d.lines());
        setCastMoment(m_env.now ? m_env.now() : QDateTime::currentDateTimeUtc());
    });
}

void MainWindow::shijian_Click()
{
    const auto create = [this] {
        const bool at23 = timeCastDayTurnsAt23(m_document->cast().options.timeCastDay,
                                               dayTurnsAt23() ? DayBoundary::Zi23 : DayBoundary::Midnight);
        return new TimeCastDialog(ChartSheet::momentOf(castMoment()),
                                  castOption(m_env.settingsFile, CastOption::YearAtLichun), at23, this);
    };
    openCastDialog(create, [this](TimeCastDialog &d) {
        setCastOption(m_env.settingsFile, CastOption::YearAtLichun, d.lichunYear->isChecked());
        m_document->setMethod(CastMethod::Time);
        writeHandCast(d.cast() ? linesOf(*d.cast()) : std::nullopt);
    });
}

void MainWindow::shuzi_Click()
{
    const auto create = [this] {
        const int hour = hourNumber(castMoment().isValid() ? castMoment().time().hour() : -1).value_or(0);
        return new NumberDialog(castOption(m_env.settingsFile, CastOption::NumberAddsHour), hour, this);
    };
    openCastDialog(create, [this](NumberDialog &d) {
        setCastOption(m_env.settingsFile, CastOption::NumberAddsHour, d.addHour->isChecked());
        m_school.numberCastAddsHour = d.addHour->isChecked();
        m_document->setOptions(m_school);
        m_document->setMethod(CastMethod::Numbers);
        writeHandCast(d.cast() ? linesOf(*d.cast()) : std::nullopt);
    });
}

// The case journal, opened on its first use so that a start-up pays nothing
// for it. A journal that cannot be opened is told once, and its commands stay
// disabled for the run; the file is left as it is and charting goes on.
Journal *MainWindow::journal()
{
    if (m_journalTried || m_env.journalPath.isEmpty())
        return m_journal.get();
    m_journalTried = true;
    JournalOptions options;
    options.now = m_env.now;
    auto journal = std::make_unique<Journal>(m_env.journalPath, options);
    if (journal->open()) {
        m_journal = std::move(journal);
        return m_journal.get();
    }
    for (QAction *a : {m_baocun, m_anliku})
        if (a)
            a->setEnabled(false);
    if (m_env.journalPrompts.warn)
        m_env.journalPrompts.warn(this, u"案例库"_s, journalMessage(journal->lastError()));
    return nullptr;
}

bool MainWindow::journalUsable() const
{
    return !m_env.journalPath.isEmpty() && (!m_journalTried || m_journal);
}

void MainWindow::addJournalCommands(QMenu *file)
{
    const auto command
        = [this, file](const QString &name, const QString &caption, QKeyCombination key, void (MainWindow::*run)()) {
              QAction *action = file->addAction(caption);
              action->setObjectName(name);
              action->setShortcut(QKeySequence(key));
              action->setShortcutContext(Qt::ApplicationShortcut);
              action->setEnabled(false);
              connect(action, &QAction::triggered, this, run);
              return action;
          };
    m_baocun = command(u"baocun"_s, u"保存到案例库"_s, Qt::CTRL | Qt::Key_B, &MainWindow::baocun_Click);
    m_anliku = command(u"anliku"_s, u"案例库"_s, Qt::CTRL | Qt::Key_L, &MainWindow::anliku_Click);
    m_anliku->setEnabled(journalUsable());
}

CaseRecord MainWindow::caseOnSheet() const
{
    CaseRecord c;
    c.cast = m_document->cast();
    c.question = m_document->question();
    c.sex = c.cast.sex;
    c.category = c.cast.category;
    // The case keeps its category and sex beside its cast, and the school it is read by.
    c.cast.category.reset();
    c.cast.sex.reset();
    c.firstYingqi = firstYingqiOf(c);
    return c;
}

// The sheet still shows the case last saved or opened: nothing on it would be lost.
bool MainWindow::showsKeptCase() const
{
    return sheetShows(m_keptCase.get());
}

bool MainWindow::sheetShows(const CaseRecord *c) const
{
    if (!c)
        return false;
    const CaseRecord now = caseOnSheet();
    CastInput kept = c->cast;
    kept.dayBoundary = now.cast.dayBoundary; // 子初换日 is the program's option, not the case's
    return now.cast == kept && now.question == c->question && now.sex == c->sex && now.category == c->category;
}

bool MainWindow::holdsUnsharedChart() const
{
    return linesStand(m_document->cast()) && !showsKeptCase() && !sheetShows(m_sharedCase.get());
}

void MainWindow::baocun_Click()
{
    if (!journalUsable())
        return;
    const CaseRecord draft = caseOnSheet();
    if (const QString problem = castProblem(draft.cast); !problem.isEmpty()) {
        if (m_env.journalPrompts.warn)
            m_env.journalPrompts.warn(this, u"保存到案例库"_s, u"这个卦不能保存：%1。"_s.arg(problem));
        return;
    }
    Journal *kept = journal();
    if (!kept)
        return;
    const std::optional<CaseRecord> saved = saveCaseInteractively(this, *kept, draft, m_env.journalPrompts);
    if (!saved)
        return;
    m_keptCase = std::make_unique<CaseRecord>(*saved);
    m_status->say(u"已保存到案例库。"_s);
    if (auto *anli = qobject_cast<Anli *>(m_Anli.data()))
        anli->applyFilter();
    countAwaiting();
}

void MainWindow::anliku_Click()
{
    if (!journal())
        return;
    openWindow(m_Anli, [this] {
        auto *anli = new Anli(m_journal.get(), m_env.journalPrompts, this);
        anli->setSettingsFile(m_env.settingsFile);
        anli->setChartJson(chartJsonOf);
        if (m_env.today)
            anli->setToday(m_env.today);
        connect(anli, &Anli::reopenRequested, this, &MainWindow::openCase);
        connect(anli, &Anli::followUpSaved, this, &MainWindow::countAwaiting);
        return anli;
    });
}

void MainWindow::openCase(const CaseRecord &c)
{
    if (linesStand(m_document->cast()) && !showsKeptCase()
        && !confirm(u"打开案例之前建议保存当前的卦，以备日后查看。"_s, u"请问您真的需要打开这个案例吗？"_s))
        return;
    loadCast(c.cast);
    // The case is read by its own school until the sheet is new; the settings keep the program's.
    m_document->setOptions(c.cast.options);
    m_document->setQuestion(c.question);
    m_document->setSex(c.sex);
    m_document->setCategory(c.category);
    m_keptCase = std::make_unique<CaseRecord>(c);
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

// The 卦盘 pane beside the sheet and the status bar under it.
void MainWindow::addPaneAndStatus()
{
    m_guapan = new GuapanPane(
        *this, *m_document, [this] { return m_chartExport->words(); }, m_env.settingsFile);
    m_yaodian = new YaodianPane(*this, *m_document, *m_sheet, m_env.settingsFile);
    connect(m_yaodian, &YaodianPane::linesPicked, m_guapan, &GuapanPane::setPicked);
    if (auto *view = menuBar()->findChild<QMenu *>(u"view"_s)) {
        view->addSeparator();
        view->addAction(m_guapan->toggleAction());
        view->addAction(m_yaodian->toggleAction());
    }
    // The exported picture is light, for paper and forums, unless the save dialog asks for dark; remembered.
    if (!m_env.settingsFile.isEmpty())
        m_chartExport->setDarkPicture(
            QSettings(m_env.settingsFile, QSettings::IniFormat).value(settingskeys::DarkPicture, false).toBool());
    m_chartExport->addShareItems(*menuBar(), m_env.settingsFile);
    connect(m_chartExport, &ChartExport::darkPictureChosen, this, [this](bool dark) {
        if (!m_env.settingsFile.isEmpty())
            QSettings(m_env.settingsFile, QSettings::IniFormat).setValue(settingskeys::DarkPicture, dark);
    });
    connect(m_autoCast, &AutoCast::linesCast, this, [this] { m_document->setMethod(CastMethod::Auto); });

    m_status = new StatusMessages(*this, *m_document);
    connect(m_chartExport, &ChartExport::done, m_status, &StatusMessages::say);
    // A written picture, PDF or screenshot: the file's name, and its folder a click away.
    connect(m_chartExport, &ChartExport::written, this, [this](const QString &what, const QString &path) {
        tellFileWritten(statusBar(), what, path);
        m_sharedCase = std::make_unique<CaseRecord>(caseOnSheet());
    });
    connect(m_screenshot, &Screenshot::saved, this, [this](const QString &path) {
        tellFileWritten(statusBar(), u"截图已保存"_s, path);
        m_sharedCase = std::make_unique<CaseRecord>(caseOnSheet());
    });
}

void MainWindow::end_Click()
{
    if (m_env.quit)
        m_env.quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Dialogs first (about, update, automatic cast and its progress window), then every other window.
    const auto others = QApplication::topLevelWidgets();
    for (QWidget *w : others)
        if (w != this && w->isVisible() && qobject_cast<QDialog *>(w))
            w->close();
    for (QWidget *w : others)
        if (w != this && w->isVisible())
            w->close();
    event->accept();
    QMainWindow::closeEvent(event);
    if (m_env.quit)
        m_env.quit();
}

} // namespace lotgrid
