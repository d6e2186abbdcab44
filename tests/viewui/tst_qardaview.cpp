// The result view: loading into its caches, the mode rules, the remark box,
// the context menu, the vector settings dialog and printing.

#include "../common/TestSupport.h"
#include "../view/PaintRecorder.h"
#include "ViewUiTestData.h"

#include "core/RegSettings.h"
#include "resources/StringTable.h"
#include "view/LocationPane.h"
#include "view/PageHeader.h"
#include "view/QardaView.h"
#include "view/VectorSettingsDlg.h"
#include "xml/QardaDoc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace ViewUiData;

namespace {

// "S3 V8" -> {"S3", "V8"}
QStringList Steps(const char* pszSteps)
{
    return QString::fromLatin1(pszSteps).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList Utf8(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* psz : texts)
        out.append(QString::fromUtf8(psz));
    return out;
}

} // namespace

class TestQardaView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void repaintReadsNothingFromTheFile();
    void sampleOfLoadedSeriesReadsNoFile();
    void placeNumberQueries_data();
    void placeNumberQueries();
    void modeRules_data();
    void modeRules();
    void remarkBox_data();
    void remarkBox();
    void contextMenu_data();
    void contextMenu();
    void vectorSettingsDialog();
    void pageCount_data();
    void pageCount();
    void titleLine_data();
    void titleLine();
    void headerLogo_data();
    void headerLogo();
    void printToPdf_data();
    void printToPdf();
    void printToUnwritablePath();
    void locationPane_data();
    void locationPane();
    void smallWindowScrolls_data();
    void smallWindowScrolls();

private:
    CRecordingDevice* Record(CQardaView& view, const QSize& size = QSize(1000, 700));
    void Run(const QStringList& steps);
    QString PdfText(const QString& strPath, int* pPages);

    QTemporaryDir m_dir;
    QString m_strMain, m_strResult;
    std::unique_ptr<CQardaDoc> m_pDoc;
    std::unique_ptr<CQardaView> m_pView;
    std::unique_ptr<CRecordingDevice> m_pDevice;
};

void TestQardaView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_strMain = m_dir.filePath(QStringLiteral("Main.xml"));
    m_strResult = m_dir.filePath(QStringLiteral("Result.xml"));
}

void TestQardaView::init()
{
    QVERIFY(WriteFile(m_strMain, MainFile()));
    QVERIFY(WriteFile(m_strResult, ResultFile()));
    m_pDoc = std::make_unique<CQardaDoc>(m_strMain, m_strResult);
    QVERIFY(m_pDoc->m_xmlMain.IsValid());
    QVERIFY(m_pDoc->m_xmlResult.IsValid());
    m_pView = std::make_unique<CQardaView>(m_pDoc.get());
    m_pView->resize(1000, 700);
}

void TestQardaView::cleanup()
{
    m_pDevice.reset();
    m_pView.reset();
    m_pDoc.reset();
}

CRecordingDevice* TestQardaView::Record(CQardaView& view, const QSize& size)
{
    m_pDevice = std::make_unique<CRecordingDevice>(size);
    QPainter painter(m_pDevice.get());
    view.OnDraw(&painter, QRect(QPoint(0, 0), size));
    return m_pDevice.get();
}

// Steps: "S<kind>" shows the test result of that kind ("S0" one that does
// not exist), "V<mode>" SetValueMode, "H<mode>" SetHarmonicsMode.
void TestQardaView::Run(const QStringList& steps)
{
    for (const QString& strStep : steps) {
        const int n = strStep.mid(1).toInt();
        if (strStep.startsWith(u'V')) {
            m_pView->SetValueMode(M(n));
        } else if (strStep.startsWith(u'H')) {
            m_pView->SetHarmonicsMode(M(n));
        } else {
            switch (n) {
            case 3:
                m_pView->ShowResult(K(3), kId, kValueDate, kValueTime, {}, {});
                break;
            case 6:
                m_pView->ShowResult(K(6), kId, QStringLiteral("16.03.2024"), kHarm15Time, {}, {});
                break;
            case 7:
                m_pView->ShowResult(K(7), kId, kErrorDate, kErrorTime, {}, {});
                break;
            case 8:
                m_pView->ShowResult(K(8), kId, kSeriesDate, kRegisterTime, {}, {});
                break;
            case 12:
                m_pView->ShowResult(K(12), kId, kSeriesDate, kSeriesTime, {}, {});
                break;
            case 13:
                m_pView->ShowResult(K(13), kId, kSeriesDate, kSeriesTime, {}, QStringLiteral("1"));
                break;
            case 19:
                m_pView->ShowResult(K(19), {}, {}, {}, {}, {});
                break;
            default:
                m_pView->ShowResult(K(3), QStringLiteral("nobody"), kValueDate, kValueTime, {}, {});
                break;
            }
        }
    }
}

void TestQardaView::repaintReadsNothingFromTheFile()
{
    m_pView->ShowResult(K(3), kId, kValueDate, kValueTime, {}, {});
    QCOMPARE(ToInt(m_pView->GetKind()), 3);
    QCOMPARE(m_pView->GetFileReadCount(), 1);
    // With both files closed and the result file gone, the view still
    // draws the values and the header still has the location.
    m_pDoc->m_xmlResult.Close();
    m_pDoc->m_xmlMain.Close();
    QVERIFY(QFile::remove(m_strResult));
    QVERIFY(Record(*m_pView)->Texts().contains(QStringLiteral("230.12")));
    QCOMPARE(m_pView->GetLocation().m_strManufNo, QStringLiteral("F-998877"));

    m_pView->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
    const QImage image = m_pView->grab().toImage();
    int nDark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            nDark += qGray(image.pixel(x, y)) < 128;
    QVERIFY2(nDark > 100, "the grabbed view shows the table");
    // Other display modes of the same values read nothing either.
    m_pView->SetValueMode(M(8));
    QVERIFY(Record(*m_pView)->Texts().contains(QStringLiteral("230.12")));
    QCOMPARE(Record(*m_pView)->OfKind(CPaintOp::Ellipse).size(), 1);
    QCOMPARE(m_pView->GetFileReadCount(), 1);
}

void TestQardaView::sampleOfLoadedSeriesReadsNoFile()
{
    m_pView->ShowResult(K(12), kId, kSeriesDate, kSeriesTime, {}, {});
    QCOMPARE(ToInt(m_pView->GetKind()), 12);
    QCOMPARE(m_pView->GetCache().m_series.size(), 3);
    QCOMPARE(m_pView->GetFileReadCount(), 1);

    // The file is closed: a read would find nothing and leave the view empty.
    m_pDoc->m_xmlResult.Close();
    m_pView->ShowResult(K(13), kId, kSeriesDate, kSeriesTime, {}, QStringLiteral("2"));
    QCOMPARE(ToInt(m_pView->GetKind()), 3);
    QCOMPARE(ToInt(m_pView->GetMode()), 0);
    QCOMPARE(m_pView->GetCache().m_strValues[kQtyUPN][0], QStringLiteral("202.00;V"));
    m_pView->ShowResult(K(13), kId, kSeriesDate, kSeriesTime, {}, QStringLiteral("3"));
    QCOMPARE(m_pView->GetCache().m_strValues[kQtyUPN][0], QStringLiteral("203.00;V"));
    QCOMPARE(m_pView->GetFileReadCount(), 1);
    QVERIFY(Record(*m_pView)->Texts().contains(QStringLiteral("203.00")));

    // A sample of another series comes from the file.
    m_pDoc->m_xmlResult.Open(m_strResult);
    m_pView->ShowResult(K(13), kId, kSeriesDate, kSeries2Time, {}, QStringLiteral("2"));
    QCOMPARE(m_pView->GetFileReadCount(), 2);
    QCOMPARE(ToInt(m_pView->GetKind()), 3);
    QCOMPARE(m_pView->GetCache().m_strValues[kQtyUPN][0], QStringLiteral("212.00;V"));

    // An unknown running number of the loaded series falls back to a read.
    m_pView->ShowResult(K(13), kId, kSeriesDate, kSeries2Time, {}, QStringLiteral("9"));
    QCOMPARE(m_pView->GetFileReadCount(), 3);
    QCOMPARE(m_pView->GetCache().m_strValues[kQtyUPN][0], QString());
}

void TestQardaView::placeNumberQueries_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("placeNo");
    QTest::addColumn<QString>("expectedUPN1");

    QTest::newRow("missing Place-No") << 7 << kErrorTime << QString() << QStringLiteral("233.33;V");
    QTest::newRow("given Place-No") << 7 << kErrorTime << QStringLiteral("2") << QStringLiteral("222.22;V");
    QTest::newRow("empty Place-No element") << 7 << kErrorEmptyPlaceTime << QString() << QStringLiteral("244.44;V");
    QTest::newRow("unknown Place-No") << 7 << kErrorTime << QStringLiteral("3") << QString();
    // Kinds without place numbers ignore it: the first of the triple.
    QTest::newRow("values ignore Place-No") << 3 << kValueTime << QStringLiteral("99") << QStringLiteral("230.12;V");
}

void TestQardaView::placeNumberQueries()
{
    QFETCH(int, kind);
    QFETCH(QString, time);
    QFETCH(QString, placeNo);
    QFETCH(QString, expectedUPN1);
    const QString strDate = kind == 7 ? kErrorDate : kValueDate;
    m_pView->ShowResult(K(kind), kId, strDate, time, placeNo, {});
    QCOMPARE(ToInt(m_pView->GetKind()), expectedUPN1.isEmpty() ? 19 : kind);
    QCOMPARE(m_pView->GetCache().m_strValues[kQtyUPN][0], expectedUPN1);
    if (kind == 7 && !expectedUPN1.isEmpty())
        QCOMPARE(m_pView->GetCache().KindField(QStringLiteral("Error")).isEmpty(), false);
}

void TestQardaView::modeRules_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("mode");

    QTest::newRow("values") << Steps("S3") << 3 << 0;
    QTest::newRow("vectors command") << Steps("S3 V1") << 4 << 1;
    QTest::newRow("values after vectors") << Steps("S3 V1 S3") << 3 << 0;
    QTest::newRow("harmonics load as table") << Steps("S6") << 6 << 2;
    QTest::newRow("harmonics reload resets") << Steps("S6 H3 S6") << 6 << 2;
    QTest::newRow("error default") << Steps("S7") << 7 << 5;
    QTest::newRow("error both") << Steps("S7 V7") << 7 << 7;
    QTest::newRow("error view survives other kinds") << Steps("S7 V6 S3 S6 S7") << 7 << 6;
    QTest::newRow("register test") << Steps("S3 S8") << 8 << 9;
    QTest::newRow("continuous keeps the mode") << Steps("S6 H4 S12") << 12 << 4;
    QTest::newRow("sample shows values") << Steps("S12 S13") << 3 << 0;
    QTest::newRow("nothing") << Steps("S3 S19") << 19 << 9;
    QTest::newRow("not found") << Steps("S7 S0") << 19 << 9;
}

void TestQardaView::modeRules()
{
    QFETCH(QStringList, steps);
    QFETCH(int, kind);
    QFETCH(int, mode);
    QSignalSpy spy(m_pView.get(), &CQardaView::ModeChanged);
    Run(steps);
    QCOMPARE(ToInt(m_pView->GetKind()), kind);
    QCOMPARE(ToInt(m_pView->GetMode()), mode);
    QCOMPARE(spy.count(), steps.size());
}

void TestQardaView::remarkBox_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("hasRemark");
    QTest::newRow("without remark") << kValueTime << false;
    QTest::newRow("with remark") << kRemarkTime << true;
}

void TestQardaView::remarkBox()
{
    QFETCH(QString, time);
    QFETCH(bool, hasRemark);
    m_pView->ShowResult(K(3), kId, kValueDate, time, {}, {});
    const QSize client(1000, 700);
    const CRecordingDevice* pDevice = Record(*m_pView, client);
    const QString strLine = QStringLiteral("Bemerkung: ") + kRemark;
    QCOMPARE(pDevice->FindText(strLine) != nullptr, hasRemark);
    // The values stay above the bottom tenth when a remark box is there.
    double dLowest = 0;
    for (const CPaintOp& op : pDevice->OfKind(CPaintOp::Text))
        if (op.m_strText != strLine)
            dLowest = qMax(dLowest, op.m_rect.bottom());
    if (hasRemark) {
        QVERIFY(dLowest <= client.height() * 0.9 + 1);
        const CPaintOp* pText = pDevice->FindText(strLine);
        QVERIFY(pText->m_rect.top() >= client.height() * 0.9 - 1);
        QVERIFY(pText->m_rect.left() >= client.width() / 10);
    }
}

void TestQardaView::contextMenu_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<bool>("withVectorItem");
    QTest::newRow("values") << Steps("S3") << QStringLiteral("values") << false;
    QTest::newRow("error values") << Steps("S7") << QStringLiteral("error") << false;
    QTest::newRow("error vectors") << Steps("S7 V6") << QStringLiteral("error") << true;
    QTest::newRow("harmonics") << Steps("S6") << QStringLiteral("harmonics") << false;
    QTest::newRow("continuous") << Steps("S12") << QStringLiteral("continuous") << false;
    QTest::newRow("register test") << Steps("S8") << QString() << false;
    QTest::newRow("nothing") << Steps("S19") << QString() << false;
}

void TestQardaView::contextMenu()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, menu);
    QFETCH(bool, withVectorItem);
    QMenu values, harmonics, continuous, error;
    QHash<QString, QMenu*> menus = {{QStringLiteral("values"), &values}, {QStringLiteral("harmonics"), &harmonics},
                                    {QStringLiteral("continuous"), &continuous}, {QStringLiteral("error"), &error}};
    for (auto it = menus.cbegin(); it != menus.cend(); ++it)
        for (int i = 0; i < 3; ++i)
            it.value()->addAction(it.key() + QString::number(i));
    QAction vectorSettings(QStringLiteral("&Vektoren..."));
    m_pView->SetContextMenus(&values, &harmonics, &continuous, &error, &vectorSettings);

    Run(steps);
    std::unique_ptr<QMenu> pMenu(m_pView->CreateContextMenu(nullptr));
    if (menu.isEmpty()) {
        QVERIFY(!pMenu);
        return;
    }
    QVERIFY(pMenu);
    QList<QAction*> expected = menus.value(menu)->actions();
    const QList<QAction*> actions = pMenu->actions();
    // The frame's own actions, so that its handlers serve them.
    QCOMPARE(actions.mid(0, 3), expected);
    QCOMPARE(actions.size(), withVectorItem ? 5 : 3);
    if (withVectorItem) {
        QVERIFY(actions[3]->isSeparator());
        QCOMPARE(actions[4], &vectorSettings);
    }
}

void TestQardaView::vectorSettingsDialog()
{
    CVectorSettings stored;
    stored.m_colours[0] = QColor(10, 20, 30);
    SaveVectorSettings(stored);
    QColor picked(1, 2, 3);
    const auto previous = CVectorSettingsDlg::SetColourPicker([&](const QColor&, QWidget*) { return picked; });

    {
        // Cancel writes nothing.
        CVectorSettingsDlg dlg;
        QCOMPARE(dlg.GetSettings().m_colours[0], QColor(10, 20, 30));
        dlg.GetControl(1060)->click();
        dlg.GetControl(1066)->click();
        dlg.reject();
        QCOMPARE(LoadVectorSettings().m_colours[1], CVectorSettings().m_colours[1]);
        QCOMPARE(LoadVectorSettings().m_nReference, int(kVectorRefRange));
    }
    {
        CVectorSettingsDlg dlg;
        QVERIFY(dlg.GetControl(1065)->isChecked());
        dlg.GetControl(1060)->click();              // U2 gets the picked colour
        picked = QColor();                          // the user cancels the colour of I3
        dlg.GetControl(1064)->click();
        dlg.GetControl(1066)->click();
        dlg.accept();
    }
    CVectorSettingsDlg::SetColourPicker(previous);
    const CVectorSettings saved = LoadVectorSettings();
    QCOMPARE(saved.m_nReference, int(kVectorRefMaximum));
    QCOMPARE(saved.m_colours[0], QColor(10, 20, 30));
    QCOMPARE(saved.m_colours[1], QColor(1, 2, 3));
    QCOMPARE(saved.m_colours[5], CVectorSettings().m_colours[5]);

    // The view draws with the settings once it reloads them.
    m_pView->ShowResult(K(3), kId, kValueDate, kValueTime, {}, {});
    m_pView->SetValueMode(M(1));
    m_pView->ReloadVectorSettings();
    QCOMPARE(Record(*m_pView)->FindText(QStringLiteral("U2"))->m_pen.color(), QColor(1, 2, 3));
    SaveVectorSettings(CVectorSettings());
}

void TestQardaView::pageCount_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("pages");
    QTest::newRow("harmonics 15 orders portrait") << 6 << 2 << 15 << false << 2;
    QTest::newRow("harmonics 49 portrait") << 6 << 2 << 49 << false << 2;
    QTest::newRow("harmonics 50 portrait") << 6 << 2 << 50 << false << 3;
    QTest::newRow("harmonics 7 landscape") << 6 << 2 << 7 << true << 1;
    QTest::newRow("harmonics 8 landscape") << 6 << 2 << 8 << true << 2;
    QTest::newRow("harmonics 28 landscape") << 6 << 2 << 28 << true << 3;
    QTest::newRow("harmonics bar chart") << 6 << 4 << 50 << false << 1;
    QTest::newRow("selective 15 portrait") << 17 << 9 << 15 << false << 2;
    QTest::newRow("selective 28 landscape") << 17 << 0 << 28 << true << 3;
    QTest::newRow("values") << 3 << 0 << 50 << false << 1;
}

void TestQardaView::pageCount()
{
    QFETCH(int, kind);
    QFETCH(int, mode);
    QFETCH(int, rows);
    QFETCH(bool, landscape);
    QFETCH(int, pages);
    QCOMPARE(PrintPageCount(K(kind), M(mode), rows, landscape), pages);
}

void TestQardaView::titleLine_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("adjust");
    QTest::addColumn<QString>("title");
    QTest::newRow("values") << 3 << QStringLiteral("OK") << QStringLiteral("Messwerte : Istwerte");
    QTest::newRow("not adjusted") << 7 << QStringLiteral("Error")
                                  << QStringLiteral("Messwerte (nicht justiertes Gerät) : Fehlermessung");
    QTest::newRow("PQS") << 18 << QString() << QStringLiteral("Messwerte : Registertest - PQS");
    QTest::newRow("sample has no title") << 13 << QString() << QStringLiteral("Messwerte : ");
}

void TestQardaView::titleLine()
{
    QFETCH(int, kind);
    QFETCH(QString, adjust);
    QFETCH(QString, title);
    CResultCache cache;
    cache.m_strAdjustData = adjust;
    QCOMPARE(HeaderTitleLine(cache, K(kind)), title);
}

void TestQardaView::headerLogo_data()
{
    QTest::addColumn<QString>("logo");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("no logo") << QString() << false;
    QTest::newRow("missing file") << QStringLiteral("missing.bmp") << false;
    QTest::newRow("not a bitmap") << QStringLiteral("garbage.bmp") << false;
    QTest::newRow("bitmap") << QStringLiteral("logo.bmp") << true;
}

void TestQardaView::headerLogo()
{
    QFETCH(QString, logo);
    QFETCH(bool, drawn);
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(m_dir.filePath(QStringLiteral("logo.bmp")), "BMP"));
    QVERIFY(WriteFile(m_dir.filePath(QStringLiteral("garbage.bmp")), QStringLiteral("BM no bitmap")));

    CResultCache cache;
    cache.m_strDate = kValueDate;
    CLocationCache location;
    location.m_strID = kId;
    CTextPainter tp;
    CRecordingDevice device(QSize(2000, 2800));
    QPainter painter(&device);
    const int nHeight = DrawPageHeader(&painter, QRect(100, 100, 1800, 700), cache, location, ResultKind::Value,
                                       logo.isEmpty() ? QString() : m_dir.filePath(logo), tp);
    painter.end();
    QVERIFY(nHeight > 0);
    QVERIFY(device.FindText(QStringLiteral("ID: ") + kId));
    const QList<CPaintOp> images = device.OfKind(CPaintOp::Pixmap);
    QCOMPARE(!images.isEmpty(), drawn);
    if (drawn) {
        // Smaller than its cell: own size, centred, left of the date column.
        QCOMPARE(images[0].m_rect.size(), QSizeF(40, 20));
        QVERIFY(images[0].m_rect.right() < 100 + 1800 * 3 / 4);
        QVERIFY(images[0].m_rect.left() > 100);
    }
}

QString TestQardaView::PdfText(const QString& strPath, int* pPages)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {strPath});
    if (!info.waitForFinished(30000))
        return {};
    const QString strInfo = QString::fromUtf8(info.readAllStandardOutput());
    for (const QString& strLine : strInfo.split(QLatin1Char('\n')))
        if (strLine.startsWith(QLatin1String("Pages:")))
            *pPages = strLine.mid(6).trimmed().toInt();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), strPath, QStringLiteral("-")});
    if (!text.waitForFinished(30000))
        return {};
    return QString::fromUtf8(text.readAllStandardOutput());
}

void TestQardaView::printToPdf_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("texts");
    const QStringList header = Utf8({"Datum: 14.03.2024", "Uhrzeit: 10:21:33", "KOLT GmbH", "Typ: PX900",
                                "Nr: 123456", "ID: ZP-4711", "Zählerdaten", "Hersteller: Zählerbau",
                                "Fabrik Nr.: F-998877", "Eigentumsnr.: E-1234", "Betreiber: Netz AG",
                                "Lieferant: Strom GmbH", "Standort", "Umspannwerk Nord", "Nr: S-12", "Kunde",
                                "Erika Mustermann", "Nr: K-77", "Messwerte : Istwerte", "230.12"});
    QTest::newRow("values portrait") << 3 << kValueDate << kValueTime << false << 1 << header;
    QTest::newRow("error with place number")
        << 7 << kErrorDate << kErrorTime << false << 1 << Utf8({"Messplatznr.: 2", "Messwerte : Fehlermessung"});
    QTest::newRow("harmonics 50 orders") << 6 << QStringLiteral("16.03.2024") << kHarm50Time << false << 3
                                         << Utf8({"Messwerte : Harmonische"});
}

void TestQardaView::printToPdf()
{
    QFETCH(int, kind);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(bool, landscape);
    QFETCH(int, pages);
    QFETCH(QStringList, texts);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    m_pView->ShowResult(K(kind), kId, date, time, kind == 7 ? QStringLiteral("2") : QString(), {});
    QCOMPARE(ToInt(m_pView->GetKind()), kind);
    m_pView->GetPrinter()->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QCOMPARE(m_pView->GetPageCount(landscape), pages);
    const QString strPdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_')));
    QVERIFY(m_pView->PrintToPdf(strPdf));
    int nPages = 0;
    const QString strText = PdfText(strPdf, &nPages);
    QCOMPARE(nPages, pages);
    for (const QString& str : texts)
        QVERIFY2(strText.contains(str), qPrintable(str + QStringLiteral(" missing in:\n") + strText));
    // No page is blank.
    const QStringList pageTexts = strText.split(QLatin1Char('\f'));
    for (int n = 0; n < nPages; ++n)
        QVERIFY2(!pageTexts.value(n).trimmed().isEmpty(), qPrintable(QStringLiteral("page %1 is blank").arg(n + 1)));
}

void TestQardaView::printToUnwritablePath()
{
    CRecordingSink sink;
    m_pView->ShowResult(K(3), kId, kValueDate, kValueTime, {}, {});
    const QString strPath = m_dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
    QVERIFY(!m_pView->PrintToPdf(strPath));
    QCOMPARE(sink.m_shown.size(), 1);
    QVERIFY(sink.m_shown[0].first.contains(strPath));
    QVERIFY(!QFile::exists(strPath));
}

void TestQardaView::locationPane_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("counts");     // locations, then kind:count in the order of the kinds
    QTest::addColumn<QStringList>("shown");  // the title first
    const QString strCounts = QStringLiteral("3:2 6:3 7:4 8:1 12:2");
    QTest::newRow("location") << 1 << kId << QStringLiteral("-1 ") + strCounts
                              << Utf8({"Ort: ZP-4711", "Erika Mustermann", "12345 Musterstadt", "K-77", "Netz AG",
                                       "Zähler", "F-998877", "Fehlermessung", "Gesamt", "12"});
    QTest::newRow("group") << 0 << QStringLiteral("Nord") << QStringLiteral("1 ") + strCounts
                           << Utf8({"Gruppe: Nord", "Orte", "Fortlaufende Istwerte", "12"});
    QTest::newRow("quote in the ID, nothing found")
        << 1 << QStringLiteral("X\"1") << QStringLiteral("-1") << Utf8({"Ort: X\"1", "Gesamt", "0"});
    QTest::newRow("unknown group") << 0 << QStringLiteral("Süd") << QStringLiteral("0") << Utf8({"Gruppe: Süd", "0"});
}

void TestQardaView::locationPane()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QStringList, shown);
    m_pView->ShowLocation(K(kind), name);
    QVERIFY(m_pView->GetLocationSummary());
    const CLocationSummary& summary = *m_pView->GetLocationSummary();
    QStringList counts{QString::number(summary.m_nLocations)};
    for (const auto& count : summary.m_counts)
        counts.append(QStringLiteral("%1:%2").arg(ToInt(count.first)).arg(count.second));
    QTEST(counts.join(u' '), "counts");

    // Drawn at a readable height; what does not fit is left to scrolling.
    m_pDevice = std::make_unique<CRecordingDevice>(QSize(300, 200));
    QPainter painter(m_pDevice.get());
    const QSize needed = DrawLocationPane(&painter, QRect(0, 0, 300, 200), summary, 12);
    painter.end();
    QCOMPARE(m_pDevice->Texts().constFirst(), shown.constFirst());
    for (const QString& str : shown)
        QVERIFY2(m_pDevice->Texts().contains(str), qPrintable(str));
    for (const CPaintOp& op : m_pDevice->OfKind(CPaintOp::Text))
        QVERIFY(op.m_rect.bottom() <= needed.height());
    QCOMPARE(needed.height() > 200, summary.m_sections.size() > 0);

    // Selecting a result afterwards shows the result again.
    m_pView->ShowResult(K(3), kId, kValueDate, kValueTime, {}, {});
    QVERIFY(!m_pView->GetLocationSummary());
}

void TestQardaView::smallWindowScrolls_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QSize>("size");
    QTest::newRow("values with remark, small") << kRemarkTime << QSize(260, 180);
}

void TestQardaView::smallWindowScrolls()
{
    QFETCH(QString, time);
    QFETCH(QSize, size);
    m_pView->ShowResult(K(3), kId, kValueDate, time, {}, {});
    m_pView->resize(size);
    m_pView->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
    QTRY_COMPARE(m_pView->widget()->height() > m_pView->viewport()->height(), size.height() < 700);
    // Every text keeps the readable height, however small the window.
    const CRecordingDevice* pDevice = Record(*m_pView, m_pView->viewport()->size());
    for (const CPaintOp& op : pDevice->OfKind(CPaintOp::Text))
        QVERIFY2(op.m_font.pixelSize() >= CQardaView::kMinScreenFontHeight, qPrintable(op.m_strText));
    // Grown back, the scroll bars go again.
    m_pView->resize(1000, 700);
    QTRY_COMPARE(m_pView->widget()->size(), m_pView->viewport()->size());
}

int main(int argc, char** argv)
{
    QTemporaryDir settingsDir;
    UseTemporarySettings(settingsDir);
    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    TestQardaView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qardaview.moc"
