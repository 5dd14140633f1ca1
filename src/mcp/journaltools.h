#pragma once
// The journal's tools: journal_search finds cases in the user's case journal
// and journal_case gives one case with its chart; these only read it.
// journal_record_outcome records a case's outcome, and only when writing was
// allowed (lotgrid-mcp --allow-write): otherwise it is refused.

#include "mcp/tool.h"

#include <QString>

#include <vector>

namespace lotgrid::mcp {

// The tools over the journal file at `path`.
std::vector<Tool> journalTools(const QString &path, bool allowWrite = false);

} // namespace lotgrid::mcp
