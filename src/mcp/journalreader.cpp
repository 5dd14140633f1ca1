#include "mcp/journalreader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace lotgrid::mcp {

namespace {

// One sentence for a journal that cannot be read, by the kind of failure; %1 is the file.
QString sentenceOf(const JournalFailure &f)
{
    switch (f.kind) {
    case JournalError::Missing:
        return u"There is no journal at %1."_s;
    case JournalError::NotAFile:
        return u"%1 is not a journal file."_s;
    case JournalError::Busy:
        return u"The journal %1 is locked by another program; try again when it is free."_s;
    case JournalError::Damaged:
        return u"The journal %1 is damaged or is not a Lotgrid journal."_s;
    case JournalError::Foreign:
        return u"%1 is not a Lotgrid journal."_s;
    case JournalError::TooNew:
        return u"The journal %1 was written by a newer version of Lotgrid."_s;
    case JournalError::TooOld:
        return u"The journal %1 must be opened once in Lotgrid, which brings it up to date, before it can be read here."_s;
    default:
        return u"The journal %1 cannot be read ("_s + journalErrorName(f.kind)
               + (f.detail.isEmpty() ? QString() : u": "_s + f.detail) + u")."_s;
    }
}

} // namespace

JournalReader::JournalReader(QString path)
    : m_path(std::move(path))
{
}

void JournalReader::failOn(const QString &what)
{
    m_error = what.arg(QDir::toNativeSeparators(m_path));
}

void JournalReader::failOn(const Journal &journal)
{
    failOn(sentenceOf(journal.lastError()));
}

// Opened read-only: the journal never creates, migrates or writes the file.
std::unique_ptr<Journal> JournalReader::open(bool immutable)
{
    m_error.clear();
    JournalOptions options{BusyTimeoutMs, {}, true};
    options.immutable = immutable;
    auto journal = std::make_unique<Journal>(m_path, options);
    if (!journal->openReadOnly()) {
        failOn(*journal);
        return nullptr;
    }
    return journal;
}

namespace {

// What tells whether another program wrote the journal or has it open: a
// writer in write-ahead mode keeps a -wal file beside it while it has it
// open, and what it writes into the file itself changes its size or time.
struct FileMarks {
    bool wal = false;
    qint64 size = -1;
    QDateTime modified;
    friend bool operator==(const FileMarks &, const FileMarks &) = default;
};

FileMarks marksOf(const QString &path)
{
    const QFileInfo file(path);
    return {QFileInfo::exists(path + u"-wal"_s), file.size(), file.lastModified()};
}

} // namespace

template<typename Result>
Result JournalReader::readWith(const std::function<Result(Journal &)> &read)
{
    const FileMarks before = marksOf(m_path);
    if (!before.wal) {
        Result result;
        bool opened = false;
        if (const std::unique_ptr<Journal> journal = open(true)) {
            opened = true;
            result = read(*journal);
        }
        if (marksOf(m_path) == before)
            return opened ? result : Result();
    }
    const std::unique_ptr<Journal> journal = open(false);
    return journal ? read(*journal) : Result();
}

std::optional<QList<CaseRecord>> JournalReader::search(const QString &text, int limit)
{
    using Found = std::optional<QList<CaseRecord>>;
    return readWith<Found>([&](Journal &journal) -> Found {
        CaseFilter filter;
        filter.text = text;
        auto cases = journal.list(filter, std::nullopt, limit);
        if (!cases)
            failOn(journal);
        return cases;
    });
}

std::optional<CaseRecord> JournalReader::recordOutcome(qint64 id, Verdict verdict, const std::optional<QDate> &day,
                                                       const QString &note)
{
    m_error.clear();
    if (!QFileInfo(m_path).isFile()) { // open() would create one
        failOn(u"There is no journal at %1."_s);
        return std::nullopt;
    }
    Journal journal(m_path, JournalOptions{BusyTimeoutMs, {}, true});
    if (!journal.open()) {
        failOn(journal);
        return std::nullopt;
    }
    const std::optional<CaseRecord> c = journal.find(id);
    if (!c) {
        if (journal.lastError().kind == JournalError::NotFound)
            m_error = u"There is no case %1 in the journal."_s.arg(id);
        else
            failOn(journal);
        return std::nullopt;
    }
    const std::optional<CaseRecord> saved = journal.updateFollowUp(withOutcome(*c, verdict, day, note));
    if (!saved && journal.lastError().kind == JournalError::NotFound) // removed meanwhile
        m_error = u"There is no case %1 in the journal."_s.arg(id);
    else if (!saved)
        failOn(journal);
    return saved;
}

std::optional<CaseRecord> JournalReader::find(qint64 id)
{
    using Found = std::optional<CaseRecord>;
    return readWith<Found>([&](Journal &journal) -> Found {
        auto found = journal.find(id);
        if (!found && journal.lastError().kind != JournalError::NotFound)
            failOn(journal);
        return found;
    });
}

} // namespace lotgrid::mcp
