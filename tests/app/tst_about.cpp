#include "app/AboutDlg.h"
#include "../common/TestSupport.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void splashCloses_data();
    void splashCloses();
};

void TestAbout::splashCloses_data()
{
    QTest::addColumn<QString>("target");  // object name of the child, empty: the box itself
    QTest::addColumn<int>("key");         // 0: a mouse button instead
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("button");  // 0 with key 0: no input, the timer closes it
    QTest::newRow("by itself") << QString() << 0 << 0 << 0;
    QTest::newRow("key") << QString() << int(Qt::Key_A) << 0 << 0;
    QTest::newRow("system key") << QString() << int(Qt::Key_F4) << int(Qt::AltModifier) << 0;
    QTest::newRow("left button on a label") << QStringLiteral("purpose") << 0 << 0 << int(Qt::LeftButton);
    QTest::newRow("right button on OK") << QStringLiteral("ok") << 0 << 0 << int(Qt::RightButton);
}

void TestAbout::splashCloses()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, button);

    QPointer<CAboutDlg> pSplash = CAboutDlg::ShowSplash();
    QVERIFY(QTest::qWaitForWindowExposed(pSplash));
    QVERIFY(!pSplash->isModal());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(pSplash->frameGeometry().center().x() - area.center().x()) <= 1);
    auto* pTimer = pSplash->findChild<QTimer*>(QStringLiteral("splashTimer"));
    QVERIFY(pTimer && pTimer->isActive());
    if (key || button) {
        // Only the input may close it here.
        pTimer->stop();
        QWidget* pTarget = pSplash;
        if (target == QLatin1String("ok"))
            pTarget = pSplash->findChild<QDialogButtonBox*>()->buttons().constFirst();
        else if (!target.isEmpty())
            pTarget = pSplash->findChild<QWidget*>(target);
        QVERIFY(pTarget);
        if (key)
            QTest::keyPress(pTarget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        else
            QTest::mousePress(pTarget, Qt::MouseButton(button));
        QVERIFY(pSplash.isNull() || !pSplash->isVisible());
    }
    QTRY_VERIFY_WITH_TIMEOUT(pSplash.isNull(), 20000);
}

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    UseTemporarySettings(dir);
    QApplication app(argc, argv);
    TestAbout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_about.moc"
