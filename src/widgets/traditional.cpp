#include "widgets/traditional.h"

#if LOTGRID_HAVE_OPENCC
#include <opencc/opencc.h>
#endif

#include <mutex>

using namespace Qt::StringLiterals;

namespace lotgrid {

#if LOTGRID_HAVE_OPENCC
namespace {

// OpenCC's converter, opened once; reading its dictionaries takes a moment.
class Converter
{
public:
    Converter()
        : m_handle(opencc_open("s2tw.json"))
    {
        if (!ready())
            m_error = u"OpenCC 无法载入简繁转换配置 s2tw.json：%1"_s.arg(QString::fromUtf8(opencc_error()));
    }
    ~Converter()
    {
        if (ready())
            opencc_close(m_handle);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool ready() const { return m_handle != reinterpret_cast<opencc_t>(-1); }
    const QString &error() const { return m_error; }

    std::optional<QString> convert(const QString &text)
    {
        const QByteArray in = text.toUtf8();
        const std::lock_guard lock(m_mutex);
        char *out = opencc_convert_utf8(m_handle, in.constData(), static_cast<size_t>(in.size()));
        if (!out)
            return std::nullopt;
        QString converted = QString::fromUtf8(out);
        opencc_convert_utf8_free(out);
        return converted;
    }

private:
    opencc_t m_handle;
    QString m_error;
    std::mutex m_mutex;
};

} // namespace
#endif

std::optional<QString> toTraditional(const QString &text, QString *error)
{
#if LOTGRID_HAVE_OPENCC
    static Converter converter;
    if (!converter.ready()) {
        if (error)
            *error = converter.error();
        return std::nullopt;
    }
    if (text.isEmpty())
        return text;
    std::optional<QString> out = converter.convert(text);
    if (!out && error)
        *error = u"OpenCC 未能转换：%1"_s.arg(QString::fromUtf8(opencc_error()));
    return out;
#else
    Q_UNUSED(text);
    if (error)
        *error = u"此版本未带 OpenCC，不能输出繁体"_s;
    return std::nullopt;
#endif
}

} // namespace lotgrid
