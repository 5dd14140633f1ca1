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
    // A stored value out of range reads as the school's own.
    const auto choice = [&settings](QStringView key, int count, int fallback) {
        bool ok = false;
        const int v = settings.value(key).toInt(&ok);
        return ok && v >= 0 && v < count ? v : fallback;
    };
    const auto flag = [&settings](QStringView key, bool fallback) { return settings.value(key, fallback).toBool(); };
    o = schoolPreset(static_cast<School>(choice(settingskeys::SchoolPreset, 3, 0)));
    o.blade = static_cast<BladeRule>(choice(settingskeys::BladeRule, int(BladeRuleNames.size()), int(o.blade)));
    o.facingTrigramsReverse = flag(settingskeys::FacingTrigramsReverse, o.facingTrigramsReverse);
    o.timeCastDay
        = static_cast<TimeCastDay>(choice(settingskeys::TimeCastDay, int(TimeCastDayNames.size()), int(o.timeCastDay)));
    o.numberCastAddsHour = flag(settingskeys::NumberAddsHour, o.numberCastAddsHour);
    o.twice = static_cast<TwiceRule>(choice(settingskeys::TwiceRule, int(TwiceRuleNames.size()), int(o.twice)));
    o.absent = static_cast<AbsentRule>(choice(settingskeys::AbsentRule, int(AbsentRuleNames.size()), int(o.absent)));
    o.bookStrength = flag(settingskeys::BookStrength, o.bookStrength);
    o.voidKinds = flag(settingskeys::VoidKinds, o.voidKinds);
    o.movingFillByClash = flag(settingskeys::MovingFillByClash, o.movingFillByClash);
    o.bookHarmonies = flag(settingskeys::BookHarmonies, o.bookHarmonies);
    o.changeCombine = flag(settingskeys::ChangeCombine, o.changeCombine);
    o.loneLine = flag(settingskeys::LoneLine, o.loneLine);
    o.bookYingqi = flag(settingskeys::BookYingqi, o.bookYingqi);
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
    settings.setValue(settingskeys::SchoolPreset,
                      static_cast<int>(o.base == School::Custom ? School::ZengShan : o.base));
    settings.setValue(settingskeys::TwiceRule, static_cast<int>(o.twice));
    settings.setValue(settingskeys::AbsentRule, static_cast<int>(o.absent));
    settings.setValue(settingskeys::BookStrength, o.bookStrength);
    settings.setValue(settingskeys::VoidKinds, o.voidKinds);
    settings.setValue(settingskeys::MovingFillByClash, o.movingFillByClash);
    settings.setValue(settingskeys::BookHarmonies, o.bookHarmonies);
    settings.setValue(settingskeys::ChangeCombine, o.changeCombine);
    settings.setValue(settingskeys::LoneLine, o.loneLine);
    settings.setValue(settingskeys::BookYingqi, o.bookYingqi);
}

} // namespace lotgrid
