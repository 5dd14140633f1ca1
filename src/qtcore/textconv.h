#pragma once
// The engine speaks std::u16string_view, the widgets QString; both are UTF-16.

#include <QString>
#include <QStringView>
#include <string_view>

namespace lotgrid {

inline std::u16string_view u16(QStringView s)
{
    return {s.utf16(), static_cast<std::size_t>(s.size())};
}

inline QString qs(std::u16string_view s)
{
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

} // namespace lotgrid
