#include "app/WindowState.h"
#include "../common/TestSupport.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QToolBar>

#include <memory>

using IntList = QList<int>;

namespace {

QSettings Store()
{
    return QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
}

// The geometry a window gets when nothing is stored.
const QRect kDefault(20, 30, 400, 300);

// A main window as the frame builds it: a named toolbar and a splitter of
// two columns in the middle.
struct Frame
{
    Frame()
    {
        m_pToolBar = m_wnd.addToolBar(QStringLiteral("Symbolleiste"));
        m_pToolBar->setObjectName(QStringLiteral("mainToolBar"));
        m_pToolBar->addAction(QStringLiteral("A"));
        m_pSplitter = new QSplitter(&m_wnd);
        m_pSplitter->addWidget(new QWidget);
        m_pSplitter->addWidget(new QWidget);
        m_wnd.setCentralWidget(m_pSplitter);
        m_state.SetSplitter(m_pSplitter);
    }
    // As the program starts: the stored state over the default geometry,
    // then shown.
    bool LoadAndShow()
    {
        m_wnd.setGeometry(kDefault);
        m_state.LoadWindowState(&m_wnd);
        m_state.ShowWindow(&m_wnd);
        return QTest::qWaitForWindowExposed(&m_wnd);
    }
    QMainWindow m_wnd;
    QToolBar* m_pToolBar;
    QSplitter* m_pSplitter;
    CWindowState m_state;
};

} // namespace

class TestWindowState : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void roundTrip_data();
    void roundTrip();
    void storedValues_data();
    void storedValues();
    void splitterMinimum_data();
    void splitterMinimum();
};

void TestWindowState::init()
{
    Store().clear();
}

void TestWindowState::roundTrip_data()
{
    QTest::addColumn<int>("state");  // Qt::WindowStates of the saved window
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("column0");
    QTest::addColumn<bool>("toolBarVisible");
    QTest::addColumn<int>("toolBarArea");
    // ShowCmd, Flags and the restored rectangle (left, top, right, bottom),
    // which is kept also while maximised or minimised.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("loaded");
    const int top = Qt::TopToolBarArea, normal = CWindowState::kShowNormal, maximized = CWindowState::kShowMaximized;
    QTest::newRow("narrow tree, toolbar hidden")
        << int(Qt::WindowNoState) << QRect(10, 10, 640, 480) << 60 << false << top << "1 0 10,10,650,490" << normal;
    QTest::newRow("wide tree, toolbar left") << int(Qt::WindowNoState) << QRect(200, 150, 560, 420) << 400 << true
                                             << int(Qt::LeftToolBarArea) << "1 0 200,150,760,570" << normal;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << QRect(50, 60, 300, 200) << 100 << true << top
                               << "3 0 50,60,350,260" << maximized;
    // A window must not open minimised, out of the user's sight.
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << QRect(50, 60, 300, 200) << 100 << true << top
                               << "2 0 50,60,350,260" << normal;
    QTest::newRow("minimised from maximised")
        << int(Qt::WindowMinimized | Qt::WindowMaximized) << QRect(50, 60, 300, 200) << 100 << true << top
        << "2 2 50,60,350,260" << maximized;
}

void TestWindowState::roundTrip()
{
    QFETCH(int, state);
    QFETCH(QRect, geometry);
    QFETCH(int, column0);
    QFETCH(bool, toolBarVisible);
    QFETCH(int, toolBarArea);
    QFETCH(int, loaded);

    IntList savedSizes;
    {
        Frame f;
        f.m_wnd.setGeometry(geometry);
        if (toolBarArea != Qt::TopToolBarArea)
            f.m_wnd.addToolBar(Qt::ToolBarArea(toolBarArea), f.m_pToolBar);
        f.m_pToolBar->setVisible(toolBarVisible);
        f.m_wnd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.m_wnd));
        const int nTotal = f.m_pSplitter->sizes().at(0) + f.m_pSplitter->sizes().at(1);
        f.m_pSplitter->setSizes({column0, nTotal - column0});
        savedSizes = f.m_pSplitter->sizes();
        QCOMPARE(savedSizes.at(0), column0);
        f.m_wnd.setWindowState(Qt::WindowStates(state));
        QCOMPARE(int(f.m_wnd.windowState()), state);
        f.m_state.SaveWindowState(&f.m_wnd);
    }
    QSettings s = Store();
    QTEST(QStringList({s.value(QStringLiteral("Position/ShowCmd")).toString(),
                       s.value(QStringLiteral("Position/Flags")).toString(),
                       s.value(QStringLiteral("Position/Normal")).toString()})
              .join(u' '),
          "stored");
    QCOMPARE(s.value(QStringLiteral("Position/Minimized")).toString(), QStringLiteral("-1,-1"));
    QCOMPARE(s.value(QStringLiteral("Position/Maximized")).toString(), QStringLiteral("-1,-1"));

    Frame g;
    QVERIFY(g.LoadAndShow());
    QCOMPARE(g.m_state.GetShowCmd(), loaded);
    QCOMPARE(g.m_wnd.isMaximized(), loaded == CWindowState::kShowMaximized);
    QVERIFY(!g.m_wnd.isMinimized());
    QCOMPARE(g.m_wnd.normalGeometry(), geometry);
    if (state == Qt::WindowNoState)
        QCOMPARE(g.m_pSplitter->sizes(), savedSizes);
    QCOMPARE(g.m_pToolBar->isVisible(), toolBarVisible);
    QCOMPARE(int(g.m_wnd.toolBarArea(g.m_pToolBar)), toolBarArea);
}

enum Placement { Kept, Exact, Centred };

void TestWindowState::storedValues_data()
{
    QTest::addColumn<QString>("showCmd");  // empty: missing
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("toolbars");  // empty: missing
    QTest::addColumn<int>("placement");
    QTest::addColumn<QRect>("expected");  // Exact: the geometry; Centred: the size, empty for the whole area

    const QString strOne = QStringLiteral("1");
    QTest::newRow("nothing stored") << QString() << QString() << QString() << int(Kept) << QRect();
    QTest::newRow("on screen") << strOne << QStringLiteral("100,100,400,300") << QString() << int(Exact)
                               << QRect(100, 100, 300, 200);
    QTest::newRow("spaces around numbers") << strOne << QStringLiteral(" 10, 20 ,310,220") << QString() << int(Exact)
                                           << QRect(10, 20, 300, 200);
    // An INI file edited by hand without quotes holds a list.
    QTest::newRow("stored as a list") << strOne << QStringLiteral("list:100,100,400,300") << QString() << int(Exact)
                                      << QRect(100, 100, 300, 200);
    QTest::newRow("right of every screen") << strOne << QStringLiteral("5000,100,5300,300") << QString()
                                           << int(Centred) << QRect(0, 0, 300, 200);
    QTest::newRow("only an edge on screen") << strOne << QStringLiteral("-295,100,5,300") << QString() << int(Centred)
                                            << QRect(0, 0, 300, 200);
    QTest::newRow("off screen and larger than it") << strOne << QStringLiteral("9000,9000,19000,19000") << QString()
                                                   << int(Centred) << QRect();
    QTest::newRow("letters") << strOne << QStringLiteral("a,b,c,d") << QString() << int(Kept) << QRect();
    QTest::newRow("five numbers") << strOne << QStringLiteral("1,2,3,4,5") << QString() << int(Kept) << QRect();
    QTest::newRow("right before left") << strOne << QStringLiteral("500,100,100,300") << QString() << int(Kept)
                                       << QRect();
    QTest::newRow("show command missing") << QString() << QStringLiteral("100,100,400,300") << QString() << int(Kept)
                                          << QRect();
    QTest::newRow("toolbar state garbage") << strOne << QStringLiteral("100,100,400,300")
                                           << QStringLiteral("!!not base64") << int(Exact)
                                           << QRect(100, 100, 300, 200);
}

void TestWindowState::storedValues()
{
    QFETCH(QString, showCmd);
    QFETCH(QString, normal);
    QFETCH(QString, toolbars);
    QFETCH(int, placement);
    QFETCH(QRect, expected);
    {
        QSettings s = Store();
        if (!showCmd.isEmpty())
            s.setValue(QStringLiteral("Position/ShowCmd"), showCmd);
        if (normal.startsWith(QLatin1String("list:")))
            s.setValue(QStringLiteral("Position/Normal"), normal.mid(5).split(u','));
        else if (!normal.isEmpty())
            s.setValue(QStringLiteral("Position/Normal"), normal);
        if (!toolbars.isEmpty())
            s.setValue(QStringLiteral("Toolbars/State"), toolbars);
    }
    Frame f;
    const QStringList keys = Store().allKeys();
    QVERIFY(f.LoadAndShow());
    // Loading writes nothing.
    QCOMPARE(Store().allKeys(), keys);

    const QRect geometry = f.m_wnd.geometry();
    switch (placement) {
    case Kept:
        QCOMPARE(geometry, kDefault);
        break;
    case Exact:
        QCOMPARE(geometry, expected);
        break;
    case Centred: {
        // Brought back: on the primary screen, centred, shrunk to fit.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        if (expected.isEmpty()) {
            QVERIFY(geometry.width() < area.width() && geometry.height() < area.height());
            QVERIFY(geometry.width() >= area.width() / 2 && geometry.height() >= area.height() / 2);
        } else {
            QCOMPARE(geometry.size(), expected.size());
        }
        const QRect frame = f.m_wnd.frameGeometry();
        QVERIFY(area.contains(frame));
        QVERIFY(qAbs(geometry.center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(geometry.center().y() - area.center().y()) <= 1);
        break;
    }
    }
    QVERIFY(f.m_pToolBar->isVisible());
}

// Stored widths below the minimum, applied to a window on screen. (Stored
// texts that are no two numbers are never applied, as in storedValues.)
void TestWindowState::splitterMinimum_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("zero width") << QStringLiteral("0,500");
    QTest::newRow("both tiny") << QStringLiteral("1,0");
}

void TestWindowState::splitterMinimum()
{
    QFETCH(QString, stored);
    Store().setValue(QStringLiteral("Position/Splitter"), stored);
    Frame f;
    f.m_wnd.setGeometry(kDefault);
    f.m_wnd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.m_wnd));
    const int nTotal = f.m_pSplitter->sizes().at(0) + f.m_pSplitter->sizes().at(1);
    f.m_pSplitter->setSizes({nTotal / 4, nTotal - nTotal / 4});
    const IntList before = f.m_pSplitter->sizes();
    f.m_state.LoadWindowState(&f.m_wnd);
    const IntList after = f.m_pSplitter->sizes();
    // No column collapses: each keeps at least the minimum width.
    QVERIFY2(after.at(0) >= 50 && after.at(1) >= 50,
             qPrintable(QStringLiteral("%1,%2").arg(after.at(0)).arg(after.at(1))));
    QVERIFY(after != before);
}

int main(int argc, char** argv)
{
    // The settings go to a temporary folder before anything reads them.
    QTemporaryDir dir;
    UseTemporarySettings(dir);
    QApplication app(argc, argv);
    TestWindowState test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowstate.moc"
