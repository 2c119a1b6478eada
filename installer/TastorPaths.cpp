#include "TastorPaths.h"

PathRules PathRules::Native()
{
#ifdef Q_OS_WIN
    return Windows();
#else
    return Posix();
#endif
}

QString ResolvePath(const QString &path, const QString &ownFolder, const PathRules &rules)
{
    if (path.size() <= 1 || path.contains(rules.Separator))
        return path;
    if (rules.DriveColon && path.at(1) == u':')
        return path;
    if (ownFolder.endsWith(rules.Separator))
        return ownFolder + path;
    return ownFolder + rules.Separator + path;
}

QString FolderOf(const QString &path, const PathRules &rules)
{
    if (path.size() <= 1)
        return path;
    for (qsizetype i = path.size() - 2; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == rules.Separator || (rules.DriveColon && c == u':' && i < 4))
            return path.left(i + 1);
    }
    return path;
}
