#include "core/RegSettings.h"

#include "core/Messages.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
const QString kOrganisation = QStringLiteral("KOLT GmbH");
const QString kApplication = QStringLiteral("Qarda");

// A store that cannot be read (a damaged or unreadable file) counts as a key
// that cannot be opened: defaults, no writes, no message.
bool Usable(const QSettings& s)
{
    return s.status() == QSettings::NoError;
}
} // namespace

void CRegSettings::SetOrganisation()
{
    QCoreApplication::setOrganizationName(kOrganisation);
    QCoreApplication::setApplicationName(kApplication);
}

CRegSettings::CRegSettings(const QString& strGroup)
    : m_strGroup(strGroup)
{
}

QString CRegSettings::GetKeyPath() const
{
    QSettings s(kOrganisation, kApplication);
    return s.fileName() + QStringLiteral(" [") + m_strGroup + u']';
}

QString CRegSettings::GetString(const QString& strName, const QString& strDefault) const
{
    QSettings s(kOrganisation, kApplication);
    if (!Usable(s))
        return strDefault;
    s.beginGroup(m_strGroup);
    if (!s.contains(strName))
        return strDefault;
    const QVariant v = s.value(strName);
    if (!v.canConvert<QString>() || v.userType() == QMetaType::QStringList || v.userType() == QMetaType::QVariantList) {
        ReportError(LoadString(IDS_REG_VALUE_NOT_CREATED).arg(strName, GetKeyPath()), MsgIcon::None);
        return strDefault;
    }
    return v.toString();
}

quint32 CRegSettings::GetDWORD(const QString& strName, quint32 nDefault) const
{
    QSettings s(kOrganisation, kApplication);
    if (!Usable(s))
        return nDefault;
    s.beginGroup(m_strGroup);
    if (s.contains(strName)) {
        bool bOk = false;
        const qlonglong n = s.value(strName).toLongLong(&bOk);
        if (bOk && n >= 0 && n <= 0xFFFFFFFFLL)
            return static_cast<quint32>(n);
    }
    s.setValue(strName, nDefault);
    s.sync();
    if (s.status() != QSettings::NoError)
        ReportError(LoadString(IDS_REG_VALUE_NOT_CREATED).arg(strName, GetKeyPath()), MsgIcon::None);
    return nDefault;
}

void CRegSettings::SetString(const QString& strName, const QString& strValue) const
{
    QSettings s(kOrganisation, kApplication);
    if (!Usable(s))
        return;
    s.beginGroup(m_strGroup);
    s.setValue(strName, strValue);
    s.sync();
    if (s.status() != QSettings::NoError)
        ReportError(LoadString(IDS_REG_WRITE_FAILED), MsgIcon::None);
}

void CRegSettings::SetDWORD(const QString& strName, quint32 nValue) const
{
    QSettings s(kOrganisation, kApplication);
    if (!Usable(s))
        return;
    s.beginGroup(m_strGroup);
    s.setValue(strName, nValue);
    s.sync();
    if (s.status() != QSettings::NoError)
        ReportError(LoadString(IDS_REG_WRITE_FAILED), MsgIcon::None);
}
