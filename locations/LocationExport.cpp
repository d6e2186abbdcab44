#include "locations/LocationExport.h"

#include "core/Messages.h"
#include "locations/LocationImport.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <pugixml.hpp>

#include <cstring>
#include <memory>

namespace {

QString Text(pugi::xml_node el)
{
    return QString::fromUtf8(el.text().get());
}

// The first location of the ID at any depth.
pugi::xml_node FindMain(CXMLDocument& doc, const QString& strId)
{
    const QByteArray id = strId.toUtf8();
    return doc.GetDocumentElement().find_node([&id](pugi::xml_node n) {
        return std::strcmp(n.name(), "Main") == 0 && id == n.child("General").child("ID").text().get();
    });
}

QString ResultKey(pugi::xml_node r)
{
    return Text(r.child("ID")) + u'\x1f' + Text(r.child("Date")) + u'\x1f' + Text(r.child("Time")) + u'\x1f'
           + Text(r.child("Function")) + u'\x1f' + Text(r.child("Place-No"));
}

// Opens a target file, creating it from the start text when it does not
// exist; returns whether it was created.
bool OpenTarget(CXMLDocument& doc, const QString& strPath, const QByteArray& start, const char* pszRoot)
{
    bool bCreated = false;
    if (!QFile::exists(strPath)) {
        QSaveFile f(strPath);
        if (!f.open(QIODevice::WriteOnly) || f.write(start) != start.size() || !f.commit())
            throw CTransferException(LoadString(IDS_XML_SAVE) + u'\n' + strPath + QStringLiteral(": ") + f.errorString());
        bCreated = true;
    }
    try {
        doc.Open(strPath);
    } catch (...) {
        if (bCreated)
            QFile::remove(strPath);
        throw;
    }
    // A file of the other kind is refused on save, before anything is written.
    doc.SetExpectedRoot(QLatin1String(pszRoot));
    return bCreated;
}

} // namespace

std::optional<CExportSummary> ExportLocation(CXMLDocument& xmlMain, CXMLDocument& xmlResult, const QString& strId,
                                             const QString& strTargetMain, const QString& strTargetResult)
{
    for (const QString& strPath : {strTargetMain, strTargetResult})
        if (IsSameFile(strPath, xmlMain.GetFileName()) || IsSameFile(strPath, xmlResult.GetFileName()))
            throw CTransferException(LoadString(IDS_OWN_DATA_FILE).arg(strPath));
    if (IsSameFile(strTargetMain, strTargetResult))
        throw CTransferException(LoadString(IDS_SAME_TARGET_FILES));

    CExportSummary s;
    CXMLDocument targetMain, targetResult;
    bool bMainCreated = false, bResultCreated = false;
    std::unique_ptr<CXMLDocument::CChangeLock> mainLock, resultLock;
    const auto removeCreated = [&] {
        mainLock.reset();
        resultLock.reset();
        if (bMainCreated)
            QFile::remove(strTargetMain);
        if (bResultCreated)
            QFile::remove(strTargetResult);
    };
    try {
        if (!strTargetMain.isEmpty()) {
            const pugi::xml_node source = xmlMain.IsValid() ? FindMain(xmlMain, strId) : pugi::xml_node();
            if (!source)
                throw CTransferException(LoadString(IDS_EXPORT_NOT_FOUND).arg(strId));
            const pugi::xml_node sourceParent = source.parent();
            const QString strGroup = std::strcmp(sourceParent.name(), "Group") == 0
                                         ? QString::fromUtf8(sourceParent.attribute("Name").value())
                                         : QString();
            QByteArray start = "<Main-Data>\n</Main-Data>";
            if (!strGroup.isEmpty()) {
                pugi::xml_document tmp;
                tmp.append_child("Group").append_attribute("Name").set_value(strGroup.toUtf8().constData());
                struct W : pugi::xml_writer
                {
                    QByteArray b;
                    void write(const void* p, size_t n) override { b.append(static_cast<const char*>(p), static_cast<qsizetype>(n)); }
                } w;
                tmp.document_element().print(w, "", pugi::format_raw);
                start = "<Main-Data>\n" + w.b + "\n</Main-Data>";
            }
            bMainCreated = OpenTarget(targetMain, strTargetMain, start, "Main-Data");
            mainLock = targetMain.LockForChange();
            pugi::xml_node root = targetMain.GetDocumentElement();
            if (pugi::xml_node old = FindMain(targetMain, strId)) {
                if (!AskYesNo(LoadString(IDS_EXPORT_ASK_OVERWRITE), MsgIcon::Question)) {
                    removeCreated();
                    return std::nullopt;
                }
                old.parent().remove_child(old);
                targetMain.NoteRemoval();
            }
            pugi::xml_node parent = root;
            if (!strGroup.isEmpty()) {
                parent = root.find_child_by_attribute("Group", "Name", strGroup.toUtf8().constData());
                if (!parent) {
                    parent = root.append_child("Group");
                    parent.append_attribute("Name").set_value(strGroup.toUtf8().constData());
                }
            }
            if (!parent.append_copy(source))
                throw CXMLException(IDS_XML_APPEND_NODE);
            s.m_bLocation = true;
        }
        if (!strTargetResult.isEmpty() && xmlResult.IsValid()) {
            const QByteArray id = strId.toUtf8();
            std::vector<pugi::xml_node> results;
            for (pugi::xml_node r = xmlResult.GetDocumentElement().child("Result"); r; r = r.next_sibling("Result"))
                if (id == r.child("ID").text().get())
                    results.push_back(r);
            if (!results.empty()) {
                bResultCreated = OpenTarget(targetResult, strTargetResult, "<Result-Data>\n</Result-Data>", "Result-Data");
                resultLock = targetResult.LockForChange();
                pugi::xml_node root = targetResult.GetDocumentElement();
                QSet<QString> present;
                for (pugi::xml_node r = root.child("Result"); r; r = r.next_sibling("Result"))
                    present.insert(ResultKey(r));
                for (const pugi::xml_node r : results) {
                    if (present.contains(ResultKey(r))) {
                        ++s.m_nResultsPresent;
                        continue;
                    }
                    if (!root.append_copy(r))
                        throw CXMLException(IDS_XML_APPEND_NODE);
                    ++s.m_nResults;
                }
            }
        }
        SavePair(s.m_bLocation ? &targetMain : nullptr, s.m_nResults ? &targetResult : nullptr, bMainCreated,
                 bResultCreated);
        // A target created but left without data (all results present) is
        // not left behind empty.
        if (bResultCreated && !s.m_nResults)
            QFile::remove(strTargetResult);
    } catch (const CException&) {
        removeCreated();
        throw;
    }
    return s;
}
