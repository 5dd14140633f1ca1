#pragma once
// The remembered options of the hand casts, kept in the program's settings
// file (an INI file; an empty name remembers nothing).

#include "chart/schooloptions.h"

#include <QString>

namespace lotgrid {

enum class CastOption {
    CoinFacesSwapped, // 手动摇卦: 字 counts 3 instead of 背
    YearAtLichun,     // 时间起卦: the year turns at 立春, not at the lunar new year
    NumberAddsHour,   // 数字起卦: the hour's number joins the moving-line sum
};

bool castOption(const QString &settingsFile, CastOption option); // off until set
void setCastOption(const QString &settingsFile, CastOption option, bool on);

// The school options (流派设置): the stored school's (增删卜易 until one is
// chosen), each option as stored where it was; a stored value out of range
// reads as the school's. 数字起卦's hour is the NumberAddsHour
// cast option above, one setting for both.
SchoolOptions schoolOptions(const QString &settingsFile);
void setSchoolOptions(const QString &settingsFile, const SchoolOptions &options);

} // namespace lotgrid
