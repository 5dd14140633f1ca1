#include "caselistmodel.h"

#include "journal/journalmessages.h"

#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// A question as a cell or a tooltip shows it: a very long one cut short, so
// that drawing a row never depends on what was pasted into it.
QString shortened(const QString &text, qsizetype length)
{
    return text.size() > length ? text.left(length) + u'…' : text;
}

} // namespace

CaseListModel::CaseListModel(Journal *journal, QObject *parent)
    : QAbstractTableModel(parent)
    , m_journal(journal)
{
}

bool CaseListModel::setFilter(const CaseFilter &filter)
{
    beginResetModel();
    m_filter = filter;
    const std::optional<QList<CaseRecord>> page = m_journal->list(filter, std::nullopt, PageSize);
    m_cases = page.value_or(QList<CaseRecord>());
    m_more = page && page->size() == PageSize;
    endResetModel();
    if (!page)
        emit readFailed(journalMessage(m_journal->lastError()));
    return page.has_value();
}

int CaseListModel::rowOf(qint64 id) const
{
    for (int row = 0; row < m_cases.size(); ++row)
        if (m_cases.at(row).id == id)
            return row;
    return -1;
}

void CaseListModel::replaceCase(const CaseRecord &c)
{
    const int row = rowOf(c.id);
    if (row < 0)
        return;
    m_cases[row] = c;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int CaseListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_cases.size());
}

int CaseListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CaseListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_cases.size())
        return {};
    const CaseRecord &c = m_cases.at(index.row());
    if (role == Qt::ToolTipRole && index.column() == QuestionColumn)
        return Qt::convertFromPlainText(shortened(c.question, 2000)); // markup in a question stays text
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case MomentColumn:
        return momentText(c.cast.moment ? c.cast.moment : std::optional(chinaMoment(c.saved)));
    case QuestionColumn:
        return shortened(c.question, 300);
    case HexagramsColumn:
        return hexagramsText(c.cast);
    case VerdictColumn:
        return verdictText(c.verdict);
    default:
        return {};
    }
}

QVariant CaseListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case MomentColumn:
        return u"起卦时间"_s;
    case QuestionColumn:
        return u"卜问何事"_s;
    case HexagramsColumn:
        return u"本卦 → 变卦"_s;
    case VerdictColumn:
        return u"应验"_s;
    default:
        return {};
    }
}

bool CaseListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void CaseListModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_more || m_cases.isEmpty())
        return;
    const CaseRecord &last = m_cases.constLast();
    const std::optional<QList<CaseRecord>> page = m_journal->list(m_filter, last.id, PageSize);
    if (!page) {
        m_more = false;
        emit readFailed(journalMessage(m_journal->lastError()));
        return;
    }
    m_more = page->size() == PageSize;
    if (page->isEmpty())
        return;
    beginInsertRows({}, static_cast<int>(m_cases.size()), static_cast<int>(m_cases.size() + page->size() - 1));
    m_cases.append(*page);
    endInsertRows();
}

} // namespace lotgrid
