#pragma once

#include <QString>

// Ids of the string table. The numbers are the program's message numbers;
// the German texts stand in StringTable.cpp.
enum StringId : unsigned {
    IDS_APP_TITLE = 57344,

    // Settings
    IDS_REG_VALUE_NOT_CREATED = 133,
    IDS_REG_WRITE_FAILED = 134,

    // XML data store
    IDS_XML_DOM_CREATE = 129,
    IDS_XML_ASYNC = 130,
    IDS_XML_VALIDATE = 131,
    IDS_XML_EXTERNALS = 132,
    IDS_XML_PARSE_ERROR = 136,
    IDS_XML_DOCNODE = 137,
    IDS_XML_GET_ATTRIBUTES = 138,
    IDS_XML_ELEMENT_NAME = 141,
    IDS_XML_ELEMENT_TYPE = 142,
    IDS_XML_ATTRIBUTE_VALUE = 144,
    IDS_XML_NOT_FOUND = 147,
    IDS_XML_LOAD_FAILED = 148,
    IDS_XML_LOADXML = 178,
    IDS_XML_SAVE = 179,
    IDS_XML_NO_DOCUMENT = 180,
    IDS_XML_GET_ELEMENTS = 181,
    IDS_XML_GET_COUNT = 182,
    IDS_XML_DOCUMENT_ELEMENT = 183,
    IDS_XML_REMOVE = 184,
    IDS_XML_PARENT = 185,
    IDS_XML_SET_VALUE = 186,
    IDS_XML_SET_ATTRIBUTE_VALUE = 187,
    IDS_XML_CREATE_ATTRIBUTE = 188,
    IDS_XML_SET_ATTRIBUTE = 189,
    IDS_XML_CREATE_NODE = 190,
    IDS_XML_APPEND_NODE = 191,
    IDS_XML_LOAD_VALUE = 192,
    IDS_XML_SELECT = 296,
    IDS_XML_NODE_ELEMENT = 297,
    IDS_XML_CLONE = 299,

    // Main data file
    IDS_ID_EXISTS = 221,
    IDS_GROUP_EXISTS = 298,

    // Languages and norms
    IDS_LANG_GERMAN = 219,
    IDS_LANG_ENGLISH = 220,
    IDS_LANG_SPANISH = 61446,
    IDS_LANG_RUSSIAN = 61447,
    IDS_LANG_FRENCH = 331,
    IDS_LANG_CZECH = 333,
    IDS_NORM_IEC387 = 233,
    IDS_NORM_DIN410 = 234,

    // Device
    IDS_NO_RESULTS_STORED = 197,
    IDS_DEVICE_INIT = 247,
    IDS_DEVICE_COMMAND = 248,
    IDS_DEVICE_COMMUNICATION = 249,
    IDS_DEVICE_TIMEOUT = 250,
    IDS_PX900_ERROR = 251,
    IDS_PX900_GET_RESULT = 253,
    IDS_PX900_DELETE = 254,
    IDS_PX900_ASK_DELETE = 255,
    IDS_PX900_ASK_DELETE_SURE = 256,
    IDS_PX900_GET_COUNT = 257,
    IDS_RESULTS_DELETED = 308,
    IDS_PX900_VERSION = 313,
};

// The text of a string-table entry in the language in use. Entries with
// placeholders use %1, %2, ... in the order of their arguments. An unknown id
// gives an empty text.
QString LoadString(unsigned nId);

// Every id with its German text, for checks over the whole table.
struct StringTableEntry
{
    unsigned nId;
    const char* pszText;
};
const StringTableEntry* StringTableBegin();
const StringTableEntry* StringTableEnd();
