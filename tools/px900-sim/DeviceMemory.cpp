#include "DeviceMemory.h"

#include "core/Kinds.h"

#include <QDateTime>
#include <QFile>
#include <QStringDecoder>

#include <cmath>
#include <numbers>

namespace {

QString Num(double v, int nDecimals)
{
    return QString::number(v, 'f', nDecimals);
}

QString Line(const char* pszKey, const QString& strValue)
{
    return QLatin1String(pszKey) + QLatin1Char(';') + strValue;
}

QString Line(const QString& strKey, const QString& strValue)
{
    return strKey + QLatin1Char(';') + strValue;
}

QString DeviceDate(const QDateTime& t)
{
    return t.toString(QStringLiteral("ddMMyyyyHHmmss"));
}

// "day.month.year hours:minutes:seconds" of the start and end lines.
QString DeviceStamp(const QDateTime& t)
{
    return t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

constexpr double Pi = std::numbers::pi;

double Rad(double deg)
{
    return deg * Pi / 180.0;
}

// The installation: 230/400 V, 150/5 A current transformers, an inductive
// load with cos phi about 0.95. The device reports secondary values.
struct Installation
{
    double U[3] = {230.1, 229.8, 230.6};
    double AU[3] = {0.0, -120.0, 120.0};
    double I[3] = {3.21, 3.18, 3.25};
    double Phi[3] = {18.2, 17.5, 19.0};
    double UD[3] = {1.82, 1.95, 1.77};
    double ID[3] = {4.51, 4.38, 4.66};
    double dFrequency = 50.012;
    double dTemperature = 23.4;
};

// Harmonic amplitudes of the voltage in percent of the fundamental.
double VoltageHarmonic(int n)
{
    static const double table[] = {0.03, 100.0, 0.06, 0.62, 0.04, 1.48, 0.03, 0.71, 0.02, 0.20, 0.02, 0.33, 0.01, 0.21};
    if (n < int(std::size(table)))
        return table[n];
    return (n % 2) ? 2.0 / n : 0.01;
}

double CurrentHarmonic(int n)
{
    static const double table[] = {0.05, 100.0, 0.21, 2.35, 0.12, 3.10, 0.08, 1.42, 0.05, 0.61, 0.04, 0.83, 0.03, 0.52};
    if (n < int(std::size(table)))
        return table[n];
    return (n % 2) ? 5.0 / n : 0.02;
}

class CRecordMaker
{
public:
    explicit CRecordMaker(const QDateTime& start)
        : m_time(start)
    {
    }

    // The lines every record starts with. Each record is made a few minutes
    // after the one before.
    DeviceRecord Common(RecordKind kind, const QString& strId, const QString& strRemark, int nMode = 0)
    {
        m_time = m_time.addSecs(7 * 60 + 13);
        ++m_nAddress;
        return {
            Line("RID", QString::number(ToInt(kind))),
            Line("ID", strId),
            Line("Rem", strRemark),
            Line("Adr", QString::number(m_nAddress)),
            Line("Dat", DeviceDate(m_time)),
            Line("UR", QStringLiteral("300;300V")),
            Line("IR", QStringLiteral("5;5A")),
            Line("MM", QString::number(nMode)),
            Line("URat", QStringLiteral("230;0;230;0")),
            Line("IRat", QStringLiteral("150;5")),
        };
    }

    const QDateTime& Time() const { return m_time; }

private:
    QDateTime m_time;
    int m_nAddress = 0;
};

void AddActualValues(DeviceRecord& r, const Installation& inst, double dLoad)
{
    double P[3], Q[3], S[3], AI[3];
    for (int p = 0; p < 3; ++p) {
        const double i = inst.I[p] * dLoad;
        AI[p] = inst.AU[p] + inst.Phi[p];
        if (AI[p] > 180.0)
            AI[p] -= 360.0;
        S[p] = inst.U[p] * i;
        P[p] = S[p] * std::cos(Rad(inst.Phi[p]));
        Q[p] = S[p] * std::sin(Rad(inst.Phi[p]));
    }
    auto av = [&r](int n, const QString& v) { r.append(QStringLiteral("AV%1;%2").arg(n).arg(v)); };
    for (int p = 0; p < 3; ++p)
        av(p, Num(inst.U[p], 2));
    for (int p = 0; p < 3; ++p)
        av(3 + p, Num(inst.I[p] * dLoad, 4));
    for (int p = 0; p < 3; ++p)
        av(6 + p, Num(inst.AU[p], 2));
    for (int p = 0; p < 3; ++p)
        av(9 + p, Num(AI[p], 2));
    // Phase-to-phase voltages from the vectors: 12, 23, 31.
    for (int p = 0; p < 3; ++p) {
        const int q = (p + 1) % 3;
        const double re = inst.U[p] * std::cos(Rad(inst.AU[p])) - inst.U[q] * std::cos(Rad(inst.AU[q]));
        const double im = inst.U[p] * std::sin(Rad(inst.AU[p])) - inst.U[q] * std::sin(Rad(inst.AU[q]));
        av(12 + p, Num(std::hypot(re, im), 2));
    }
    for (int p = 0; p < 3; ++p)
        av(15 + p, Num(P[p], 2));
    for (int p = 0; p < 3; ++p)
        av(18 + p, Num(Q[p], 2));
    for (int p = 0; p < 3; ++p)
        av(21 + p, Num(S[p], 2));
    const double SP = P[0] + P[1] + P[2];
    const double SQ = Q[0] + Q[1] + Q[2];
    const double SS = S[0] + S[1] + S[2];
    av(24, Num(SP, 2));
    av(25, Num(SQ, 2));
    av(26, Num(SS, 2));
    av(27, QStringLiteral("1"));
    av(28, Num(inst.dFrequency, 3));
    for (int p = 0; p < 3; ++p)
        av(29 + p, Num(std::cos(Rad(inst.Phi[p])), 4));
    av(32, Num(SP / SS, 4));
    for (int p = 0; p < 3; ++p)
        av(33 + p, Num(inst.UD[p], 2));
    for (int p = 0; p < 3; ++p)
        av(36 + p, Num(inst.ID[p], 2));
    av(39, Num(inst.dTemperature, 1));
}

void AddCurve(DeviceRecord& r, const Installation& inst)
{
    // Channel A the voltage UL1, channel B the current IL1; 504 samples
    // over two periods, in percent of the range (300 V, 5 A).
    r.append(QStringLiteral("CCA;0"));
    r.append(QStringLiteral("CCB;3"));
    const double uPeak = inst.U[0] * std::numbers::sqrt2;
    const double iPeak = inst.I[0] * std::numbers::sqrt2;
    for (int k = 0; k < 504; ++k) {
        const double x = 2.0 * Pi * 2.0 * k / 504.0;
        const double u = uPeak * (std::sin(x) + 0.0148 * std::sin(5 * x + 0.4));
        r.append(QStringLiteral("CA%1;%2").arg(k).arg(Num(u / 300.0 * 100.0, 2)));
    }
    for (int k = 0; k < 504; ++k) {
        const double x = 2.0 * Pi * 2.0 * k / 504.0 - Rad(inst.Phi[0]);
        const double i = iPeak * (std::sin(x) + 0.031 * std::sin(5 * x + 1.1) + 0.0235 * std::sin(3 * x));
        r.append(QStringLiteral("CB%1;%2").arg(k).arg(Num(i / 5.0 * 100.0, 2)));
    }
}

void AddHarmonics(DeviceRecord& r)
{
    r.append(QStringLiteral("HC;0"));
    for (int n = 0; n <= 40; ++n) {
        const double dPhase = n == 1 ? 0.0 : std::fmod(37.0 * n + 11.0, 360.0) - 180.0;
        r.append(QStringLiteral("H%1;%2;%3").arg(n).arg(Num(VoltageHarmonic(n), 2), Num(dPhase, 1)));
    }
}

void AddSelective(DeviceRecord& r, const Installation& inst)
{
    r.append(QStringLiteral("PC;0"));
    for (int n = 0; n <= 40; ++n) {
        const double u = inst.U[0] * VoltageHarmonic(n) / 100.0;
        const double i = inst.I[0] * CurrentHarmonic(n) / 100.0;
        const double phi = n == 1 ? inst.Phi[0] : std::fmod(23.0 * n, 180.0) - 90.0;
        const double s = u * i;
        r.append(QStringLiteral("SP%1;%2;%3;%4")
                     .arg(n)
                     .arg(Num(s * std::cos(Rad(phi)), 4), Num(s * std::sin(Rad(phi)), 4), Num(s, 4)));
    }
}

void AddBurden(DeviceRecord& r, const double U[3], const double I[3], const double angle[3], double dNominalVA)
{
    auto bv = [&r](int n, const QString& v) { r.append(QStringLiteral("BV%1;%2").arg(n).arg(v)); };
    for (int p = 0; p < 3; ++p)
        bv(p, Num(U[p], 3));
    for (int p = 0; p < 3; ++p)
        bv(3 + p, Num(I[p], 4));
    for (int p = 0; p < 3; ++p)
        bv(6 + p, Num(angle[p], 2));
    for (int p = 0; p < 3; ++p)
        bv(9 + p, Num(U[p] * I[p], 3));
    for (int p = 0; p < 3; ++p)
        bv(12 + p, Num(std::cos(Rad(angle[p])), 3));
    for (int p = 0; p < 3; ++p)
        bv(15 + p, Num(U[p] * I[p] / dNominalVA * 100.0, 2));
}

DeviceRecord ErrorMeasurement(CRecordMaker& maker, const Installation& inst, const QString& strId,
                              const QString& strRemark, double dError)
{
    DeviceRecord r = maker.Common(RecordKind::Error, strId, strRemark);
    AddActualValues(r, inst, 1.0);
    // 10 pulses of a 400 imp/kWh meter at about 2.1 kW secondary: 43 s.
    const QDateTime end = maker.Time();
    const QDateTime start = end.addSecs(-43);
    r << Line("Cz", QStringLiteral("400;0;5")) << Line("Imp", QStringLiteral("10;0;0"))
      << Line("Err", Num(dError, 2)) << Line("E", Num(750.0 * (1.0 + dError / 100.0), 1))
      << Line("Start", DeviceStamp(start)) << Line("End", DeviceStamp(end))
      << Line("CtRat", QStringLiteral("150;5"));
    return r;
}

DeviceRecord EnergyRegisterTest(CRecordMaker& maker, const QString& strId, const QString& strRemark,
                                double dBegin, double dError)
{
    DeviceRecord r = maker.Common(RecordKind::RegisterEnergy, strId, strRemark);
    // 63 kW primary over 106 s.
    const double dMeasured = 63.0 * 106.0 / 3600.0;
    const QDateTime end = maker.Time();
    r << Line("Ent", QStringLiteral("3")) << Line("SV", Num(dBegin, 2))
      << Line("EV", Num(dBegin + dMeasured * (1.0 + dError / 100.0), 2)) << Line("MV", Num(dMeasured, 2))
      << Line("Err", Num(dError, 2)) << Line("Start", DeviceStamp(end.addSecs(-106)))
      << Line("End", DeviceStamp(end));
    return r;
}

QString FromUtf8(const char* psz)
{
    return QString::fromUtf8(psz);
}

} // namespace

DeviceMemory DemoMemory()
{
    const Installation inst;
    CRecordMaker maker(QDateTime(QDate(2024, 3, 12), QTime(9, 5, 0)));
    DeviceMemory memory;

    DeviceRecord r =
        maker.Common(RecordKind::Value, QStringLiteral("HA-1001"), FromUtf8("Hausanschluss, Zählerplatz 1"));
    AddActualValues(r, inst, 1.0);
    memory.append(r);

    r = maker.Common(RecordKind::Vector, QStringLiteral("HA-1001"), QStringLiteral("Vektordiagramm"));
    AddActualValues(r, inst, 0.96);
    memory.append(r);

    r = maker.Common(RecordKind::Curve, QStringLiteral("HA-1002"), QStringLiteral("Kurvenform UL1/IL1"));
    AddCurve(r, inst);
    memory.append(r);

    r = maker.Common(RecordKind::Harmonics, QStringLiteral("HA-1002"), QStringLiteral("Oberschwingungen UL1"));
    AddHarmonics(r);
    memory.append(r);

    memory.append(ErrorMeasurement(maker, inst, QStringLiteral("IK-2001"), FromUtf8("Fehlermessung Wirkenergie"), 0.42));

    r = maker.Common(RecordKind::UITransformer, QStringLiteral("IK-2001"), QStringLiteral("Stromwandler L1"));
    r << Line("NRat", QStringLiteral("150;5")) << Line("XRat", QStringLiteral("150.09;5"))
      << Line("XcRat", QStringLiteral("150.03;5")) << Line("Prim", QStringLiteral("96.30"))
      << Line("NSek", QStringLiteral("3.2100")) << Line("XSek", QStringLiteral("3.2081"))
      << Line("EI", QStringLiteral("-0.060")) << Line("DI", QStringLiteral("0.12"))
      << Line("DIMin", QStringLiteral("7.20")) << Line("DICrad", QStringLiteral("0.21"));
    memory.append(r);

    {
        r = maker.Common(RecordKind::UBurden, QStringLiteral("IK-2002"), QStringLiteral("Spannungspfad"));
        r << Line("UN", QStringLiteral("400;1")) << Line("SN", QStringLiteral("10"))
          << Line("L", QStringLiteral("12.5")) << Line("Q", QStringLiteral("2.5"));
        const double I[3] = {0.0125, 0.0127, 0.0124};
        const double angle[3] = {12.5, 13.1, 12.2};
        AddBurden(r, inst.U, I, angle, 10.0);
        memory.append(r);
    }
    {
        r = maker.Common(RecordKind::IBurden, QStringLiteral("IK-2002"), QStringLiteral("Strompfad"));
        r << Line("IN", QStringLiteral("5")) << Line("SN", QStringLiteral("15"))
          << Line("L", QStringLiteral("8.0")) << Line("Q", QStringLiteral("4.0"));
        const double U[3] = {0.412, 0.405, 0.421};
        const double angle[3] = {8.2, 7.9, 8.6};
        AddBurden(r, U, inst.I, angle, 15.0);
        memory.append(r);
    }

    memory.append(EnergyRegisterTest(maker, QStringLiteral("PRUEF-01"), QStringLiteral("Registerprobe Tarif 1"), 18234.56, -0.53));

    r = maker.Common(RecordKind::RegisterPower, QStringLiteral("PRUEF-01"), QStringLiteral("Leistungsregister"));
    r << Line("Ent", QStringLiteral("3")) << Line("SV", QStringLiteral("62.10")) << Line("EV", QStringLiteral("63.05"))
      << Line("MV", QStringLiteral("62.88")) << Line("Err", QStringLiteral("0.27")) << Line("MT", QStringLiteral("15"))
      << Line("Start", DeviceStamp(maker.Time().addSecs(-15 * 60))) << Line("End", DeviceStamp(maker.Time()));
    memory.append(r);

    r = maker.Common(RecordKind::Selective, QStringLiteral("HA-1001"), QStringLiteral("Selektive Leistung L1"));
    AddSelective(r, inst);
    memory.append(r);

    {
        r = maker.Common(RecordKind::PQSRegister, QStringLiteral("IK-2001"), QStringLiteral("PQS-Registerprobe"));
        // 63 kW, 20.5 kvar, 66.3 kVA primary for one minute.
        const double begin[3] = {18236.42, 5921.37, 19310.08};
        const double measured[3] = {1.05, 0.34, 1.105};
        const double error[3] = {0.31, -0.85, 0.12};
        r << Line("Ent0", QStringLiteral("3")) << Line("Ent1", QStringLiteral("3")) << Line("Ent2", QStringLiteral("3"));
        for (int e = 0; e < 3; ++e) {
            const QString d = QString::number(e);
            r << Line(QStringLiteral("SV") + d, Num(begin[e], 2))
              << Line(QStringLiteral("EV") + d, Num(begin[e] + measured[e] * (1.0 + error[e] / 100.0), 2))
              << Line(QStringLiteral("MV") + d, Num(measured[e], 3)) << Line(QStringLiteral("Err") + d, Num(error[e], 2));
        }
        r << Line("Start", DeviceStamp(maker.Time().addSecs(-60))) << Line("End", DeviceStamp(maker.Time()));
        memory.append(r);
    }

    // Results whose IDs match no location, one of them with umlauts.
    r = maker.Common(RecordKind::Value, QStringLiteral("NEU-0815"), QStringLiteral("Neuer Anschluss"));
    AddActualValues(r, inst, 0.42);
    memory.append(r);
    memory.append(ErrorMeasurement(maker, inst, FromUtf8("Zähler Süd"), FromUtf8("Prüfung nach Tausch, 10 € Gebühr"), -0.18));
    memory.append(EnergyRegisterTest(maker, FromUtf8("Zähler Süd"), FromUtf8("Registerprobe Süd"), 4711.08, 0.09));
    return memory;
}

DeviceMemory CycleMemory(const DeviceMemory& memory, int nCount)
{
    DeviceMemory result;
    if (memory.isEmpty())
        return result;
    const QLatin1String datKey("Dat;");
    const QLatin1String adrKey("Adr;");
    for (int n = 0; n < nCount; ++n) {
        DeviceRecord record = memory.at(n % memory.size());
        const int nCycle = n / memory.size();
        for (QString& line : record) {
            if (nCycle > 0 && line.startsWith(datKey)) {
                const QDateTime t = QDateTime::fromString(line.mid(datKey.size()), QStringLiteral("ddMMyyyyHHmmss"));
                if (t.isValid())
                    line = datKey + DeviceDate(t.addDays(nCycle));
            } else if (line.startsWith(adrKey)) {
                line = adrKey + QString::number(n + 1);
            }
        }
        result.append(record);
    }
    return result;
}

bool LoadDeviceMemory(const QString& strPath, DeviceMemory& memory, QString& strError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        strError = file.errorString();
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString strText = decoder(file.readAll());
    if (decoder.hasError()) {
        strError = QStringLiteral("not UTF-8 text");
        return false;
    }
    memory.clear();
    DeviceRecord record;
    for (QString line : strText.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.trimmed().isEmpty()) {
            if (!record.isEmpty())
                memory.append(record);
            record.clear();
            continue;
        }
        record.append(line);
    }
    if (!record.isEmpty())
        memory.append(record);
    return true;
}

QString FormatDeviceMemory(const DeviceMemory& memory)
{
    QString strText;
    for (const DeviceRecord& record : memory) {
        if (!strText.isEmpty())
            strText += QLatin1Char('\n');
        for (const QString& line : record)
            strText += line + QLatin1Char('\n');
    }
    return strText;
}
