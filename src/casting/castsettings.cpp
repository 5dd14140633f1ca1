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

SchoolOptions schoolOptions(const QString &settingsFile)
{
    SchoolOptions o;
    if (settingsFile.isEmpty())
        return o;
    const QSettings settings(settingsFile, QSettings::IniFormat);
    const auto choice = [&settings](QStringView key, int count) {
        bool ok = false;
        const int v = settings.value(key).toInt(&ok);
        return ok && v >= 0 && v < count ? v : 0;
    };
    o.blade = static_cast<BladeRule>(choice(settingskeys::BladeRule, int(BladeRuleNames.size())));
    o.facingTrigramsReverse = settings.value(settingskeys::FacingTrigramsReverse, false).toBool();
    o.timeCastDay = static_cast<TimeCastDay>(choice(settingskeys::TimeCastDay, int(TimeCastDayNames.size())));
    o.numberCastAddsHour = settings.value(settingskeys::NumberAddsHour, false).toBool();
    return o;
}

void setSchoolOptions(const QString &settingsFile, const SchoolOptions &o)
{
    if (settingsFile.isEmpty())
        return;
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue(settingskeys::BladeRule, static_cast<int>(o.blade));
    settings.setValue(settingskeys::FacingTrigramsReverse, o.facingTrigramsReverse);
    settings.setValue(settingskeys::TimeCastDay, static_cast<int>(o.timeCastDay));
    settings.setValue(settingskeys::NumberAddsHour, o.numberCastAddsHour);
}

} // namespace lotgrid
