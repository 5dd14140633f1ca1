#include "casting/castsettings.h"

#include <QSettings>

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

} // namespace

bool castOption(const QString &settingsFile, CastOption option)
{
    return !settingsFile.isEmpty()
           && QSettings(settingsFile, QSettings::IniFormat).value(keyOf(option), false).toBool();
}

void setCastOption(const QString &settingsFile, CastOption option, bool on)
{
    if (!settingsFile.isEmpty())
        QSettings(settingsFile, QSettings::IniFormat).setValue(keyOf(option), on);
}

} // namespace lotgrid
