// One stored record as the device sends it. fuzz_record_decoder: decoded by
// a fresh decoder and by one that has decoded another record before, as in
// a readout, the two results must agree. fuzz_record_store (FUZZ_STORE):
// appended to a result file the way the readout does, whatever the device
// sent, the file holds only what strict parsers read and the result is found
// by its identity.

#include "FuzzSupport.h"

#include "core/TextCodec.h"
#include "device/PX900Device.h"
#include "device/Readout.h"
#include "device/RecordDecoder.h"
#include "xml/ResultLookup.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <pugixml.hpp>

#include <sstream>

namespace {

const QDateTime kStamp(QDate(2024, 3, 12), QTime(9, 5, 0));

#ifndef FUZZ_STORE
class CFieldDump : public IResultFieldVisitor
{
public:
    QStringList m_fields;
    void Text(const QString& strName, QString& strValue) override { m_fields << strName + u'=' + strValue; }
    void TextArray(const QString& strName, QStringList& values) override
    {
        m_fields << strName + u'=' + values.join(u'|');
    }
};

QStringList Dump(CResultRecord& record)
{
    CFieldDump dump;
    record.VisitFields(dump, true);
    return dump.m_fields;
}
#else
void CheckStored(const CResultRecord& record)
{
    CXMLDocument doc;
    doc.LoadXML(QStringLiteral("<Result-Data/>"));
    doc.SuppressSave();
    CXMLNodeResult cursor(&doc);
    cursor.Open(QStringLiteral("Result"));
    AppendResult(cursor, record);

    std::ostringstream out;
    doc.GetDOM()->save(out, "", pugi::format_indent, pugi::encoding_utf8);
    FUZZ_CHECK(IsStrictXmlText(QByteArray::fromStdString(out.str())));

    const CResultIdentity identity(XmlSafeText(record.m_strID), XmlSafeText(record.m_strDate),
                                   XmlSafeText(record.m_strTime));
    CXMLNodeResult found(&doc);
    FUZZ_CHECK(FindResult(found, identity));
    FUZZ_CHECK(found.m_strFunction == record.m_strFunction);
}
#endif

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList lines;
    SplitResultLines(FuzzBytes(data, size), lines);
    // Firmware before 5 knows fewer measuring modes.
    const int nMajor = size % 2 ? 4 : 5;
    CRecordDecoder decoder(QStringLiteral("PX900 "), QStringLiteral("123456"), nMajor);
    CResultRecord record;
    const bool bStored = decoder.Decode(lines, kStamp, record);
#ifdef FUZZ_STORE
    if (bStored)
        CheckStored(record);
#else
    // A record with every header a record can set, decoded first.
    CRecordDecoder used(QStringLiteral("PX900 "), QStringLiteral("123456"), nMajor);
    CResultRecord previous;
    used.Decode({QStringLiteral("RID;12"), QStringLiteral("MM;3"), QStringLiteral("UR;300;a"),
                 QStringLiteral("IR;5;b"), QStringLiteral("URat;20000;1;100;1"), QStringLiteral("IRat;150;5"),
                 QStringLiteral("Ent;1"), QStringLiteral("Ent0;4"), QStringLiteral("Ent1;0"),
                 QStringLiteral("Ent2;2"), QStringLiteral("CCA;1"), QStringLiteral("CCB;2"),
                 QStringLiteral("Start;01.01.2024 10:00:00"), QStringLiteral("HV2;5")},
                kStamp, previous);
    CResultRecord again;
    FUZZ_CHECK(used.Decode(lines, kStamp, again) == bStored);
    FUZZ_CHECK(used.GetRawKind() == decoder.GetRawKind());
    FUZZ_CHECK(Dump(again) == Dump(record));
#endif
    return 0;
}
