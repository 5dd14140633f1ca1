#include "journal/tongjiloader.h"

#include "widgets/plugins.h"

namespace lotgrid {

TongjiWindow createTongji(const QString &connectionName, const JournalPrompts &prompts, QWidget *parent,
                          GroupChosen chosen, QString *error)
{
    TongjiWindow made;
    const auto create
        = reinterpret_cast<CreateTongji>(pluginFunction(QStringLiteral("lotgrid-tongji"), CreateTongjiSymbol, error));
    if (create)
        create(&made, connectionName, prompts, parent, std::move(chosen));
    return made;
}

} // namespace lotgrid
