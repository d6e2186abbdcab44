#include "resources/StringTable.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Sorted by id. The texts are the German originals and serve as the source
// texts of Qt's translation files (context "Qarda").
const StringTableEntry g_table[] = {
    {IDS_XML_DOM_CREATE, QT_TRANSLATE_NOOP("Qarda", "Fehler beim Erzeugen einer Instanz von XML DOM")},
    {IDS_XML_ASYNC, QT_TRANSLATE_NOOP("Qarda", "Fehler beim Setzen der asyncronen Eigenschaften.")},
    {IDS_XML_VALIDATE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Setzen der Eigenschaft \"validateOnParse\" aufgetreten")},
    {IDS_XML_EXTERNALS, QT_TRANSLATE_NOOP("Qarda", "Failed to disable resolving externals.")},
    {IDS_REG_VALUE_NOT_CREATED, QT_TRANSLATE_NOOP("Qarda", "Der Wert '%1' konnte im Schlüssel '%2' nicht erzeugt werden.")},
    {IDS_REG_WRITE_FAILED, QT_TRANSLATE_NOOP("Qarda", "Schreiben in die Registry schlug fehl.")},
    {IDS_XML_PARSE_ERROR, QT_TRANSLATE_NOOP("Qarda", "Fehler in XML Datei: %1\nZeile %2, Position %3\nFehler (%4) Text: %5")},
    {IDS_XML_DOCNODE, QT_TRANSLATE_NOOP("Qarda", "Der XMLDOMNode konnte nicht erzeugt werden.")},
    {IDS_XML_GET_ATTRIBUTES, QT_TRANSLATE_NOOP("Qarda", "Fehler beim Holen der Attribute.")},
    {IDS_XML_ELEMENT_NAME, QT_TRANSLATE_NOOP("Qarda", "Fehler bei der Abfrage des Namens des Elements")},
    {IDS_XML_ELEMENT_TYPE, QT_TRANSLATE_NOOP("Qarda", "Fehler bei der Abfrage des Typs des Elements.")},
    {IDS_XML_ATTRIBUTE_VALUE, QT_TRANSLATE_NOOP("Qarda", "Fehler bei der Abfrage des Wertes des ersten Elements.")},
    {IDS_XML_NOT_FOUND, QT_TRANSLATE_NOOP("Qarda", "XML Datei konnte nicht gefunden werden: %1")},
    {IDS_XML_LOAD_FAILED, QT_TRANSLATE_NOOP("Qarda", "Fehler beim Laden der Datei '%1'")},
    {IDS_XML_LOADXML, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Laden des XML-Codes aufgetreten")},
    {IDS_XML_SAVE, QT_TRANSLATE_NOOP("Qarda", "Beim Speichern der XML Datei ist ein Fehler aufgetreten")},
    {IDS_XML_NO_DOCUMENT, QT_TRANSLATE_NOOP("Qarda", "Es ist kein gültiges XMLDocument vorhanden")},
    {IDS_XML_GET_ELEMENTS, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Holen der Elemente aufgetreten")},
    {IDS_XML_GET_COUNT, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Holen der Anzahl der Elemente aufgetreten")},
    {IDS_XML_DOCUMENT_ELEMENT, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Holen des document Elements aufgetreten")},
    {IDS_XML_REMOVE, QT_TRANSLATE_NOOP("Qarda", "Element konnten nicht aus der XML Datei entfernt werden")},
    {IDS_XML_PARENT, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Holen des Vorgängerknotens aufgetreten")},
    {IDS_XML_SET_VALUE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Setzen des Wertes aufgetreten")},
    {IDS_XML_SET_ATTRIBUTE_VALUE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Setzen des Wertes aufgetreten")},
    {IDS_XML_CREATE_ATTRIBUTE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Erzeugen eines Attributes aufgetreten")},
    {IDS_XML_SET_ATTRIBUTE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Setzen des Attributes aufgetreten")},
    {IDS_XML_CREATE_NODE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Erzeugen eines Knoten aufgetreten")},
    {IDS_XML_APPEND_NODE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Anhängen eines Knoten aufgetreten")},
    {IDS_XML_LOAD_VALUE, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Laden des Wertes aufgetreten")},
    {IDS_NO_RESULTS_STORED, QT_TRANSLATE_NOOP("Qarda", "Es wurden keine Ergebnisse im PX900 abgespeichert.")},
    {IDS_LANG_GERMAN, QT_TRANSLATE_NOOP("Qarda", "Deutsch")},
    {IDS_LANG_ENGLISH, QT_TRANSLATE_NOOP("Qarda", "Englisch")},
    {IDS_ID_EXISTS, QT_TRANSLATE_NOOP("Qarda", "Die von Ihnen eingegebene ID ist schon vergeben.")},
    {IDS_NORM_IEC387, QT_TRANSLATE_NOOP("Qarda", "IEC 387")},
    {IDS_NORM_DIN410, QT_TRANSLATE_NOOP("Qarda", "DIN 410")},
    {IDS_DEVICE_INIT, QT_TRANSLATE_NOOP("Qarda", "Das Gerät konnte nicht initialisiert werden.")},
    {IDS_DEVICE_COMMAND, QT_TRANSLATE_NOOP("Qarda", "Das Kommando %1 konnte nicht ausgeführt werden.")},
    {IDS_DEVICE_COMMUNICATION, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Kommunikationsfehler aufgetreten.")},
    {IDS_DEVICE_TIMEOUT, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Timeoutfehler aufgetreten. Die Antwort (%1) stimmt nicht mit der erwarteten Antwort überein.")},
    {IDS_PX900_ERROR, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim PX900 aufgetreten. ")},
    {IDS_PX900_GET_RESULT, QT_TRANSLATE_NOOP("Qarda", "Beim Abfragen der Istwerte beim PX900 ist ein Fehler aufgetreten. ")},
    {IDS_PX900_DELETE, QT_TRANSLATE_NOOP("Qarda", "Beim löschen der Ergebnisse im Px900 ist ein Fehler aufgetreten. ")},
    {IDS_PX900_ASK_DELETE, QT_TRANSLATE_NOOP("Qarda", "Wollen Sie die im PX900 gespeicherten Ergebnisse löschen ?")},
    {IDS_PX900_ASK_DELETE_SURE, QT_TRANSLATE_NOOP("Qarda", "Wollen Sie die im PX900 gespeicherten Ergebnisse wirklich löschen ?")},
    {IDS_PX900_GET_COUNT, QT_TRANSLATE_NOOP("Qarda", "Beim Abfragen der Anzahl der gepeicherten Werte beim PX900 ist ein Fehler aufgetreten. ")},
    {IDS_XML_SELECT, QT_TRANSLATE_NOOP("Qarda", "Es ist ein Fehler beim Selektieren der Elemente aufgetreten")},
    {IDS_XML_NODE_ELEMENT, QT_TRANSLATE_NOOP("Qarda", "Fehler beim Abfragen des Elementes zu einen Knoten")},
    {IDS_GROUP_EXISTS, QT_TRANSLATE_NOOP("Qarda", "Es existiert bereits eine Gruppe mit der Bezeichnung.")},
    {IDS_XML_CLONE, QT_TRANSLATE_NOOP("Qarda", "Fehler beim kopieren eines Elements.")},
    {IDS_RESULTS_DELETED, QT_TRANSLATE_NOOP("Qarda", "Die Ergebnisse wurden erfolgreich gelöscht.")},
    {IDS_PX900_VERSION, QT_TRANSLATE_NOOP("Qarda", "Beim abfragen der Version ist ein Fehler aufgetrten.")},
    {IDS_LANG_FRENCH, QT_TRANSLATE_NOOP("Qarda", "Französisch")},
    {IDS_LANG_CZECH, QT_TRANSLATE_NOOP("Qarda", "Tschechisch")},
    {IDS_APP_TITLE, QT_TRANSLATE_NOOP("Qarda", "Qarda")},
    {IDS_LANG_SPANISH, QT_TRANSLATE_NOOP("Qarda", "Spanisch")},
    {IDS_LANG_RUSSIAN, QT_TRANSLATE_NOOP("Qarda", "Russisch")},
};

} // namespace

const StringTableEntry* StringTableBegin()
{
    return std::begin(g_table);
}

const StringTableEntry* StringTableEnd()
{
    return std::end(g_table);
}

QString LoadString(unsigned nId)
{
    // The table is small; a sorted array keeps it a plain constant.
    const auto* it = std::lower_bound(std::begin(g_table), std::end(g_table), nId,
                                      [](const StringTableEntry& e, unsigned n) { return e.nId < n; });
    if (it == std::end(g_table) || it->nId != nId)
        return {};
    return QCoreApplication::translate("Qarda", it->pszText);
}
