#include "FrmGameConfigs.h"

#include "ui/GameWindowsTestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QScreen>

class TestFrmGameConfigs : public QObject
{
    Q_OBJECT

    GamesTempTree m_tree;

    static QListWidget* List(FrmGameConfigs& f) { return f.findChild<QListWidget*>("lstConfigs"); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tree.IsValid());
        for (const char* f : {"autoexec.cfg", "etmain/a.cfg", "etmain/b.cfg", "etmain/c.cfg",
                              "etmain/cameras/vava/scripts/pos000.cfg"})
            QVERIFY(!m_tree.File(f).isEmpty());
    }

    void preselectionAndOk()
    {
        FrmGameConfigs f;
        f.RefreshConfigs(m_tree.Root(), {"etmain"}, {"etmain\\b.cfg", "AUTOEXEC.CFG"},
                         "cameras\\vava\\pos;cameras\\vava\\scripts");
        QListWidget* list = List(f);
        QCOMPARE(list->count(), 4);
        QStringList selected;
        QVERIFY(f.GetSelected(selected));
        QCOMPARE(selected, QStringList{"etmain\\b.cfg"});

        const int result = RunModal(f, [&] { QTest::mouseClick(f.findChild<QPushButton*>("cmdOk"), Qt::LeftButton); });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(!f.Canceled());
        QVERIFY(!f.isVisible());
    }

    void ctrlClicksBottomUpGiveListOrder()
    {
        FrmGameConfigs f;
        f.RefreshConfigs(m_tree.Root(), {"etmain"}, {}, QString());
        QListWidget* list = List(f);
        QCOMPARE(list->count(), 5);
        QStringList selected{"untouched"};
        QVERIFY(!f.GetSelected(selected));  // none: the list stays as it was
        QCOMPARE(selected, QStringList{"untouched"});

        RunModal(f, [&] {
            const auto click = [&](int row, Qt::KeyboardModifiers mods) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, mods,
                                  list->visualItemRect(list->item(row)).center());
            };
            click(3, Qt::NoModifier);
            click(2, Qt::ControlModifier);
            click(0, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_Return);  // the default button
        });
        QVERIFY(!f.Canceled());
        QVERIFY(f.GetSelected(selected));
        QCOMPARE(selected, (QStringList{"autoexec.cfg", "etmain\\b.cfg", "etmain\\c.cfg"}));
    }

    void escapeAndCloseBoxCancelAndKeepTheWindow()
    {
        FrmGameConfigs f;
        f.SetCaptions("Annuler");
        QCOMPARE(f.findChild<QPushButton*>("cmdCancel")->text(), QString("Annuler"));
        f.RefreshConfigs(m_tree.Root(), {"etmain"}, {}, QString());

        QCOMPARE(RunModal(f, [&] { QTest::keyClick(List(f), Qt::Key_Escape); }), int(QDialog::Rejected));
        QVERIFY(f.Canceled());

        RunModal(f, [&] { QTest::mouseClick(f.findChild<QPushButton*>("cmdOk"), Qt::LeftButton); });
        QVERIFY(!f.Canceled());

        // The window's close box: hidden, not destroyed, and cancelled.
        QPointer<FrmGameConfigs> alive(&f);
        f.setAttribute(Qt::WA_DeleteOnClose, false);
        RunModal(f, [&] { QVERIFY(!f.close()); });
        QVERIFY(alive);
        QVERIFY(f.Canceled());
        QVERIFY(!f.isVisible());

        RunModal(f, [&] { QTest::mouseClick(f.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton); });
        QVERIFY(f.Canceled());
    }

    void setPositionStaysOnTheScreen()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QWidget owner;
        owner.setWindowFlag(Qt::FramelessWindowHint);
        auto* button = new QPushButton("Configs", &owner);
        button->setGeometry(20, 10, 80, 24);
        owner.setGeometry(100, 100, 200, 80);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));

        FrmGameConfigs f;
        const QPoint at = button->mapToGlobal(QPoint(0, 0));
        f.SetPosition(button);
        QCOMPARE(f.pos(), at + QPoint(0, 32));

        // Near the right and bottom edges the window moves inside the screen.
        owner.move(screen.right() - 150, screen.bottom() - 60);
        QTRY_COMPARE(button->mapToGlobal(QPoint(0, 0)).x(), screen.right() - 150 + 20);
        f.SetPosition(button);
        QCOMPARE(f.pos(), QPoint(screen.right() + 1 - f.frameGeometry().width(),
                                 screen.bottom() + 1 - f.frameGeometry().height()));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(screen.contains(f.frameGeometry()));
    }

    void missingRootGivesAnEmptyList()
    {
        FrmGameConfigs f;
        f.RefreshConfigs(m_tree.Root(), {"etmain"}, {}, QString());
        QVERIFY(List(f)->count() > 0);
        f.RefreshConfigs(m_tree.Path("gone"), {"etmain"}, {}, QString());
        QCOMPARE(List(f)->count(), 0);
        QStringList selected;
        QVERIFY(!f.GetSelected(selected));
    }
};

QTEST_MAIN(TestFrmGameConfigs)
#include "tst_FrmGameConfigs.moc"
