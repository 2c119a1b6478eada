#pragma once

#include <QString>

// How a platform writes paths: the separator, and whether a drive letter with a
// colon ("C:") makes a path absolute.
struct PathRules
{
    QChar Separator;
    bool DriveColon = false;

    static PathRules Windows() { return {u'\\', true}; }
    static PathRules Posix() { return {u'/', false}; }
    static PathRules Native();
};

// A bare file name (more than one character, no separator, no drive colon) is
// taken from ownFolder; any other path is returned unchanged.
QString ResolvePath(const QString &path, const QString &ownFolder,
                    const PathRules &rules = PathRules::Native());

// The path cut after its last separator (a trailing separator does not count),
// or after a drive colon among the first four characters; unchanged when there
// is neither.
QString FolderOf(const QString &path, const PathRules &rules = PathRules::Native());
