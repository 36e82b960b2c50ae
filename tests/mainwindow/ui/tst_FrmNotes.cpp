// The notes window on a real display: its text with CR LF outside, what
// counts as notes, its keys, its placement beside a main window and the
// user's move, which the window's subclass object reports.

#include "ComClient.h"
#include "FrmNotes.h"
#include "MControls.h"
#include "WindowFakes.h"
#include "X11Windows.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestFrmNotes : public QObject
{
    Q_OBJECT

    QTemporaryDir m_store;
    std::unique_ptr<QWidget> m_main;

    // Shows the window and makes it the active one (a window mapped late
    // can lose the focus once more without a window manager).
    static bool ShowActive(FrmNotes& notes)
    {
        notes.ShowEx(false, notes.parentWidget());
        return QTest::qWaitFor(
            [&] {
                if (!notes.isActiveWindow()) {
                    notes.activateWindow();
                    return false;
                }
                QTest::qWait(60);
                return notes.isActiveWindow();
            },
            5000);
    }

    // The window manager may put the frame or the window itself at the
    // place asked for; either is the place.
    static bool StandsAt(const QWidget& w, const QPoint& place, const QPoint& frameOffset = QPoint())
    {
        return w.frameGeometry().topLeft() == place || w.geometry().topLeft() == place ||
               (!frameOffset.isNull() && w.geometry().topLeft() == place + frameOffset);
    }

    // Whether the window manager has taken the window (or, without one,
    // the window is mapped): a window shown again at once after a hide can
    // otherwise be left unmanaged.
    static bool Managed(const QWidget& w)
    {
        return X11Windows::TopLevelWindows(false).contains(static_cast<X11Windows::Handle>(w.winId()));
    }

    static QPoint Twips(const QWidget* w, float x, float y)
    {
        return QPoint(qRound(x / MControls::TwipsPerPixel(w, true)), qRound(y / MControls::TwipsPerPixel(w, false)));
    }
    // The main window's stand-in, its frame at the given place.
    QWidget* Main(int left, int top)
    {
        m_main = std::make_unique<QWidget>();
        m_main->resize(500, 400);
        m_main->move(left, top);
        m_main->show();
        if (!QTest::qWaitForWindowExposed(m_main.get()))
            return nullptr;
        return m_main.get();
    }

private slots:
    void initTestCase()
    {
        // The window's moves come through the subclassing library.
        qputenv("RUVADIR_REGISTRY", m_store.path().toLocal8Bit());
        QVERIFY(Com::Succeeded(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH))));
        // A window manager frames the window and reports its moves later,
        // as on a desktop (without one the tests still run, unframed).
        if (X11Windows::WindowManagerName().isEmpty())
            qInfo("no window manager: the windows are not framed");
    }
    void cleanup() { m_main.reset(); }

    void contentHasCrLfOutsideAndRaisesItsEvent()
    {
        FrmNotes notes(nullptr);
        QSignalSpy changed(&notes, &FrmNotes::ContentChanged);
        notes.SetContent(QStringLiteral("one\r\ntwo\rthree\nfour"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(notes.TextBox()->toPlainText(), QStringLiteral("one\ntwo\nthree\nfour"));
        QCOMPARE(notes.Content(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));

        // Typing raises it too.
        QVERIFY(ShowActive(notes));
        changed.clear();
        notes.TextBox()->moveCursor(QTextCursor::End);
        QTest::keyClick(notes.TextBox(), Qt::Key_Return);
        QTest::keyClicks(notes.TextBox(), QStringLiteral("five"));
        QCOMPARE(changed.count(), 5);
        QVERIFY(notes.Content().endsWith(QLatin1String("four\r\nfive")));
    }

    void onlyLineBreaksAreNoNotes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasContent");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("CR LF") << QStringLiteral("\r\n") << false;
        QTest::newRow("line breaks") << QStringLiteral("\r\n\r\n\n\r") << false;
        QTest::newRow("a blank") << QStringLiteral(" ") << true;
        QTest::newRow("text between breaks") << QStringLiteral("\r\nx\r\n") << true;
    }
    void onlyLineBreaksAreNoNotes()
    {
        QFETCH(QString, text);
        QFETCH(bool, hasContent);
        FrmNotes notes(nullptr);
        notes.SetContent(text);
        QCOMPARE(notes.HasContent(), hasContent);
    }

    void keysOfTheWindow()
    {
        FrmNotes notes(nullptr);
        notes.SetContent(QStringLiteral("abc"));
        QVERIFY(ShowActive(notes));
        QPlainTextEdit* box = notes.TextBox();
        // Activated without a selection: everything is selected.
        QTRY_COMPARE(box->textCursor().selectedText(), QStringLiteral("abc"));
        box->moveCursor(QTextCursor::End);
        QVERIFY(!box->textCursor().hasSelection());
        int beeps = 0;
        const MControls::BeepHandler before = MControls::SetBeepHandler([&] { ++beeps; });
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        MControls::SetBeepHandler(before);
        QCOMPARE(box->textCursor().selectedText(), QStringLiteral("abc"));
        QCOMPARE(notes.Content(), QStringLiteral("abc"));
        QCOMPARE(beeps, 0);

        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_F2}) {
            notes.ShowEx(false, nullptr);
            QVERIFY(QTest::qWaitForWindowExposed(&notes));
            QTest::keyClick(box, key);
            QVERIFY(!notes.isVisible());
        }
        // The close box only hides it: the text stays.
        notes.show();
        QVERIFY(QTest::qWaitForWindowExposed(&notes));
        QVERIFY(notes.close() == false);
        QVERIFY(!notes.isVisible());
        QCOMPARE(notes.Content(), QStringLiteral("abc"));
    }

    void placedLeftOfTheMainWindowWhenThereIsRoom()
    {
        QWidget* main = Main(600, 150);
        QVERIFY(main);
        FrmNotes notes(main);
        // Its width as known before it is first shown.
        const int width = notes.frameGeometry().width();
        notes.ShowBeside(main, FrmNotes::PlaceAlways);
        QVERIFY(QTest::qWaitForWindowExposed(&notes));
        const QPoint gap = Twips(main, 75, 0);
        const QPoint place(main->frameGeometry().x() - width - gap.x(),
                           main->frameGeometry().y());
        QTRY_VERIFY2(StandsAt(notes, place), qPrintable(QStringLiteral("%1,%2").arg(notes.x()).arg(notes.y())));
        QVERIFY(!notes.Moved());
        QCOMPARE(notes.parentWidget(), main);
    }

    void placedOverTheMainWindowNearTheLeftEdge()
    {
        QWidget* main = Main(40, 60);
        QVERIFY(main);
        FrmNotes notes(main);
        notes.ShowBeside(main, FrmNotes::PlaceUnlessMoved);
        QVERIFY(QTest::qWaitForWindowExposed(&notes));
        QTRY_VERIFY(StandsAt(notes, main->frameGeometry().topLeft() + Twips(main, 1050, 1425)));
    }

    void aMoveOfTheUserIsKeptAndThePlacementsMovesAreNot()
    {
        QWidget* main = Main(40, 60);
        QVERIFY(main);
        FrmNotes notes(main);
        notes.ShowBeside(main, FrmNotes::PlaceUnlessMoved);
        QVERIFY(QTest::qWaitForWindowExposed(&notes));
        const QPoint placed = main->frameGeometry().topLeft() + Twips(main, 1050, 1425);
        // The display has reported the window where it was put (the
        // position below comes from that report), and the window does not
        // take that for the user's move.
        QTRY_VERIFY(StandsAt(notes, placed));
        QVERIFY(!notes.Moved());
        // Qt forgets the frame's size while the window is mapped again, for
        // a while reporting the frame where the window is: the window's own
        // place then tells where the frame stands.
        const QPoint frameOffset = notes.geometry().topLeft() - notes.frameGeometry().topLeft();

        // The user moves it (the window manager moves the frame)...
        const QPoint dragged = placed + QPoint(120, 80);
        notes.move(dragged);
        QTRY_VERIFY(notes.Moved());
        // The manager has settled the move before the window is hidden: a
        // hide while it still answers the move can leave the old place.
        QTRY_VERIFY(StandsAt(notes, dragged));
        // ... so showing it again unless moved leaves it there,
        notes.hide();
        QTRY_VERIFY(!Managed(notes));
        notes.ShowBeside(main, FrmNotes::PlaceUnlessMoved);
        QVERIFY(QTest::qWaitForWindowExposed(&notes));
        QTRY_VERIFY(Managed(notes));
        QTRY_VERIFY(StandsAt(notes, dragged, frameOffset));
        // but the first paint's placement places it all the same, and the
        // window stays moved. Qt may not know the frames again yet after the
        // window was mapped anew: the place is the one the placement rule
        // gives for the frames as Qt knows them at that moment.
        const QPoint beside = main->frameGeometry().topLeft() -
                              QPoint(notes.frameGeometry().width() + Twips(main, 75, 0).x(), 0);
        const QPoint over = main->frameGeometry().topLeft() + Twips(main, 1050, 1425);
        const QPoint expected = main->frameGeometry().x() >= notes.frameGeometry().width() + Twips(main, 75, 0).x()
                                    ? beside : over;
        notes.ShowBeside(main, FrmNotes::PlaceAlways);
        QTRY_VERIFY2(StandsAt(notes, expected, frameOffset),
                     qPrintable(QStringLiteral("frame %1,%2 window %3,%4 expected %5,%6")
                                    .arg(notes.frameGeometry().x()).arg(notes.frameGeometry().y())
                                    .arg(notes.x()).arg(notes.y()).arg(expected.x()).arg(expected.y())));
        QVERIFY(notes.Moved());
    }

    void setPositionCountsAsMovedOnlyWhenTheCallerSaysSo()
    {
        FrmNotes notes(nullptr);
        notes.SetPosition(1500, 1500, false);
        QVERIFY(!notes.Moved());
        notes.SetPosition(3000, 1500, true);
        QVERIFY(notes.Moved());
        // Once moved, always moved.
        notes.SetPosition(1500, 1500, false);
        QVERIFY(notes.Moved());
        notes.ShowEx(false, nullptr);
        QVERIFY(notes.Moved());
    }
};

QTEST_MAIN(TestFrmNotes)
#include "tst_FrmNotes.moc"
