#include "clsINI.h"

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
    return IniFile::load(m_fileName)
        ->readText(SectionName, KeyName, StandardValue, m_readBufferLength);
}

void clsINI::WriteData(const QString &SectionName, const QString &KeyName, const QString &Value)
{
    IniFile::write(m_fileName, SectionName, {{KeyName, Value}});
}

void clsINI::DeleteSection(const QString &SectionName)
{
    IniFile::deleteSection(m_fileName, SectionName);
}
