#include "app/AboutDlg.h"
#include "../common/TestSupport.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void aboutBox();
    void splashClosesByItself();
    void splashClosesOnInput_data();
    void splashClosesOnInput();
};

void TestAbout::aboutBox()
{
    CAboutDlg dlg;
    dlg.show();
    QStringList texts;
    for (const QLabel* p : dlg.findChildren<QLabel*>())
        texts.append(p->text());
    const QString strAll = texts.join(u'\n');
    QVERIFY2(strAll.contains(QStringLiteral("Qarda")), qPrintable(strAll));
    QVERIFY2(strAll.contains(QStringLiteral("Version " QARDA_VERSION)), qPrintable(strAll));
    QVERIFY2(strAll.contains(QStringLiteral("KOLT GmbH")), qPrintable(strAll));
    // As about box it is an ordinary dialog that stays until OK.
    QVERIFY(!dlg.findChild<QTimer*>());
    QVERIFY(!(dlg.windowFlags() & Qt::FramelessWindowHint));
    QTest::keyClick(&dlg, Qt::Key_A);
    QVERIFY(dlg.isVisible());
    QTest::mouseClick(dlg.findChild<QDialogButtonBox*>()->buttons().constFirst(), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
}

void TestAbout::splashClosesByItself()
{
    QPointer<CAboutDlg> pSplash = CAboutDlg::ShowSplash();
    QVERIFY(QTest::qWaitForWindowExposed(pSplash));
    QVERIFY(!pSplash->isModal());
    QVERIFY(pSplash->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(pSplash->windowFlags() & Qt::WindowStaysOnTopHint);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(pSplash->frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(pSplash->frameGeometry().center().y() - area.center().y()) <= 1);
    auto* pTimer = pSplash->findChild<QTimer*>(QStringLiteral("splashTimer"));
    QVERIFY(pTimer);
    QVERIFY(pTimer->isActive());
    QVERIFY(pTimer->isSingleShot());
    QCOMPARE(pTimer->interval(), 1000);
    QVERIFY(pSplash->isVisible());
    // Closed and deleted without any input.
    QTRY_VERIFY_WITH_TIMEOUT(pSplash.isNull(), 20000);
}

void TestAbout::splashClosesOnInput_data()
{
    QTest::addColumn<QString>("target");  // object name of the child, empty: the box itself
    QTest::addColumn<int>("key");         // 0: a mouse button instead
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("button");
    QTest::newRow("key") << QString() << int(Qt::Key_A) << 0 << 0;
    QTest::newRow("system key") << QString() << int(Qt::Key_F4) << int(Qt::AltModifier) << 0;
    QTest::newRow("middle button") << QString() << 0 << 0 << int(Qt::MiddleButton);
    QTest::newRow("left button on a label") << QStringLiteral("purpose") << 0 << 0 << int(Qt::LeftButton);
    QTest::newRow("right button on OK") << QStringLiteral("ok") << 0 << 0 << int(Qt::RightButton);
}

void TestAbout::splashClosesOnInput()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, button);

    QPointer<CAboutDlg> pSplash = CAboutDlg::ShowSplash();
    QVERIFY(QTest::qWaitForWindowExposed(pSplash));
    // Only the input may close it here.
    pSplash->findChild<QTimer*>(QStringLiteral("splashTimer"))->stop();

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
