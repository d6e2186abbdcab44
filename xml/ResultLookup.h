#pragma once

#include "core/ResultIdentity.h"

#include <QString>

class CXMLNodeMain;
class CXMLNodeResult;

// Positions a result cursor on the first result of its document with the
// identity, found through the document's index in constant time. Any text
// is matched literally.
bool FindResult(CXMLNodeResult& cursor, const CResultIdentity& identity);

// Positions a location cursor on the location with the ID, at any depth.
bool FindLocation(CXMLNodeMain& cursor, const QString& strID);
