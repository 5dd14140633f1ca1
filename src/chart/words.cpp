#include "chart/words.h"

namespace lotgrid {

std::u16string pillarsWords(const Pillars &p)
{
    return sexagenaryName(p.year) + u"年 " + sexagenaryName(p.month) + u"月 " + sexagenaryName(p.day) + u"日 "
           + sexagenaryName(p.hour) + u"时";
}

} // namespace lotgrid
