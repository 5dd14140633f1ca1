#pragma once
// The window 案例库 (Anli): the journal's cases newest first, found by what
// was asked, noted or tagged and by hexagram name, filtered by date and
// verdict. The follow-up of the chosen case (notes, outcome, verdict, tags) is
// edited beside the table and saved on the spot: a verdict as soon as it is
// picked, texts with 保存, or when another case is chosen or the window closes.
// The chosen case's 卦盘 shows under the table, its 占类 and 用神 above the
// follow-up. The window opens at a size that shows the columns and a whole
// 卦盘, or at the size it was left at.
// Double-click or Enter hands the case back to the main window to reopen.
// A very long note or outcome shows folded, its beginning only, until
// 显示全部 is pressed, so choosing a case never waits on laying out a book.
// An import shows its progress and may be cancelled; cases that the journal
// holds with another follow-up are counted apart, and replaced if the user
// says so. The verdict filter also offers 待验: the cases still open whose
// first 应期 candidate has passed. 应验… and 不验… record an outcome in one
// step, with the day it came about and a note; 验证统计… opens the hit rates,
// whose groups list their cases here.

#include "journal/caselistmodel.h"
#include "journal/journalmessages.h"
#include "journal/journalprompts.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTableView;

namespace lotgrid {

class GuapanView;

class Anli : public QWidget
{
    Q_OBJECT
public:
    Anli(Journal *journal, JournalPrompts prompts, QWidget *parent = nullptr);
    ~Anli() override;

    // The settings file that keeps the window's size; the size kept there is taken now.
    void setSettingsFile(const QString &file);
    // The size the window opens at without a kept one.
    QSize openingSize() const;

    // Adds each case's chart under "chart" in exported files.
    void setChartJson(ChartJson chart) { m_chartJson = std::move(chart); }

    CaseListModel *model() const { return m_model; }
    std::optional<CaseRecord> currentCase() const;

    // Reads the table again with what the search field and filters hold.
    void applyFilter();
    // Writes the follow-up fields of the shown case; false, after telling the user, when that fails.
    bool saveDetail();
    // Deletes the selected cases after asking.
    void deleteSelected();
    // Asks the main window to reopen the current case.
    void reopenCurrent();
    bool exportTo(const QString &file, bool selectedOnly);
    bool importFrom(const QString &file);
    // How long an import runs before its progress shows (tests show it at once).
    void setProgressDelay(int ms) { m_progressDelayMs = ms; }
    // Today's date, which 待验 and the outcome's day are reckoned from.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    // Lists the cases 待验.
    void showAwaiting();
    // Lists the cases with an outcome of one group of the statistics, named `label`.
    void showGroup(const CaseGroup &group, const QString &label);
    // Records an outcome of the shown case with the small dialog, `verdict` proposed.
    void recordOutcome(Verdict verdict);
    // Opens 验证统计 beside this window.
    void openTongji();
    QWidget *tongji() const { return m_tongji; }

    // The verdict filter's item of the cases 待验.
    static constexpr int AwaitingItem = -1;

    // A note or outcome longer than this shows folded.
    static constexpr qsizetype FoldedLength = 3000;

signals:
    void reopenRequested(const lotgrid::CaseRecord &c);
    // A case's follow-up was written: its verdict may have changed.
    void followUpSaved();

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override; // keeps the size
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A follow-up text field and the whole text it holds while folded.
    struct FoldedText {
        QPlainTextEdit *edit;
        QPushButton *showAll;
        QString full;
        bool folded = false;
    };
    void setFolded(FoldedText &field, const QString &text);
    void unfold(FoldedText &field);
    static QString textOf(const FoldedText &field);
    bool importFailed();
    int listWidth() const;
    void keepSize(); // in the settings file
    void fitPreview();
    void showCase(const std::optional<CaseRecord> &c);
    void currentChanged();
    void markDirty();
    void updateSelectionButtons();
    void showCount();
    QList<qint64> selectedIds() const;

    Journal *m_journal;
    JournalPrompts m_prompts;
    ChartJson m_chartJson;
    CaseListModel *m_model;
    std::optional<CaseRecord> m_shown;
    bool m_dirty = false;
    bool m_loading = false;
    int m_progressDelayMs = 500;
    std::function<QDate()> m_today;
    std::optional<CaseGroup> m_group;
    QPointer<QWidget> m_tongji;
    QString m_settingsFile;

    QLineEdit *m_search;
    QCheckBox *m_dateFilter;
    QDateEdit *m_dateFrom;
    QDateEdit *m_dateTo;
    QComboBox *m_verdictFilter;
    QTableView *m_table;
    GuapanView *m_preview; // the chosen case's 卦盘, under the table
    QScrollArea *m_previewScroll = nullptr;
    bool m_fittingPreview = false;
    QLabel *m_detail;
    FoldedText m_notes;
    FoldedText m_outcome;
    QComboBox *m_verdict;
    QLineEdit *m_tags;
    QPushButton *m_groupFilter;
    QPushButton *m_saveDetail;
    QPushButton *m_reopen;
    QPushButton *m_recordFulfilled;
    QPushButton *m_recordFailed;
    QPushButton *m_openTongji;
    QPushButton *m_delete;
    QPushButton *m_exportAll;
    QPushButton *m_exportSelected;
    QPushButton *m_import;
    QLabel *m_status;
};

} // namespace lotgrid
