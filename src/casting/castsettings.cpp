#include "casting/castsettings.h"

#include <QCoreApplication>
#include <QSettings>

#include <memory>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QString keyOf(CastOption option)
{
    switch (option) {
    case CastOption::CoinFacesSwapped:
        return u"cast/coinFacesSwapped"_s;
    case CastOption::YearAtLichun:
        return u"cast/yearAtLichun"_s;
    case CastOption::NumberAddsHour:
        return u"cast/numberAddsHour"_s;
    }
    return {};
}

// The program's settings store. Without an organization name QSettings can
// write nothing, so the program's name stands in for it.
std::unique_ptr<QSettings> store()
{
    const QString application = QCoreApplication::applicationName();
    const QString organization = QCoreApplication::organizationName();
    return std::make_unique<QSettings>(organization.isEmpty() ? application : organization, application);
}

} // namespace

bool castOption(CastOption option)
{
    return store()->value(keyOf(option), false).toBool();
}

void setCastOption(CastOption option, bool on)
{
    store()->setValue(keyOf(option), on);
}

} // namespace lotgrid
