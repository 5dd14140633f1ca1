#include "casting/castsettings.h"

#include "widgets/settingskeys.h"

#include <QSettings>

namespace lotgrid {

namespace {

QStringView keyOf(CastOption option)
{
    switch (option) {
    case CastOption::CoinFacesSwapped:
        return settingskeys::CoinFacesSwapped;
    case CastOption::YearAtLichun:
        return settingskeys::YearAtLichun;
    case CastOption::NumberAddsHour:
        return settingskeys::NumberAddsHour;
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
