#include "IniProfile.h"

#include "FileTools.h"
#include "IniFile.h"

IniProfile::IniProfile(int readBufferLength) : m_readBufferLength(readBufferLength) {}

QString IniProfile::FileName() const
{
    return m_fileName;
}

void IniProfile::setFileName(const QString &NewValue)
{
    m_fileName = NewValue;
}

bool IniProfile::FileAvailable() const
{
    return FileExists(m_fileName);
}

QString IniProfile::ReadData(const QString &SectionName, const QString &KeyName,
                             const QString &StandardValue) const
{
    return IniFile::load(m_fileName)
        ->readText(SectionName, KeyName, StandardValue, m_readBufferLength);
}

void IniProfile::WriteData(const QString &SectionName, const QString &KeyName, const QString &Value)
{
    IniFile::write(m_fileName, SectionName, {{KeyName, Value}});
}

void IniProfile::DeleteSection(const QString &SectionName)
{
    IniFile::deleteSection(m_fileName, SectionName);
}
