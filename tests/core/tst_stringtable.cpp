// The string table is looked up by binary search: it must stay sorted by id
// with every id once.

#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

// What a translation keeps of its source: placeholders, the line feed between
// prompt and tooltip, the separators of file filters and a menu mnemonic.
static QString Shape(const QString& str)
{
    QStringList marks;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%[1-9]|\n|\\||&")).globalMatch(str))
        marks.append(m.captured());
    marks.sort();
    return marks.join(u' ');
}

class TestStringTable : public QObject
{
    Q_OBJECT

private slots:
    void sortedAndUnique()
    {
        const StringTableEntry* pBegin = StringTableBegin();
        const StringTableEntry* pEnd = StringTableEnd();
        QVERIFY(pEnd - pBegin > 0);
        for (const StringTableEntry* p = pBegin + 1; p < pEnd; ++p)
            QVERIFY2(p[-1].nId < p->nId, qPrintable(QStringLiteral("id %1 before %2").arg(p[-1].nId).arg(p->nId)));
        // An id the table lacks reads as empty.
        QCOMPARE(LoadString(0), QString());
        QCOMPARE(LoadString(135), QString());
        QCOMPARE(LoadString(4000000000u), QString());
    }

    void everyIdHasEnglishText()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(QARDA_ENGLISH_QM)));
        QStringList faults;
        for (const StringTableEntry* p = StringTableBegin(); p < StringTableEnd(); ++p) {
            const QString strGerman = QString::fromUtf8(p->pszText);
            const QString strEnglish = english.translate("Qarda", p->pszText);
            // Measuring-mode codes are stored in result files and recognised by
            // their text: they read the same in every language.
            const bool bDeviceCode = p->nId >= IDS_MODE_4LW && p->nId <= IDS_MODE_MQREF;
            if (strEnglish.isEmpty() || Shape(strEnglish) != Shape(strGerman)
                || (bDeviceCode && strEnglish != strGerman))
                faults.append(QStringLiteral("%1: %2 / %3").arg(p->nId).arg(strGerman, strEnglish));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

        // Installed, the file replaces the table's texts.
        QCoreApplication::installTranslator(&english);
        QCOMPARE(LoadString(IDS_CMD_NEW_GROUP), QStringLiteral("Create a new group\nNew group"));
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(LoadString(IDS_KIND_ERROR), QStringLiteral("Fehlermessung"));
    }
};

QTEST_GUILESS_MAIN(TestStringTable)
#include "tst_stringtable.moc"
