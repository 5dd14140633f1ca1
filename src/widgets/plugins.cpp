#include "widgets/plugins.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

#include <memory>

using namespace Qt::StringLiterals;

namespace lotgrid {

QStringList pluginFolders()
{
    QStringList folders;
    if (const QString dir = qEnvironmentVariable("LOTGRID_PLUGIN_DIR"); !dir.isEmpty())
        folders << dir;
    folders << QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../"_s
                               + QStringLiteral(LOTGRID_PLUGIN_INSTALL_DIR));
    folders << QStringLiteral(LOTGRID_PLUGIN_BUILD_DIR);
    return folders;
}

QFunctionPointer pluginFunction(const QString &name, const char *symbol, QString *error)
{
    // Loaded once and never unloaded: the windows a plugin made may outlive any caller.
    static QHash<QString, std::shared_ptr<QLibrary>> loaded;
    std::shared_ptr<QLibrary> &library = loaded[name];
    QString why;
    if (!library) {
        for (const QString &folder : pluginFolders()) {
            const QString path = folder + u'/' + name;
            if (!QFileInfo::exists(path + u".so"_s) && !QFileInfo::exists(path + u".dll"_s))
                continue;
            auto candidate = std::make_shared<QLibrary>(path);
            if (candidate->load()) {
                library = std::move(candidate);
                break;
            }
            why = candidate->errorString();
        }
    }
    if (!library) {
        loaded.remove(name);
        if (error)
            *error = why.isEmpty() ? u"找不到组件 %1（在 %2 中）"_s.arg(name, pluginFolders().join(u"、"_s))
                                   : u"无法载入组件 %1：%2"_s.arg(name, why);
        return nullptr;
    }
    const QFunctionPointer function = library->resolve(symbol);
    if (!function && error)
        *error = u"组件 %1 不完整：缺少 %2"_s.arg(library->fileName(), QString::fromLatin1(symbol));
    return function;
}

} // namespace lotgrid
