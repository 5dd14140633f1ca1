#pragma once
// Output in Traditional characters (输出繁体): text the program hands out — the
// copied chart, the AI question, the picture, the PDF, the long image — turned
// from Simplified by OpenCC with its s2tw profile (Traditional characters in
// the forms Taiwan's readers know: 為, 裡), phrase by phrase, so that 干支 and
// 乾卦 stay as they are. The windows themselves stay in Simplified characters.

#include <QString>

#include <optional>

namespace lotgrid {

// `text` in Traditional characters; nothing, with the reason in `error`, when
// OpenCC or its profile cannot be loaded (or this build has no OpenCC).
std::optional<QString> toTraditional(const QString &text, QString *error = nullptr);

} // namespace lotgrid
