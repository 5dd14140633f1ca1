#pragma once
// Cases for the journal tests, built from the lines as the chart shows them,
// and failure kinds as QCOMPARE prints them.

#include "journal/caserecord.h"
#include "journal/journalerror.h"

#include <QString>

#include <optional>

// A case of lines "111101" (line 1 first), moving lines marked "1" in `moving`
// ("100100": lines 1 and 4), the question and, when given, the moment of the cast;
// read by the modern rules (通行).
inline lotgrid::CaseRecord makeCase(const QString &lines, const QString &moving, const QString &question,
                                    std::optional<lotgrid::Moment> moment = std::nullopt)
{
    lotgrid::CaseRecord c;
    c.cast.options = lotgrid::schoolPreset(lotgrid::School::Common);
    for (int n = 1; n <= 6; ++n)
        c.cast.line(n) = {lines.at(n - 1).unicode(), moving.at(n - 1) == u'1'};
    c.cast.moment = moment;
    c.question = question;
    return c;
}

inline lotgrid::CaseRecord makeCase(const QString &lines, const QString &moving, const QString &question,
                                    lotgrid::Moment moment)
{
    return makeCase(lines, moving, question, std::optional<lotgrid::Moment>(moment));
}

namespace lotgrid {

// QCOMPARE prints a failure's kind by its name.
inline char *toString(JournalError kind)
{
    return qstrdup(qPrintable(journalErrorName(kind)));
}

inline char *toString(CaseFault fault)
{
    return qstrdup(QByteArray::number(static_cast<int>(fault)).constData());
}

} // namespace lotgrid
