// The main window's tooltips on the real window: each balloon on its
// control, the selection tool's balloon under the real pointer, the texts
// in every language without a second set of balloon windows, and the
// screenshot button's tip naming the game chosen in the menu.

#include "MainWindowHarness.h"

#include "CTooltip.h"
#include "MainTooltips.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

// Last: X's macros break Qt's.
#include "XTestPointer.h"

using namespace Harness;

namespace {

using Pointer = XTestPointer;

// The tip windows of every CTooltip of the program.
int TipWindowCount()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->objectName() == QLatin1String("CTooltipWindow") ? 1 : 0;
    return count;
}

QString Nl(const char* first, const char* second)
{
    return QString::fromUtf8(first) + QStringLiteral("\r\n") + QString::fromUtf8(second);
}

}  // namespace

class TstMainTooltips : public QObject
{
    Q_OBJECT

    TempStore m_store;
    FakeState m_fake;
    std::shared_ptr<RecordingDialogs> m_dialogs = std::make_shared<RecordingDialogs>();
    std::unique_ptr<FrmMain> m_window;

    MainWidgets& W() { return m_window->Widgets(); }
    IMainTooltips& Tips() { return *m_window->Parts().tooltips; }
    void Language(int index) { m_window->Parts().language->mnuVL_Lang_Click(index); }
    void Game(int index) { m_window->Menus().ModItem(index)->trigger(); }

private slots:
    void initTestCase()
    {
        QVERIFY(StartActive(m_window, Services(m_dialogs), m_fake));
    }
    void cleanupTestCase()
    {
        m_window.reset();
    }
    void init()
    {
        Language(0);
        Game(0);
        W().cboCamMode->setCurrentIndex(0);
    }

    void eachBalloonSitsOnItsControl_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "cboCamMode" << "Camera view uses the values specified in the datagrid.";
        QTest::newRow("2") << 2 << "optTools(0)"
                           << Nl("Points selection ('S' key)",
                                 "Double-click to select all control points of the active path");
        QTest::newRow("3") << 3 << "optTools(2)" << Nl("Tangent moving ('T' key)", "Double-click to reset all tangents");
        QTest::newRow("4") << 4 << "optTools(1)" << "Points addition, moving and suppression ('B' key)";
        QTest::newRow("5") << 5 << "optTools(3)" << "Look-at tool. Allows to define control points target.";
        QTest::newRow("6") << 6 << "optTools(4)" << Nl("Zoom", "Double-click to fit to all points");
        QTest::newRow("7") << 7 << "optTools(5)"
                           << Nl("Right click to move,", "left click to rotate (hold the 'R' key to change the roll)");
        QTest::newRow("8") << 8 << "optViews(0)" << "X-Y View";
        QTest::newRow("9") << 9 << "optViews(1)" << "X-Z View";
        QTest::newRow("10") << 10 << "optViews(2)" << "Y-Z View";
        QTest::newRow("11") << 11 << "optViews(3)" << "3D View";
        QTest::newRow("12") << 12 << "optLkTarget(0)"
                            << QStringLiteral("Allows to calculate the pitch or yaw angle of a point\r\n"
                                              "compared to the co-ordinates defined below.\r\n"
                                              "You can retrieve the point coordinates by moving the mouse\r\n"
                                              "pointer on this one while holding 'Ctrl+Shift' keys pressed.");
        QTest::newRow("13") << 13 << "chkSIncConMsg"
                            << Nl("Indicates whether the n° of segments are displayed when the script",
                                  "is executed (Ctrl+M).");
        QTest::newRow("14") << 14 << "txtTransSpeed"
                            << QStringLiteral(
                                   "Speed with which the camera moves between 2 points of curve (not of control).\r\n"
                                   "Specify 0 in order that the camera moves instantaneously from a point towards "
                                   "another (causes jerks).\r\n"
                                   "Find a just middle between the number of curve points to generate and the camera "
                                   "speed.");
        QTest::newRow("15") << 15 << "cmdGameLoad" << "Starts the game and launches the selected demo.";
        QTest::newRow("16") << 16 << "cmdGameClose" << "Allows to close the game.";
        QTest::newRow("17") << 17 << "" << "";
    }
    void eachBalloonSitsOnItsControl()
    {
        QFETCH(int, slot);
        QFETCH(QString, control);
        QFETCH(QString, text);
        CTooltip* tip = Tips().Balloon(slot);
        QVERIFY(tip);
        QVERIFY(tip->handle());
        QCOMPARE(tip->ParentHwnd() ? tip->ParentHwnd()->objectName() : QString(), control);
        QCOMPARE(tip->Text(), text);
        QCOMPARE(tip->Style(), CTooltip::StyleBalloon);
        QCOMPARE(tip->DelayTime(CTooltip::TTDT_INITIAL), 300);
        QCOMPARE(tip->DelayTime(CTooltip::TTDT_AUTOPOP), 20000);
    }

    void theCameraModeBalloonIsSlotOne()
    {
        // ET Pro's free mode, as the camera modes title it.
        QCOMPARE(Tips().Balloon(1)->Title(), QStringLiteral("Free look:"));
        W().cboCamMode->setCurrentIndex(1);
        QCOMPARE(Tips().Balloon(1)->Text(), QStringLiteral("Camera view tracks the specified player. "
                                                            "The specified angles are ignored."));
        QVERIFY(!Tips().Balloon(0));
        QVERIFY(!Tips().Balloon(18));
    }

    void theSelectionToolShowsItsBalloonUnderThePointer()
    {
        Pointer pointer;
        if (!pointer.Available())
            QSKIP("needs an X display with XTest");
        QToolButton* tool = W().optTools[0];
        QTRY_VERIFY(tool->isVisible());
        QVERIFY(Activate(m_window.get()));
        QWidget* balloon = Tips().Balloon(2)->handle();
        // From a point beside the window onto the tool's middle.
        const QRect screen = m_window->screen()->geometry();
        const QRect frame = m_window->frameGeometry();
        const QPoint away = frame.right() + 20 < screen.right() ? QPoint(frame.right() + 20, frame.center().y())
                                                                : QPoint(frame.center().x(), frame.bottom() + 20);
        pointer.MoveTo(away);
        QTest::qWait(100);
        QVERIFY(!balloon->isVisible());
        QElapsedTimer sinceArrival;
        sinceArrival.start();
        pointer.MoveTo(tool->mapToGlobal(tool->rect().center()));
        QTRY_VERIFY(balloon->isVisible());
        QVERIFY2(sinceArrival.elapsed() >= 290, qPrintable(QString::number(sinceArrival.elapsed())));
        QVERIFY(tool->isVisible());
        // Both lines stand in the balloon: it is at least two text lines high
        // and wider than the longer one.
        const QFontMetrics metrics(balloon->font());
        QVERIFY(balloon->height() >= 2 * metrics.height());
        QVERIFY(balloon->width() >= metrics.horizontalAdvance(
                                        QStringLiteral("Double-click to select all control points of the active path")));
        QCOMPARE(Tips().Balloon(2)->Text().split(QStringLiteral("\r\n")),
                 QStringList({"Points selection ('S' key)",
                              "Double-click to select all control points of the active path"}));
        // It stands below the pointer, close to it.
        const QPoint hotSpot = tool->mapToGlobal(tool->rect().center());
        QVERIFY(balloon->geometry().top() >= hotSpot.y() - 2);
        QVERIFY(balloon->geometry().top() - hotSpot.y() < 40);
        // The pointer leaving takes it down.
        pointer.MoveTo(away + QPoint(0, 5));
        QTRY_VERIFY(!balloon->isVisible());
    }

    void languagesChangeTheTextsNotTheBalloons_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("pauseKey");
        QTest::addColumn<QString>("screenshots");
        QTest::newRow("French") << 1
                                << Nl("Sélection des points (touche 'S')",
                                      "Double-clic pour sélectionner tous les points de contrôle du chemin actif")
                                << "Vue X-Y"
                                << "Touche de reprise"
                                << "Permet de supprimer les fichiers du dossier 'ScreenShots' du MOD 'ET Pro'.";
        QTest::newRow("German") << 2
                                << Nl("Punktauswahl (Taste 'S')",
                                      "Doppelklick wählt alle Kontrollpunkte des aktiven Pfads")
                                << "X-Y-Ansicht"
                                << "Fortsetzen-Taste" << "";
        QTest::newRow("English") << 0
                                 << Nl("Points selection ('S' key)",
                                       "Double-click to select all control points of the active path")
                                 << "X-Y View"
                                 << "Resume key"
                                 << "Allows to remove the files contained in the 'ScreenShots' folder of the MOD "
                                    "'ET Pro'.";
    }
    void languagesChangeTheTextsNotTheBalloons()
    {
        QFETCH(int, language);
        QFETCH(QString, selection);
        QFETCH(QString, view);
        QFETCH(QString, pauseKey);
        QFETCH(QString, screenshots);
        std::array<CTooltip*, MainTooltips::BalloonCount> before{};
        std::array<QWidget*, MainTooltips::BalloonCount> windows{};
        for (int slot = 1; slot <= MainTooltips::BalloonCount; ++slot) {
            before[static_cast<size_t>(slot - 1)] = Tips().Balloon(slot);
            windows[static_cast<size_t>(slot - 1)] = Tips().Balloon(slot)->handle();
        }
        const int tipWindows = TipWindowCount();
        QVERIFY(tipWindows >= MainTooltips::BalloonCount);

        // Two switches, the second to the language of the row.
        Language(language == 2 ? 1 : 2);
        Language(language);

        QCOMPARE(TipWindowCount(), tipWindows);
        for (int slot = 1; slot <= MainTooltips::BalloonCount; ++slot) {
            QCOMPARE(Tips().Balloon(slot), before[static_cast<size_t>(slot - 1)]);
            QCOMPARE(Tips().Balloon(slot)->handle(), windows[static_cast<size_t>(slot - 1)]);
        }
        QCOMPARE(Tips().Balloon(2)->Text(), selection);
        QCOMPARE(Tips().Balloon(8)->Text(), view);
        QCOMPARE(W().cboSScriptPauseKey->toolTip(), pauseKey);
        if (!screenshots.isEmpty())
            QCOMPARE(W().cmdGSShotsDelete->toolTip(), screenshots);
        // No balloon of a control and no plain tip is left blank.
        for (int slot = 2; slot <= 16; ++slot)
            QVERIFY2(!Tips().Balloon(slot)->Text().isEmpty(), qPrintable(QString::number(slot)));
        QVERIFY(Tips().Balloon(17)->Text().isEmpty());
        const QList<QWidget*> plain{W().lblScaleLabel,        W().lblMiddleStatus,      W().cmdInvert,
                                    W().cmdAverage,           W().cmdCFixeAngles,       W().txtCAutoRollMaxAngle,
                                    W().chkSIncFreecam,       W().chkSIncOneFrameDelay, W().chkSScriptPauseState,
                                    W().txtSScriptPauseInterval, W().cboSScriptPauseKey, W().chkSAutoStart,
                                    W().fraSCmdsToExec,       W().cmdCreateScript,      W().txtDemo,
                                    W().cmdGSShotsDelete};
        for (QWidget* control : plain)
            QVERIFY2(!control->toolTip().isEmpty(), qPrintable(control->objectName()));
    }

    void theScreenshotTipNamesTheChosenGame_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("name");
        QTest::newRow("DeFrag") << 1 << "DeFrag";
        QTest::newRow("RTCW") << 3 << "RTCW";
        QTest::newRow("ET QW") << 4 << "ET QW";
        QTest::newRow("ET Pro") << 0 << "ET Pro";
    }
    void theScreenshotTipNamesTheChosenGame()
    {
        QFETCH(int, game);
        QFETCH(QString, name);
        Game(game == 0 ? 2 : 0);
        Game(game);
        QCOMPARE(W().cmdGSShotsDelete->toolTip(),
                 QStringLiteral("Allows to remove the files contained in the 'ScreenShots' folder of the MOD '%1'.")
                     .arg(name));
        // The camera-mode balloon follows the game too, on the same slot.
        QCOMPARE(Tips().Balloon(1)->ParentHwnd(), W().cboCamMode);
    }
};

QTEST_MAIN(TstMainTooltips)
#include "tst_MainTooltips.moc"
