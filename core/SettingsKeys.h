#pragma once

#include <QLatin1String>
#include <QtGlobal>

// Every named value of the program's settings, with its default, in one
// place. Values are read where they are used (CRegSettings::Get), never
// cached.

// A text value.
struct CTextSetting
{
    QLatin1String m_name;
    QLatin1String m_default;
};

// A number value (a DWORD in the Windows registry).
struct CNumberSetting
{
    QLatin1String m_name;
    quint32 m_nDefault;
};

namespace Setting {
// Group "Settings".
inline constexpr CTextSetting MainFile{QLatin1String("MainFile"), QLatin1String("Main.xml")};
inline constexpr CTextSetting ResultFile{QLatin1String("ResultFile"), QLatin1String("Result.xml")};
// Default: the user's home folder (known only at run time).
inline constexpr CTextSetting BackupFolder{QLatin1String("BackupFolder"), QLatin1String("")};
inline constexpr CTextSetting Logo{QLatin1String("Logo"), QLatin1String("")};
// Default: the language of the user's locale (known only at run time).
inline constexpr CNumberSetting LangID{QLatin1String("LangID"), 0};
// 0 "IEC 387", 1 "DIN 410".
inline constexpr CNumberSetting Norm{QLatin1String("Norm"), 0};
// 0 the measuring range, 1 the largest value.
inline constexpr CNumberSetting VectorReference{QLatin1String("VektorBezug"), 0};
// The serial port: a number (n is COMn, /dev/ttyS{n-1}) or, when set, a path.
inline constexpr CNumberSetting PX900Port{QLatin1String("PX900Port"), 0};
inline constexpr CTextSetting PX900PortPath{QLatin1String("PX900PortPath"), QLatin1String("")};
// Answer time-out in ms.
inline constexpr CNumberSetting PX900Timeout{QLatin1String("PX900Timeout"), 30000};
// Group "ImportExport".
inline constexpr CTextSetting MainExportFile{QLatin1String("MainExportDatei"), QLatin1String("")};
inline constexpr CTextSetting ResultExportFile{QLatin1String("ResultExportDatei"), QLatin1String("")};
// 0 XML files, 1 a CSV file.
inline constexpr CNumberSetting ImportMode{QLatin1String("XMLImport"), 0};
// 0 tab, 1 ";", 2 ",", 3 blank, 4 the character in ImportOther.
inline constexpr CNumberSetting ImportSeparator{QLatin1String("OrtImportTrennzeichen"), 0};
inline constexpr CTextSetting ImportOther{QLatin1String("OrtImportAndere"), QLatin1String("")};
// Column numbers separated by ";".
inline constexpr CTextSetting ImportOrder{QLatin1String("OrtImportReihenfolge"), QLatin1String("")};
}  // namespace Setting
