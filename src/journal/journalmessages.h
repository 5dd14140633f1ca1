#pragma once
// The sentences the journal's windows show for its failures and for a case
// that cannot be kept. Every text quoted in them (a path, a question, a value
// from a file) is the user's or a file's: show them as plain text.

#include "journal/journalerror.h"

namespace lotgrid {

// "<what was not done>\n案例库文件：<path>\n原因：<why>".
QString journalMessage(const JournalFailure &failure);
// Why a case cannot be kept or read, as one clause.
QString caseProblemText(const CaseProblem &problem);
// Why a cast cannot be kept, or empty when it can.
QString castProblem(const CastInput &cast);

} // namespace lotgrid
