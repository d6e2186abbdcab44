#include "bench/store/BenchDataGenerator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <numbers>
#include <string_view>
#include <vector>

namespace {

// splitmix64: tiny, and the same sequence on every platform and library
// (the standard distributions are not).
class CRandom
{
public:
    explicit CRandom(std::uint64_t nSeed)
        : m_nState(nSeed)
    {
    }
    std::uint64_t Next()
    {
        std::uint64_t z = (m_nState += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // lo..hi inclusive.
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    double Real(double lo, double hi) { return lo + (hi - lo) * (static_cast<double>(Next() >> 11) / 9007199254740992.0); }
    bool Chance(double p) { return Real(0, 1) < p; }
    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Next() % N];
    }
    template <class T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[Next() % items.size()];
    }

private:
    std::uint64_t m_nState;
};

// Locale-free fixed-point text, as the readout writes it ("%.2f" with the
// comma replaced by a point).
std::string Fixed(double v, int nDecimals)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, nDecimals);
    return std::string(buf, res.ptr);
}

std::string Int(long long n)
{
    return std::to_string(n);
}

// Two digits, for the parts of dates and times.
std::string Two(int n)
{
    const char digits[2] = {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
    return std::string(digits, 2);
}

// The readout's automatic scaling: prefix by the reference's magnitude,
// decimals by the scaled reference.
int ScaleIndex(double x)
{
    x = std::fabs(x);
    if (x < 0.0009)
        return 0;
    if (x < 0.9)
        return 1;
    if (x <= 1000)
        return 2;
    if (x <= 1000000)
        return 3;
    return 4;
}

std::string FormatScaled(double v, double ref, int nIndex, const char* pszUnit)
{
    static const double kFactor[5] = {1e6, 1e3, 1, 1e-3, 1e-6};
    // Index 0 (micro) never occurs here: every reference is far above 1 mV.
    static const char* const kPrefix[5] = {"u", "m", "", "k", "M"};
    const double r = std::fabs((ref == 0 ? v : ref) * kFactor[nIndex]);
    const int nDecimals = r > 100 ? 2 : (r > 10 ? 3 : 4);
    return Fixed(v * kFactor[nIndex], nDecimals) + ";" + kPrefix[nIndex] + pszUnit;
}

std::string Auto(double v, double ref, const char* pszUnit)
{
    return FormatScaled(v, ref, ScaleIndex(ref == 0 ? v : ref), pszUnit);
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

long long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

struct Stamp
{
    std::string m_strDate;  // dd.mm.yyyy
    std::string m_strTime;  // hh:mm:ss
    std::string Full() const { return m_strDate + " " + m_strTime; }
};

Stamp StampOf(long long nSeconds)
{
    int y, m, d;
    CivilFromDays(nSeconds / 86400, y, m, d);
    const int s = static_cast<int>(nSeconds % 86400);
    return {Two(d) + "." + Two(m) + "." + Int(y), Two(s / 3600) + ":" + Two(s / 60 % 60) + ":" + Two(s % 60)};
}

std::string Duration(int nSeconds)
{
    return Int(nSeconds / 60) + ":" + Two(nSeconds % 60);
}

// The file text in the store's own layout: every tag on a line of its own,
// a leaf with its text on one line, CR LF, no indentation.
class CXmlText
{
public:
    explicit CXmlText(std::size_t nReserve) { m_out.reserve(nReserve); }

    void Declaration() { m_out += "<?xml version=\"1.0\"?>\r\n"; }
    void Open(std::string_view name)
    {
        m_out += '<';
        m_out += name;
        m_out += ">\r\n";
    }
    void OpenWithAttribute(std::string_view name, std::string_view attr, std::string_view value)
    {
        m_out += '<';
        m_out += name;
        m_out += ' ';
        m_out += attr;
        m_out += "=\"";
        Escape(value, true);
        m_out += "\">\r\n";
    }
    void Close(std::string_view name)
    {
        m_out += "</";
        m_out += name;
        m_out += ">\r\n";
    }
    void Leaf(std::string_view name, std::string_view text)
    {
        m_out += '<';
        m_out += name;
        if (text.empty()) {
            m_out += " />\r\n";
            return;
        }
        m_out += '>';
        Escape(text, false);
        m_out += "</";
        m_out += name;
        m_out += ">\r\n";
    }
    const std::string& Text() const { return m_out; }

private:
    void Escape(std::string_view s, bool bAttribute)
    {
        for (char c : s) {
            switch (c) {
            case '&': m_out += "&amp;"; break;
            case '<': m_out += "&lt;"; break;
            case '>': m_out += "&gt;"; break;
            case '"':
                if (bAttribute) {
                    m_out += "&quot;";
                    break;
                }
                [[fallthrough]];
            default: m_out += c;
            }
        }
    }

    std::string m_out;
};

bool WriteFile(const std::filesystem::path& path, const std::string& text, std::string& strError)
{
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) {
        strError = "cannot create " + path.string();
        return false;
    }
    const bool bOk = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool bClosed = std::fclose(f) == 0;
    if (!bOk || !bClosed) {
        strError = "cannot write " + path.string();
        return false;
    }
    return true;
}

// --- Main.xml data ---------------------------------------------------------

const char* const kFirstnames[] = {
    "Jürgen", "Jörg", "Günther", "Björn", "Käthe", "Hans-Peter", "Sören", "Bärbel", "Uwe", "Renée",
    "Dörte", "Jürgen-Ulrich", "Ömer", "Jens", "Ute", "Matthias", "Anja", "Heike", "Klaus", "Annegret",
    "Frauke", "Henrik", "Gisela", "Rüdiger", "Zoë", "Märta", "Stefan", "Thorsten", "Sabine", "Lütfiye",
};
const char* const kSurnames[] = {
    "Müller", "Schäfer", "Schröder", "Köhler", "Krüger", "Weiß", "Jäger", "Hoffmann", "Böhm", "Groß",
    "Kühn", "Möller", "Schüler", "Vögele", "Lührs", "Ölschläger", "Fuß", "Bäumer", "Günzel", "Straßburger",
    "Häußler", "Nöthen", "Dürr", "Kötter", "Wöhrle", "Brückner", "Löffler", "Sänger", "Tönnies", "Hübner",
};
const char* const kCompanies[] = {
    "Bäckerei Müller & Söhne", "Metallbau Köhler GmbH", "Gärtnerei Grünwald", "Autohaus Schröder KG",
    "Brauerei Zum Löwen", "Möbelhaus Böhm e.K.", "Zahnarztpraxis Dr. Weiß", "Kühlhaus Nord GmbH & Co. KG",
    "Wohnungsbaugenossenschaft Süd eG", "Schreinerei Häußler", "Getränke Fuß OHG", "Druckerei Lührs",
    "Hotel Schöne Aussicht", "Kläranlage Oberdorf", "Grundschule Am Mühlbach", "Sporthalle Göttinger Straße",
};
const char* const kStreets[] = {
    "Hauptstraße", "Bahnhofstraße", "Königsallee", "Mühlenweg", "Am Schloßpark", "Lindenstraße",
    "Gartenstraße", "Schützenstraße", "Über der Ruhr", "Frühlingsweg", "Große Bäckerstraße", "Düsseldorfer Straße",
    "Jägerstieg", "An der Fähre", "Kölner Landstraße", "Rosenhöhe", "Schäferkamp", "Zum Bürgerhaus",
};
struct City
{
    const char* pszPostcode;
    const char* pszCity;
    const char* pszCountry;
};
const City kCities[] = {
    {"80331", "München", "Deutschland"},      {"50667", "Köln", "Deutschland"},
    {"40213", "Düsseldorf", "Deutschland"},   {"20095", "Hamburg", "Deutschland"},
    {"01067", "Dresden", "Deutschland"},      {"90402", "Nürnberg", "Deutschland"},
    {"70173", "Stuttgart", "Deutschland"},    {"37073", "Göttingen", "Deutschland"},
    {"02826", "Görlitz", "Deutschland"},      {"48143", "Münster", "Deutschland"},
    {"66111", "Saarbrücken", "Deutschland"},  {"97070", "Würzburg", "Deutschland"},
    {"79098", "Freiburg im Breisgau", "Deutschland"}, {"88045", "Friedrichshafen", "Deutschland"},
    {"14467", "Potsdam", "Deutschland"},      {"04109", "Leipzig", "Deutschland"},
    {"21335", "Lüneburg", "Deutschland"},     {"32423", "Minden", "Deutschland"},
    {"1010", "Wien", "Österreich"},           {"8001", "Zürich", "Schweiz"},
};
const char* const kGroupPrefixes[] = {
    "Netzgebiet", "Umspannwerk", "Stadtwerke", "Bezirk", "Prüfrunde", "Kundencenter", "Wandlermessungen", "Großkunden",
    "Ortsnetz", "Turnusprüfung",
};
const char* const kOperators[] = {
    "Netzgesellschaft Nordheide mbH", "Stadtwerke Lüneburg Netz GmbH", "Überlandwerk Süd AG",
    "Energienetze Mittelfranken GmbH & Co. KG", "Netzbetrieb Weißenfels GmbH", "Rheinische Verteilnetz GmbH",
    "Stromnetz Göttingen GmbH", "Elektrizitätswerk Mühlhausen eG",
};
const char* const kSuppliers[] = {
    "Stadtwerke Göttingen AG", "Grünstrom Süd GmbH", "Energieversorgung Mittelsachsen AG",
    "Ökostrom Nord eG", "Regionalwerke Bodensee GmbH", "Kommunale Energie Würzburg GmbH",
};
const char* const kManufacturers[] = {
    "Zählerwerk Nord GmbH", "Elektrozähler Süd AG", "Meßtechnik Höfer KG", "Kühne Metering GmbH",
    "Präzisionszähler Görlitz", "Westfälische Zählerfabrik",
};
const char* const kRemarks[] = {
    "Zugang über Hof, Schlüssel beim Hausmeister", "Wandler im Keller, Zählerschrank links",
    "Kunde vorab anrufen", "Prüfung nach Zählerwechsel", "Hund auf dem Grundstück!",
    "Zählerplatz nur über Leiter erreichbar", "Messung mit Stromzangen 100 A", "Plombe erneuert",
};
const char* const kStates[] = {"OK", "OK", "OK", "OK", "OK", "OK", "Prüfen", "Defekt", "Gesperrt", ""};

std::string LocationId(int n)
{
    return std::string("ZP") + Int(100000 + n * 7);
}

void WriteAddress(CXmlText& x, CRandom& rnd, const char* pszTag, bool bCompanyLikely)
{
    const City& city = rnd.Pick(kCities);
    const bool bCompany = rnd.Chance(bCompanyLikely ? 0.6 : 0.2);
    x.Open(pszTag);
    x.Leaf("Firstname", bCompany ? "" : rnd.Pick(kFirstnames));
    x.Leaf("Name", bCompany ? rnd.Pick(kCompanies) : rnd.Pick(kSurnames));
    x.Leaf("Street", rnd.Pick(kStreets));
    x.Leaf("Postcode", city.pszPostcode);
    x.Leaf("City", city.pszCity);
    x.Leaf("Country", city.pszCountry);
    x.Leaf("No", Int(rnd.Int(1, 180)) + (rnd.Chance(0.15) ? "a" : ""));
    x.Leaf("Remark", rnd.Chance(0.3) ? rnd.Pick(kRemarks) : "");
    x.Close(pszTag);
}

void WriteLocation(CXmlText& x, CRandom& rnd, int n)
{
    x.Open("Main");
    x.Open("General");
    x.Leaf("ID", LocationId(n));
    x.Leaf("State", rnd.Pick(kStates));
    x.Leaf("Remark", rnd.Chance(0.4) ? rnd.Pick(kRemarks) : "");
    x.Close("General");
    WriteAddress(x, rnd, "Customer", false);
    WriteAddress(x, rnd, "Location", true);
    x.Open("Net");
    x.Leaf("Operator", rnd.Pick(kOperators));
    x.Leaf("Supplier", rnd.Pick(kSuppliers));
    x.Leaf("Remark", rnd.Chance(0.2) ? "Netzanschluss über Trafostation Süd" : "");
    x.Close("Net");
    x.Open("Meter");
    x.Leaf("Manufacturer", rnd.Pick(kManufacturers));
    x.Leaf("Manuf-No", Int(rnd.Int(10000000, 99999999)));
    x.Leaf("Custom-No", std::string("EZ-") + Int(rnd.Int(100000, 999999)));
    x.Leaf("Remark", rnd.Chance(0.25) ? std::string("Zweirichtungszähler, Baujahr ") + Int(rnd.Int(1995, 2023)) : "");
    x.Close("Meter");
    x.Close("Main");
}

// --- Result.xml data -------------------------------------------------------

enum Kind {
    KValue, KVector, KCurve, KHarmonics, KError, KRegister, KTmTe, KUBurden, KIBurden,
    KContinue, KUITransformer, KAutomatic, KAux, KSelective, KPQS
};

const char* const kKindNames[CBenchDataGenerator::kKinds] = {
    "Value-Measurement", "Vector-Measurement", "Curve-Measurement", "Harmonics-Measurement",
    "Error-Measurement", "Register-Test", "TmTe-Transmitter", "U-Burden", "I-Burden",
    "Continue-Value-Measurement", "UI-Transformer", "Automatic-Measurement", "AUX-Channel",
    "Selektiv-Measurement", "PQS-Reg-Test",
};
const char* const kDatatypes[CBenchDataGenerator::kKinds] = {
    "Actual-Value", "Actual-Value", "Sample-Data", "Harmonic-Data", "Meter-Error", "Register-Test",
    "TmTe-Value", "UBurden-Value", "IBurden-Value", "Actual-Value", "UI-Transformer-Value",
    "Automatic-Data", "AUX-Value", "Selektiv-Data", "PQS-Reg-Test",
};
// Shares in per mille: mostly actual values, vectors, errors and harmonics;
// few curves and continuous series (they are by far the largest).
const int kKindShare[CBenchDataGenerator::kKinds] = {
    300, 150, 20, 150, 200, 40, 15, 20, 20, 5, 20, 10, 15, 20, 15,
};

const char* const kModes[] = {"4LW", "4LW", "4LW", "4LBE", "4LBK", "4LS", "3LW", "3LBE", "3LBKA", "2LW"};
const char* const kChannels[] = {"UL1", "UL2", "UL3", "IL1", "IL2", "IL3"};

bool IsThreeWire(const std::string& strMode)
{
    return strMode.find('3') != std::string::npos;
}

const char* EnergyUnit(const std::string& strMode, int nPrefix)
{
    static const char* const kActive[] = {"µWh", "mWh", "Wh", "kWh", "MWh"};
    static const char* const kReactive[] = {"µVArh", "mVArh", "VArh", "kVArh", "MVArh"};
    static const char* const kApparent[] = {"µVAh", "mVAh", "VAh", "kVAh", "MVAh"};
    if (strMode == "4LW" || strMode == "3LW" || strMode == "2LW")
        return kActive[nPrefix];
    if (strMode == "4LS" || strMode == "3LS" || strMode == "MQRef")
        return kApparent[nPrefix];
    return kReactive[nPrefix];
}

// One record's measuring set-up: ranges, transformer ratios, mode.
struct Setup
{
    double m_dURange = 300;
    double m_dIRange = 10;
    double m_dURatio = 1;
    double m_dIRatio = 1;
    bool m_bUSqrt3 = false;
    double m_dUPrim = 230, m_dUSek = 230, m_dIPrim = 5, m_dISek = 5;
    std::string m_strMode;

    double Ur() const { return m_dURange * m_dURatio; }
    double Ir() const { return m_dIRange * m_dIRatio; }
};

Setup MakeSetup(CRandom& rnd)
{
    Setup s;
    s.m_strMode = rnd.Pick(kModes);
    const int nKind = rnd.Int(0, 9);
    if (nKind < 5) {
        // Direct connection in the low-voltage network.
        s.m_dURange = 300;
        s.m_dIRange = rnd.Chance(0.5) ? 100 : 10;
    } else if (nKind < 8) {
        // Current transformers, low voltage.
        s.m_dURange = 300;
        s.m_dIRange = 5;
        s.m_dIPrim = rnd.Pick({100.0, 150.0, 200.0, 400.0});
        s.m_dISek = 5;
        s.m_dIRatio = s.m_dIPrim / s.m_dISek;
    } else {
        // Medium voltage: 20 kV/100 V and x/5 A.
        s.m_dURange = 120;
        s.m_dIRange = 5;
        s.m_bUSqrt3 = true;
        s.m_dUPrim = rnd.Chance(0.5) ? 20000 : 10000;
        s.m_dUSek = 100;
        s.m_dURatio = s.m_dUPrim / s.m_dUSek;
        s.m_dIPrim = rnd.Pick({50.0, 75.0, 100.0});
        s.m_dISek = 5;
        s.m_dIRatio = s.m_dIPrim / s.m_dISek;
    }
    return s;
}

struct Phase
{
    double u, i, au, ai, phi;
};

// The actual-values block, in exchange order: per phase, six auxiliary
// pairs, the sums.
void WriteActualValues(CXmlText& x, CRandom& rnd, const Setup& s)
{
    const bool b3 = IsThreeWire(s.m_strMode);
    const double uNom = s.m_dURatio == 1 ? 230.0 : 100.0 / std::sqrt(3.0) * s.m_dURatio;
    const double iLoad = s.Ir() * rnd.Real(0.05, 0.8);
    Phase ph[3];
    double sp = 0, sq = 0, ss = 0;
    for (int n = 0; n < 3; ++n) {
        ph[n].u = uNom * rnd.Real(0.97, 1.03);
        ph[n].i = iLoad * rnd.Real(0.8, 1.2);
        ph[n].au = std::remainder(-120.0 * n + rnd.Real(-0.5, 0.5), 360.0);
        ph[n].phi = rnd.Real(-35, 15);
        ph[n].ai = std::remainder(ph[n].au + ph[n].phi, 360.0);
    }
    const double refP = s.Ir() * s.Ur();
    for (int n = 0; n < 3; ++n) {
        const Phase& p = ph[n];
        const Phase& q = ph[(n + 1) % 3];
        const double upp = std::sqrt(p.u * p.u + q.u * q.u - 2 * p.u * q.u * std::cos((p.au - q.au) * std::numbers::pi / 180));
        const double rad = p.phi * std::numbers::pi / 180;
        const double pw = p.u * p.i * std::cos(rad), qw = p.u * p.i * std::sin(rad), sw = p.u * p.i;
        sp += pw;
        sq += qw;
        ss += sw;
        const std::string d = Int(n + 1);
        static const char* const kPairs[3] = {"12", "23", "31"};
        x.Leaf("UPN" + d, Auto(p.u, s.Ur(), "V"));
        x.Leaf(std::string("UPP") + kPairs[n], Auto(upp, s.Ur(), "V"));
        x.Leaf("UDC" + d, "");
        x.Leaf("UD" + d, Fixed(rnd.Real(0.5, 4.5), 2) + ";%");
        x.Leaf("IL" + d, b3 && n == 1 ? std::string("---;A") : Auto(p.i, s.Ir(), "A"));
        x.Leaf("IDC" + d, "");
        x.Leaf("ID" + d, Fixed(rnd.Real(2, 25), 2) + ";%");
        x.Leaf("AU" + d, Fixed(p.au, 2) + ";deg");
        x.Leaf("AI" + d, b3 && n == 1 ? std::string("---;deg") : Fixed(p.ai, 2) + ";deg");
        x.Leaf("PHI" + d, b3 && n == 1 ? std::string("---;deg") : Fixed(p.phi, 2) + ";deg");
        x.Leaf("Lambda" + d, b3 ? std::string("---;") : Fixed(std::cos(rad), 4) + ";");
        x.Leaf("P" + d, Auto(pw, refP, "W"));
        x.Leaf("Q" + d, Auto(qw, refP, "VAr"));
        x.Leaf("S" + d, b3 ? std::string("---;VA") : Auto(sw, refP, "VA"));
    }
    for (int k = 1; k <= 6; ++k) {
        // The auxiliary inputs are rarely wired: mostly unavailable.
        const bool bWired = k <= 2 && rnd.Chance(0.2);
        x.Leaf(std::string("AUX") + Int(k), bWired ? Fixed(rnd.Real(0, 10), 4) + ";V" : std::string("---;V"));
        x.Leaf(std::string("AAUX") + Int(k), bWired ? Fixed(rnd.Real(-180, 180), 2) + ";deg" : std::string("---;deg"));
    }
    x.Leaf("SP", Auto(sp, 3 * refP, "W"));
    x.Leaf("SQ", Auto(sq, 3 * refP, "VAr"));
    x.Leaf("SS", Auto(ss, 3 * refP, "VA"));
    x.Leaf("RF", rnd.Chance(0.95) ? "1" : "2");
    x.Leaf("FREQ", Fixed(rnd.Real(49.95, 50.05), 3) + ";Hz");
    x.Leaf("SLambda", Fixed(ss > 0 ? sp / ss : 1, 4) + ";");
    x.Leaf("Temperature", Fixed(rnd.Real(8, 34), 1) + ";deg");
}

std::string CzText(CRandom& rnd)
{
    static const double kConstants[] = {375, 500, 600, 1000, 2000, 10000};
    return Fixed(rnd.Pick(kConstants), 2) + ";x1;I/kWh";
}

void WriteErrorBlock(CXmlText& x, CRandom& rnd, const Setup& s, long long nStart)
{
    const int nDur = rnd.Int(30, 900);
    const double err = rnd.Real(-1.5, 1.5);
    x.Leaf("Cz", CzText(rnd));
    x.Leaf("M-Puls", Int(rnd.Pick({5, 10, 20, 50})) + ";x1");
    x.Leaf("M-Inp", rnd.Pick({"RB", "RB", "RB MAN", "RB720", "Start/Stop"}));
    x.Leaf("Uprim-sek", Fixed(s.m_dUPrim, 1) + "/" + Fixed(s.m_dUSek, 1) + ";V");
    x.Leaf("Iprim-sek", Fixed(s.m_dIPrim, 3) + "/" + Fixed(s.m_dISek, 3) + ";A");
    x.Leaf("Error", Fixed(err, 2) + ";%");
    x.Leaf("N-Value", Int(rnd.Int(3, 10)));
    x.Leaf("Spread", Fixed(rnd.Real(0, 0.2), 2) + ";%");
    x.Leaf("Average", Fixed(err + rnd.Real(-0.05, 0.05), 2) + ";%");
    x.Leaf("Deviation", Fixed(rnd.Real(0, 0.1), 2) + ";%");
    x.Leaf("SSM-UB", Fixed(s.m_dURatio == 1 ? 230 : 57.7, 1) + ";V");
    x.Leaf("SSM-IB", Fixed(s.m_dIRange * 0.5, 3) + ";A");
    x.Leaf("SSM-Fr", "50.00;Hz");
    x.Leaf("SSM-Ph", Fixed(rnd.Pick({0.0, 60.0, -36.87}), 2) + ";deg");
    x.Leaf("SSM-MT", Int(nDur) + ";s");
    x.Leaf("StartTime", StampOf(nStart).Full());
    x.Leaf("StopTime", StampOf(nStart + nDur).Full());
    x.Leaf("MTime", Duration(nDur));
    const double e = s.Ir() * s.Ur() * rnd.Real(0.05, 0.5) * nDur / 3600.0;
    x.Leaf("Err-Energie", FormatScaled(e, s.Ir() * s.Ur(), ScaleIndex(e), EnergyUnit(s.m_strMode, 2)));
    x.Leaf("Err-CtRat", Fixed(s.m_dIPrim, 3) + "/" + Fixed(s.m_dISek, 3));
}

void WriteCurve(CXmlText& x, CRandom& rnd, const Setup& s)
{
    for (int ch = 0; ch < 2; ++ch) {
        const std::string strChannel = rnd.Pick(kChannels);
        const bool bCurrent = strChannel[0] == 'I';
        const double range = bCurrent ? s.m_dIRange * s.m_dIRatio : s.m_dURange * s.m_dURatio;
        const double ref = bCurrent ? s.Ir() : s.Ur();
        const double amp = rnd.Real(bCurrent ? 20 : 95, bCurrent ? 80 : 110);  // percent of the range
        const double phase = rnd.Real(0, 2 * std::numbers::pi);
        x.Leaf(ch == 0 ? "ChannelA" : "ChannelB", strChannel);
        const char* pszSample = ch == 0 ? "SampleA" : "SampleB";
        for (int k = 0; k < 504; ++k) {
            // 504 samples over ten periods, with a little third harmonic.
            const double w = 2 * std::numbers::pi * k / 50.4 + phase;
            const double pct = amp * (std::sin(w) + 0.04 * std::sin(3 * w)) + rnd.Real(-0.3, 0.3);
            x.Leaf(pszSample, Int(k + 1) + ";" + Auto(pct * 0.01 * range, ref, bCurrent ? "A" : "V"));
        }
    }
}

void WriteHarmonics(CXmlText& x, CRandom& rnd)
{
    std::vector<std::string> harm;
    double sum = 0;
    for (int n = 0; n <= 40; ++n) {
        double amp;
        if (n == 1)
            amp = 100;
        else if (n == 0)
            amp = rnd.Real(0, 0.2);
        else
            amp = (n % 2 ? rnd.Real(0.5, 6.0) : rnd.Real(0, 0.6)) / std::sqrt(n);
        if (n != 1)
            sum += amp * amp;
        const double phase = n == 1 ? 0.0 : rnd.Real(-180, 180);
        harm.push_back(Int(n) + ";" + Fixed(amp, 2) + ";%;" + Fixed(phase, 1) + ";deg");
    }
    x.Leaf("Channel", rnd.Pick(kChannels));
    x.Leaf("Total-Harm", Fixed(std::sqrt(sum), 2) + ";%");
    for (const std::string& h : harm)
        x.Leaf("Harm", h);
}

void WriteRegister(CXmlText& x, CRandom& rnd, const Setup& s, long long nStart)
{
    const bool bEnergy = rnd.Chance(0.7);  // kind 9 fills energy, kind 10 power
    const int nDur = rnd.Int(300, 3600);
    const char* pszUnit = EnergyUnit(s.m_strMode, 3);
    const double begin = rnd.Real(100, 99999);
    const double measured = rnd.Real(0.5, 20);
    const std::string strStart = StampOf(nStart).Full(), strStop = StampOf(nStart + nDur).Full();
    auto Opt = [bEnergy](bool bForEnergy, const std::string& s) { return bEnergy == bForEnergy ? s : std::string(); };
    x.Leaf("Type", bEnergy ? "E" : "P");
    x.Leaf("Energie", Opt(true, Fixed(measured, 2) + ";" + pszUnit));
    x.Leaf("E-Begin", Opt(true, Fixed(begin, 2) + ";" + pszUnit));
    x.Leaf("E-End", Opt(true, Fixed(begin + measured * 1.001, 2) + ";" + pszUnit));
    x.Leaf("E-Cz", Opt(true, CzText(rnd)));
    x.Leaf("E-Error", Opt(true, Fixed(rnd.Real(-1, 1), 2) + ";%"));
    x.Leaf("E-StartTime", Opt(true, strStart));
    x.Leaf("E-StopTime", Opt(true, strStop));
    x.Leaf("E-MTime", Opt(true, Duration(nDur)));
    const std::string strPowerUnit = std::string(pszUnit).substr(0, std::string(pszUnit).size() - 1);
    x.Leaf("Power", Opt(false, Fixed(measured, 2) + ";" + strPowerUnit));
    x.Leaf("P-Begin", Opt(false, Fixed(begin, 2) + ";" + strPowerUnit));
    x.Leaf("P-End", Opt(false, Fixed(begin + measured, 2) + ";" + strPowerUnit));
    x.Leaf("P-Cz", Opt(false, CzText(rnd)));
    x.Leaf("P-Error", Opt(false, Fixed(rnd.Real(-1, 1), 2) + ";%"));
    x.Leaf("Measurement-Time", Opt(false, Int(rnd.Pick({15, 30, 60})) + ";m"));
    x.Leaf("P-StartTime", Opt(false, strStart));
    x.Leaf("P-StopTime", Opt(false, strStop));
    x.Leaf("P-MTime", Opt(false, Duration(nDur)));
}

void WriteTmTe(CXmlText& x, CRandom& rnd)
{
    const int tm = rnd.Pick({40, 80, 100, 120});
    x.Leaf("Contact", rnd.Pick({"1", "2"}));
    x.Leaf("tm", Int(tm) + ";ms");
    x.Leaf("te", Int(tm) + ";ms");
    x.Leaf("M-Inp-Measure", "RB");
    x.Leaf("M-Inp-Count", Int(rnd.Int(100, 5000)));
    x.Leaf("M-Puls", Int(rnd.Pick({10, 20, 50})) + ";x1");
    x.Leaf("Cz-Measure", CzText(rnd));
    x.Leaf("Cz-Count", CzText(rnd));
    x.Leaf("Error", Fixed(rnd.Real(-0.5, 0.5), 2) + ";%");
    x.Leaf("Impuls", Int(rnd.Int(10, 500)));
    x.Leaf("Tp", Fixed(tm * rnd.Real(0.95, 1.05), 2) + ";ms");
    x.Leaf("Ti", Fixed(rnd.Real(100, 900), 2) + ";ms");
}

void WriteBurden(CXmlText& x, CRandom& rnd, bool bVoltage)
{
    if (bVoltage)
        x.Leaf("U-Nominal", rnd.Chance(0.7) ? "100.0/sqrt(3);V" : "100.0;V");
    else
        x.Leaf("I-Nominal", rnd.Chance(0.8) ? "5.0;A" : "1.0;A");
    const double sn = rnd.Pick({5.0, 10.0, 15.0, 30.0});
    x.Leaf("B-Nominal", Fixed(sn, 1) + ";VA");
    x.Leaf("W-Length", Fixed(rnd.Real(2, 60), 2) + ";m");
    x.Leaf("W-Gauge", rnd.Pick({"1.50;mm2", "2.50;mm2", "4.00;mm2", "6.00;mm2"}));
    for (int n = 1; n <= 3; ++n) {
        const std::string d = Int(n);
        const double u = bVoltage ? rnd.Real(56, 59) : rnd.Real(0.1, 2.5);
        const double i = bVoltage ? rnd.Real(0.01, 0.2) : rnd.Real(4.8, 5.2);
        const double phi = rnd.Real(-5, 40);
        const double rad = phi * std::numbers::pi / 180;
        const double sVA = u * i;
        x.Leaf("UPN" + d, Auto(u, bVoltage ? 120 : 3, "V"));
        x.Leaf("IL" + d, Auto(i, bVoltage ? 0.5 : 10, "A"));
        x.Leaf("PHI" + d, Fixed(phi, 2) + ";deg");
        x.Leaf("P" + d, Auto(sVA * std::cos(rad), 60, "W"));
        x.Leaf("Q" + d, Auto(sVA * std::sin(rad), 60, "VAr"));
        x.Leaf("S" + d, Auto(sVA, 60, "VA"));
        if (bVoltage) {
            x.Leaf("G" + d, Fixed(i / u * std::cos(rad) * 1000, 4) + ";mS");
            x.Leaf("B" + d, Fixed(i / u * std::sin(rad) * 1000, 4) + ";mS");
            x.Leaf("Y" + d, Fixed(i / u * 1000, 4) + ";mS");
        } else {
            x.Leaf("R" + d, Fixed(u / i * std::cos(rad), 4) + ";Ohm");
            x.Leaf("X" + d, Fixed(u / i * std::sin(rad), 4) + ";Ohm");
            x.Leaf("Z" + d, Fixed(u / i, 4) + ";Ohm");
        }
        x.Leaf("Sb" + d, Auto(sVA, 60, "VA"));
        x.Leaf("CosBeta" + d, Fixed(std::cos(rad), 3));
        x.Leaf("SN" + d, Fixed(sVA / sn * 100, 2) + ";%");
    }
}

void WriteContinueValues(CXmlText& x, CRandom& rnd, const Setup& s, long long nStart, int nStep, int nEntries)
{
    for (int e = 0; e < nEntries; ++e) {
        x.Open("Value-Measurement");
        x.Leaf("No", Int(e + 1));
        x.Leaf("TimeStamp", StampOf(nStart + static_cast<long long>(e) * nStep).Full());
        WriteActualValues(x, rnd, s);
        x.Close("Value-Measurement");
    }
}

void WriteTransformer(CXmlText& x, CRandom& rnd)
{
    const double uPrim = rnd.Pick({10000.0, 20000.0});
    const double iPrim = rnd.Pick({50.0, 100.0, 200.0});
    auto Angle = [&](const char* pszPrefix) {
        const double min = rnd.Real(-20, 20);
        x.Leaf(std::string(pszPrefix) + "-Angle-deg", Fixed(min / 60, 2) + ";deg");
        x.Leaf(std::string(pszPrefix) + "-Angle-min", Fixed(min, 2) + ";min");
        x.Leaf(std::string(pszPrefix) + "-Angle-crad", Fixed(min / 60 * std::numbers::pi / 1.8, 2) + ";crad");
    };
    x.Leaf("VT-N", Fixed(uPrim, 1) + "/100.0;V");
    x.Leaf("VT-X", Fixed(uPrim, 1) + "/100.0;V");
    x.Leaf("U-Prim", Auto(uPrim * rnd.Real(0.98, 1.02), uPrim * 1.2, "V"));
    x.Leaf("U-Sek-N", Auto(rnd.Real(99, 101), 120, "V"));
    x.Leaf("U-Sek-X", Auto(rnd.Real(99, 101), 120, "V"));
    x.Leaf("VT-Value", Fixed(rnd.Real(-0.5, 0.5), 3) + ";%");
    Angle("VT");
    x.Leaf("CT-N", Fixed(iPrim, 1) + "/5.0;A");
    x.Leaf("CT-X", Fixed(iPrim, 1) + "/5.0;A");
    x.Leaf("CT_Xc", Fixed(iPrim, 1) + "/5.0;A");
    x.Leaf("I-Prim", Auto(iPrim * rnd.Real(0.1, 1.0), iPrim * 1.2, "A"));
    x.Leaf("I-Sek-N", Auto(rnd.Real(0.5, 5), 10, "A"));
    x.Leaf("I-Sek-X", Auto(rnd.Real(0.5, 5), 10, "A"));
    x.Leaf("CT-Value", Fixed(rnd.Real(-0.5, 0.5), 3) + ";%");
    Angle("CT");
    x.Leaf("VTCT-Value", Fixed(rnd.Real(-0.8, 0.8), 3) + ";%");
    Angle("VTCT");
}

void WriteAutomatic(CXmlText& x, CRandom& rnd)
{
    const int nBlocks = rnd.Int(2, 5);
    for (int b = 0; b < nBlocks; ++b) {
        x.Open("Line-Common");
        x.Leaf("Line", std::string("Prüfablauf ") + Int(b + 1) + ": Lastpunkt " + rnd.Pick({"Imax", "Ib", "10 % Ib", "5 % Ib"}));
        const int nLines = rnd.Int(4, 10);
        for (int l = 0; l < nLines; ++l)
            x.Leaf("Line", std::string("P") + Int(l + 1) + ";" + Fixed(rnd.Real(225, 235), 2) + " V;" + Fixed(rnd.Real(0.5, 5), 4)
                               + " A;cos " + Fixed(rnd.Pick({1.0, 0.5, 0.8}), 2) + ";Fehler " + Fixed(rnd.Real(-1, 1), 2)
                               + " %");
        x.Close("Line-Common");
    }
}

void WriteAux(CXmlText& x, CRandom& rnd)
{
    for (int k = 1; k <= 6; ++k) {
        const std::string d = Int(k);
        const double v = rnd.Real(50, 240);
        const double a = rnd.Real(-180, 180);
        x.Leaf("Aux-Value-" + d, Auto(v, 300, "V"));
        x.Leaf("Aux-Angle-" + d, Fixed(a, 2) + ";deg");
        x.Leaf("Ref-Name-" + d, rnd.Pick(kChannels));
        x.Leaf("Ref-Value-" + d, Auto(v * rnd.Real(0.99, 1.01), 300, "V"));
        x.Leaf("Ref-Angle-" + d, Fixed(a + rnd.Real(-0.5, 0.5), 2) + ";deg");
        x.Leaf("Aux-Diff-Value-" + d, Fixed(rnd.Real(-1, 1), 3) + ";%");
        x.Leaf("Aux-Diff-Angle-" + d, Fixed(rnd.Real(-0.5, 0.5), 2) + ";deg");
    }
}

void WriteSelective(CXmlText& x, CRandom& rnd, const Setup& s)
{
    const int ch = rnd.Int(1, 3);
    x.Leaf("ChannelU", std::string("UL") + Int(ch));
    x.Leaf("ChannelI", std::string("IL") + Int(ch));
    const double refP = s.Ir() * s.Ur();
    const bool b3 = IsThreeWire(s.m_strMode);
    for (int n = 0; n <= 40; ++n) {
        const double base = n == 1 ? refP * rnd.Real(0.05, 0.6) : refP * rnd.Real(0, 0.002) / (n + 1);
        const double p = base * rnd.Real(0.7, 1.0), q = base * rnd.Real(-0.4, 0.4);
        const std::string strS = b3 ? std::string("---;VA") : Auto(std::hypot(p, q), refP, "VA");
        x.Leaf("HarmValue", std::string("N;") + Int(n) + ";U;;V;I;;A;P;" + Auto(p, refP, "W") + ";Q;" + Auto(q, refP, "var") + ";S;" + strS);
    }
}

void WritePQS(CXmlText& x, CRandom& rnd)
{
    x.Leaf("M-Time", Duration(rnd.Int(300, 3600)));
    static const char* const kUnits[3] = {"kWh", "kVArh", "kVAh"};
    static const char* const kNames[3][5] = {
        {"P-Energie", "PE-Begin", "PE-End", "PE-Error", nullptr},
        {"Q-Energie", "QE-Begin", "QE-End", "QE-Error", nullptr},
        {"S-Energie", "SE-Begin", "SE-End", "SE-Error", nullptr},
    };
    for (int t = 0; t < 3; ++t) {
        const double begin = rnd.Real(100, 99999), measured = rnd.Real(0.5, 20);
        x.Leaf(kNames[t][0], Fixed(measured, 2) + ";" + kUnits[t]);
        x.Leaf(kNames[t][1], Fixed(begin, 2) + ";" + kUnits[t]);
        x.Leaf(kNames[t][2], Fixed(begin + measured, 2) + ";" + kUnits[t]);
        x.Leaf(kNames[t][3], Fixed(rnd.Real(-1, 1), 2) + ";%");
    }
}

int PickKind(CRandom& rnd)
{
    int r = rnd.Int(0, 999);
    for (int k = 0; k < CBenchDataGenerator::kKinds; ++k) {
        if (r < kKindShare[k])
            return k;
        r -= kKindShare[k];
    }
    return KValue;
}

} // namespace

const char* CBenchDataGenerator::KindName(int nKind)
{
    return nKind >= 0 && nKind < kKinds ? kKindNames[nKind] : "";
}

bool CBenchDataGenerator::Generate(const std::string& strFolder, std::string& strError)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(strFolder, ec);
    if (ec) {
        strError = "cannot create folder " + strFolder + ": " + ec.message();
        return false;
    }
    CRandom rnd(m_nSeed);

    // Main.xml: groups with their locations, and ungrouped locations between
    // them, as a file grows by hand.
    {
        CXmlText x(static_cast<std::size_t>(m_nLocations) * 1100 + 4096);
        x.Declaration();
        x.Open("Main-Data");
        const int nGroups = m_nGroups > 0 ? m_nGroups : 0;
        const int nUngrouped = nGroups > 0 ? std::min(m_nUngrouped, m_nLocations) : m_nLocations;
        const int nGrouped = m_nLocations - nUngrouped;
        int nNext = 0;
        int nUngroupedLeft = nUngrouped;
        std::vector<std::string> groupNames;
        const int nPrefixes = static_cast<int>(std::size(kGroupPrefixes));
        const int nCities = static_cast<int>(std::size(kCities));
        for (int g = 0; g < nGroups; ++g) {
            // Unique names: prefix and city, then a number once all pairs are used.
            const int nPair = (g * 37) % (nPrefixes * nCities);
            std::string strName = std::string(kGroupPrefixes[nPair % nPrefixes]) + " " + kCities[nPair / nPrefixes].pszCity;
            if (g >= nPrefixes * nCities)
                strName += std::string(" ") + Int(g / (nPrefixes * nCities) + 1);
            const int nInGroup = nGrouped / nGroups + (g < nGrouped % nGroups ? 1 : 0);
            x.OpenWithAttribute("Group", "Name", strName);
            for (int i = 0; i < nInGroup; ++i)
                WriteLocation(x, rnd, nNext++);
            x.Close("Group");
            const int nHere = nUngroupedLeft / (nGroups - g);
            for (int i = 0; i < nHere; ++i)
                WriteLocation(x, rnd, nNext++);
            nUngroupedLeft -= nHere;
        }
        while (nNext < m_nLocations)
            WriteLocation(x, rnd, nNext++);
        x.Close("Main-Data");
        if (!WriteFile(fs::path(strFolder) / "Main.xml", x.Text(), strError))
            return false;
        m_nMainBytes = x.Text().size();
    }

    // Result.xml.
    m_kindCounts.fill(0);
    m_nUnassignedResults = 0;
    m_nContinueEntries = 0;
    {
        std::vector<std::string> unknownIds;
        for (int i = 0; i < 40; ++i)
            unknownIds.push_back(std::string("ZP9") + Int(10000 + i * 113));
        unknownIds.push_back("Prüfplatz 3");
        unknownIds.push_back("Labor Süd");

        CXmlText x(static_cast<std::size_t>(m_nResults) * 4200 + 4096);
        x.Declaration();
        x.Open("Result-Data");
        // Distinct, rising time stamps from a start in 2019.
        long long nNow = DaysFromCivil(2019, 3, 4) * 86400 + 7 * 3600 + 12 * 60;
        for (int r = 0; r < m_nResults; ++r) {
            nNow += rnd.Int(20, 4000);
            const int nKind = PickKind(rnd);
            ++m_kindCounts[static_cast<std::size_t>(nKind)];
            const Stamp stamp = StampOf(nNow);
            std::string strId;
            if (m_nLocations <= 0 || rnd.Chance(m_dUnassignedShare)) {
                strId = rnd.Pick(unknownIds);
                ++m_nUnassignedResults;
            } else {
                strId = LocationId(rnd.Int(0, m_nLocations - 1));
            }
            const Setup s = MakeSetup(rnd);
            const bool bPlace = (nKind == KError || nKind == KRegister || nKind == KTmTe) && rnd.Chance(0.6);
            const int nStep = rnd.Pick({1, 15, 60});
            const std::string strInterval = nKind == KContinue ? Int(nStep) + ";s" : std::string();

            x.Open("Result");
            x.Leaf("ID", strId);
            x.Leaf("Language", "Deutsch");
            x.Leaf("Device-No", Int(20400 + (r % 7) * 13));
            x.Leaf("Device-Typ", "PX900");
            x.Leaf("Date", stamp.m_strDate);
            x.Leaf("Time", stamp.m_strTime);
            x.Leaf("U-Range", Fixed(s.m_dURange, 1) + ";V;" + Int(static_cast<long long>(s.m_dURange)) + "V");
            x.Leaf("I-Range", Fixed(s.m_dIRange, 3) + ";A;" + Int(static_cast<long long>(s.m_dIRange)) + "A");
            x.Leaf("M-Mode", s.m_strMode);
            x.Leaf("Function", kKindNames[nKind]);
            x.Leaf("Datatype", kDatatypes[nKind]);
            const char* pszSqrt = s.m_bUSqrt3 ? ":sqrt(3)" : "";
            x.Leaf("U-PrimSek", Fixed(s.m_dUPrim, 1) + pszSqrt + "/" + Fixed(s.m_dUSek, 1) + pszSqrt + ";V;"
                                    + Fixed(s.m_dURatio, 2));
            x.Leaf("I-PrimSek", Fixed(s.m_dIPrim, 3) + "/" + Fixed(s.m_dISek, 3) + ";A;" + Fixed(s.m_dIRatio, 3));
            x.Leaf("PrimSek-Val-Cz-Reg", "On;On;On");
            x.Leaf("Place-No", bPlace ? Int(rnd.Int(1, 3)) : std::string());
            x.Leaf("Time-Interval", strInterval);
            x.Leaf("AdjustData", "OK");
            x.Leaf("Remark", rnd.Chance(0.1) ? rnd.Pick(kRemarks) : "");
            x.Leaf("PX900Adr", "1");

            switch (nKind) {
            case KValue:
            case KVector:
                WriteActualValues(x, rnd, s);
                break;
            case KError:
                WriteActualValues(x, rnd, s);
                WriteErrorBlock(x, rnd, s, nNow - rnd.Int(60, 600));
                break;
            case KCurve: WriteCurve(x, rnd, s); break;
            case KHarmonics: WriteHarmonics(x, rnd); break;
            case KRegister: WriteRegister(x, rnd, s, nNow - 3600); break;
            case KTmTe: WriteTmTe(x, rnd); break;
            case KUBurden: WriteBurden(x, rnd, true); break;
            case KIBurden: WriteBurden(x, rnd, false); break;
            case KContinue: {
                const int nEntries = rnd.Int(24, 96);
                m_nContinueEntries += nEntries;
                WriteContinueValues(x, rnd, s, nNow, nStep, nEntries);
                // The series ran for a while: the next result comes after it.
                nNow += static_cast<long long>(nEntries) * nStep;
                break;
            }
            case KUITransformer: WriteTransformer(x, rnd); break;
            case KAutomatic: WriteAutomatic(x, rnd); break;
            case KAux: WriteAux(x, rnd); break;
            case KSelective: WriteSelective(x, rnd, s); break;
            case KPQS: WritePQS(x, rnd); break;
            }
            x.Close("Result");
        }
        x.Close("Result-Data");
        if (!WriteFile(fs::path(strFolder) / "Result.xml", x.Text(), strError))
            return false;
        m_nResultBytes = x.Text().size();
    }
    return true;
}
