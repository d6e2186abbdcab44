#pragma once

#include "core/SettingsKeys.h"

#include <QString>

class QSettings;

// The program's settings: named values in a group ("Settings",
// "ImportExport"), read where they are used and written at once. The store
// is QSettings under organisation "KOLT GmbH", application "Qarda".
class CRegSettings
{
public:
    explicit CRegSettings(const QString& strGroup = QStringLiteral("Settings"));

    // A missing value gives the default and stays missing; a value that
    // exists but is no text gives message 133 and the default.
    QString GetString(const QString& strName, const QString& strDefault = {}) const;
    // A missing or unreadable value is replaced by the default, which is
    // written; message 133 when that write fails.
    quint32 GetDWORD(const QString& strName, quint32 nDefault = 0) const;
    // Message 134 when the write fails.
    void SetString(const QString& strName, const QString& strValue) const;
    void SetDWORD(const QString& strName, quint32 nValue) const;

    // The named values of core/SettingsKeys.h with their defaults.
    QString Get(const CTextSetting& s) const { return GetString(QString(s.m_name), QString(s.m_default)); }
    quint32 Get(const CNumberSetting& s) const { return GetDWORD(QString(s.m_name), s.m_nDefault); }
    void Set(const CTextSetting& s, const QString& strValue) const { SetString(QString(s.m_name), strValue); }
    void Set(const CNumberSetting& s, quint32 nValue) const { SetDWORD(QString(s.m_name), nValue); }

    // Where the values live, for messages: the file and the group.
    QString GetKeyPath() const;

    static void SetOrganisation();

private:
    QString m_strGroup;
};
