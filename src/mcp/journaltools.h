#pragma once
// The journal's tools: journal_search finds cases in the user's case journal
// and journal_case gives one case with its chart. The journal is only read.

#include "mcp/tool.h"

#include <QString>

#include <vector>

namespace lotgrid::mcp {

// The tools over the journal file at `path`.
std::vector<Tool> journalTools(const QString &path);

} // namespace lotgrid::mcp
