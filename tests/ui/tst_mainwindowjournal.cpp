// The case journal from the main window, on a journal in a temporary folder:
// 保存到案例库 and 案例库 enabled with the chart, a chart saved and opened
// again equal to itself with its question and sex, the question asked before
// another chart is replaced, and a journal that cannot be opened told once
// with its commands disabled while charting goes on.
#include "chart/chart.h"
#include "chart/charttext.h"
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "journal/anli.h"
#include "journal/journal.h"
#include "qtcore/textconv.h"
#include "sheet/chartsteps.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace lotgrid;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(lotgrid::CastInput)

namespace {

struct Said {
    QStringList asked; // the main window's Yes/No questions
    QStringList warnings;
    bool answer = true;
};

Environment journalEnvironment(const QString &path, const std::shared_ptr<Said> &said)
{
    Environment env = testEnvironment();
    env.journalPath = path;
    env.ask = [said](QWidget *, const QString &, const QString &text) {
        said->asked << text;
        return said->answer;
    };
    env.journalPrompts.warn = [said](QWidget *, const QString &, const QString &text) { said->warnings << text; };
    return env;
}

// A cast written out: lines line 1 first, moving lines as '1' in `moving`,
// day stem, builds (-1: none), mark ("y3": use god on line 3, "f6": hidden
// spirit on line 6) and the moment of the cast.
CastInput castOf(const QString &lines, const QString &moving, int stem, int month, int day, const QString &mark,
                 Moment moment = {{2014, 10, 24}, 9, 5})
{
    CastInput c;
    c.moment = moment;
    for (int n = 1; n <= 6; ++n)
        c.line(n) = {lines.at(n - 1).unicode(), moving.at(n - 1) == u'1'};
    if (stem >= 0)
        c.dayStem = stem;
    if (month >= 0)
        c.monthBuild = static_cast<Branch>(month);
    if (day >= 0)
        c.dayBuild = static_cast<Branch>(day);
    if (!mark.isEmpty())
        c.mark = {mark[0] == u'y' ? MarkKind::UseGod : MarkKind::Hidden, mark.mid(1).toInt()};
    return c;
}

// The chart model of a cast as its JSON text.
QByteArray chartModel(const CastInput &cast)
{
    return QByteArray::fromStdString(chartJson(chartOf(cast)));
}

QAction *action(MainWindow &w, const QString &name)
{
    return w.findChild<QAction *>(name);
}

// Answers the save dialog: notes and tags typed, then 保存 (or 取消).
std::shared_ptr<ModalAnswer> answerSaveDialog(const QString &notes, const QString &tags, bool save = true)
{
    return answerNextModal(QMessageBox::Cancel, [notes, tags, save](QWidget *dialog) {
        dialog->findChild<QPlainTextEdit *>(u"notes"_s)->setPlainText(notes);
        dialog->findChild<QLineEdit *>(u"tags"_s)->setText(tags);
        dialog->findChild<QPushButton *>(save ? u"save"_s : u"cancel"_s)->click();
    });
}

// Opens 案例库 and presses Enter on the case in `row`.
Anli *reopenRow(MainWindow &w, int row)
{
    action(w, u"anliku"_s)->trigger();
    auto *anli = w.findChild<Anli *>(u"Anli"_s);
    if (!anli)
        return nullptr;
    anli->applyFilter();
    auto *table = anli->findChild<QTableView *>(u"cases"_s);
    table->setCurrentIndex(table->model()->index(row, 0));
    QTest::keyClick(table, Qt::Key_Return);
    return anli;
}

void putOnSheet(MainWindow &w, const CastInput &cast, const QString &question, const QString &sex,
                const QString &category = {})
{
    w.loadCast(cast);
    w.sheet().TextWHS->setText(question);
    w.sheet().Combo1->setCurrentIndex(w.sheet().Combo1->findText(sex));
    w.sheet().zhanlei->setCurrentIndex(std::max(0, w.sheet().zhanlei->findText(category)));
}

// The document's cast of a case on the sheet: the case's sex and category drive its use god.
CastInput sheetCastOf(CastInput cast, const QString &sex, const QString &category = {})
{
    cast.sex = sexFromText(sex.toStdU16String());
    cast.category = categoryFromText(category.toStdU16String());
    return cast;
}

} // namespace

class TestMainWindowJournal : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_said = std::make_shared<Said>();
    }

    void commandsFollowTheChart()
    {
        auto w = makeMainWindow(journalEnvironment(path(), m_said));
        QVERIFY(w->journal());
        QAction *baocun = action(*w, u"baocun"_s);
        QAction *anliku = action(*w, u"anliku"_s);
        QVERIFY(baocun && anliku);
        QCOMPARE(baocun->text(), u"保存到案例库"_s);
        QCOMPARE(anliku->text(), u"案例库"_s);
        QCOMPARE(w->findChild<QMenu *>(u"file"_s)->actions().count(baocun), 1);
        QCOMPARE(w->findChild<QMenu *>(u"file"_s)->actions().count(anliku), 1);

        // No two commands of the window answer to the same key.
        QHash<QKeySequence, QString> owner;
        for (const QAction *a : w->findChildren<QAction *>())
            for (const QKeySequence &key : a->shortcuts()) {
                QVERIFY2(!owner.contains(key),
                         qPrintable(key.toString() + u" of "_s + a->objectName() + u" and "_s + owner.value(key)));
                owner.insert(key, a->objectName());
            }
        QVERIFY(!baocun->shortcut().isEmpty() && !anliku->shortcut().isEmpty());

        QVERIFY(!baocun->isEnabled());
        QVERIFY(anliku->isEnabled());
        ChartSheet &s = w->sheet();
        for (int n = 1; n <= 5; ++n)
            QTest::keyClicks(s.Text(n), u"1"_s);
        QVERIFY(!baocun->isEnabled());
        QTest::keyClicks(s.Text(6), u"0"_s);
        QVERIFY(baocun->isEnabled());
        m_said->answer = true;
        w->news_Click();
        QVERIFY(!baocun->isEnabled());
        QVERIFY(anliku->isEnabled());
        QVERIFY(m_said->warnings.isEmpty());
    }

    void saveAndReopen_data()
    {
        QTest::addColumn<CastInput>("cast");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("category");
        QTest::newRow("111111 still, nothing else")
            << castOf(u"111111"_s, u"000000"_s, -1, -1, -1, {}) << QString() << QString() << QString();
        QTest::newRow("101101 lines 2 and 5 moving, 甲 day, 寅 month, 子 day, use god 3, 男, 求财")
            << castOf(u"101101"_s, u"010010"_s, 0, 2, 0, u"y3"_s) << u"问求财，能否得手？"_s << u"男"_s << u"求财"_s;
        QTest::newRow("000000 all moving, 癸 day, 亥 builds, hidden spirit 6, 女, 1900-01-31 00:00")
            << castOf(u"000000"_s, u"111111"_s, 9, 11, 11, u"f6"_s, FirstChartMoment) << u"出行 \"平安\"; 'x' -- %1"_s
            << u"女"_s << u"出行"_s;
        QTest::newRow("010011 line 1 moving, 戊 day, no builds, 2026-02-04 23:30, 婚恋")
            << castOf(u"010011"_s, u"100000"_s, 4, -1, -1, {}, {{2026, 2, 4}, 23, 30}) << u"婚姻"_s << u"女"_s
            << u"婚恋"_s;
        QTest::newRow("110100 builds only, use god 1, 2100-12-31 23:59")
            << castOf(u"110100"_s, u"001000"_s, -1, 6, 3, u"y1"_s, LastChartMoment) << u"考试"_s << QString()
            << QString();
    }

    void saveAndReopen()
    {
        QFETCH(CastInput, cast);
        QFETCH(QString, question);
        QFETCH(QString, sex);
        QFETCH(QString, category);
        auto w = makeMainWindow(journalEnvironment(path(), m_said));
        w->show();
        ChartSheet &s = w->sheet();
        putOnSheet(*w, cast, question, sex, category);
        QCOMPARE(w->document().cast(), sheetCastOf(cast, sex, category));
        const QByteArray before = chartModel(w->document().cast());
        const Chart chart = chartOf(cast);
        QVERIFY(chart.original && chart.changed && chart.pillars);

        QVERIFY(action(*w, u"baocun"_s)->isEnabled());
        auto answer = answerSaveDialog(u"断：三日内有信"_s, u"求财, 近期"_s);
        action(*w, u"baocun"_s)->trigger();
        QVERIFY(answer->seen);
        QCOMPARE(answer->title, u"保存到案例库"_s);
        QVERIFY(m_said->warnings.isEmpty());

        // What the journal holds, read by another client of the file.
        {
            Journal other(path());
            QVERIFY(other.open());
            QCOMPARE(other.count(), std::optional<qint64>(1));
            const auto cases = other.list({}, std::nullopt, 10);
            QVERIFY(cases && cases->size() == 1);
            const CaseRecord &c = cases->first();
            QCOMPARE(c.cast, cast);
            QCOMPARE(c.question, question);
            QCOMPARE(sexText(c.sex), sex);
            QCOMPARE(categoryText(c.category), category);
            QCOMPARE(c.notes, u"断：三日内有信"_s);
            QCOMPARE(c.tags, QStringList({u"求财"_s, u"近期"_s}));
        }

        // The sheet emptied and the other sex chosen, then the case opened again.
        w->news_Click();
        QVERIFY(s.TextWHS->text().isEmpty() && s.bengua->text().isEmpty());
        s.Combo1->setCurrentIndex(sex == u"男" ? 1 : 0);
        m_said->asked.clear();
        QVERIFY(reopenRow(*w, 0));
        QVERIFY(m_said->asked.isEmpty()); // nothing stood on the sheet
        QCOMPARE(w->document().cast(), sheetCastOf(cast, sex, category));
        QCOMPARE(chartModel(w->document().cast()), before);
        QCOMPARE(s.zhanlei->currentText(), category.isEmpty() ? u"（未选）"_s : category);
        QCOMPARE(s.TextWHS->text(), question);
        QCOMPARE(s.Combo1->currentText(), sex);
        // The sheet shows it as a user's own input would.
        QCOMPARE(s.bengua->text(), qs(chart.original->text));
        QCOMPARE(s.biangua->text(), qs(chart.changed->text));
        QVERIFY(action(*w, u"baocun"_s)->isEnabled());
        QVERIFY(action(*w, u"jietutu"_s)->isEnabled());

        // The case is read by the school it was saved with; a new sheet by the program's again.
        w->applySchoolOptions(schoolPreset(School::Common));
        w->news_Click();
        QVERIFY(reopenRow(*w, 0));
        QCOMPARE(w->document().cast().options, cast.options);
        w->news_Click();
        QCOMPARE(w->document().cast().options, schoolPreset(School::Common));
    }

    void cancelSavesNothing()
    {
        auto w = makeMainWindow(journalEnvironment(path(), m_said));
        putOnSheet(*w, castOf(u"101010"_s, u"000001"_s, 2, 0, 5, {}), u"问病"_s, u"男"_s);
        const CastInput before = w->document().cast();
        auto answer = answerSaveDialog(u"不存"_s, {}, false);
        action(*w, u"baocun"_s)->trigger();
        QVERIFY(answer->seen);
        QCOMPARE(w->journal()->count(), std::optional<qint64>(0));
        QVERIFY(m_said->warnings.isEmpty());
        QCOMPARE(w->document().cast(), before);
        QCOMPARE(w->sheet().TextWHS->text(), u"问病"_s);
    }

    // A reopened case marks 手选 only the parts picked by hand when it was
    // saved, whether or not the moment gives the same.
    void reopenKeepsHandPicked_data()
    {
        QTest::addColumn<int>("picked"); // DayPart bits: 1 the stem, 2 the month build, 4 the day build
        QTest::newRow("all from the moment") << 0;
        QTest::newRow("the stem by hand") << 1;
        QTest::newRow("the builds by hand") << 6;
    }

    void reopenKeepsHandPicked()
    {
        QFETCH(int, picked);
        auto w = makeMainWindow(journalEnvironment(path(), m_said));
        CaseRecord c;
        c.cast = followingMoment(castOf(u"011010"_s, u"000100"_s, -1, -1, -1, {}), {true, true, true});
        for (std::size_t i = 0; i < 3; ++i)
            c.cast.byHand[i] = (picked >> i & 1) != 0;
        QVERIFY(w->journal()->save(c));
        QVERIFY(reopenRow(*w, 0));
        for (std::size_t i = 0; i < 3; ++i)
            QCOMPARE(w->document().cast().pickedByHand(static_cast<DayPart>(i)), (picked >> i & 1) != 0);
    }

    // Opening a case over the sheet asks first, as New does, when a chart
    // stands there that is not the case last saved or opened.
    void reopenAsksFirst_data()
    {
        QTest::addColumn<QString>("onSheet");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("opened");
        QTest::newRow("empty sheet") << u"empty"_s << false << false << true;
        QTest::newRow("five lines") << u"five lines"_s << false << false << true;
        QTest::newRow("another chart, No") << u"other"_s << false << true << false;
        QTest::newRow("another chart, Yes") << u"other"_s << true << true << true;
        QTest::newRow("the case itself") << u"same"_s << false << false << true;
        QTest::newRow("the case, question changed, No") << u"same, question changed"_s << false << true << false;
        QTest::newRow("the case, a tick changed, Yes") << u"same, tick changed"_s << true << true << true;
    }

    void reopenAsksFirst()
    {
        QFETCH(QString, onSheet);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, opened);
        auto w = makeMainWindow(journalEnvironment(path(), m_said));
        CaseRecord c;
        c.cast = castOf(u"011010"_s, u"000100"_s, 1, 7, 9, u"y2"_s);
        c.question = u"谋事"_s;
        c.sex = Sex::Female;
        QVERIFY(w->journal()->save(c));

        ChartSheet &s = w->sheet();
        if (onSheet == u"five lines") {
            for (int n = 1; n <= 5; ++n)
                QTest::keyClicks(s.Text(n), u"0"_s);
        } else if (onSheet == u"other") {
            putOnSheet(*w, castOf(u"111000"_s, u"100000"_s, 3, -1, -1, {}), u"别的事"_s, u"男"_s);
        } else if (onSheet.startsWith(u"same")) {
            QVERIFY(reopenRow(*w, 0));
            if (onSheet.endsWith(u"question changed"))
                s.TextWHS->setText(u"谋事，再问"_s);
            else if (onSheet.endsWith(u"tick changed"))
                s.cx(1)->click(); // line 1 is yin
        }
        const CastInput sheetBefore = w->document().cast();
        const QString questionBefore = s.TextWHS->text();
        m_said->asked.clear();
        m_said->answer = answer;
        QVERIFY(reopenRow(*w, 0));
        QCOMPARE(m_said->asked.size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(m_said->asked.first(),
                     u"打开案例之前建议保存当前的卦，以备日后查看。\r\n请问您真的需要打开这个案例吗？"_s);
        if (opened) {
            QCOMPARE(w->document().cast(), sheetCastOf(c.cast, sexText(c.sex)));
            QCOMPARE(s.TextWHS->text(), c.question);
            QCOMPARE(s.Combo1->currentText(), sexText(c.sex));
        } else {
            QCOMPARE(w->document().cast(), sheetBefore);
            QCOMPARE(s.TextWHS->text(), questionBefore);
        }
    }

    // A file in the journal's place that is not a usable journal: said once, on
    // the journal's first use, naming the file; the file kept as it was; the
    // journal commands disabled from then on while the chart is drawn as always. Without a journal
    // (empty path) the commands are disabled and nothing is said.
    void journalThatCannotOpen_data()
    {
        QTest::addColumn<QString>("content");
        QTest::newRow("damaged file") << u"damaged"_s;
        QTest::newRow("another program's SQLite database") << u"foreign"_s;
        QTest::newRow("a folder in its place") << u"folder"_s;
        QTest::newRow("no journal") << u"none"_s;
    }

    void journalThatCannotOpen()
    {
        QFETCH(QString, content);
        const QString file = path();
        QByteArray bytes;
        if (content == u"damaged") {
            bytes = QByteArray("SQLite format 2\0", 16) + QByteArray(4000, '\x5a');
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        } else if (content == u"foreign") {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"foreign"_s);
                db.setDatabaseName(file);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec(u"CREATE TABLE songs (title TEXT)"_s));
                QVERIFY(q.exec(u"INSERT INTO songs VALUES ('月光')"_s));
                db.close();
            }
            QSqlDatabase::removeDatabase(u"foreign"_s);
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            bytes = f.readAll();
        } else if (content == u"folder") {
            QVERIFY(QDir().mkpath(file));
        }

        auto w = makeMainWindow(journalEnvironment(content == u"none" ? QString() : file, m_said));
        w->show();
        // Nothing is opened, or said, before the journal's first use.
        QTest::qWait(20);
        QVERIFY(m_said->warnings.isEmpty());
        QAction *baocun = action(*w, u"baocun"_s);
        QAction *anliku = action(*w, u"anliku"_s);
        const bool named = content != u"none";
        QCOMPARE(anliku->isEnabled(), named);
        ChartSheet &s = w->sheet();
        for (int n = 1; n <= 6; ++n)
            QTest::keyClicks(s.Text(n), n % 2 ? u"1"_s : u"0"_s);
        s.co(1)->click();
        w->steps().runPass();
        QCOMPARE(s.bengua->text(), qs(chartOf(w->document().cast()).original->text));
        QVERIFY(action(*w, u"jietutu"_s)->isEnabled());
        QCOMPARE(baocun->isEnabled(), named);

        anliku->trigger();
        if (named) {
            QCOMPARE(m_said->warnings.size(), 1);
            const QString message = m_said->warnings.first();
            QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
            QVERIFY2(message.contains(u"停用"_s), qPrintable(message));
        }
        QVERIFY(!baocun->isEnabled() && !anliku->isEnabled());
        baocun->trigger();
        w->baocun_Click();
        w->anliku_Click();
        QVERIFY(!w->journal());
        QVERIFY(!w->findChild<Anli *>());
        QCOMPARE(m_said->warnings.size(), named ? 1 : 0);

        if (content == u"damaged" || content == u"foreign") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), bytes);
        } else if (content == u"folder") {
            QVERIFY(QFileInfo(file).isDir());
        } else {
            QVERIFY(!QFileInfo::exists(file));
        }
    }

private:
    QString path() const { return m_dir->filePath(u"journal.sqlite"_s); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<Said> m_said;
};

QTEST_MAIN(TestMainWindowJournal)
#include "tst_mainwindowjournal.moc"
