// Saves a result file in a loop, for the kill test: each round writes the
// round's number into the first result's Remark with Edit/Update (a whole
// save) and then prints the number.
//
// Usage: xml_savekill_helper <result file>

#include "xml/XMLException.h"
#include "xml/XMLNodeResult.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    try {
        CXMLDocument doc;
        doc.Open(QString::fromLocal8Bit(argv[1]));
        CXMLNodeResult r(&doc);
        if (!r.FindFirst(QStringLiteral("Result")))
            return 3;
        for (int n = r.m_strRemark.toInt() + 1;; ++n) {
            r.Edit();
            r.m_strRemark = QString::number(n);
            r.Update();
            std::printf("%d\n", n);
            std::fflush(stdout);
        }
    } catch (const CXMLException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
