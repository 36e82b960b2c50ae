// Every caption of the main window and of its secondary windows shows its
// whole text in English, French and German on a window of 1024 x 768: on
// each tab page, in the 2D and the 3D view, in the game settings window for
// each game, in the demo browser, the configurations, notes, about and
// update windows and in the box that reports a written script. The pause
// row's interval box stands in the gap of its caption, the expand box
// shows its whole check box, and the point grid's fov column holds the
// widest field of view.

#include "MainWindowHarness.h"

#include "C3DCurve.h"
#include "CaptionFit.h"
#include "FlexgridEx.h"
#include "FrmUpdate.h"
#include "MDisplayNumber.h"
#include "MRegistry.h"
#include "MRuvResource.h"
#include "PointGridPanel.h"
#include "ScriptCreation.h"
#include "UCTabbedFlexgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace Harness;

namespace {

const char* const kLanguages[] = {"English", "French", "German"};

// Shows the window, lets its layouts settle and gives its misfits.
QStringList MisfitsShown(QWidget* window, const QString& name)
{
    if (!window->isVisible())
        window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return {name + QStringLiteral(": not shown")};
    QApplication::processEvents();
    return CaptionFit::Misfits(window, name);
}

}  // namespace

class TstCaptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    FrmMain& W() { return *m_window; }
    void Language(int index) { W().Parts().language->mnuVL_Lang_Click(index); }

    void AddLanguageRows()
    {
        QTest::addColumn<int>("language");
        for (int i = 0; i < 3; ++i)
            QTest::newRow(kLanguages[i]) << i;
    }

private slots:
    void initTestCase()
    {
        m_store = std::make_unique<TempStore>();
        MainServices services = MakeRealServices();
        // The about box shows its contact link only with an address.
        QVERIFY(services.settings->Write(QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir"),
                                         QStringLiteral("ContactAddress"), MRegistry::RegSz,
                                         TaggedValue(QStringLiteral("author@example.org"))));
        QVERIFY(StartShown(m_window, std::move(services), m_fake));
        // The size of the window on a screen of 1024 x 768.
        W().showNormal();
        W().resize(1024, 768);
        QTRY_COMPARE(W().size(), QSize(1024, 768));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
    }
    void cleanup() { Language(0); }

    void theMainWindowsCaptionsFit_data() { AddLanguageRows(); }
    void theMainWindowsCaptionsFit()
    {
        QFETCH(int, language);
        Language(language);
        QStringList misfits;
        MainWidgets& w = W().Widgets();
        for (int view : {0, 3}) {
            W().Parts().viewInput->fSelectView(view);
            for (int page = 0; page < w.tabControl->count(); ++page) {
                W().Parts().layout->fSelectTabPage(page);
                misfits << MisfitsShown(&W(), QStringLiteral("main view %1 page %2").arg(view).arg(page));
            }
        }
        W().Parts().viewInput->fSelectView(0);
        misfits.removeDuplicates();
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(QLatin1Char('\n'))));
    }

    void theSecondaryWindowsCaptionsFit_data() { AddLanguageRows(); }
    void theSecondaryWindowsCaptionsFit()
    {
        QFETCH(int, language);
        Language(language);
        MainControls& c = W().Controls();
        QStringList misfits;

        c.m_aboutForm->ShowModeless(&W());
        QVERIFY(c.m_aboutForm->findChild<QLabel*>(QStringLiteral("lblContact"))->isVisible());
        misfits << MisfitsShown(c.m_aboutForm.get(), QStringLiteral("about"));
        c.m_aboutForm->hide();

        c.m_notesForm->ShowEx(false, &W());
        misfits << MisfitsShown(c.m_notesForm.get(), QStringLiteral("notes"));
        c.m_notesForm->hide();

        c.mDemosForm->ShowEx(&W());
        misfits << MisfitsShown(c.mDemosForm.get(), QStringLiteral("demos"));
        c.mDemosForm->hide();

        misfits << MisfitsShown(c.m_gameConfigsForm.get(), QStringLiteral("configs"));
        c.m_gameConfigsForm->hide();

        // Each game: the list and the folder layouts of the location, and
        // the recorder's settings where the game has them, its advanced
        // fields open.
        for (int game = 0; game < static_cast<int>(W().State().m_games.size()); ++game) {
            QTimer::singleShot(0, &W(), [&, game] {
                FrmGameSettings* settings = c.m_gameSettingsForm.get();
                if (auto* advanced = settings->findChild<QCheckBox*>(QStringLiteral("chkAdvancedSettings")))
                    advanced->setChecked(true);
                misfits << MisfitsShown(settings, QStringLiteral("settings game %1").arg(game));
                settings->hide();
            });
            c.m_gameSettingsForm->ShowForm(&W(), game, std::span<CGameDefinition>(W().State().m_games));
        }

        QTimer::singleShot(0, &W(), [&] {
            FrmUpdate* update = nullptr;
            const auto ready = [&] {
                update = W().findChild<FrmUpdate*>();
                return update && update->isVisible() && !update->IsBusy();
            };
            if (!QTest::qWaitFor(ready, 10000)) {
                misfits << QStringLiteral("update: not shown");
                return;
            }
            misfits << MisfitsShown(update, QStringLiteral("update"));
            update->close();
        });
        W().Menus().Action(QStringLiteral("mnuH_CheckForUpdate"))->trigger();

        misfits.removeDuplicates();
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(QLatin1Char('\n'))));
    }

    void theScriptResultShowsItsTitle_data() { AddLanguageRows(); }
    void theScriptResultShowsItsTitle()
    {
        QFETCH(int, language);
        Language(language);
        QString title;
        int width = 0;
        int needed = 0;
        QStringList misfits;
        OnBox([&](QMessageBox* box) {
            if (!QTest::qWaitForWindowExposed(box))
                misfits << QStringLiteral("result: not shown");
            title = box->windowTitle();
            width = box->width();
            needed = CaptionFit::TitleWidth(box);
            misfits << CaptionFit::Misfits(box, QStringLiteral("result"));
            box->close();
        });
        static_cast<ScriptCreation&>(*W().Parts().scriptCreation).fShowScriptResult(1234, 56);
        QCOMPARE(title, W().Texts().fGetText(187, MDisplayNumber::Format(1.2, 1, QLocale::system())));
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("\"%1\": %2 < %3").arg(title).arg(width).arg(needed)));
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(QLatin1Char('\n'))));
    }

    void thePauseIntervalStandsInItsCaptionsGap_data() { AddLanguageRows(); }
    void thePauseIntervalStandsInItsCaptionsGap()
    {
        QFETCH(int, language);
        Language(language);
        MainWidgets& w = W().Widgets();
        W().Parts().layout->fSelectTabPage(2);
        QCheckBox* check = w.chkSScriptPauseState;
        QLineEdit* interval = w.txtSScriptPauseInterval;
        QTRY_VERIFY(interval->isVisible());
        const QList<CaptionFit::Piece> pieces = [&] {
            QList<CaptionFit::Piece> mine;
            for (const CaptionFit::Piece& p : CaptionFit::Pieces(&W()))
                if (p.widget == check && p.what == QLatin1String("text"))
                    mine << p;
            return mine;
        }();
        QCOMPARE(pieces.size(), 2);
        const QRect box(interval->mapTo(&W(), QPoint(0, 0)), interval->size());
        QVERIFY2(pieces[0].rect.right() < box.left() && box.right() < pieces[1].rect.left(),
                 qPrintable(QStringLiteral("%1 .. [%2..%3] .. %4")
                                .arg(pieces[0].rect.right())
                                .arg(box.left())
                                .arg(box.right())
                                .arg(pieces[1].rect.left())));
        // Its value shows whole.
        QVERIFY(interval->fontMetrics().horizontalAdvance(QStringLiteral("99")) <= interval->width());
    }

    void theFovColumnHoldsTheWidestFieldOfView_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en") << QStringLiteral("en_US");
        QTest::newRow("fr") << QStringLiteral("fr_FR");
        QTest::newRow("de") << QStringLiteral("de_DE");
    }
    void theFovColumnHoldsTheWidestFieldOfView()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        // The columns are made when the window loads, and the cells are
        // written, in the user's form of numbers.
        std::unique_ptr<FrmMain> window;
        FakeState fake;
        const bool started = StartShown(window, MakeRealServices(), fake);
        if (started) {
            C3DCurve& curve = *window->State().m_mainCurve;
            curve.AddControl3(0, 0, 0, 0, 0, 0, false);
            curve.AddControl3(100, 0, 0, 0, 0, 0, false);
            curve.SetFov(2, 179.99f);
            window->Parts().pointGrid->fGridReloadCurve();
        }
        QLocale::setDefault(QLocale::c());
        QVERIFY(started);
        FlexgridEx& grid = window->Widgets().tabbedFlexgrid->Grids(0);
        const int fov = 5;
        QCOMPARE(grid.TextMatrix(0, fov), QStringLiteral("fov"));
        const QString widest = MDisplayNumber::Format(179.99, 2, QLocale(locale));
        QCOMPARE(grid.TextMatrix(2, fov), widest);

        // The cell as the grid paints it, and the same cell in a column far
        // wider: the number is drawn right-aligned, so it shows whole when
        // the cell's pixels are those of the wide cell's right end.
        const int column = fov - grid.FixedCols();
        const auto paintCell = [&] {
            const QRect cell = grid.visualRect(grid.model()->index(2 - grid.FixedRows(), column));
            return grid.viewport()->grab(cell).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage shown = paintCell();
        QVERIFY(!shown.isNull());
        grid.setColumnWidth(column, grid.columnWidth(column) + 60);
        const QImage whole = paintCell();
        const QImage wholeEnd = whole.copy(whole.width() - shown.width(), 0, shown.width(), shown.height());
        QVERIFY2(shown == wholeEnd, qPrintable(QStringLiteral("%1 cut in a cell of %2 pixels").arg(widest).arg(shown.width())));
    }
};

QTEST_MAIN(TstCaptions)
#include "tst_Captions.moc"
