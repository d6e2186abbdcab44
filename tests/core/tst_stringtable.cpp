// The string table is looked up by binary search: it must stay sorted by id
// with every id once.

#include "resources/StringTable.h"

#include <QTest>

class TestStringTable : public QObject
{
    Q_OBJECT

private slots:
    void sortedAndUnique();
    void everyEntryIsFound();
    void unknownIdIsEmpty();
};

void TestStringTable::sortedAndUnique()
{
    const StringTableEntry* pBegin = StringTableBegin();
    const StringTableEntry* pEnd = StringTableEnd();
    QVERIFY(pEnd - pBegin > 0);
    for (const StringTableEntry* p = pBegin + 1; p < pEnd; ++p)
        QVERIFY2(p[-1].nId < p->nId, qPrintable(QStringLiteral("id %1 before %2").arg(p[-1].nId).arg(p->nId)));
}

void TestStringTable::everyEntryIsFound()
{
    for (const StringTableEntry* p = StringTableBegin(); p < StringTableEnd(); ++p) {
        QVERIFY(p->pszText && *p->pszText);
        QCOMPARE(LoadString(p->nId), QString::fromUtf8(p->pszText));
    }
}

void TestStringTable::unknownIdIsEmpty()
{
    QCOMPARE(LoadString(0), QString());
    QCOMPARE(LoadString(135), QString());
    QCOMPARE(LoadString(4000000000u), QString());
}

QTEST_GUILESS_MAIN(TestStringTable)
#include "tst_stringtable.moc"
