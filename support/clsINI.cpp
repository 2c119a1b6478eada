#include "clsINI.h"

#include "Cp1252.h"
#include "FileTools.h"
#include "IniFile.h"

clsINI::clsINI(int readBufferLength) : m_readBufferLength(readBufferLength) {}

QString clsINI::FileName() const
{
    return m_fileName;
}

void clsINI::setFileName(const QString &NewValue)
{
    m_fileName = NewValue;
}

bool clsINI::FileAvailable() const
{
    return FileExists(m_fileName);
}

QString clsINI::ReadData(const QString &SectionName, const QString &KeyName,
                         const QString &StandardValue) const
{
    const QByteArray text =
        IniFile::load(m_fileName)
            ->readString(IniFile::toFileText(SectionName), IniFile::toFileText(KeyName),
                         Cp1252::fromUnicode(StandardValue), m_readBufferLength);
    return Cp1252::toUnicode(text);
}

void clsINI::WriteData(const QString &SectionName, const QString &KeyName, const QString &Value)
{
    IniFile::write(m_fileName, IniFile::toFileText(SectionName),
                   {{IniFile::toFileText(KeyName), IniFile::toFileText(Value)}});
}

void clsINI::DeleteSection(const QString &SectionName)
{
    IniFile::deleteSection(m_fileName, IniFile::toFileText(SectionName));
}
