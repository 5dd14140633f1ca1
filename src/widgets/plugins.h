#pragma once
// The parts of the program that bring large libraries with them — the
// statistics window (Qt Charts) and printing (Qt Print Support) — are plugins,
// loaded the first time they are used, so that the program starts without
// those libraries. A plugin is looked for in LOTGRID_PLUGIN_DIR when that is
// set, then where the program is installed (lib/…/lotgrid beside bin), then in
// the build folder it was built in.

#include <QString>
#include <QStringList>

namespace lotgrid {

// The folders searched for a plugin, in order.
QStringList pluginFolders();

// The address of `symbol` in the plugin `name` (its file name without the
// suffix), which stays loaded; null, with the reason in the user's words in
// `error`, when the plugin cannot be found or loaded or lacks the symbol.
QFunctionPointer pluginFunction(const QString &name, const char *symbol, QString *error);

} // namespace lotgrid
