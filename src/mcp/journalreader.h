#pragma once
// The case journal as lotgrid-mcp reads it. The journal is opened for each
// request and closed again, so the program's own saves are seen at once and a
// journal moved aside or restored is picked up; nothing is ever written to it.
// A missing, locked or damaged journal is a failure of the request alone, with
// one sentence in error() naming the file. While the program itself does not
// have the journal open, reading it leaves no -wal or -shm file beside it.

#include "journal/journal.h"

#include <functional>
#include <memory>

namespace lotgrid::mcp {

class JournalReader
{
public:
    // How long a read waits for another program's lock on the journal.
    static constexpr int BusyTimeoutMs = 2000;

    explicit JournalReader(QString path);

    // Up to `limit` cases whose question, notes, tags, outcome or hexagram names
    // hold every word of `text`, newest first.
    std::optional<QList<CaseRecord>> search(const QString &text, int limit);

    // The case `id`; none when it is not in the journal (error() empty) or on failure.
    std::optional<CaseRecord> find(qint64 id);

    // Records the outcome of the case `id` as 案例库's 应验… and 不验… do, through
    // the journal's own update (one transaction, the same checks); the case as
    // it now stands, or none with error() set. Never creates a file or a case.
    std::optional<CaseRecord> recordOutcome(qint64 id, Verdict verdict, const std::optional<QDate> &day,
                                            const QString &note);

    const QString &error() const { return m_error; }

private:
    std::unique_ptr<Journal> open(bool immutable);
    // `read` run on the journal: read as it lies when no other program has it
    // open, so that nothing is created beside it, and read again the usual way
    // when one had or came to have it open meanwhile.
    template<typename Result>
    Result readWith(const std::function<Result(Journal &)> &read);
    void failOn(const QString &what); // `what` has %1 for the file
    void failOn(const Journal &journal);

    QString m_path;
    QString m_error;
};

} // namespace lotgrid::mcp
