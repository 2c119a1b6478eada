#pragma once

#include "support/Cp1252.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

#include <sys/stat.h>

// Code-page bytes as the text a caller passes, so tables can be written in bytes.
inline QString cp(const QByteArray &bytes)
{
    return Cp1252::toUnicode(bytes);
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    file.write(bytes);
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

inline QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

inline ino_t inodeOf(const QString &path)
{
    struct stat st
    {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

// Readable failure messages for Qt's text types: control bytes escaped.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << bytes.toPercentEncoding(" =[];-_.,/\\:").toStdString() << '"';
}
