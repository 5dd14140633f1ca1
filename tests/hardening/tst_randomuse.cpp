// Seeded random sessions of everything a user can do on the main window, with
// the sheet's invariants checked after every action, played one after another
// (seeds 1, 2, 3, ...) for a time budget: LOTGRID_RANDOM_SECONDS, 30 s unless
// set. The budget only ends the run; a session already begun is played out,
// so the run fails on a fault alone. It reports how many sessions it played
// and their seeds. A failure names its seed and step;
// LOTGRID_RANDOM_SEED=<seed> replays that one session, and
// LOTGRID_RANDOM_SESSIONS=<n> plays exactly n sessions whatever they take.
#include "casting/coindialog.h"
#include "casting/numberdialog.h"
#include "casting/timecastdialog.h"
#include "chart/chart.h"
#include "common/mainwindowfixture.h"
#include "common/modal.h"
#include "journal/anli.h"
#include "journal/journal.h"
#include "qtcore/textconv.h"
#include "sheet/chartsteps.h"
#include "widgets/lineglyph.h"

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <random>

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultSeconds = 30;
constexpr int ActionsPerSession = 200;

const QStringList PasteTexts{u""_s,  u"0"_s,  u"1"_s,  u"01"_s,   u"10"_s,  u"abc"_s, u"2"_s,
                             u" "_s, u"阴"_s, u"１"_s, u"1\n0"_s, u"\t1"_s, u"😀"_s,   u"0000000"_s};
// Questions and notes as a user or a pasted file may give them: markup that Qt
// would act on if it read it, and a surrogate without its other half.
const QStringList JournalTexts{u""_s,
                               u"问财运"_s,
                               u"<img src=\"/dev/zero\">"_s,
                               u"<b>粗</b> &amp; <a href=\"x\">链接</a>"_s,
                               u"lone "_s + QChar(0xD800) + u" surrogate"_s,
                               u"low "_s + QChar(0xDC00) + u"😀"_s};
const QList<int> Keys{Qt::Key_0,      Qt::Key_1,         Qt::Key_2,      Qt::Key_9,    Qt::Key_A,   Qt::Key_Space,
                      Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Home};

// One case journal for every session, in a folder removed at the end.
QString journalFile()
{
    static QTemporaryDir dir;
    return dir.filePath(u"journal.sqlite"_s);
}

class Session
{
public:
    Session(unsigned seed)
        : m_random(seed)
        , m_seed(seed)
    {
        Environment env = testEnvironment();
        env.ask = [this](QWidget *, const QString &, const QString &) {
            ++m_asked;
            return m_answerYes;
        };
        env.journalPath = journalFile();
        m_window = makeMainWindow(env);
        m_window->show();
    }

    // Runs the session; returns an empty text or what went wrong, where.
    QString run()
    {
        for (m_step = 0; m_step < ActionsPerSession; ++m_step) {
            m_fault.clear();
            const QString action = act();
            QString fault = m_fault.isEmpty() ? check() : m_fault;
            if (fault.isEmpty() && pick(4) == 0) {
                m_window->steps().runPass();
                fault = check();
            }
            if (!fault.isEmpty())
                return u"seed %1, step %2 (%3): %4"_s.arg(m_seed).arg(m_step).arg(action, fault);
        }
        return {};
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    ChartSheet &sheet() { return m_window->sheet(); }
    QAction *action(const QString &name) { return m_window->findChild<QAction *>(name); }

    // One action, chosen with the weights of a user at work: mostly typing and ticking.
    QString act()
    {
        ChartSheet &s = sheet();
        QList<int> enabledLines;
        for (int n = 1; n <= 6; ++n)
            if (s.Text(n)->isEnabled())
                enabledLines << n;
        const int roll = pick(100);
        const int kind = roll < 40   ? 0
                         : roll < 48 ? 3
                         : roll < 68 ? 4
                         : roll < 71 ? 6
                         : roll < 74 ? 7
                         : roll < 80 ? 8
                         : roll < 83 ? 9
                         : roll < 87 ? 11
                                     : 10;
        const int line = kind <= 3 && !enabledLines.isEmpty() ? enabledLines[pick(enabledLines.size())] : pick(6) + 1;
        switch (kind) {
        case 0: {
            LineField *field = s.Text(line);
            if (!field->isEnabled())
                return u"nothing"_s;
            field->setCursorPosition(pick(field->text().size() + 1));
            const int key = pick(2) ? (pick(2) ? Qt::Key_0 : Qt::Key_1) : Keys[pick(Keys.size())];
            QTest::keyClick(field, Qt::Key(key));
            return u"key %1 into Text%2"_s.arg(key).arg(line);
        }
        case 3: {
            LineField *field = s.Text(line);
            if (!field->isEnabled())
                return u"nothing"_s;
            const QString text = PasteTexts[pick(PasteTexts.size())];
            QApplication::clipboard()->setText(text);
            if (pick(2))
                field->selectAll();
            field->paste();
            return u"paste \"%1\" into Text%2"_s.arg(text).arg(line);
        }
        case 4: {
            QCheckBox *box = pick(2) ? s.co(line) : s.cx(line);
            box->click(); // does nothing on a disabled box
            return u"click %1"_s.arg(box->objectName());
        }
        case 6:
            s.dayStems[pick(10)]->click();
            return u"day stem"_s;
        case 7: {
            const QStringList builds{u"zi"_s, u"hai"_s, u"chen"_s, u"jia"_s, u"riwu"_s, u"haihai"_s};
            action(builds[pick(builds.size())])->trigger();
            return u"build"_s;
        }
        case 8: {
            QAction *mark = action((pick(2) ? u"yao%1"_s : u"F%1"_s).arg(line));
            if (mark->isEnabled())
                mark->trigger();
            return u"mark %1"_s.arg(mark->objectName());
        }
        case 9: {
            if (pick(4) == 0)
                return journalAction();
            if (pick(3) == 0) {
                // A cast put back on the sheet through the handlers reads back the same.
                const CastInput before = m_window->document().cast();
                m_window->loadCast(before);
                if (m_window->document().cast() != before)
                    m_fault = u"the reloaded cast differs"_s;
                return u"reload the cast"_s;
            }
            m_answerYes = pick(2);
            const bool clear = pick(2);
            clear ? m_window->qc_Click() : m_window->news_Click();
            const QString fault = m_answerYes ? checkEmpty() : QString();
            if (!fault.isEmpty())
                m_fault = u"%1 answered Yes left %2"_s.arg(clear ? u"Clear data"_s : u"New"_s, fault);
            return (clear ? u"Clear data answered %1"_s : u"New answered %1"_s).arg(m_answerYes ? u"Yes"_s : u"No"_s);
        }
        case 11:
            return handCast();
        default: {
            ChartSteps &st = m_window->steps();
            switch (pick(7)) {
            case 0:
                if (st.isOn(st.TimerBengua))
                    st.stepTimerBengua();
                return u"tick TimerBengua"_s;
            case 1:
                if (st.isOn(st.Tsy))
                    st.stepTsy();
                return u"tick Tsy"_s;
            case 2:
                if (st.isOn(st.TimerSBG))
                    st.stepTimerSBG();
                return u"tick TimerSBG"_s;
            case 3:
                if (st.isOn(st.TimerSBG2))
                    st.stepTimerSBG2();
                return u"tick TimerSBG2"_s;
            case 4:
                if (st.isOn(st.Timerai))
                    st.stepTimerai();
                return u"tick Timerai"_s;
            default:
                st.stepTX(line);
                return u"tick TX%1"_s.arg(line);
            }
        }
        }
    }

    // One of the hand casts with input good or bad, confirmed or dismissed.
    QString handCast()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // dialogs closed before
        const QStringList numbers{u""_s,          u"0"_s,   u"1"_s,  u"8"_s,   u"16"_s, u"99999999"_s,
                                  u"100000000"_s, u"12a"_s, u"３"_s, u" 7 "_s, u"-3"_s, u"1.5"_s};
        QDialog *dialog = nullptr;
        QString done;
        switch (pick(3)) {
        case 0: {
            action(u"yingbi"_s)->trigger();
            auto *d = m_window->findChild<CoinDialog *>(u"Yingbi"_s);
            QString typed;
            for (int i = pick(8); i > 0; --i)
                typed += QChar(u"0123012a9"[pick(9)]);
            if (pick(4) == 0)
                d->swapFaces->click();
            QTest::keyClicks(d->digits, typed);
            if (pick(3) > 0)
                d->ok->click();
            dialog = d;
            done = u"coins \"%1\""_s.arg(typed);
            break;
        }
        case 1: {
            m_window->setCastMoment(
                chinaTime(QDate(1899 + pick(204), 1 + pick(12), 1 + pick(28)), QTime(pick(24), pick(60))));
            action(u"shijian"_s)->trigger();
            auto *d = m_window->findChild<TimeCastDialog *>(u"Shijian"_s);
            if (pick(2))
                d->lichunYear->click();
            if (pick(3) > 0)
                d->ok->click();
            dialog = d;
            done = u"time cast at %1"_s.arg(m_window->castMoment().toString(Qt::ISODate));
            break;
        }
        default: {
            action(u"shuzi"_s)->trigger();
            auto *d = m_window->findChild<NumberDialog *>(u"Shuzi"_s);
            const QString first = numbers[pick(numbers.size())];
            const QString second = pick(2) ? numbers[pick(numbers.size())] : QString::number(1 + pick(99999999));
            d->number1->setText(first);
            d->number2->setText(second);
            if (pick(2))
                d->addHour->click();
            if (pick(3) > 0)
                d->ok->click();
            dialog = d;
            done = u"numbers \"%1\" \"%2\""_s.arg(first, second);
            break;
        }
        }
        if (dialog && dialog->isVisible())
            QTest::keyClick(dialog, Qt::Key_Escape);
        return done;
    }

    // Saves the chart on the sheet to the journal, or opens a saved case again
    // (asked first when another chart stands, answered Yes or No).
    QString journalAction()
    {
        ChartSheet &s = sheet();
        Journal *journal = m_window->journal();
        if (!journal)
            return m_fault = u"no journal"_s;
        QAction *baocun = action(u"baocun"_s);
        if (baocun->isEnabled() && linesStand(m_window->document().cast()) && pick(2)) {
            const std::optional<qint64> before = journal->count();
            s.TextWHS->setText(JournalTexts[pick(JournalTexts.size())]);
            const QString notes = JournalTexts[pick(JournalTexts.size())];
            auto answer = answerNextModal(QMessageBox::Cancel, [notes](QWidget *d) {
                d->findChild<QPlainTextEdit *>(u"notes"_s)->setPlainText(notes);
                d->findChild<QPushButton *>(u"save"_s)->click();
            });
            baocun->trigger();
            if (!answer->seen || !before || journal->count() != *before + 1)
                m_fault = u"the chart was not saved"_s;
            return u"save to the journal"_s;
        }
        action(u"anliku"_s)->trigger();
        auto *anli = m_window->findChild<Anli *>(u"Anli"_s);
        QTableView *table = anli->findChild<QTableView *>(u"cases"_s);
        if (table->model()->rowCount() == 0)
            return u"open an empty journal"_s;
        table->setCurrentIndex(table->model()->index(pick(table->model()->rowCount()), 0));
        const std::optional<CaseRecord> c = anli->currentCase();
        const CastInput before = m_window->document().cast();
        m_answerYes = pick(2);
        m_asked = 0;
        anli->reopenCurrent();
        if (m_asked == 0 || m_answerYes) {
            if (!c || m_window->document().cast() != c->cast || s.TextWHS->text() != c->question
                || s.Combo1->currentText() != sexText(c->sex))
                m_fault = u"the reopened case differs from the saved one"_s;
        } else if (m_window->document().cast() != before) {
            m_fault = u"opening a case answered No changed the sheet"_s;
        }
        return u"reopen a case, %1"_s.arg(m_asked == 0 ? u"not asked"_s : m_answerYes ? u"Yes"_s : u"No"_s);
    }

    // The sheet right after New or Clear data answered Yes.
    QString checkEmpty()
    {
        ChartSheet &s = sheet();
        for (int n = 1; n <= 6; ++n) {
            if (!s.Text(n)->text().isEmpty() || s.Text(n)->isEnabled() != (n == 1))
                return s.Text(n)->objectName();
            if (s.co(n)->isChecked() || s.co(n)->isEnabled() || s.cx(n)->isChecked() || s.cx(n)->isEnabled())
                return u"box of line %1"_s.arg(n);
            if (!s.yan(n)->isHidden() || !s.yin(n)->isHidden() || !s.Byan(n)->isHidden() || !s.Byin(n)->isHidden())
                return u"glyph of line %1"_s.arg(n);
            for (const QLabel *l : {s.sy(n), s.Bsy(n), s.LSY(n), s.Lliuqin(n), s.BGLiuqin(n), s.Lyao(n), s.L(n)})
                if (!l->text().isEmpty())
                    return l->objectName();
            if (!s.Lyongshen(n)->isHidden() || !s.BY(n).isEmpty() || !s.X(n).isEmpty())
                return u"mark or working field of line %1"_s.arg(n);
        }
        if (!s.bengua->text().isEmpty() || !s.biangua->text().isEmpty() || !s.XX.isEmpty())
            return u"hexagram texts"_s;
        if (action(u"jietutu"_s)->isEnabled() || action(u"yao1"_s)->isEnabled() || action(u"F6"_s)->isEnabled())
            return u"chart commands enabled"_s;
        return {};
    }

    QString check()
    {
        ChartSheet &s = sheet();
        int marksShown = 0;
        QString key;
        bool complete = true;
        for (int n = 1; n <= 6; ++n) {
            const QString value = s.Text(n)->text();
            if (value.size() > 1)
                return u"Text%1 holds \"%2\""_s.arg(n).arg(value);
            for (const QLabel *l : {s.LSY(n), s.Bsy(n)})
                if (!l->text().isEmpty() && l->text() != u"世" && l->text() != u"应")
                    return u"%1 holds \"%2\""_s.arg(l->objectName(), l->text());
            if (!s.Lyongshen(n)->isHidden()) {
                ++marksShown;
                if (!s.Lyongshen(n)->font().bold())
                    return u"mark %1 not bold"_s.arg(n);
            }
            if (s.co(n)->isChecked() && s.cx(n)->isChecked())
                return u"both boxes of line %1 ticked"_s.arg(n);
            const bool isValue = value == u"0" || value == u"1";
            complete = complete && isValue;
            key += value;
            if (isValue) {
                const bool moving = s.co(n)->isChecked() || s.cx(n)->isChecked();
                const QString changed = QString(QChar(changedValue(value[0].unicode(), moving)));
                if (s.BY(n) != changed)
                    return u"BY%1 is \"%2\" for line \"%3\"%4"_s.arg(n).arg(s.BY(n), value,
                                                                            moving ? u" moving"_s : QString());
                if (s.yan(n)->isHidden() == (value == u"1") || s.yin(n)->isHidden() == (value == u"0"))
                    return u"original glyph of line %1"_s.arg(n);
                if (s.Byan(n)->isHidden() == (changed == u"1") || s.Byin(n)->isHidden() == (changed == u"0"))
                    return u"changed glyph of line %1"_s.arg(n);
                if (s.Lyao(n)->text() != qs(lineName(n, value[0].unicode())))
                    return u"name of line %1"_s.arg(n);
            }
        }
        if (marksShown > 1)
            return u"%1 marks shown"_s.arg(marksShown);

        ChartSteps &st = m_window->steps();
        const bool stepsOn = st.isOn(st.TimerBengua) && st.isOn(st.Tsy) && st.isOn(st.TimerSBG2) && st.isOn(st.Timerai);
        if (!complete || !stepsOn)
            return {};
        // Settled with six lines, the sheet shows the Chart of what it holds.
        const Chart chart = chartOf(m_window->document().cast());
        if (!chart.original || s.bengua->text() != qs(chart.original->text))
            return u"bengua \"%1\" for %2"_s.arg(s.bengua->text(), key);
        if (!chart.changed || s.biangua->text() != qs(chart.changed->text))
            return u"biangua \"%1\" for %2"_s.arg(s.biangua->text(), key);
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &l = chart.line(n);
            if (s.LSY(n)->text() != qs(roleName(l.role))
                || s.Lliuqin(n)->text() != qs(relativeLabel(l.relative, l.branch)))
                return u"original chart of line %1"_s.arg(n);
            if (s.Bsy(n)->text() != qs(roleName(l.changedRole))
                || s.BGLiuqin(n)->text() != qs(branchElementLabel(l.changedBranch)))
                return u"changed chart of line %1"_s.arg(n);
            if (s.L(n)->text() != qs(relativeName(l.changedRelative)))
                return u"relative L%1 \"%2\""_s.arg(n).arg(s.L(n)->text());
        }
        return {};
    }

    std::mt19937 m_random;
    QString m_fault; // what the last action itself found wrong
    unsigned m_seed;
    int m_step = 0;
    bool m_answerYes = false;
    int m_asked = 0;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace

class TestRandomUse : public QObject
{
    Q_OBJECT
private slots:

    void randomSessions()
    {
        const QByteArray replay = qgetenv("LOTGRID_RANDOM_SEED");
        const unsigned first = replay.isEmpty() ? 1 : replay.toUInt();
        const int sessions = !replay.isEmpty() ? 1 : qEnvironmentVariableIntValue("LOTGRID_RANDOM_SESSIONS");
        const int seconds = qEnvironmentVariableIsSet("LOTGRID_RANDOM_SECONDS")
                                ? qEnvironmentVariableIntValue("LOTGRID_RANDOM_SECONDS")
                                : DefaultSeconds;
        QElapsedTimer clock;
        clock.start();
        int played = 0;
        while (sessions > 0 ? played < sessions : played == 0 || clock.elapsed() < seconds * 1000LL) {
            const unsigned seed = first + unsigned(played);
            qInfo("session %d: seed %u", played + 1, seed); // before it plays, for a crash to name it
            Session session(seed);
            const QString fault = session.run();
            ++played;
            QVERIFY2(fault.isEmpty(), qPrintable(fault + u" — replay with LOTGRID_RANDOM_SEED"_s));
        }
        qInfo("%d sessions played in %lld s, seeds %u to %u", played, clock.elapsed() / 1000, first,
              first + unsigned(played) - 1);
    }
};

QTEST_MAIN(TestRandomUse)
#include "tst_randomuse.moc"
