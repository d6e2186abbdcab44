// The result CSV export: the cells of every kind under their titles, the
// rules for appending, encodings and quoting, failed writes, and the export
// from the command line with the real program and no display.

#include "../common/TestSupport.h"

#include "app/MainFrame.h"
#include "export/CsvFile.h"
#include "export/ResultCsv.h"
#include "export/ResultExporter.h"
#include "locations/LeftView.h"
#include "resources/StringTable.h"
#include "view/ResultCache.h"
#include "xml/QardaDoc.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QString kCommon =
    QStringLiteral("<ID>A;\"1\"</ID><Date>14.03.2024</Date><Time>10:00:00</Time><U-Range>300.0;V;300V</U-Range>"
                   "<I-Range>5.000;A;5A</I-Range><M-Mode>4LW</M-Mode><U-PrimSek>100.0/100.0;V;1.00</U-PrimSek>"
                   "<I-PrimSek>5.000/5.000;A;1.000</I-PrimSek><PrimSek-Val-Cz-Reg>On;Off;On</PrimSek-Val-Cz-Reg>");
const QString kValues = QStringLiteral("<UPN1>230.12;V</UPN1><UPP31>399.02;V</UPP31><AU2>-120.00;deg</AU2>"
                                       "<AI2>-140.00;deg</AI2><AUX4>1.5;A</AUX4><Temperature>23.5;deg</Temperature>");

QString Result(const QString& strFunction, const QString& strFields, const QString& strCommon = kCommon)
{
    return QStringLiteral("<Result>") + strCommon + QStringLiteral("<Function>") + strFunction
           + QStringLiteral("</Function>") + strFields + QStringLiteral("</Result>\n");
}

QString Series(int nSamples)
{
    QString s;
    for (int i = 0; i < nSamples; ++i)
        s += QStringLiteral("<Value-Measurement><No>%1</No><TimeStamp>14.03.2024 10:%2:00</TimeStamp>"
                            "<UPN1>%3;V</UPN1></Value-Measurement>")
                 .arg(i + 1)
                 .arg(i, 2, 10, QLatin1Char('0'))
                 .arg(230 + i);
    return s;
}

// The cache as the view fills it through the record cursor.
CResultCache Load(const QString& strResult)
{
    CXMLDocument doc;
    doc.LoadXML(QStringLiteral("<Result-Data>\n") + strResult + QStringLiteral("</Result-Data>"));
    CXMLNodeResult r(&doc);
    r.Open(QStringLiteral("Result"));
    CResultCache cache;
    cache.SetFromResult(r);
    return cache;
}

// The data lines of a result from the view's cache, or as the bulk export
// reads them straight from the document.
QByteArray Csv(const QString& strResult, ResultKind kind, bool bFromDocument = false)
{
    CXMLDocument doc;
    doc.LoadXML(QStringLiteral("<Result-Data>\n") + strResult + QStringLiteral("</Result-Data>"));
    CResultTexts texts;
    bFromDocument ? texts.Load(doc.GetDocumentElement().child("Result")) : texts.Load(Load(strResult));
    QByteArray bytes;
    AppendResultCsvLines(bytes, texts, kind, 0);
    return bytes;
}

// The cells of each line, quotes taken off (no cell here holds a line break).
QList<QStringList> Cells(const QByteArray& bytes)
{
    static const QRegularExpression cell(QStringLiteral("\"((?:[^\"]|\"\")*)\";|([^;]*);"));
    QList<QStringList> lines;
    for (const QString& strLine : QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        lines.append(QStringList());
        for (const QRegularExpressionMatch& m : cell.globalMatch(strLine))
            lines.last().append(m.hasCaptured(1) ? m.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""))
                                                 : m.captured(2));
    }
    return lines;
}

void Export(const QString& strPath, const QString& strResult, ResultKind kind)
{
    QVERIFY(CResultCsvExporter::WriteFile(strPath, Load(strResult), kind, 0));
}

QStringList Lines(const QString& strPath)
{
    QString s = QString::fromUtf8(ReadBytes(strPath));
    s.remove(QChar(0xFEFF));
    return s.split(QString::fromLatin1(CCsvLineWriter::LineEnd()), Qt::SkipEmptyParts);
}

}  // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString Path(const char* pszName) const { return m_dir.filePath(QLatin1String(pszName)); }

private slots:
    void kinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("rows");
        // "title=cell" pairs of the first data line (the first title of that
        // name); of the last line after a "~".
        QTest::addColumn<QString>("checks");

        const QString strErr = kValues
                               + QStringLiteral("<Cz>1200.00;x1;Imp/kWh</Cz><M-Inp>RB</M-Inp><M-Puls>10;x1</M-Puls>"
                                                "<Error>0.12;%</Error><MTime>00:01:00</MTime>");
        QString strCurve =
            QStringLiteral("<ChannelA>UL1</ChannelA><SampleA>1;12.5;V</SampleA><SampleA>504;-3.0;V</SampleA>"
                           "<ChannelB>IL1</ChannelB><SampleB>0.5;A</SampleB><SampleB>0.7;A</SampleB>");
        QString strHarm = QStringLiteral("<Channel>UL1</Channel><Total-Harm>3.20;%</Total-Harm>"
                                         "<Harm>0;0.10;%;0.00;deg</Harm><Harm>40;0.01;%;-12.5;deg</Harm>");
        const QString strSel =
            QStringLiteral("<ChannelU>UL2</ChannelU><HarmValue>N;3;U;;V;I;;A;P;1.5;W;Q;0.2;var;S;---;VA</HarmValue>");
        const QString strSteps = QStringLiteral(
            "<Line-Common><Line>Type=AccuracyTest;</Line><Line>Error=0.12;%</Line><Line>MPuls=10;</Line>"
            "<Line>Edge=1;s</Line></Line-Common><Line-Common><Line>Type=NoLoadTest;</Line><Line>Edge-Max=5;min</Line>"
            "<Line>Edge=3;min</Line><Line>Test=OK;</Line></Line-Common>");

        auto add = [](const char* pszName, ResultKind kind, const QString& strResult, int nCells, int nRows,
                      const char* pszChecks) {
            QTest::newRow(pszName) << ToInt(kind) << strResult << nCells << nRows << QString::fromUtf8(pszChecks);
        };
        add("value", ResultKind::Value, Result(ResultFunction::Value, kValues), 72, 1,
            "Id=A;\"1\"|UB=300.0 V|U-Übersetzung=100.0/100.0 V|Konstante=Off|UPN1=230.12 V|UPN2=|UPP3=399.02 V|"
            "PhiUI2=20.00 deg|AUXI1=1.5 A|T=23.5 deg");
        add("three wires, umlauts", ResultKind::Value,
            Result(ResultFunction::Value, kValues,
                   QString(kCommon)
                       .replace(QStringLiteral("A;\"1\""), QStringLiteral("Zähler Ü"))
                       .replace(QStringLiteral("4LW"), QStringLiteral("3LW"))),
            72, 1, "Id=Zähler Ü|PhiUI2=--- deg|PhiUI3=");
        add("vector", ResultKind::Vector, Result(ResultFunction::Vector, kValues), 72, 1, "UPN1=230.12 V|SP=");
        add("error", ResultKind::Error, Result(ResultFunction::Error, strErr), 89, 1,
            "UPN1=230.12 V|Zählerkonstante=1200.00 x1 Imp/kWh|Messtaktquelle=RB|Impulsanzahl=10 x1|Fehler=0.12 %|"
            "Messdauer=00:01:00|Energie=");
        add("curve", ResultKind::Curve, Result(ResultFunction::Curve, strCurve), 1021, 1,
            "Kanal A=UL1|AbtastwertA1=12.5 V|AbtastwertA2=|AbtastwertA504=-3.0 V|Kanal B=IL1|AbtastwertB2=0.7 A");
        add("harmonics", ResultKind::Harmonics, Result(ResultFunction::Harmonics, strHarm), 95, 1,
            "Kanal=UL1|Summe=3.20 %|Betrag0=0.10 %|Winkel0=0.00 deg|Betrag1=|Winkel40=-12.5 deg");
        add("register", ResultKind::Register,
            Result(ResultFunction::Register,
                   QStringLiteral("<Type>E</Type><Energie>1.23;kWh</Energie><P-MTime>00:15:00</P-MTime>")),
            26, 1, "Art=E|E-Register - Energie=1.23 kWh|P-Register - Messdauer=00:15:00");
        add("tmte", ResultKind::TmTe,
            Result(ResultFunction::TmTe, QStringLiteral("<Contact>S0</Contact><tm>10;ms</tm><M-Puls>100</M-Puls>"
                                                        "<Cz-Measure>1000;Imp/kWh</Cz-Measure><Error>0.5;%</Error>")),
            20, 1, "Messung - n=100|Messung - k=1000 Imp/kWh|Fehler - n=0.5 %|Kontakt=S0|tm=10 ms|te=");
        add("uburden", ResultKind::UBurden,
            Result(ResultFunction::UBurden,
                   QStringLiteral("<U-Nominal>100.0/sqrt(3);V</U-Nominal><W-Gauge>2.50;mm2</W-Gauge>"
                                  "<UPN1>57.7;V</UPN1><PHI2>1.20;deg</PHI2><Y3>0.4;mS</Y3>")),
            51, 1, "UPN1=57.7 V|PhiUI2=1.20 deg|Y3=0.4 mS|U-Nominal=100.0/sqrt(3) V|W-Maß=2.50 mm2");
        add("iburden", ResultKind::IBurden,
            Result(ResultFunction::IBurden, QStringLiteral("<I-Nominal>5.0;A</I-Nominal><R1>0.1;Ohm</R1>")), 51, 1,
            "R1=0.1 Ohm|I-Nominal=5.0 A|B-Nominal=");
        add("continuous", ResultKind::ContinueValue, Result(ResultFunction::ContinueValue, Series(20)), 72, 20,
            "Datum=14.03.2024|Uhrzeit=10:00:00|UPN1=230 V|~Uhrzeit=10:19:00|~UPN1=249 V");
        add("other stamps", ResultKind::ContinueValue,
            Result(ResultFunction::ContinueValue,
                   QStringLiteral(
                       "<Value-Measurement><No>1</No><TimeStamp>2024-03-15T08:30:00</TimeStamp></Value-Measurement>"
                       "<Value-Measurement><No>2</No><TimeStamp>9:05</TimeStamp></Value-Measurement>")),
            72, 2, "Datum=15.03.2024|Uhrzeit=08:30:00");
        add("transformer", ResultKind::UITransformer,
            Result(ResultFunction::UITransformer,
                   QStringLiteral("<VT-N>20000.0/100.0;V</VT-N><CT-X>200.0/5.0;A</CT-X>"
                                  "<VT-Angle-min>1.5;min</VT-Angle-min><VTCT-Angle-deg>0.1;deg</VTCT-Angle-deg>")),
            35, 1,
            "U-Transformer - N-Prim=20000.0 V|U-Transformer - N-Sek=100.0 V|I-Transformer - X-Sek=5.0 A|"
            "U - X-d=|Summe UI - d=0.1 deg");
        add("automatic", ResultKind::Automatic, Result(ResultFunction::Automatic, strSteps), 25, 2,
            "Nr=1|Type=AccuracyTest|Error=0.12 %|MPuls=10|Edge=|Edge-Max=");
        add("aux", ResultKind::AuxChannel,
            Result(ResultFunction::AuxChannel,
                   QStringLiteral("<Aux-Value-1>1.0;V</Aux-Value-1><Ref-Name-2>Ref</Ref-Name-2>"
                                  "<Aux-Diff-Angle-6>0.5;deg</Aux-Diff-Angle-6>")),
            53, 1, "Aux 1 Wert=1.0 V|Aux 2 Ref. Name=Ref|Aux 6 Diff. Winkel=0.5 deg|Aux 6 Wert=");
        add("selective", ResultKind::Selective, Result(ResultFunction::Selective, strSel), 217, 1,
            "Kanal=UL2|U3=|P3=1.5 W|Q3=0.2 var|S3=--- VA|P2=");
        add("pqs", ResultKind::PQSRegister,
            Result(ResultFunction::PQSRegister, QStringLiteral("<M-Time>00:15:00</M-Time><SE-Error>0.3;%</SE-Error>")),
            24, 1, "M-Time=00:15:00|SE-Error=0.3 %|P-Energie=");
    }

    void kinds()
    {
        QFETCH(int, kind);
        QFETCH(QString, result);
        QFETCH(int, cells);
        QFETCH(int, rows);
        QFETCH(QString, checks);
        const QByteArray bytes = Csv(result, *ResultKindFromInt(kind));
        QCOMPARE(Csv(result, *ResultKindFromInt(kind), true), bytes);
        const QStringList header = ResultCsvHeader(*ResultKindFromInt(kind));
        const QList<QStringList> lines = Cells(bytes);
        QCOMPARE(header.size(), cells);
        QCOMPARE(lines.size(), rows);
        for (const QStringList& row : lines)
            QCOMPARE(row.size(), cells);
        // The common titles, exactly.
        QCOMPARE(header.mid(0, 11).join(u';'),
                 QStringLiteral("Id;Datum;Uhrzeit;UB;IB;MA;U-Übersetzung;I-Übersetzung;Istwerte;Konstante;Register"));
        for (const QString& strCheck : checks.split(QLatin1Char('|'))) {
            const bool bLast = strCheck.startsWith(u'~');
            const qsizetype n = strCheck.indexOf(QLatin1Char('='));
            const qsizetype i = header.indexOf(strCheck.left(n).mid(bLast ? 1 : 0));
            QVERIFY2(i >= 0, qPrintable(strCheck));
            QCOMPARE((bLast ? lines.last() : lines.first()).at(i), strCheck.mid(n + 1));
        }
    }

    void appendRules()
    {
        // Three vector results into a new file: one header and three lines.
        const QString strVectors = Path("vectors.csv");
        for (int i = 0; i < 3; ++i)
            Export(strVectors, Result(ResultFunction::Vector, kValues), ResultKind::Vector);
        QStringList lines = Lines(strVectors);
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines.at(0).startsWith(QLatin1String("Id;Datum;")));
        QCOMPARE(lines.at(1), lines.at(3));

        // Actual values appended to a file of error measurements: no new header.
        const QString strErrors = Path("errors.csv");
        Export(strErrors, Result(ResultFunction::Error, kValues), ResultKind::Error);
        Export(strErrors, Result(ResultFunction::Value, kValues), ResultKind::Value);
        lines = Lines(strErrors);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1).count(u';') - lines.at(2).count(u';'), 17);

        // A file of one byte counts as empty: it keeps the byte and gets a header.
        const QString strOneByte = Path("onebyte.csv");
        QVERIFY(WriteBytes(strOneByte, "\n"));
        Export(strOneByte, Result(ResultFunction::Value, kValues), ResultKind::Value);
        const QByteArray bytes = ReadBytes(strOneByte);
        QVERIFY(bytes.startsWith("\nId;Datum;"));
        QCOMPARE(Lines(strOneByte).size(), 2);
    }

    void encodingsAndQuoting()
    {
        const QString strResult = Result(ResultFunction::Error, kValues + QStringLiteral("<M-Inp>x\"y\nz</M-Inp>"));
        // A new file: UTF-8 with a byte order mark.
        const QString strNew = Path("new.csv");
        Export(strNew, strResult, ResultKind::Error);
        const QByteArray utf8 = ReadBytes(strNew);
        QVERIFY(utf8.startsWith("\xEF\xBB\xBFId;"));
        QVERIFY(utf8.contains("Z\xC3\xA4hlerkonstante;"));
        // Quoted where a cell holds ";", a quote or a line break, and nowhere else.
        QVERIFY(utf8.contains("\n\"A;\"\"1\"\"\";14.03.2024;10:00:00;300.0 V;"));
        QVERIFY(utf8.contains(";\"x\"\"y\nz\";"));

        // An existing file without the mark is continued in windows-1252.
        const QString strOld = Path("old.csv");
        QVERIFY(WriteBytes(strOld, "Alt;\xE4;\n"));
        Export(strOld, strResult, ResultKind::Error);
        Export(strOld,
               Result(ResultFunction::Value, kValues,
                      QString(kCommon).replace(QStringLiteral("4LW"), QStringLiteral("Mäß€"))),
               ResultKind::Value);
        QVERIFY(ReadBytes(strOld).contains(";M\xE4\xDF\x80;"));
        QVERIFY(!ReadBytes(strOld).contains("\xC3"));
    }

    void failedWrites()
    {
        CRecordingSink sink;
        const CResultCache cache = Load(Result(ResultFunction::Curve, Series(0)));
        // A missing folder: reported with the path and a stop icon.
        QVERIFY(!CResultCsvExporter::WriteFile(Path("gone/x.csv"), cache, ResultKind::Curve, 0));
        QVERIFY(!QFile::exists(Path("gone/x.csv")));
        QCOMPARE(sink.m_shown.size(), 1);
        QCOMPARE(sink.m_shown.at(0).second, MsgIcon::Stop);
        QVERIFY(sink.m_shown.at(0).first.contains(Path("gone/x.csv")));
#ifdef Q_OS_UNIX
        // The disk fills up in the middle of a line: the file is cut back.
        const QString strOld = Path("full.csv");
        QVERIFY(WriteBytes(strOld, "Alt;\n"));
        signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool bWritten = CResultCsvExporter::WriteFile(strOld, cache, ResultKind::Curve, 0);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!bWritten);
        QCOMPARE(ReadBytes(strOld), QByteArray("Alt;\n"));
        QVERIFY(sink.m_shown.last().first.startsWith(LoadString(IDS_EXPORT_WRITE_FAILED).arg(strOld).left(40)));
#endif
    }

    void rememberedPathPerKind()
    {
        QString strAnswer;
        QStringList offered;
        CResultCsvExporter exporter([&](const QString& strInitial) {
            offered.append(strInitial);
            return strAnswer;
        });
        strAnswer = QStringLiteral("/tmp/vec.csv");
        QCOMPARE(exporter.ChooseFile(ResultKind::Vector), std::optional<QString>(strAnswer));
        strAnswer = QStringLiteral("/tmp/harm.csv");
        exporter.ChooseFile(ResultKind::Harmonics);
        strAnswer.clear();  // cancelled
        QCOMPARE(exporter.ChooseFile(ResultKind::Harmonics), std::nullopt);
        QCOMPARE(exporter.ChooseFile(ResultKind::Vector), std::nullopt);
        QCOMPARE(offered,
                 QStringList({QString(), QString(), QStringLiteral("/tmp/harm.csv"), QStringLiteral("/tmp/vec.csv")}));
        QCOMPARE(exporter.GetPath(ResultKind::Harmonics), QStringLiteral("/tmp/harm.csv"));
        QCOMPARE(exporter.ChooseFile(ResultKind::Nothing), std::nullopt);

        // A result with children is exported only when they are a series' samples
        // (a location and a result without children: see exportCommand).
        QVERIFY(!IsResultExportEnabled(true, false, true, ResultKind::Error));
        QVERIFY(IsResultExportEnabled(true, false, true, ResultKind::ContinueValue));
    }

    void exportCommand()
    {
        const QString strResults = Path("Frame.xml");
        QVERIFY(WriteBytes(strResults, (QStringLiteral("<Result-Data>\n") + Result(ResultFunction::Vector, kValues)
                                        + QStringLiteral("</Result-Data>"))
                                           .toUtf8()));
        CRecordingSink sink;
        CQardaDoc doc(Path("none.xml"), strResults);
        CMainFrame frame(&doc);
        frame.GetCsvExporter().SetFileChooser([this](const QString&) { return Path("frame.csv"); });
        CLocationTree& tree = frame.GetLeftView()->GetTree();
        CLocationTreeItem* pItem = tree.FindUnassignedLocationItem(QStringLiteral("A;\"1\""));
        QVERIFY(pItem);
        tree.SelectItem(pItem);
        frame.UpdateCommandUI();
        QVERIFY(!frame.GetAction(ID_EXPORT_RESULT)->isEnabled());  // a location
        while (pItem->HasChildren())
            pItem = pItem->GetFirstChild();
        tree.SelectItem(pItem);
        frame.UpdateCommandUI();
        QVERIFY(frame.GetAction(ID_EXPORT_RESULT)->isEnabled());
        frame.GetAction(ID_EXPORT_RESULT)->trigger();
        QCOMPARE(Lines(Path("frame.csv")).size(), 2);
        QVERIFY(Lines(Path("frame.csv")).at(1).contains(QLatin1String(";230.12 V;")));
    }

    void commandLine()
    {
        const QString strResults = Path("Result.xml");
        QVERIFY(WriteBytes(strResults, (QStringLiteral("<Result-Data>\n") + Result(ResultFunction::Vector, kValues)
                                        + Result(ResultFunction::Harmonics, QString())
                                        + Result(ResultFunction::Vector, kValues) + QStringLiteral("</Result-Data>"))
                                           .toUtf8()));
        // The arguments after the result file, one blank between them.
        auto run = [&](const QString& strArgs, QString* pErr = nullptr) {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* psz : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                env.remove(QLatin1String(psz));
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path());
            process.setProcessEnvironment(env);
            process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../qarda"),
                          QStringList{QStringLiteral("--result-file"), strResults} + strArgs.split(u' '));
            if (!process.waitForFinished(60000))
                return -1;
            if (pErr)
                *pErr = QString::fromLocal8Bit(process.readAllStandardError());
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        };
        // Two kinds into one file: refused, nothing written.
        QString strErr;
        QCOMPARE(run(QStringLiteral("--export-csv ") + Path("all.csv"), &strErr), 1);
        QVERIFY2(strErr.contains(QLatin1String("--kind")), qPrintable(strErr));
        QVERIFY(!QFile::exists(Path("all.csv")));
        // One file per kind through the placeholder.
        QCOMPARE(run(QStringLiteral("--export-csv %1 --from 2024-03-14 --to 14.03.2024").arg(Path("out-{kind}.csv"))),
                 0);
        QCOMPARE(Lines(Path("out-Vector.csv")).size(), 3);
        QCOMPARE(Lines(Path("out-Harmonics.csv")).size(), 2);
        // A selection by kind and a date range that matches nothing.
        QCOMPARE(run(QStringLiteral("--export-csv %1 --kind=vector --id A;\"1\"").arg(Path("v.csv"))), 0);
        QCOMPARE(Lines(Path("v.csv")).size(), 3);
        QCOMPARE(run(QStringLiteral("--export-csv")), 2);
        QCOMPARE(run(QStringLiteral("--export-csv %1 --from 15.03.2024").arg(Path("none.csv"))), 1);
        QCOMPARE(run(QStringLiteral("--export-csv %1 --kind nix").arg(Path("x.csv"))), 2);

        // One result into a PDF, without a display.
        const QString strPdf = Path("one.pdf");
        QCOMPARE(run(QStringLiteral("--export-pdf %1 --id A;\"1\" --date 14.03.2024 --time 10:00:00").arg(strPdf)), 0);
        QVERIFY(ReadBytes(strPdf).startsWith("%PDF"));
        QCOMPARE(run(QStringLiteral("--export-pdf %1 --id B").arg(Path("no.pdf"))), 2);
    }
};

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
