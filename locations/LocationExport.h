#pragma once

#include <QString>

#include <optional>

class CXMLDocument;

// What an export wrote.
struct CExportSummary
{
    bool m_bLocation = false;
    int m_nResults = 0;
    // Results the target file held already and that were not copied again.
    int m_nResultsPresent = 0;
};

// Copies the location (into its group, made in the target when missing) and
// its results into another pair of files; either target may be empty. A
// target that does not exist is created. A location the target holds
// already is asked about (306); no ends the export with nothing written
// (nullopt). Results already in the target are not copied twice. Both
// targets are written or neither; CTransferException tells why not.
std::optional<CExportSummary> ExportLocation(CXMLDocument& xmlMain, CXMLDocument& xmlResult, const QString& strId,
                                             const QString& strTargetMain, const QString& strTargetResult);
