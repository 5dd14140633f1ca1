#pragma once
// The cases of the journal as a table, newest first, fetched a page at a time:
// opening the window or typing into its search field reads one screenful, and
// the view asks for the next page as it scrolls down.

#include "journal/journal.h"

#include <QAbstractTableModel>

namespace lotgrid {

class CaseListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { MomentColumn, QuestionColumn, HexagramsColumn, VerdictColumn, ColumnCount };
    static constexpr int PageSize = 100;

    explicit CaseListModel(Journal *journal, QObject *parent = nullptr);

    // Reads the first page of the cases matching `filter`; false, with the
    // journal's message, when the journal cannot be read.
    bool setFilter(const CaseFilter &filter);
    const CaseFilter &filter() const { return m_filter; }
    bool reload() { return setFilter(m_filter); }

    const CaseRecord &caseAt(int row) const { return m_cases.at(row); }
    int rowOf(qint64 id) const;
    // Puts a case written elsewhere (an edit of the follow-up) in its row.
    void replaceCase(const CaseRecord &c);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    void readFailed(const QString &message);

private:
    Journal *m_journal;
    CaseFilter m_filter;
    QList<CaseRecord> m_cases;
    bool m_more = false;
};

} // namespace lotgrid
