// CXMLDocument: parse errors, the byte layout of a save (of files in any
// declared encoding), documents that must never be saved.

#include "XmlTestUtil.h"

#include "resources/StringTable.h"
#include "xml/DomMemory.h"
#include "xml/XMLNode.h"
#include "xml/XMLNodeResult.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>

#include <future>
#include <thread>

using namespace XmlTest;

namespace {
// A file of 3 MB whose middle byte falls in the middle of mid: a field of
// the same length on each side of it, then tail. Line 2 starts with
// "<X>" and the field's 1,500,000 bytes, so mid starts at column 1,500,008.
constexpr qsizetype kHalfField = 1500000;
// The field after mid, shortened by tail: "<R>\n<X>", the first field and
// "</X>" are as long as "<Y>", this field, "</Y>", tail and "\n</R>".
QByteArray SecondField(const QByteArray& tail)
{
    return QByteArray(kHalfField - 1 - tail.size(), 'y');
}
QByteArray Halves(const QByteArray& mid, const QByteArray& tail = {})
{
    return "<R>\n<X>" + QByteArray(kHalfField, 'x') + "</X>" + mid + "<Y>" + SecondField(tail) + "</Y>" + tail
           + "\n</R>";
}
// The body of Halves as a save writes it (lines end in LF here), with mid
// and tail saved as midSaved and tailSaved.
QByteArray HalvesSaved(const QByteArray& midSaved, const QByteArray& tail = {}, const QByteArray& tailSaved = {})
{
    return "<R>\n<X>" + QByteArray(kHalfField, 'x') + "</X>\n" + midSaved + "<Y>" + SecondField(tail) + "</Y>\n"
           + tailSaved + "</R>\n";
}
} // namespace

class TestXMLDocument : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString Path(const QString& strName) const { return m_dir.filePath(strName); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Two documents on one file stand for two processes: without the lock and
    // the check, the second save would silently drop the first one's result.
    void twoWritersLoseNothing()
    {
        const QString strPath = Path(QStringLiteral("shared.xml"));
        QVERIFY(WriteBytes(strPath, "<Result-Data>\r\n</Result-Data>\r\n"));
        CXMLDocument first, second;
        first.Open(strPath);
        second.Open(strPath);
        auto add = [](CXMLDocument& doc, const QString& strID) {
            CXMLNodeResult r(&doc);
            r.Open(QString());
            r.AddNew();
            r.m_strID = strID;
            r.Update();
        };
        add(first, QStringLiteral("one"));
        // A change that does not lock first is refused, and the document follows
        // the file again.
        const CXMLException e = ExpectXmlException([&] { add(second, QStringLiteral("two")); });
        QVERIFY2(e.GetErrorMessage().contains(QStringLiteral("von einem anderen Programm geändert")),
                 qPrintable(e.GetErrorMessage()));
        {
            // Under the lock the change is made against the file as it is.
            const auto lock = second.LockForChange();
            // A third writer waits for it, and gives up with a clear message.
            CXMLDocument third;
            third.Open(strPath);
            const CXMLException eLocked = ExpectXmlException([&] { third.LockForChange(100); });
            QVERIFY(eLocked.GetErrorMessage().contains(strPath));
            add(second, QStringLiteral("two"));
        }
        // A plain save waits while another writer holds the lock, then finds its
        // change instead of writing over it.
        CXMLDocument late;
        late.Open(strPath);
        std::promise<void> locked;
        auto writer = std::async(std::launch::async, [&] {
            const auto lock = first.LockForChange();
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            add(first, QStringLiteral("three"));
        });
        locked.get_future().wait();
        const CXMLException eLate = ExpectXmlException([&] { late.Save(); });
        writer.get();
        QVERIFY2(eLate.GetErrorMessage().contains(QStringLiteral("von einem anderen Programm geändert")),
                 qPrintable(eLate.GetErrorMessage()));
        const QByteArray bytes = ReadBytes(strPath);
        QVERIFY(bytes.contains("<ID>one</ID>") && bytes.contains("<ID>two</ID>") && bytes.contains("<ID>three</ID>"));
        // Nothing is left beside the data file.
        QCOMPARE(QDir(QFileInfo(strPath).absolutePath()).entryList({QStringLiteral("shared.xml*")}, QDir::Files),
                 QStringList{QStringLiteral("shared.xml")});
    }

    void storedTextsAreXml_data()
    {
        QTest::addColumn<QByteArray>("inFile");
        QTest::addColumn<QString>("text");  // set before the save unless null
        QTest::addColumn<QString>("stored");
        QTest::newRow("control character") << QByteArray("x") << QStringLiteral("A\x01Z") << QStringLiteral("A\\x01Z");
        QTest::newRow("NUL does not cut")
            << QByteArray("x") << QString::fromUtf16(u"A\0B", 3) << QStringLiteral("A\\x00B");
        QTest::newRow("tab and line ends stay")
            << QByteArray("x") << QStringLiteral("A\tB\nC") << QStringLiteral("A\tB\nC");
        QTest::newRow("lone surrogate") << QByteArray("x") << QString(QChar(0xD800)) + u'x'
                                        << QString(QChar(0xFFFD)) + u'x';
        QTest::newRow("umlaut") << QByteArray("x") << QStringLiteral("Zähler") << QStringLiteral("Zähler");
        QTest::newRow("blanks only") << QByteArray("x") << QStringLiteral(" \t ") << QStringLiteral(" \t ");
        // Files written before: references to characters XML does not allow.
        QTest::newRow("reference to a control character")
            << QByteArray("A&#1;B") << QString() << QStringLiteral("A\\x01B");
        QTest::newRow("reference to NUL") << QByteArray("A&#x00;B&#0;") << QString() << QStringLiteral("A\\x00B\\x00");
        // The parser writes such a reference as bytes that are no UTF-8.
        QTest::newRow("reference beyond Unicode")
            << QByteArray("A&#x77777777777777777777777778;B") << QString() << u'A' + QString(4, QChar(0xFFFD)) + u'B';
    }
    void storedTextsAreXml()
    {
        QFETCH(QByteArray, inFile);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString strPath = Path(QStringLiteral("texts.xml"));
        QVERIFY(WriteBytes(strPath, "<R>\r\n<A>\r\n<ID>" + inFile + "</ID>\r\n</A>\r\n</R>\r\n"));
        // A save keeps the file's permissions.
        const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(strPath, permissions));
        {
            CXMLDocument doc;
            doc.Open(strPath);
            CXMLNode node(&doc);
            QVERIFY(node.FindFirst(QStringLiteral("A")));
            if (!text.isNull())
                node.SetValue(QStringLiteral("ID"), text);
            doc.Save();
        }
        // What was written is plain XML 1.0, without references to characters
        // it does not allow, and reads back whole.
        QCOMPARE(QFileInfo(strPath).permissions() & 0x7077, permissions);
        const QByteArray bytes = ReadBytes(strPath);
        QVERIFY2(!bytes.contains("&#") && !bytes.contains('\0'), bytes.constData());
        CXMLDocument doc;
        doc.Open(strPath);
        CXMLNode node(&doc);
        QVERIFY(node.FindFirst(QStringLiteral("A")));
        QCOMPARE(node.GetValue(QStringLiteral("ID")), stored);
    }

    // What is not opened: what is no regular file, and a file that is not
    // well-formed, with the place of the error; the file is left as it was.
    void openRefused_data()
    {
        QTest::addColumn<QString>("path");  // empty: a file of the bytes
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");  // 0: refused before reading
        QTest::addColumn<int>("column");
        auto broken = [](const char* pszName, const QByteArray& bytes, int nLine, int nColumn) {
            QTest::newRow(pszName) << QString() << bytes << nLine << nColumn;
        };
        const QString strDir = Path(QStringLiteral("isadir.xml"));
        QDir().mkpath(strDir);
        QTest::newRow("folder") << strDir << QByteArray() << 0 << 0;
#ifdef Q_OS_UNIX
        // A FIFO blocks an open until a writer comes; /dev/zero never ends.
        const QString strFifo = Path(QStringLiteral("fifo.xml"));
        QProcess::execute(QStringLiteral("mkfifo"), {strFifo});
        QTest::newRow("FIFO") << strFifo << QByteArray() << 0 << 0;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QByteArray() << 0 << 0;
#endif
        // The mismatched closing tag </C> starts at column 5 of line 3.
        broken("LF", "<Root>\n<A>1</A>\n<B>2</C>\n</Root>\n", 3, 7);
        broken("CR LF", "<Root>\r\n<A>1</A>\r\n<B>2</C>\r\n</Root>\r\n", 3, 7);
        broken("declaration counts as line 1", "<?xml version=\"1.0\"?>\r\n<Root>\r\n<B>2</C>\r\n</Root>\r\n", 3, 7);
        // Columns count characters, not bytes: the umlauts are two bytes in
        // UTF-8 and one in Latin-1, the column is the same.
        broken("UTF-8 umlauts before the error", "<Root>\n<A>1</A>\n<B>\xc3\xa4\xc3\xb6</C>\n</Root>\n", 3, 8);
        broken("Latin-1 umlauts before the error",
               "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Root>\n<B>\xe4\xf6</C>\n</Root>\n", 3, 8);
        broken("unclosed root", "<Root>\n<A>1</A>\n<B>2</B>", 3, 8);
        // What the parser would take but a strict one refuses.
        broken("invalid UTF-8", "<Root>\n<A>\xff</A>\n</Root>\n", 2, 4);
        broken("control character", "<Root>\n<A>\x01</A>\n</Root>\n", 2, 4);
        broken("second root", "<Root>\n</Root>\n<Root/>\n", 3, 1);
        broken("CDATA before the root", "<?xml version=\"1.0\"?>\n  <![CDATA[x]]>\n<Root/>\n", 2, 3);
        broken("CDATA after the root", "<Root/>\n<![CDATA[<Root/>]]>\n", 2, 1);
        broken("name beyond ASCII", "<Root>\n<A><?x\xe0\xa1\xac y?></A>\n</Root>\n", 2, 4);
        // Past the first 16 bytes, where plain text is checked in blocks.
        broken("control character late", "<Root>\n<A>0123456789012345678901234567890\x01</A>\n</Root>\n", 2, 35);
        broken("umlaut across a block, then invalid UTF-8", "<Root>\n<A>aaaaa\xc3\xa4\xff</A>\n</Root>\n", 2, 10);
        broken("name beyond ASCII after a text beyond ASCII",
               "<Root>\n<Abcdefghij>\xc3\xa4 x</Abcdefghij>\n<B\xc3\xa4/>\n</Root>\n", 3, 1);
        // A large file is read and checked in pieces of 512 KiB; the umlaut
        // spans the first two.
        const qsizetype nPiece = 512 * 1024;
        broken("invalid UTF-8 in a later piece", "<Root>\n<A>" + QByteArray(600000, 'a') + "\xff</A>\n</Root>\n", 2,
               600004);
        broken("umlaut across two pieces, then a control character",
               "<Root>\n<A>" + QByteArray(nPiece - 11, 'a') + "\xc3\xa4\x01</A>\n</Root>\n", 2, int(nPiece - 11 + 5));
        // From 2 MiB on, a second thread reads and checks the second half.
        broken("invalid UTF-8 in the part a second thread reads",
               "<Root>\n<A>" + QByteArray(3000000, 'a') + "\xff</A>\n</Root>\n", 2, 3000004);
        const QByteArray half(1500000, 'a');
        broken("a fault in each half: the first counts",
               "<Root>\n<A>" + half + "\x01</A>\n<B>" + half + "\xff</B>\n</Root>\n", 2, 1500004);
        broken("name beyond ASCII in the second half",
               "<Root>\n<A>" + half + "</A>\n<B>" + half + "</B>\n<C\xc3\xa4/>\n</Root>\n", 4, 1);
        broken("invalid UTF-8 at the middle", Halves("<A>\xff</A>"), 2, int(kHalfField + 8 + 3));
        const QByteArray lateFault = Halves("<M>x</M>", "<B>\xff</B>");
        broken("invalid UTF-8 after a tag in the second half", lateFault, 2,
               int(lateFault.indexOf('\xff') - lateFault.indexOf('\n')));
    }
    void openRefused()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(int, column);
        const QString strPath = path.isEmpty() ? Path(QStringLiteral("broken.xml")) : path;
        if (path.isEmpty())
            QVERIFY(WriteBytes(strPath, bytes));
        QVERIFY(QFileInfo::exists(strPath));

        CXMLDocument doc;
        const CXMLException e = ExpectXmlException([&] { doc.Open(strPath); });
        QVERIFY(!doc.IsValid());
        if (line == 0) {
            QVERIFY2(e.GetErrorMessage().startsWith(QStringLiteral("Fehler beim Laden der Datei '%1'\n").arg(strPath)),
                     qPrintable(e.GetErrorMessage()));
            return;
        }
        // "Fehler in XML Datei: %1\nZeile %2, Position %3\nFehler (%4) Text: %5"
        static const QRegularExpression re(QStringLiteral(
            "^Fehler in XML Datei: (.*)\nZeile (-?\\d+), Position (-?\\d+)\nFehler \\(([0-9a-f]+)\\) Text: (.+)$"));
        const QRegularExpressionMatch m = re.match(e.GetErrorMessage());
        QVERIFY2(m.hasMatch(), qPrintable(e.GetErrorMessage()));
        QCOMPARE(m.captured(1), strPath);
        QCOMPARE(m.captured(2).toInt(), line);
        QCOMPARE(m.captured(3).toInt(), column);
        bool bOk = false;
        QVERIFY(m.captured(4).toUInt(&bOk, 16) != 0 && bOk);
        QVERIFY(!m.captured(5).trimmed().isEmpty());
        QCOMPARE(ReadBytes(strPath), bytes);
    }

    // A large file's nodes take their memory from a region of its own, which
    // is given back when the document closes, however it changed meanwhile;
    // what does not fit, or finds no region free, takes the heap.
    void nodeMemory_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<int>("elements");
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("edit");
        const QByteArray result = "<Result><ID>7</ID><Remark>r</Remark></Result>\n";
        QTest::newRow("one file") << result << 100000 << 1 << false;
        QTest::newRow("one file, changed and saved") << result << 100000 << 1 << true;
        QTest::newRow("two files") << result << 100000 << 2 << false;
        QTest::newRow("more files than regions") << result << 100000 << 10 << false;
        QTest::newRow("nodes larger than the file") << QByteArray("<a/>") << 400000 << 1 << true;
    }
    void nodeMemory()
    {
        QFETCH(QByteArray, element);
        QFETCH(int, elements);
        QFETCH(int, files);
        QFETCH(bool, edit);
        
        const QString strPath = Path(QStringLiteral("large.xml"));
        QVERIFY(WriteBytes(strPath, "<Result-Data>" + element.repeated(elements) + "</Result-Data>"));
        const int nBefore = CDomMemoryScope::RegionsInUse();
        std::vector<std::unique_ptr<CXMLDocument>> docs;
        for (int i = 0; i < files; ++i) {
            docs.push_back(std::make_unique<CXMLDocument>());
            docs.back()->Open(strPath);
        }
        QCOMPARE(CDomMemoryScope::RegionsInUse() - nBefore, std::min(files, 8 - nBefore));
        auto count = [](const CXMLDocument& doc) {
            int n = 0;
            for (pugi::xml_node c = doc.GetDocumentElement().first_child(); c; c = c.next_sibling())
                n += c.type() == pugi::node_element ? 1 : 0;
            return n;
        };
        for (const auto& pDoc : docs) {
            QCOMPARE(count(*pDoc), elements);
            if (!edit)
                continue;
            // Half the nodes go, new ones come from the heap, and the
            // document is saved and read back.
            pugi::xml_node root = pDoc->GetDocumentElement();
            for (int i = 0; i < elements / 2; ++i)
                root.remove_child(root.first_child().type() == pugi::node_element ? root.first_child()
                                                                                   : root.first_child().next_sibling());
            for (int i = 0; i < 1000; ++i)
                root.append_child("New").text().set(i);
            pDoc->Save();
            CXMLDocument again;
            again.Open(strPath);
            QCOMPARE(count(again), elements / 2 + 1000);
            QCOMPARE(QString::fromUtf8(again.GetDocumentElement().last_child().text().get()), QStringLiteral("999"));
        }
        docs.clear();
        QCOMPARE(CDomMemoryScope::RegionsInUse(), nBefore);
    }

    void saveLayout_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        // Written here with LF: a save ends every line with CR LF.
        auto saved = [](QByteArray body) { return "<?xml version=\"1.0\"?>\r\n" + body.replace("\n", "\r\n"); };

        const QByteArray twoLeaves = saved("<Root>\n<A>1</A>\n<B>2</B>\n</Root>\n");
        QTest::newRow("one line") << QByteArray("<Root><A>1</A><B>2</B></Root>") << twoLeaves;
        QTest::newRow("already saved") << twoLeaves << twoLeaves;
        const QByteArray nested("<Main-Data><Group Name=\"G\"><Main><General><ID>7</ID><State/></General></Main>"
                                "</Group></Main-Data>");
        QTest::newRow("nested") << nested
                                << saved("<Main-Data>\n<Group Name=\"G\">\n<Main>\n<General>\n<ID>7</ID>\n<State />\n"
                                         "</General>\n</Main>\n</Group>\n</Main-Data>\n");
        QTest::newRow("escapes and spaces kept")
            << QByteArray("<R><A> a &amp; b &lt;c&gt; </A></R>") << saved("<R>\n<A> a &amp; b &lt;c&gt; </A>\n</R>\n");
        QTest::newRow("line break inside a text")
            << QByteArray("<R><A>x\ny</A></R>") << saved("<R>\n<A>x\ny</A>\n</R>\n");
        QTest::newRow("empty root") << QByteArray("<Result-Data>\n</Result-Data>") << saved("<Result-Data />\n");
        // A line break alone is layout; blanks alone are a text.
        QTest::newRow("empty element and blank text")
            << QByteArray("<R><A>\r\n</A><B> </B></R>") << saved("<R>\n<A />\n<B> </B>\n</R>\n");
        QTest::newRow("CR alone after a long line, and after an empty element")
            << QByteArray("<R><X>0123456789abcdef</X><A>\r</A><B/>\n</R>")
            << saved("<R>\n<X>0123456789abcdef</X>\n<A />\n<B />\n</R>\n");
        QTest::newRow("indented") << QByteArray("<R>\n  <A>\n    </A>\n</R>") << saved("<R>\n<A />\n</R>\n");
        QTest::newRow("line break by reference") << QByteArray("<R><A>&#10;</A></R>") << saved("<R>\n<A />\n</R>\n");
        // A blank beside an element is dropped as the parser drops it when
        // written as it is, so a second save writes the same.
        QTest::newRow("blank by reference beside an element")
            << QByteArray("<R><A>x<B/>&#9;</A><C>&#32;<D/> y </C><E>&#9;</E></R>")
            << saved("<R>\n<A>x<B />\n</A>\n<C>\n<D /> y </C>\n<E>\t</E>\n</R>\n");
        // U+FEFF in a file with references is a character like any other.
        QTest::newRow("U+FEFF between elements")
            << QByteArray("<R><A>x</A>\xef\xbb\xbf<B>&#1;</B></R>") << saved("<R>\n<A>x</A>\xef\xbb\xbf<B>\\x01</B>\n</R>\n");
        // Read in pieces of 512 KiB: a reference whose "&" ends the first
        // piece, and an end tag of layout that starts the second.
        const QByteArray pad(512 * 1024 - 6 - 1, 'a');
        QTest::newRow("reference across two pieces")
            << "<R><A>" + pad + "&#1;</A></R>" << saved("<R>\n<A>" + pad + "\\x01</A>\n</R>\n");
        const QByteArray pad2(512 * 1024 - 15, 'a');
        QTest::newRow("layout in the second piece")
            << "<R><X>" + pad2 + "</X><A>\r\n</A></R>" << saved("<R>\n<X>" + pad2 + "</X>\n<A />\n</R>\n");
        // Large enough for two threads to read it: every element in its place.
        QByteArray numbered = "<R>", numberedSaved = "<R>\n";
        for (int i = 0; i < 200000; ++i) {
            const QByteArray element = "<A>" + QByteArray::number(i) + "</A>";
            numbered += element;
            numberedSaved += element + '\n';
        }
        QTest::newRow("read by two threads") << numbered + "</R>" << saved(numberedSaved + "</R>\n");
        // The second thread checks from the first tag it can start at: what
        // lies at the middle or after it counts as before.
        QTest::newRow("layout at the middle")
            << Halves("<M>\r\n" + QByteArray(20, ' ') + "</M>") << saved(HalvesSaved("<M />\n"));
        QTest::newRow("reference at the middle") << Halves("<M>&#1;</M>") << saved(HalvesSaved("<M>\\x01</M>\n"));
        QTest::newRow("layout in the second half")
            << Halves("<M>x</M>", "<L>\n</L>") << saved(HalvesSaved("<M>x</M>\n", "<L>\n</L>", "<L />\n"));
        QTest::newRow("a reference in the second half")
            << Halves("<M>x</M>", "<F>&#2;</F>") << saved(HalvesSaved("<M>x</M>\n", "<F>&#2;</F>", "<F>\\x02</F>\n"));
        QTest::newRow("nothing to start at in the second half")
            << "<R><A>" + QByteArray(3000000, 'a') + "&#3;</A></R>"
            << saved("<R>\n<A>" + QByteArray(3000000, 'a') + "\\x03</A>\n</R>\n");

        // Read in the declared encoding, written in UTF-8 without a mark and
        // without declaring it.
        const QString strXml = QStringLiteral("<Root>\n<Name>Müller Größe µA ÄÖÜß</Name>\n</Root>\n");
        auto declared = [&](const char* pszEnc) {
            return QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(QLatin1String(pszEnc)) + strXml;
        };
        const QByteArray utf8 = saved(strXml.toUtf8());
        QTest::newRow("UTF-8 declared") << declared("UTF-8").toUtf8() << utf8;
        QTest::newRow("UTF-8 undeclared") << strXml.toUtf8() << utf8;
        QTest::newRow("UTF-8 BOM") << "\xef\xbb\xbf" + declared("UTF-8").toUtf8() << utf8;
        QStringEncoder le(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16 LE BOM") << QByteArray(le.encode(declared("UTF-16"))) << utf8;
        QStringEncoder be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16 BE BOM") << QByteArray(be.encode(declared("UTF-16"))) << utf8;
        QStringEncoder leNoBom(QStringConverter::Utf16LE);
        QTest::newRow("UTF-16 LE undeclared") << QByteArray(leNoBom.encode(strXml)) << utf8;
        QTest::newRow("ISO-8859-1") << declared("ISO-8859-1").toLatin1() << utf8;
        // In windows-1252, 0x80 is the euro sign and 0x84 a low quote; in
        // ISO-8859-1 they would be C1 controls.
        const QByteArray cp1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
                                  "<Root>\n<Name>M\xfcller 5\x80 \xb5V \x84x\x93</Name>\n</Root>\n";
        QTest::newRow("windows-1252") << cp1252 << saved("<Root>\n<Name>Müller 5€ µV „x“</Name>\n</Root>\n");
    }
    void saveLayout()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const QString strPath = Path(QStringLiteral("layout.xml"));
        QVERIFY(WriteBytes(strPath, input));

        CXMLDocument doc;
        doc.Open(strPath);
        QVERIFY(doc.IsValid());
        doc.Save();
        const QByteArray first = ReadBytes(strPath);
        QCOMPARE(first, expected);

        // Load and save again: the same bytes.
        CXMLDocument again;
        again.Open(strPath);
        again.Save();
        QCOMPARE(ReadBytes(strPath), first);
        again.Reload();
        again.Save();
        QCOMPARE(ReadBytes(strPath), first);
    }

    void invalidDocumentIsNeverSaved_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("reload of a damaged file") << 0;
        QTest::newRow("LoadXML of no XML") << 1;
        QTest::newRow("closed") << 2;
    }
    void invalidDocumentIsNeverSaved()
    {
        QFETCH(int, way);
        const QString strPath = Path(QStringLiteral("never%1.xml").arg(way));
        const QByteArray good("<?xml version=\"1.0\"?>\r\n<R>\r\n<A>1</A>\r\n</R>\r\n");
        QVERIFY(WriteBytes(strPath, good));
        CXMLDocument doc;
        doc.Open(strPath);
        CXMLNode node(&doc);
        QVERIFY(node.FindFirst(QStringLiteral("A")));

        QByteArray expected = good;
        if (way == 0) {
            expected = "<R><A>1</A>";
            QVERIFY(WriteBytes(strPath, expected));
            const CXMLException e = ExpectXmlException([&] { doc.Reload(); });
            QVERIFY(e.GetErrorMessage().startsWith(QStringLiteral("Fehler in XML Datei: ")));
        } else if (way == 1) {
            const CXMLException e = ExpectXmlException([&] { doc.LoadXML(QStringLiteral("<R><A>")); });
            QCOMPARE(e.GetMessageId(), unsigned(IDS_XML_LOADXML));
        } else {
            doc.Close();
        }
        QVERIFY(!doc.IsValid());
        // A new cursor that needs a document is refused.
        const CXMLException eCursor = ExpectXmlException([&] { CXMLNode n(&doc, true); });
        QCOMPARE(eCursor.GetMessageId(), unsigned(IDS_XML_NO_DOCUMENT));

        // Nothing a cursor or the document does writes the file now, and the
        // cursor is at end of list without crashing.
        QVERIFY(node.IsEOF());
        node.MoveFirst();
        QVERIFY(node.IsEOF());
        node.AddNew();
        node.Update();
        node.Delete();
        QCOMPARE(node.GetValue(QStringLiteral("A")), QString());
        doc.Save();
        doc.SuppressSave();
        doc.Save();
        QCOMPARE(ReadBytes(strPath), expected);
    }

    void suppressedSavesAndReload()
    {
        const QString strPath = Path(QStringLiteral("batch.xml"));
        const QByteArray original("<?xml version=\"1.0\"?>\r\n<R>\r\n<A>1</A>\r\n<A>2</A>\r\n</R>\r\n");
        QVERIFY(WriteBytes(strPath, original));
        CXMLDocument doc;
        doc.Open(strPath);
        CXMLNode node(&doc);
        node.Open(QStringLiteral("A"));
        QCOMPARE(node.GetRecordCount(), 2);

        doc.SuppressSave();
        node.Delete();
        QCOMPARE(node.GetRecordCount(), 1);
        QCOMPARE(ReadBytes(strPath), original);
        // Reload drops the batch and ends the suppression.
        doc.Reload();
        QVERIFY(!doc.IsSaveSuppressed());
        node.Open(QStringLiteral("A"));
        QCOMPARE(node.GetRecordCount(), 2);
        node.Delete();
        QCOMPARE(ReadBytes(strPath), QByteArray("<?xml version=\"1.0\"?>\r\n<R>\r\n<A>2</A>\r\n</R>\r\n"));

        // A batch ends with one Save.
        doc.SuppressSave();
        node.Delete();
        QCOMPARE(ReadBytes(strPath), QByteArray("<?xml version=\"1.0\"?>\r\n<R>\r\n<A>2</A>\r\n</R>\r\n"));
        doc.Save();
        QVERIFY(!doc.IsSaveSuppressed());
        QCOMPARE(ReadBytes(strPath), QByteArray("<?xml version=\"1.0\"?>\r\n<R />\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestXMLDocument)
#include "tst_xmldocument.moc"
