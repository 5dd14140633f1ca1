#pragma once
// 验证统计 (Tongji) draws with Qt Charts, so the program loads it as the plugin
// lotgrid-tongji the first time it is opened and starts without Qt Charts.

#include "journal/casestats.h"
#include "journal/journalprompts.h"

#include <QString>

#include <functional>

class QWidget;

namespace lotgrid {

struct TongjiWindow {
    QWidget *window = nullptr;
    std::function<bool()> refresh; // Tongji::refresh
};

using GroupChosen = std::function<void(const CaseGroup &group, const QString &label)>;

// A new 验证统计 window on the open journal connection `connectionName`, whose
// groupChosen calls `chosen`; no window, with the reason in `error`, when the
// plugin cannot be loaded.
TongjiWindow createTongji(const QString &connectionName, const JournalPrompts &prompts, QWidget *parent,
                          GroupChosen chosen, QString *error);

// The plugin's entry point, by this name.
using CreateTongji = void (*)(TongjiWindow *made, const QString &connectionName, const JournalPrompts &prompts,
                              QWidget *parent, GroupChosen chosen);
inline constexpr char CreateTongjiSymbol[] = "lotgrid_create_tongji";

} // namespace lotgrid
