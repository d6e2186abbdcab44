#pragma once

#include "core/Kinds.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

class CResultRecord;

// Conversions shared by the record decoder. All of them are independent of
// the user's locale: the device writes and the result file stores numbers
// with a point.

// A number as the device writes it (point as decimal separator).
double ToDeviceNumber(const QString& str);

// The SI prefix step of a value: 0 micro, 1 milli, 2 none, 3 kilo, 4 mega.
int ScaleIndex(double x);

// The prefix text of a step: "µ", "m", "", "k", "M".
QString ScalePrefix(int nIndex);

// The value scaled to the step, as "number;prefix unit". The decimals follow
// the reference (the value itself when the reference is 0), so all values
// measured against one range share prefix and decimals.
QString FormatScaled(double value, double reference, int nIndex, const QString& strUnit);

// FormatScaled with the step of the reference (of the value when the
// reference is 0).
QString FormatAutoScaled(double value, double reference, const QString& strUnit);

// Splits a device line at its first semicolon. No semicolon: the whole line
// is the key and the value is empty.
void SplitKeyValue(const QString& strLine, QString& strKey, QString& strValue);

// The time stamp of the next record: now, but at least one second after the
// previous record's stamp, so records read within one second stay distinct.
QDateTime NextTimeStamp(const QDateTime& previous, const QDateTime& now);

// The measuring modes the device knows, in the order of the mode codes of
// firmware 5 and later.
enum class MeasuringMode {
    None = -1,
    W4, BE4, BK4, S4, W3, BE3, BKA3, BKB3, S3, W2, B2, S2, MQRef
};

// The mode of an "MM" code; firmware before version 5 knows fewer modes.
MeasuringMode ModeOfCode(int nCode, int nMajorVersion);
QString ModeText(MeasuringMode mode);

// Turns the lines of one stored record into the texts of a result, without
// a document. One decoder serves a whole readout: it carries the device's
// identity and firmware version, which every record needs.
class CRecordDecoder
{
public:
    CRecordDecoder(const QString& strDeviceType, const QString& strSerial, int nMajorVersion);

    // Empties the record and fills it from the lines. Date and time come
    // from the stamp unless the record carries its own. Returns false when
    // the record is to be skipped: no kind, or one that is not read out.
    bool Decode(const QStringList& lines, const QDateTime& stamp, CResultRecord& record);

    // The kind of the last decoded record; None when it had no valid one.
    RecordKind GetKind() const { return m_kind; }
    // The "RID" number as sent, also when it names no kind; -1 without one.
    int GetRawKind() const { return m_nRawKind; }

private:
    struct KeyValue
    {
        QString strKey;
        QString strValue;
    };

    // How a body line is decoded, by its key: a handler of its own, or one
    // text into one member (the value as sent, or as a number in a fixed
    // format), followed by a suffix.
    using BodyHandler = void (*)(CRecordDecoder& d, const QString& strKey, const QString& strValue, CResultRecord& r);
    struct BodyRule
    {
        BodyHandler pHandler = nullptr;
        QString CResultRecord::*pMember = nullptr;
        const char* pszFormat = nullptr;
        const char* pszSuffix = "";
    };
    // A body line with an index ("AV12": base "AV", index 12), by its base.
    using IndexedHandler = void (*)(CRecordDecoder& d, const QString& strBase, int n, const QString& strValue,
                                    CResultRecord& r);

    void Reset();
    bool DecodeHeader(const KeyValue& kv, CResultRecord& r);
    void DecodeBody(const KeyValue& kv, CResultRecord& r);
    static const QHash<QString, BodyRule>& BodyRules();
    static const QHash<QString, IndexedHandler>& IndexedHandlers();
    void DecodeActualValue(int nIndex, const QString& strValue, CResultRecord& r);
    void DecodeStartEnd(bool bEnd, const QString& strValue, CResultRecord& r);
    void DecodeRegisterValue(const QString& strKey, const QString& strValue, CResultRecord& r);
    void DecodePQSValue(const QString& strBase, int n, const QString& strValue, CResultRecord& r);
    void DecodeSample(bool bA, int n, const QString& strValue, CResultRecord& r);
    void DecodeHarmonic(int n, const QString& strValue, CResultRecord& r);
    void DecodeSelective(int n, const QString& strValue, CResultRecord& r);
    void DecodeBurden(int n, const QString& strValue, CResultRecord& r);
    bool IsThreeWire() const;
    // 0 active, 1 reactive, 2 apparent.
    int EnergyType() const;
    QString EnergyUnit(int nCode, int nType, bool bPower) const;
    double Ur() const { return m_uRange * m_uRatio; }
    double Ir() const { return m_iRange * m_iRatio; }

    // Readout-wide.
    QString m_strDeviceType;
    QString m_strSerial;
    int m_nMajorVersion = 0;

    // Per record.
    double m_uRange = 0, m_iRange = 0, m_uRatio = 0, m_iRatio = 0;
    RecordKind m_kind = RecordKind::None;
    bool m_bBadKind = false;
    int m_nRawKind = -1;
    MeasuringMode m_mode = MeasuringMode::None;
    double m_harmonicSquares = 0;
    double m_voltageAngle[3] = {0, 0, 0};
    double m_currentAngle[3] = {0, 0, 0};
    int m_nEnergyCode = -1;     // "Ent"
    int m_nPQSCode[3] = {-1, -1, -1};  // "Ent0" to "Ent2"
    QDateTime m_start;
    QStringList m_samplesA, m_samplesB, m_harmonics, m_selective;
};
