// The window's numeric text boxes with the text-box handler: what load
// sets on them and the window's answers to the handler's events, driven
// through the window's native input.

#include "MainWindowHarness.h"


#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace Harness;

namespace {

void Click(QWidget* w)
{
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}

void Type(QWidget* window, const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}

}  // namespace

class TstTextboxes : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
        QLocale::setDefault(QLocale::c());
    }

    void theLoadSetsUpTheBoxes()
    {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        QCOMPARE(ProgramStart::StartMainWindow(MakeRealServices(), m_window, std::make_unique<FakeFactory>(m_fake)), 0);
        MainWidgets& w = m_window->Widgets();
        QCOMPARE(w.txtCFactor->text(), QStringLiteral("0,00"));
        QVERIFY(w.txtDemo->isReadOnly());
        for (QLineEdit* digitsOnly : {w.txtSScriptPauseInterval, w.txtTransSpeed, w.txtGDemoTimes[0], w.txtGDemoTimes[2],
                                      w.txtSRecordFrameWidth, w.txtSRecordFrameAA}) {
            // Each is enabled, with its frame, by its game or its check box.
            for (QWidget* p = digitsOnly; p; p = p->parentWidget())
                p->setEnabled(true);
            digitsOnly->setText(QStringLiteral("12"));
            QTest::keyClicks(digitsOnly, QStringLiteral("a,-3"));
            QCOMPARE(digitsOnly->text(), QStringLiteral("123"));
        }
        QTest::keyClicks(w.txtCAutoRollMaxAngle, QStringLiteral("1,5"));
        QCOMPARE(w.txtCAutoRollMaxAngle->text(), QStringLiteral("1,5"));
    }

    void theWindowAnswersTheHandlersEvents()
    {
        QVERIFY(StartActive(m_window, MakeRealServices(), m_fake));
        FrmMain* window = m_window.get();
        MainWidgets& w = window->Widgets();

        // Focus in a registered box: the window's own keys keep quiet. The
        // transition speed is DeFrag's.
        window->Parts().gameSelection->fApplyGameToGui(1, true);
        w.tabControl->setCurrentIndex(1);
        Click(w.txtTransSpeed);
        QTRY_VERIFY(w.txtTransSpeed->hasFocus());
        QVERIFY(window->State().m_inputEditing);

        // A changed value marks the project only when a curve has a point.
        Type(window, QStringLiteral("5"));
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QVERIFY(!window->State().m_projectModified);
        window->State().m_mainCurve->AddControl3(1, 2, 3, 0, 0, 0, false);
        Type(window, QStringLiteral("7"));
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QVERIFY(window->State().m_projectModified);

        // The factor box hands the focus on to its first button.
        w.tabControl->setCurrentIndex(0);
        Click(w.txtCFactor);
        QTRY_VERIFY(w.txtCFactor->hasFocus());
        Type(window, QStringLiteral("2"));
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QTRY_VERIFY(w.cmdCAddFactor->hasFocus());
        QVERIFY(!window->State().m_inputEditing);
    }
};

QTEST_MAIN(TstTextboxes)
#include "tst_textboxes.moc"
