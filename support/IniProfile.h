#pragma once

#include <QString>

// Access to one INI file with the semantics of the platform's private-profile
// functions. Every call sees the file as it is on disk at that moment; no call
// reports failure.
// Formerly clsINI.
class IniProfile
{
public:
    explicit IniProfile(int readBufferLength = 8192); // Tastor's copy reads with 256
    QString FileName() const;
    void setFileName(const QString &NewValue);
    bool FileAvailable() const;
    QString ReadData(const QString &SectionName, const QString &KeyName,
                     const QString &StandardValue) const;
    void WriteData(const QString &SectionName, const QString &KeyName, const QString &Value);
    void DeleteSection(const QString &SectionName);

private:
    int m_readBufferLength;
    QString m_fileName;
};
