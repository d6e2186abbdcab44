// Writes pictures of the result view widget for the actual values, the
// vector diagram, both, and an error measurement in its three modes, at a
// small and a large window size, and page 1 of a printed result, into the
// build folder, to be looked at.

#include "../../tests/common/TestSupport.h"
#include "ViewUiTestData.h"

#include "core/RegSettings.h"
#include "view/QardaView.h"

#include <QPrinter>
#include "xml/QardaDoc.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>

using namespace ViewUiData;

class TestViewUiGallery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void gallery_data();
    void gallery();
    void printedPage();

private:
    QTemporaryDir m_dir;
    QString m_strMain, m_strResult;
};

void TestViewUiGallery::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_strMain = m_dir.filePath(QStringLiteral("Main.xml"));
    m_strResult = m_dir.filePath(QStringLiteral("Result.xml"));
    QVERIFY(WriteFile(m_strMain, MainFile()));
    QVERIFY(WriteFile(m_strResult, ResultFile()));
    QVERIFY(QDir().mkpath(QStringLiteral(QARDA_GALLERY_DIR)));
}

void TestViewUiGallery::gallery_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QSize>("size");
    for (const QSize& size : {QSize(800, 600), QSize(1920, 1080)}) {
        const auto add = [&](const char* pszName, int nKind, int nMode, const QString& strTime) {
            QTest::addRow("%s_%dx%d", pszName, size.width(), size.height()) << nKind << nMode << strTime << size;
        };
        add("values", 3, 0, kValueTime);
        add("vectors", 3, 1, kValueTime);
        add("values_vectors", 3, 8, kValueTime);
        add("values_remark", 3, 0, kRemarkTime);
        add("error_values", 7, 5, kErrorTime);
        add("error_vectors", 7, 6, kErrorTime);
        add("error_both", 7, 7, kErrorTime);
        add("harmonics_linear", 6, 3, QStringLiteral("13:41:00"));
        add("series", 12, 9, kSeriesTime);
    }
}

void TestViewUiGallery::gallery()
{
    QFETCH(int, kind);
    QFETCH(int, mode);
    QFETCH(QString, time);
    QFETCH(QSize, size);
    CQardaDoc doc(m_strMain, m_strResult);
    CQardaView view(&doc);
    view.resize(size);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QString strDate = kind == 7 ? kErrorDate : kind == 6 ? QStringLiteral("16.03.2024") : kind == 12 ? kSeriesDate : kValueDate;
    view.ShowResult(K(kind), kId, strDate, time, {}, {});
    if (K(kind) == ResultKind::Harmonics)
        view.SetHarmonicsMode(M(mode));
    else if (K(kind) != ResultKind::ContinueValue)
        view.SetValueMode(M(mode));
    QCOMPARE(ToInt(view.GetMode()), mode);
    QCoreApplication::processEvents();
    const QImage image = view.grab().toImage();
    QCOMPARE(image.size(), size);
    int nInk = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            nInk += image.pixel(x, y) != qRgb(255, 255, 255);
    QVERIFY2(nInk > 50, "something is drawn");
    const QString strFile = QStringLiteral(QARDA_GALLERY_DIR "/%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(image.save(strFile));
}

void TestViewUiGallery::printedPage()
{
    CQardaDoc doc(m_strMain, m_strResult);
    CQardaView view(&doc);
    view.ShowResult(K(3), kId, kValueDate, kRemarkTime, {}, {});
    QVERIFY(view.PrintToPdf(QStringLiteral(QARDA_GALLERY_DIR "/values_page.pdf")));
    view.ShowResult(K(7), kId, kErrorDate, kErrorTime, QStringLiteral("2"), {});
    view.SetValueMode(M(7));
    view.GetPrinter()->setPageOrientation(QPageLayout::Landscape);
    QVERIFY(view.PrintToPdf(QStringLiteral(QARDA_GALLERY_DIR "/error_both_landscape.pdf")));
    view.GetPrinter()->setPageOrientation(QPageLayout::Portrait);
    view.ShowResult(ResultKind::Harmonics, kId, QStringLiteral("16.03.2024"), QStringLiteral("13:41:00"), {}, {});
    QVERIFY(view.PrintToPdf(QStringLiteral(QARDA_GALLERY_DIR "/harmonics_table_pages.pdf")));
    view.SetHarmonicsMode(DisplayMode::HarmonicsLog);
    QVERIFY(view.PrintToPdf(QStringLiteral(QARDA_GALLERY_DIR "/harmonics_log_page.pdf")));
}

int main(int argc, char** argv)
{
    QTemporaryDir settingsDir;
    UseTemporarySettings(settingsDir);
    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    TestViewUiGallery test;
    return QTest::qExec(&test, argc, argv);
}

#include "ViewUiGallery.moc"
