// The string table is looked up by binary search: it must stay sorted by id
// with every id once.

#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

class TestStringTable : public QObject
{
    Q_OBJECT

private slots:
    void sortedAndUnique();
    void everyEntryIsFound();
    void unknownIdIsEmpty();
    void everyIdHasEnglishText();
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

namespace {
// What a translation must keep of its source: placeholders, the line feed
// between prompt and tooltip, the separators of file filters and a menu
// mnemonic.
QString Shape(const QString& str)
{
    QStringList placeholders;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%[1-9]")).globalMatch(str))
        placeholders.append(m.captured());
    placeholders.sort();
    return QStringLiteral("%1 lines:%2 bars:%3 mnemonic:%4")
        .arg(placeholders.join(u','))
        .arg(str.count(u'\n'))
        .arg(str.count(u'|'))
        .arg(str.count(u'&') - 2 * str.count(QStringLiteral("&&")));
}
} // namespace

void TestStringTable::everyIdHasEnglishText()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(QARDA_ENGLISH_QM)));
    // Measuring-mode codes are stored in result files and recognised by their
    // text: they read the same in every language.
    const unsigned deviceCodes[] = {IDS_MODE_4LW,  IDS_MODE_4LBE, IDS_MODE_4LBK, IDS_MODE_4LS, IDS_MODE_3LW,
                                    IDS_MODE_3LBE, IDS_MODE_3LBKA, IDS_MODE_3LBKB, IDS_MODE_3LS, IDS_MODE_2LW,
                                    IDS_MODE_2LB,  IDS_MODE_2LS,  IDS_MODE_MQREF};
    QStringList faults;
    for (const StringTableEntry* p = StringTableBegin(); p < StringTableEnd(); ++p) {
        const QString strGerman = QString::fromUtf8(p->pszText);
        const QString strEnglish = english.translate("Qarda", p->pszText);
        if (strEnglish.isEmpty())
            faults.append(QStringLiteral("%1 has no English text: %2").arg(p->nId).arg(strGerman));
        else if (Shape(strEnglish) != Shape(strGerman))
            faults.append(QStringLiteral("%1 differs in shape: %2 / %3").arg(p->nId).arg(strGerman, strEnglish));
        else if (std::find(std::begin(deviceCodes), std::end(deviceCodes), p->nId) != std::end(deviceCodes)
                 && strEnglish != strGerman)
            faults.append(QStringLiteral("%1 is a device code: %2").arg(p->nId).arg(strEnglish));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

    // Installed, the file replaces the table's texts.
    QCoreApplication::installTranslator(&english);
    QCOMPARE(LoadString(IDS_KIND_ERROR), QStringLiteral("Error measurement"));
    QCOMPARE(LoadString(IDS_CMD_NEW_GROUP), QStringLiteral("Create a new group\nNew group"));
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(LoadString(IDS_KIND_ERROR), QStringLiteral("Fehlermessung"));
}

QTEST_GUILESS_MAIN(TestStringTable)
#include "tst_stringtable.moc"
