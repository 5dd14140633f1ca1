// The 案例库 window and the save dialog on a journal in a temporary folder:
// names of every control, the table newest first and read a page at a time,
// filtering as one types, by verdict and by date, the follow-up saved on the
// spot, delete after asking, reopening by Enter and double-click, export and
// import through the buttons (with its progress, its cancel and the cases that
// differ), a failed write told without losing the text, very long notes
// folded, and text from the user or a file never read as markup. Every export,
// on a device that takes no more (a limit on the size of this process's files:
// the failing device that needs no mount), says why in the system's words and
// leaves the file there as it was. 验证统计's CSV neutralises formulas and
// quotes as RFC 4180 does; a tag of 100,000 characters is shown cut.
#include "common/caserecords.h"
#include "common/modal.h"
#include "guapan/guapanexport.h"
#include "journal/anli.h"
#include "journal/casejson.h"
#include "journal/savecasedialog.h"
#include "journal/tongji.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <ranges>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace lotgrid;
using namespace Qt::StringLiterals;

namespace {

struct Said {
    QStringList asked;
    QStringList warnings;
    QStringList notices;
    bool answer = true;
    QString file;
    QString chooser; // the title, proposed name and filter the last file chooser was given
};

JournalPrompts prompts(const std::shared_ptr<Said> &said)
{
    JournalPrompts p;
    p.ask = [said](QWidget *, const QString &, const QString &text) {
        said->asked << text;
        return said->answer;
    };
    p.warn = [said](QWidget *, const QString &, const QString &text) { said->warnings << text; };
    p.inform = [said](QWidget *, const QString &, const QString &text) { said->notices << text; };
    p.exportFile = [said](QWidget *, const QString &title, const QString &proposed, const QString &filter) {
        said->chooser = title + u'|' + proposed + u'|' + filter;
        return said->file;
    };
    p.importFile = [said](QWidget *, const QString &) { return said->file; };
    return p;
}

// Types text key by key, as an input method hands characters to a field.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QStringList column(const QAbstractItemModel *model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

} // namespace

class TestAnli : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void namesAndTable();
    void pagesAsItScrolls();
    void filters();
    void followUpSavedOnTheSpot();
    void deleteAsks();
    void reopenByEnterAndDoubleClick();
    void exportAndImportButtons();
    void failedWriteKeepsText();
    void saveDialog();
    void saveDialogKeepsTextWhenSaveFails();
    void userTextIsPlainText_data();
    void userTextIsPlainText();
    void longNotesFolded();
    void importProgressAndCancel();
    void importDifferingAsks();
    void fullDisk_data();
    void fullDisk();
    void statisticsCsvAndLongTag();

private:
    Anli *window() { return m_window.get(); }
    template<typename T>
    T *field(const QString &name)
    {
        T *w = m_window->findChild<T *>(name);
        if (!w)
            qFatal("no field %s", qPrintable(name));
        return w;
    }
    void selectRow(int row)
    {
        QTableView *table = field<QTableView>(u"cases"_s);
        table->setCurrentIndex(table->model()->index(row, 0));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Journal> m_journal;
    std::shared_ptr<Said> m_said;
    std::unique_ptr<Anli> m_window;
};

void TestAnli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_journal = std::make_unique<Journal>(m_dir->filePath(u"journal.sqlite"_s), JournalOptions{200, {}, true});
    QVERIFY(m_journal->open());
    // Saved out of order; the table runs by the moment of the cast.
    QVERIFY(m_journal->save(makeCase(u"111111"_s, u"100000"_s, u"问财运"_s, {{2026, 3, 1}, 9, 5})));
    QVERIFY(m_journal->save(makeCase(u"000000"_s, u"000001"_s, u"问出行"_s, {{2026, 5, 1}, 21, 0})));
    CaseRecord exam = makeCase(u"101010"_s, u"000000"_s, u"问考试"_s, {{2026, 4, 1}, 8, 0});
    exam.verdict = Verdict::Fulfilled;
    QVERIFY(m_journal->save(exam));
    m_said = std::make_shared<Said>();
    m_window = std::make_unique<Anli>(m_journal.get(), prompts(m_said));
    m_window->show();
}

void TestAnli::cleanup()
{
    m_window.reset();
    m_journal.reset();
    m_dir.reset();
}

void TestAnli::namesAndTable()
{
    QCOMPARE(window()->objectName(), u"Anli"_s);
    QCOMPARE(window()->windowTitle(), u"案例库"_s);
    for (const QString &name :
         {u"search"_s, u"dateFilter"_s, u"dateFrom"_s, u"dateTo"_s, u"verdictFilter"_s, u"cases"_s, u"detail"_s,
          u"notes"_s, u"outcome"_s, u"verdict"_s, u"tags"_s, u"saveDetail"_s, u"reopen"_s, u"deleteCases"_s,
          u"exportAll"_s, u"exportSelected"_s, u"importCases"_s, u"status"_s})
        QVERIFY2(window()->findChild<QWidget *>(name), qPrintable(name));
    const QAbstractItemModel *model = field<QTableView>(u"cases"_s)->model();
    QCOMPARE(column(model, CaseListModel::MomentColumn),
             (QStringList{u"2026-05-01 21:00"_s, u"2026-04-01 08:00"_s, u"2026-03-01 09:05"_s}));
    QCOMPARE(column(model, CaseListModel::QuestionColumn), (QStringList{u"问出行"_s, u"问考试"_s, u"问财运"_s}));
    // 坤之剥, 既济 without a moving line, 乾之姤.
    QCOMPARE(column(model, CaseListModel::HexagramsColumn),
             (QStringList{u"坤为地 → 山地剥"_s, u"水火既济"_s, u"乾为天 → 天风姤"_s}));
    QCOMPARE(column(model, CaseListModel::VerdictColumn), (QStringList{u"未定"_s, u"应验"_s, u"未定"_s}));
    QCOMPARE(field<QLabel>(u"status"_s)->text(), u"案例库共 3 个案例"_s);
}

void TestAnli::pagesAsItScrolls()
{
    for (int i = 0; i < 250; ++i)
        QVERIFY(m_journal->save(makeCase(u"111000"_s, u"000000"_s, u"批量 %1"_s.arg(i), {{2020, 1, 1}, 0, i % 60})));
    field<QLineEdit>(u"search"_s)->setText(u"批量"_s);
    CaseListModel *model = window()->model();
    QCOMPARE(model->rowCount(), CaseListModel::PageSize);
    QVERIFY(model->canFetchMore({}));
    model->fetchMore({});
    model->fetchMore({});
    QCOMPARE(model->rowCount(), 250);
    QVERIFY(!model->canFetchMore({}));
    QStringList seen = column(model, CaseListModel::QuestionColumn);
    seen.removeDuplicates();
    QCOMPARE(seen.size(), 250);
}

void TestAnli::filters()
{
    QLineEdit *search = field<QLineEdit>(u"search"_s);
    const QAbstractItemModel *model = window()->model();
    typeText(search, u"天风"_s); // a hexagram name, typed key by key
    QCOMPARE(column(model, CaseListModel::QuestionColumn), QStringList{u"问财运"_s});
    search->clear();
    QCOMPARE(model->rowCount(), 3);

    QComboBox *verdict = field<QComboBox>(u"verdictFilter"_s);
    verdict->setCurrentIndex(verdict->findText(u"应验"_s));
    QCOMPARE(column(model, CaseListModel::QuestionColumn), QStringList{u"问考试"_s});
    verdict->setCurrentIndex(verdict->findText(u"未定"_s));
    QCOMPARE(column(model, CaseListModel::QuestionColumn), (QStringList{u"问出行"_s, u"问财运"_s}));
    verdict->setCurrentIndex(0);

    field<QDateEdit>(u"dateFrom"_s)->setDate(QDate(2026, 3, 2));
    field<QDateEdit>(u"dateTo"_s)->setDate(QDate(2026, 5, 1));
    QCOMPARE(model->rowCount(), 3); // the dates count only when ticked
    field<QCheckBox>(u"dateFilter"_s)->setChecked(true);
    QCOMPARE(column(model, CaseListModel::QuestionColumn), (QStringList{u"问出行"_s, u"问考试"_s}));
    field<QDateEdit>(u"dateTo"_s)->setDate(QDate(2026, 4, 30));
    QCOMPARE(column(model, CaseListModel::QuestionColumn), QStringList{u"问考试"_s});
}

void TestAnli::followUpSavedOnTheSpot()
{
    selectRow(1);
    QVERIFY(field<QLabel>(u"detail"_s)->text().contains(u"问考试"_s));
    const qint64 id = window()->currentCase()->id;
    typeText(field<QPlainTextEdit>(u"notes"_s), u"子孙持世"_s);
    typeText(field<QLineEdit>(u"tags"_s), u"学业，考试"_s);
    QTest::mouseClick(field<QPushButton>(u"saveDetail"_s), Qt::LeftButton);
    QCOMPARE(m_journal->find(id)->notes, u"子孙持世"_s);
    QCOMPARE(m_journal->find(id)->tags, (QStringList{u"学业"_s, u"考试"_s}));

    // A verdict is written as soon as it is picked.
    QComboBox *verdict = field<QComboBox>(u"verdict"_s);
    verdict->setCurrentIndex(verdict->findText(u"不验"_s));
    QCOMPARE(m_journal->find(id)->verdict, Verdict::Failed);
    QCOMPARE(window()->model()->index(1, CaseListModel::VerdictColumn).data().toString(), u"不验"_s);

    // Texts typed and left are written when another case is chosen.
    typeText(field<QPlainTextEdit>(u"outcome"_s), u"差两分"_s);
    selectRow(0);
    QCOMPARE(m_journal->find(id)->outcome, u"差两分"_s);
    QVERIFY(field<QLabel>(u"detail"_s)->text().contains(u"问出行"_s));
    QCOMPARE(field<QPlainTextEdit>(u"outcome"_s)->toPlainText(), QString());
    // And when the window closes.
    typeText(field<QPlainTextEdit>(u"notes"_s), u"临别"_s);
    const qint64 first = window()->currentCase()->id;
    window()->close();
    QCOMPARE(m_journal->find(first)->notes, u"临别"_s);
    QVERIFY(m_said->warnings.isEmpty());
}

void TestAnli::deleteAsks()
{
    selectRow(2);
    m_said->answer = false;
    QTest::mouseClick(field<QPushButton>(u"deleteCases"_s), Qt::LeftButton);
    QCOMPARE(m_said->asked.size(), 1);
    QVERIFY(m_said->asked.front().contains(u"问财运"_s));
    QCOMPARE(*m_journal->count(), 3);

    m_said->answer = true;
    QTest::mouseClick(field<QPushButton>(u"deleteCases"_s), Qt::LeftButton);
    QCOMPARE(*m_journal->count(), 2);
    QCOMPARE(column(window()->model(), CaseListModel::QuestionColumn), (QStringList{u"问出行"_s, u"问考试"_s}));

    QTableView *table = field<QTableView>(u"cases"_s);
    table->selectAll();
    QTest::mouseClick(field<QPushButton>(u"deleteCases"_s), Qt::LeftButton);
    QVERIFY(m_said->asked.last().contains(u"2 个案例"_s));
    QCOMPARE(*m_journal->count(), 0);
    QCOMPARE(window()->model()->rowCount(), 0);
}

void TestAnli::reopenByEnterAndDoubleClick()
{
    QSignalSpy reopened(window(), &Anli::reopenRequested);
    QTableView *table = field<QTableView>(u"cases"_s);
    selectRow(1);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(reopened.size(), 1);
    CaseRecord c = reopened.at(0).at(0).value<CaseRecord>();
    QCOMPARE(c, *m_journal->find(c.id));
    QCOMPARE(c.question, u"问考试"_s);

    const QRect cell = table->visualRect(table->model()->index(2, CaseListModel::QuestionColumn));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(reopened.size() >= 2);
    QCOMPARE(reopened.last().at(0).value<CaseRecord>().question, u"问财运"_s);
}

void TestAnli::exportAndImportButtons()
{
    m_said->file = m_dir->filePath(u"out.json"_s);
    window()->setChartJson([](const CastInput &c) { return "{\"lines\": \"" + lineKey(c).toStdString() + "\"}"; });
    QTest::mouseClick(field<QPushButton>(u"exportAll"_s), Qt::LeftButton);
    QVERIFY(QFile::exists(m_said->file));

    Journal other(m_dir->filePath(u"other.sqlite"_s), JournalOptions{});
    QVERIFY(other.open());
    auto said = std::make_shared<Said>();
    said->file = m_said->file;
    Anli second(&other, prompts(said));
    QTest::mouseClick(second.findChild<QPushButton *>(u"importCases"_s), Qt::LeftButton);
    QCOMPARE(said->notices, QStringList{u"导入完成：新增 3 个案例，跳过 0 个已在案例库中的案例。"_s});
    QCOMPARE(second.model()->rowCount(), 3);
    QTest::mouseClick(second.findChild<QPushButton *>(u"importCases"_s), Qt::LeftButton);
    QCOMPARE(said->notices.last(), u"导入完成：新增 0 个案例，跳过 3 个已在案例库中的案例。"_s);

    // The selected case only.
    selectRow(0);
    QTest::mouseClick(field<QPushButton>(u"exportSelected"_s), Qt::LeftButton);
    Journal third(m_dir->filePath(u"third.sqlite"_s), JournalOptions{});
    QVERIFY(third.open());
    QCOMPARE(third.importCases(m_said->file)->added, 1);
    QCOMPARE(third.list({}, {}, 10)->front().question, u"问出行"_s);

    // A bad file: told, nothing imported.
    QFile bad(m_dir->filePath(u"bad.json"_s));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("{");
    bad.close();
    said->file = bad.fileName();
    QTest::mouseClick(second.findChild<QPushButton *>(u"importCases"_s), Qt::LeftButton);
    QCOMPARE(said->warnings.size(), 1);
    QVERIFY(said->warnings.front().contains(u"不是 JSON 文件"_s));
    QCOMPARE(second.model()->rowCount(), 3);
    QCOMPARE(second.findChild<QLabel *>(u"status"_s)->text(), u"导入失败，没有导入任何案例"_s);
}

void TestAnli::failedWriteKeepsText()
{
    selectRow(0);
    const qint64 id = window()->currentCase()->id;
    // Another connection holds the write lock longer than the window's journal waits.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
        db.setDatabaseName(m_journal->path());
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(u"BEGIN IMMEDIATE"_s));
        typeText(field<QPlainTextEdit>(u"notes"_s), u"写不进去"_s);
        QTest::mouseClick(field<QPushButton>(u"saveDetail"_s), Qt::LeftButton);
        QCOMPARE(m_said->warnings.size(), 1);
        QVERIFY(m_said->warnings.front().contains(u"修改未能保存"_s));
        QVERIFY(m_said->warnings.front().contains(u"占用"_s));
        QCOMPARE(field<QLabel>(u"status"_s)->text(), u"修改未能保存"_s);
        QCOMPARE(field<QPlainTextEdit>(u"notes"_s)->toPlainText(), u"写不进去"_s);
        QVERIFY(q.exec(u"ROLLBACK"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"other"_s);
    QTest::mouseClick(field<QPushButton>(u"saveDetail"_s), Qt::LeftButton);
    QCOMPARE(m_journal->find(id)->notes, u"写不进去"_s);
    QCOMPARE(field<QLabel>(u"status"_s)->text(), u"已保存"_s);
}

void TestAnli::saveDialog()
{
    CaseRecord draft = makeCase(u"111111"_s, u"100000"_s, u"问婚姻"_s, {{2026, 6, 1}, 10, 0});
    draft.sex = Sex::Male;
    {
        SaveCaseDialog dialog(draft);
        QCOMPARE(dialog.objectName(), u"SaveCase"_s);
        QCOMPARE(dialog.windowTitle(), u"保存到案例库"_s);
        QCOMPARE(dialog.findChild<QLabel *>(u"question"_s)->text(), u"问婚姻"_s);
        QCOMPARE(dialog.findChild<QLabel *>(u"hexagrams"_s)->text(), u"乾为天 → 天风姤"_s);
        typeText(dialog.findChild<QPlainTextEdit *>(u"notes"_s), u"应爻发动"_s);
        typeText(dialog.findChild<QLineEdit *>(u"tags"_s), u"婚姻 感情"_s);
        CaseRecord expected = draft;
        expected.notes = u"应爻发动"_s;
        expected.tags = {u"婚姻"_s, u"感情"_s};
        QCOMPARE(dialog.record(), expected);
    }

    auto answer = answerNextModal(QMessageBox::Cancel, [](QWidget *modal) {
        modal->findChild<QPlainTextEdit *>(u"notes"_s)->setPlainText(u"存下"_s);
        modal->findChild<QPushButton *>(u"save"_s)->click();
    });
    const std::optional<CaseRecord> saved = saveCaseInteractively(nullptr, *m_journal, draft, prompts(m_said));
    QVERIFY(answer->seen);
    QVERIFY(saved);
    QCOMPARE(m_journal->find(saved->id)->notes, u"存下"_s);
    QCOMPARE(*m_journal->count(), 4);

    answer = answerNextModal(QMessageBox::Cancel,
                             [](QWidget *modal) { modal->findChild<QPushButton *>(u"cancel"_s)->click(); });
    QVERIFY(!saveCaseInteractively(nullptr, *m_journal, draft, prompts(m_said)));
    QCOMPARE(*m_journal->count(), 4);

    // Lines that do not stand: refused and told, never reported saved; the
    // dialog stays until cancelled.
    CaseRecord broken = draft;
    broken.cast.line(3).value = 0;
    answer = answerNextModal(QMessageBox::Cancel, [this](QWidget *modal) {
        modal->findChild<QPushButton *>(u"save"_s)->click();
        QCOMPARE(m_said->warnings.size(), 1);
        QVERIFY(modal->isVisible());
        modal->findChild<QPushButton *>(u"cancel"_s)->click();
    });
    QVERIFY(!saveCaseInteractively(nullptr, *m_journal, broken, prompts(m_said)));
    QVERIFY(answer->seen);
    QCOMPARE(m_said->warnings.size(), 1);
    QVERIFY(m_said->warnings.front().contains(u"六爻不全"_s));
    QCOMPARE(*m_journal->count(), 4);
}

void TestAnli::saveDialogKeepsTextWhenSaveFails()
{
    const CaseRecord draft = makeCase(u"111111"_s, u"000000"_s, u"锁住时保存"_s, {{2026, 6, 2}, 10, 0});
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"locker"_s);
    db.setDatabaseName(m_journal->path());
    QVERIFY(db.open());
    auto lock = std::make_unique<QSqlQuery>(db);
    QVERIFY(lock->exec(u"BEGIN IMMEDIATE"_s));
    bool stayed = false;
    auto answer = answerNextModal(QMessageBox::Cancel, [&](QWidget *dialog) {
        dialog->findChild<QPlainTextEdit *>(u"notes"_s)->setPlainText(u"长长的断语"_s);
        dialog->findChild<QLineEdit *>(u"tags"_s)->setText(u"求财"_s);
        dialog->findChild<QPushButton *>(u"save"_s)->click(); // the journal is locked
        stayed = dialog->isVisible()
                 && dialog->findChild<QPlainTextEdit *>(u"notes"_s)->toPlainText() == u"长长的断语"_s
                 && dialog->findChild<QLineEdit *>(u"tags"_s)->text() == u"求财"_s;
        lock->exec(u"ROLLBACK"_s);
        dialog->findChild<QPushButton *>(u"save"_s)->click();
    });
    const std::optional<CaseRecord> saved = saveCaseInteractively(nullptr, *m_journal, draft, prompts(m_said));
    lock.reset();
    db.close();
    db = {};
    QSqlDatabase::removeDatabase(u"locker"_s);
    QVERIFY(answer->seen);
    QVERIFY(stayed);
    QCOMPARE(m_said->warnings.size(), 1);
    QVERIFY(m_said->warnings.front().contains(u"占用"_s));
    QVERIFY(saved);
    QCOMPARE(m_journal->find(saved->id)->notes, u"长长的断语"_s);
    QCOMPARE(m_journal->find(saved->id)->tags, QStringList{u"求财"_s});
}

void TestAnli::userTextIsPlainText_data()
{
    // Markup that Qt would act on if it read it: load a device without end, wait on a pipe.
    QTest::addColumn<QString>("question");
    QTest::newRow("an image from /dev/zero") << u"<img src=\"/dev/zero\">"_s;
    QTest::newRow("an image from a pipe") << u"问<img src=\"/tmp/lotgrid-fifo\">事"_s;
    QTest::newRow("bold and an entity") << u"<b>粗</b> &amp; 细"_s;
}

void TestAnli::userTextIsPlainText()
{
    QFETCH(QString, question);
    const CaseRecord c = *m_journal->save(makeCase(u"010010"_s, u"000000"_s, question, {{2026, 12, 1}, 9, 0}));
    window()->applyFilter();
    selectRow(0);
    QCOMPARE(window()->currentCase()->question, question);
    auto *detail = field<QLabel>(u"detail"_s);
    QCOMPARE(detail->textFormat(), Qt::PlainText);
    QVERIFY(detail->text().contains(question));
    QCOMPARE(field<QLabel>(u"status"_s)->textFormat(), Qt::PlainText);
    // The tooltip is rich text that shows the question as typed.
    QTextDocument tip;
    tip.setHtml(window()->model()->index(0, CaseListModel::QuestionColumn).data(Qt::ToolTipRole).toString());
    QCOMPARE(tip.toPlainText(), question);
    {
        SaveCaseDialog dialog(c);
        QCOMPARE(dialog.findChild<QLabel *>(u"question"_s)->textFormat(), Qt::PlainText);
        QCOMPARE(dialog.findChild<QLabel *>(u"question"_s)->text(), question);
    }
    // Deleting asks with the question quoted, in the program's own message boxes.
    m_said->answer = false;
    QTest::mouseClick(field<QPushButton>(u"deleteCases"_s), Qt::LeftButton);
    QVERIFY(m_said->asked.last().contains(question));
    const JournalPrompts production = JournalPrompts::production();
    auto answer = answerNextModal(QMessageBox::No);
    QVERIFY(!production.ask(window(), u"案例库"_s, m_said->asked.last()));
    QCOMPARE(answer->textFormat, Qt::PlainText);
    QCOMPARE(answer->text, m_said->asked.last());
    answer = answerNextModal(QMessageBox::Ok);
    production.warn(window(), u"案例库"_s, question);
    QCOMPARE(answer->textFormat, Qt::PlainText);
    answer = answerNextModal(QMessageBox::Ok);
    production.inform(window(), u"案例库"_s, question);
    QCOMPARE(answer->textFormat, Qt::PlainText);
}

void TestAnli::longNotesFolded()
{
    CaseRecord c = makeCase(u"111000"_s, u"000000"_s, u"长备注"_s, {{2026, 12, 2}, 9, 0});
    c.notes = QString(300000, u'x'); // one line that cannot break
    c = *m_journal->save(c);
    window()->applyFilter();
    selectRow(0);
    auto *notes = field<QPlainTextEdit>(u"notes"_s);
    auto *showAll = field<QPushButton>(u"showAllNotes"_s);
    QVERIFY(notes->toPlainText().size() <= Anli::FoldedLength + 1);
    QVERIFY(notes->isReadOnly());
    QVERIFY(showAll->isVisible());
    QVERIFY(!field<QPushButton>(u"showAllOutcome"_s)->isVisible());
    // Another field edited and saved: the whole note stays as it was.
    typeText(field<QLineEdit>(u"tags"_s), u"长"_s);
    QTest::mouseClick(field<QPushButton>(u"saveDetail"_s), Qt::LeftButton);
    QCOMPARE(m_journal->find(c.id)->notes, c.notes);
    QCOMPARE(m_journal->find(c.id)->tags, QStringList{u"长"_s});
    // The whole text on demand, then editable.
    QTest::mouseClick(showAll, Qt::LeftButton);
    QCOMPARE(notes->toPlainText(), c.notes);
    QVERIFY(!notes->isReadOnly());
    QVERIFY(!showAll->isVisible());
    selectRow(1);
    QCOMPARE(notes->toPlainText(), QString());
    QVERIFY(!notes->isReadOnly());
    QVERIFY(m_said->warnings.isEmpty());
}

void TestAnli::importProgressAndCancel()
{
    QList<CaseRecord> cases;
    for (int i = 0; i < 1200; ++i) {
        CaseRecord c = makeCase(u"010101"_s, u"000000"_s, u"批 %1"_s.arg(i), {{2025, 3, 1}, 9, i % 60});
        c.saved = c.changed = QDateTime(QDate(2025, 3, 1), QTime(0, 0), Qt::UTC).addSecs(i);
        cases << c;
    }
    m_said->file = m_dir->filePath(u"many.json"_s);
    QFile f(m_said->file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(exportDocument(cases, QDateTime::currentDateTimeUtc()));
    f.close();
    window()->setProgressDelay(0);

    // Cancelled as soon as its progress shows: nothing imported.
    bool shown = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *progress = window()->findChild<QProgressDialog *>(u"importProgress"_s);
        if (progress && progress->isVisible()) {
            shown = progress->isModal();
            progress->cancel();
        }
    });
    poll.start(1);
    QTest::mouseClick(field<QPushButton>(u"importCases"_s), Qt::LeftButton);
    poll.stop();
    QVERIFY(shown);
    QCOMPARE(field<QLabel>(u"status"_s)->text(), u"导入已取消，没有导入任何案例"_s);
    QCOMPARE(*m_journal->count(), 3);
    QVERIFY(m_said->warnings.isEmpty());

    QTest::mouseClick(field<QPushButton>(u"importCases"_s), Qt::LeftButton);
    QCOMPARE(m_said->notices.last(), u"导入完成：新增 1200 个案例，跳过 0 个已在案例库中的案例。"_s);
    QCOMPARE(*m_journal->count(), 1203);
}

void TestAnli::importDifferingAsks()
{
    m_said->file = m_dir->filePath(u"mine.json"_s);
    QTest::mouseClick(field<QPushButton>(u"exportAll"_s), Qt::LeftButton);
    selectRow(0);
    typeText(field<QPlainTextEdit>(u"notes"_s), u"这里改过"_s);
    QTest::mouseClick(field<QPushButton>(u"saveDetail"_s), Qt::LeftButton);
    const qint64 id = window()->currentCase()->id;

    m_said->answer = false;
    QTest::mouseClick(field<QPushButton>(u"importCases"_s), Qt::LeftButton);
    QCOMPARE(m_said->asked.size(), 1);
    QVERIFY2(m_said->asked.front().contains(u"1 个案例与案例库中的不同"_s), qPrintable(m_said->asked.front()));
    QCOMPARE(m_journal->find(id)->notes, u"这里改过"_s);
    QCOMPARE(m_said->notices.last(), u"导入完成：新增 0 个案例，跳过 2 个已在案例库中的案例。"
                                     "1 个案例与案例库中的不同，保留了案例库中的。"_s);
    m_said->answer = true;
    QTest::mouseClick(field<QPushButton>(u"importCases"_s), Qt::LeftButton);
    QCOMPARE(m_journal->find(id)->notes, QString());
    QCOMPARE(m_said->notices.last(), u"导入完成：新增 0 个案例，跳过 2 个已在案例库中的案例。"
                                     "1 个案例与案例库中的不同，已换成文件中的。"_s);
    QCOMPARE(*m_journal->count(), 3);
}

void TestAnli::fullDisk_data()
{
    QTest::addColumn<QString>("command"); // a button's name, or the function behind the button
    QTest::addColumn<QString>("name");
    QTest::newRow("导出全部") << u"exportAll"_s << u"备份.json"_s;
    QTest::newRow("导出所选") << u"exportSelected"_s << u"所选.json"_s;
    QTest::newRow("导出CSV") << u"daochuCsv"_s << u"验证统计.csv"_s;
    QTest::newRow("导出图片 PNG") << u"picture"_s << u"卦.png"_s;
    QTest::newRow("导出图片 JPEG") << u"picture"_s << u"卦.jpg"_s;
    QTest::newRow("导出PDF") << u"pdf"_s << u"卦.pdf"_s;
}

void TestAnli::fullDisk()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, command);
    QFETCH(QString, name);
    m_said->file = m_dir->filePath(name);
    const QByteArray old = "the backup written before, which must survive\n";
    QFile file(m_said->file);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    file.close();
    const QStringList before = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    selectRow(0);
    Tongji tongji(m_journal->connectionName(), prompts(m_said));
    const Chart chart = chartOf(makeCase(u"101101"_s, u"010000"_s, {}).cast);
    QString error;
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the process
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit unlimited = limit;
    limit.rlim_cur = old.size() + 8;
    setrlimit(RLIMIT_FSIZE, &limit);
    if (command == u"picture"_s) {
        QVERIFY(!writePicture(guapanPicture(chart, {}, {QFont(), 1.0}, 2.0), m_said->file, &error));
    } else if (command == u"pdf"_s) {
        QVERIFY(!writePdf(m_said->file, QPageSize::A4, chart, {}, {QFont(), 1.0}, &error));
    } else {
        QPushButton *button = window()->findChild<QPushButton *>(command);
        (button ? button : tongji.findChild<QPushButton *>(command))->click();
        QCOMPARE(m_said->notices, QStringList());
        error = m_said->warnings.join(u'\n');
    }
    setrlimit(RLIMIT_FSIZE, &unlimited);
    // The system's reason, not the cancelling that cleaned up after it.
    QVERIFY2(error.contains(QString::fromLocal8Bit(strerror(EFBIG))) && !error.contains(u"取消"_s)
                 && !error.contains(u"cancel"_s, Qt::CaseInsensitive),
             qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), before);
#else
    QSKIP("the limit on a file's size is a POSIX facility");
#endif
}

void TestAnli::statisticsCsvAndLongTag()
{
    // Tags a spreadsheet would run as formulas, one with a quote, one of 100,000 characters.
    QString longTag;
    for (int i = 0; i < 100000; ++i)
        longTag += QChar(u'标' + i % 50);
    const QStringList tags{u"=1+1"_s, u"+2"_s, u"-3"_s, u"@SUM(A1)"_s, u"说\"好\""_s, longTag};
    for (int i = 0; i < tags.size(); ++i) {
        CaseRecord c = makeCase(u"101101"_s, u"010000"_s, u"问"_s, Moment{{2026, 3, i + 1}, 9, 0});
        c.tags = {tags.at(i)};
        c.verdict = Verdict::Fulfilled;
        QVERIFY(m_journal->save(c));
    }
    Tongji tongji(m_journal->connectionName(), prompts(m_said));
    tongji.show();
    m_said->file = m_dir->filePath(u"统计.csv"_s);
    tongji.findChild<QPushButton *>(u"daochuCsv"_s)->click();
    QCOMPARE(m_said->chooser, u"导出统计（CSV）|验证统计.csv|CSV 表格 (*.csv);;所有文件 (*)"_s);
    QFile file(m_said->file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // UTF-8, marked so for spreadsheets in any locale
    QSet<QString> cells;
    for (const QString &line : QString::fromUtf8(bytes).split(u"\r\n"_s))
        if (line.startsWith(u"标签,"_s))
            cells << line.section(u',', 1, -5);
    QCOMPARE(cells, (QSet<QString>{u"'=1+1"_s, u"'+2"_s, u"'-3"_s, u"'@SUM(A1)"_s, u"\"说\"\"好\"\"\""_s, longTag}));
    // On the screen the long tag is cut, whole in its tooltip.
    QTableWidget *table = tongji.table(StatsBy::Tag);
    const auto rows = std::views::iota(0, table->rowCount());
    const auto row = std::ranges::find_if(rows, [&](int r) { return table->item(r, 0)->toolTip() == longTag; });
    QVERIFY(row != rows.end());
    const QString shown = table->item(*row, 0)->text();
    QVERIFY(shown.size() <= 25 && shown.endsWith(u'…') && longTag.startsWith(shown.chopped(1)));
}

QTEST_MAIN(TestAnli)
#include "tst_anli.moc"
