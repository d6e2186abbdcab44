#include "locations/ResultKind.h"

#include "resources/StringTable.h"
#include "xml/XMLNodeResult.h"

namespace {

struct KindInfo
{
    int nKind;
    QLatin1String function;
    unsigned nTitleId;
};

const KindInfo g_kinds[] = {
    {ResultKind::Value, ResultFunction::Value, IDS_KIND_VALUE},
    {ResultKind::Vector, ResultFunction::Vector, IDS_KIND_VECTOR},
    {ResultKind::Curve, ResultFunction::Curve, IDS_KIND_CURVE},
    {ResultKind::Harmonics, ResultFunction::Harmonics, IDS_KIND_HARMONICS},
    {ResultKind::Error, ResultFunction::Error, IDS_KIND_ERROR},
    {ResultKind::Register, ResultFunction::Register, IDS_KIND_REGISTER},
    {ResultKind::TmTe, ResultFunction::TmTe, IDS_KIND_TMTE},
    {ResultKind::UBurden, ResultFunction::UBurden, IDS_KIND_UBURDEN},
    {ResultKind::IBurden, ResultFunction::IBurden, IDS_KIND_IBURDEN},
    {ResultKind::ContinueValue, ResultFunction::ContinueValue, IDS_KIND_CONTINUE},
    {ResultKind::UITransformer, ResultFunction::UITransformer, IDS_KIND_UITRANSFORMER},
    {ResultKind::Automatic, ResultFunction::Automatic, IDS_KIND_AUTOMATIC},
    {ResultKind::AuxChannel, ResultFunction::AuxChannel, IDS_KIND_AUXCHANNEL},
    {ResultKind::Selective, ResultFunction::Selective, IDS_KIND_SELECTIVE},
    {ResultKind::PQSRegister, ResultFunction::PQSRegister, IDS_KIND_PQSREGISTER},
};

const KindInfo* Find(int nKind)
{
    for (const KindInfo& k : g_kinds)
        if (k.nKind == nKind)
            return &k;
    return nullptr;
}

} // namespace

int KindOfFunction(const QString& strFunction)
{
    for (const KindInfo& k : g_kinds)
        if (strFunction == k.function)
            return k.nKind;
    return -1;
}

QString FunctionOfKind(int nKind)
{
    const KindInfo* p = Find(nKind);
    return p ? QString(p->function) : QString();
}

unsigned KindTitleId(int nKind)
{
    const KindInfo* p = Find(nKind);
    return p ? p->nTitleId : 0;
}

QString KindTitle(int nKind)
{
    const unsigned nId = KindTitleId(nKind);
    return nId ? LoadString(nId) : QString();
}

int KindFolderImage(int nKind)
{
    if (!Find(nKind))
        return -1;
    // The strip holds the folder images in kind order from index 4; index 18
    // is the group image, so the last two kinds follow it.
    if (nKind <= ResultKind::AuxChannel)
        return nKind + 1;
    return nKind == ResultKind::Selective ? 19 : 20;
}

bool KindHasPlaceNumbers(int nKind)
{
    return nKind == ResultKind::Error || nKind == ResultKind::Register || nKind == ResultKind::TmTe;
}
