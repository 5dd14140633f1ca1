#include "chart/purehexagrams.h"

#include "chart/chart.h"

namespace lotgrid {

std::optional<PureHexagramTexts> findPureHexagram(std::u16string_view label)
{
    const std::optional<Trigram> palace = palaceOfLabel(label);
    if (!palace)
        return std::nullopt;
    return pureHexagramTexts(*palace);
}

PureHexagramTexts pureHexagramTexts(Trigram palace)
{
    const HexagramRow &pure = pureHexagramOf(palace);
    const Chart chart = chartOfRows(&pure, nullptr);
    PureHexagramTexts texts;
    texts.palace = palaceKeyOf(pure.text);
    texts.name = pure.text.substr(0, pure.text.find(u' ')); // "乾为天 乾宫" -> "乾为天"
    for (int n = 1; n <= 6; ++n)
        texts.lines[static_cast<std::size_t>(n - 1)] = relativeLabel(chart.line(n).relative, chart.line(n).branch);
    return texts;
}

} // namespace lotgrid
