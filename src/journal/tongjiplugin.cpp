// The statistics plugin, lotgrid-tongji: 验证统计 and Qt Charts behind one
// entry point, loaded the first time the window is opened.
#include "journal/tongji.h"
#include "journal/tongjiloader.h"

extern "C" Q_DECL_EXPORT void lotgrid_create_tongji(lotgrid::TongjiWindow *made, const QString &connectionName,
                                                    const lotgrid::JournalPrompts &prompts, QWidget *parent,
                                                    lotgrid::GroupChosen chosen)
{
    auto *tongji = new lotgrid::Tongji(connectionName, prompts, parent);
    QObject::connect(tongji, &lotgrid::Tongji::groupChosen, tongji, std::move(chosen));
    made->window = tongji;
    made->refresh = [tongji] { return tongji->refresh(); };
}

// The entry point has the type the loader calls it by.
static_assert(std::is_same_v<decltype(&lotgrid_create_tongji), lotgrid::CreateTongji>);
