// The answers to ARC, AAV and AAW: any bytes the line delivers.

#include "FuzzSupport.h"

#include "core/Number.h"
#include "device/PX900Device.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray answer = FuzzBytes(data, size);
    const int nCount = ParseResultCount(answer);
    // The readout reads the major version from the version text.
    const int nMajor = ParseInt(ParseVersion(answer));
    QString strType = QStringLiteral("unchanged"), strSerial = QStringLiteral("unchanged");
    const bool bIdentity = ParseIdentity(answer, strType, strSerial);
    FUZZ_CHECK(bIdentity || strType == QLatin1String("unchanged"));
    QStringList lines;
    SplitResultLines(answer, lines);
    FUZZ_CHECK(lines.size() == answer.count('\r') + 1);
    static volatile int nSink;
    nSink = nCount ^ nMajor;
    return 0;
}
