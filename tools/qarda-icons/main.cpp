// Renders the program icon, drawn in code, into the PNG files of the icon
// theme layout (hicolor/NxN/apps/qarda.png) below the given folder. Runs at
// build time; nothing of it is installed.

#include "resources/Icons.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: qarda-icons OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int nSize : Icons::kProgramIconSizes) {
        const QString strDir = out.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(nSize));
        const QString strFile = strDir + QStringLiteral("/qarda.png");
        if (!QDir().mkpath(strDir) || !Icons::ProgramImage(nSize).save(strFile, "PNG")) {
            std::fprintf(stderr, "qarda-icons: cannot write %s\n", qPrintable(strFile));
            return 1;
        }
    }
    return 0;
}
