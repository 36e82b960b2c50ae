// The about box and splash window on a real display: its shape, its
// version line, the automatic close, clicks, keys, the contact link and
// its hover colours, and a real drag by the pointer through XTest with a
// window manager, which moves the window without hiding it.

#include "CSkin.h"
#include "ComClient.h"
#include "FrmAbout.h"
#include "MRuvResource.h"
#include "MainServices.h"
#include "WindowFakes.h"
#include "X11Windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Last: X's macros break Qt's.
#include "XTestPointer.h"

namespace {

class ContactStore final : public ISettingsStore
{
public:
    explicit ContactStore(QString address) : m_address(std::move(address)) {}
    TaggedValue Read(const QString& key, const QString& name) override
    {
        if (key == QLatin1String("HKLM\\Software\\Viziviz\\Ruvadir") && name == QLatin1String("ContactAddress")
            && !m_address.isNull())
            return TaggedValue(m_address);
        return TaggedValue::MakeNull();
    }
    bool Write(const QString&, const QString&, int32_t, const TaggedValue&) override { return false; }
    bool Delete(const QString&, const QString&) override { return false; }
    bool ListValues(const QString&, QStringList&, QList<int32_t>&) override { return false; }
    void BeginBatch() override {}
    bool EndBatch() override { return true; }

private:
    QString m_address;
};

using Pointer = Harness::XTestPointer;

}  // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_store;
    std::shared_ptr<WindowFakes::RecordingShell> m_shell;

    std::unique_ptr<FrmAbout> Make(const QString& address = QStringLiteral("author@example.org"))
    {
        auto w = std::make_unique<FrmAbout>(m_shell, std::make_shared<ContactStore>(address));
        w->SetControlsText(QStringLiteral("Contact me..."), QStringLiteral("Your comments"));
        w->SetModInfos(QStringLiteral("ET Pro"), QStringLiteral("3.2.6"));
        return w;
    }
    static QLabel* Link(FrmAbout& w) { return w.findChild<QLabel*>(QStringLiteral("lblContact")); }
    static QLabel* Version(FrmAbout& w) { return w.findChild<QLabel*>(QStringLiteral("picInfoLabel")); }
    // A point of the artwork away from the link and the version line.
    static QPoint Artwork(FrmAbout& w) { return QPoint(60, w.height() / 2); }

private slots:
    void initTestCase()
    {
        qputenv("RUVADIR_REGISTRY", m_store.path().toLocal8Bit());
        QVERIFY(Com::Succeeded(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH))));
    }
    void init() { m_shell = std::make_shared<WindowFakes::RecordingShell>(); }

    void theVersionLine()
    {
        const MCommon::VersionList version{1, 2, 0, 315};
        QCOMPARE(FrmAbout::VersionLine(0, version), QStringLiteral("v1.2 b315"));
        const double built = MCommon::ToOleDate(MCommon::MakeDateTime(2007, 3, 14, 18, 30));
        QCOMPARE(FrmAbout::VersionLine(built, version), QStringLiteral("14.03.07  v1.2 b315"));
        QCOMPARE(FrmAbout::VersionLine(MCommon::ToOleDate(MCommon::MakeDateTime(2010, 11, 2)), {0, 9, 0, 433}),
                 QStringLiteral("02.11.10  v0.9 b433"));
    }

    void theShapeIsTheArtworkAndTheVersionLetters()
    {
        auto w = Make();
        const QRegion shape = w->mask();
        QVERIFY(!shape.isEmpty());
        QCOMPARE(shape, w->Shape());
        qint64 area = 0;
        for (const QRect& r : shape)
            area += qint64(r.width()) * r.height();
        QVERIFY2(area < qint64(w->width()) * w->height() * 9 / 10, qPrintable(QString::number(area)));
        // The artwork's corner is left out, its middle kept.
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(shape.contains(Artwork(*w)));
        // The version line stands on the artwork's lowest band: its letters
        // add nothing to the artwork's shape, and the window ends with it.
        CSkin skin;
        QWidget scratch;
        const QRegion artwork = skin.SetSkin(MRuvResource::GetResData(13), &scratch, false);
        QVERIFY(!artwork.isEmpty());
        QCOMPARE(shape, artwork);
        const QRect line = Version(*w)->geometry();
        QCOMPARE(w->height(), line.bottom() + 1);
        QCOMPARE(w->height(), artwork.boundingRect().bottom() + 1);
        // Its letters are drawn, and nothing around them hides the artwork.
        const QImage picture = Version(*w)->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        int rightmost = -1;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qAlpha(picture.pixel(x, y)) != 0) {
                    ++opaque;
                    rightmost = std::max(rightmost, x);
                }
        QVERIFY2(opaque > 20 && opaque < picture.width() * picture.height() / 4, qPrintable(QString::number(opaque)));
        QVERIFY(!Link(*w)->isHidden());
        QVERIFY(shape.contains(Link(*w)->geometry().center()));
        // The letters end before the link begins.
        QVERIFY2(rightmost < Link(*w)->x(), qPrintable(QString::number(rightmost)));
    }

    void aLongerLinkCaptionWidensTheLinkToTheLeft()
    {
        auto w = Make();
        QLabel* link = Link(*w);
        const int right = link->geometry().right();
        const QString caption = QStringLiteral("Schreiben Sie mir eine Nachricht...");
        w->SetControlsText(caption, QStringLiteral("Ihre Kommentare"));
        QCOMPARE(link->text(), caption);
        QCOMPARE(link->geometry().right(), right);
        QVERIFY(link->fontMetrics().horizontalAdvance(caption) <= link->contentsRect().width());
    }

    void theSplashHidesAfterTwoSeconds()
    {
        auto w = Make();
        w->CloseAfterDelay(true);
        QElapsedTimer clock;
        clock.start();
        w->ShowModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 8000);
        QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!w->IsArmed());
    }

    void aClickHidesAndTheVersionPictureTakesItsOwnClicks()
    {
        auto w = Make();
        w->CloseAfterDelay(true);
        w->ShowModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QPoint at = w->pos();
        QTest::mouseClick(Version(*w), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(w->isVisible());
        QCOMPARE(w->pos(), at);
        QTest::mouseClick(w.get(), Qt::LeftButton, {}, Artwork(*w));
        QVERIFY(!w->isVisible());
        QVERIFY(!w->IsArmed());
        QVERIFY(m_shell->opened.isEmpty());
    }

    void theHelpBoxNeverClosesByItselfAndKeysCloseIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void theHelpBoxNeverClosesByItselfAndKeysCloseIt()
    {
        QFETCH(int, key);
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        auto w = Make();
        w->CloseAfterDelay(false);
        bool stayed = false, timerIdle = false;
        QTimer::singleShot(0, w.get(), [&] {
            timerIdle = QTest::qWaitForWindowExposed(w.get()) && !w->CloseTimer()->isActive();
            // Longer than the splash lives.
            QTest::qWait(2300);
            stayed = w->isVisible();
            QTest::keyClick(w.get(), Qt::Key(key));
        });
        w->ShowModal(&owner);
        QVERIFY(timerIdle);
        QVERIFY(stayed);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->parentWidget(), &owner);
    }

    void theLinkOpensAnEncodedMailAndKeepsTheWindow_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("address");
        QTest::newRow("blanks") << QStringLiteral("ET Pro") << QStringLiteral("Your comments ...")
                                << QStringLiteral("mailto:author@example.org?subject=Viziviz%20Ruvadir%20-%20ET%20Pro"
                                                  "&body=Your%20comments%20...");
        QTest::newRow("ampersand") << QStringLiteral("A&B") << QStringLiteral("x=1&cc=them@example.org")
                                   << QStringLiteral("mailto:author@example.org?subject=Viziviz%20Ruvadir%20-%20A%26B"
                                                     "&body=x%3D1%26cc%3Dthem%40example.org");
        QTest::newRow("accent and line break") << QStringLiteral("Défrag") << QStringLiteral("é\r\n?")
                                               << QStringLiteral("mailto:author@example.org?subject=Viziviz%20Ruvadir"
                                                                 "%20-%20D%C3%A9frag&body=%C3%A9%0D%0A%3F");
    }
    void theLinkOpensAnEncodedMailAndKeepsTheWindow()
    {
        QFETCH(QString, game);
        QFETCH(QString, body);
        QFETCH(QString, address);
        auto w = Make();
        w->SetModInfos(game, QString());
        w->SetControlsText(QStringLiteral("Contact me..."), body);
        w->CloseAfterDelay(true);
        w->ShowModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(Link(*w)->text(), QStringLiteral("Contact me..."));
        QTest::mouseClick(Link(*w), Qt::LeftButton, {}, Link(*w)->rect().center());
        QCOMPARE(m_shell->opened, QStringList{QStringLiteral("0 ") + address});
        QVERIFY(w->isVisible());
        QVERIFY(!w->IsArmed());
        // The next plain click hides it.
        QTest::mouseClick(w.get(), Qt::LeftButton, {}, Artwork(*w));
        QVERIFY(!w->isVisible());
    }

    void withoutAnAddressThereIsNoLink()
    {
        auto w = Make(QString());
        w->ShowModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(!Link(*w)->isVisible());
        QTest::mouseClick(w.get(), Qt::LeftButton, {}, Link(*w)->geometry().center());
        QVERIFY(m_shell->opened.isEmpty());
        QVERIFY(!w->isVisible());
    }

    void theLinkLightsUpWhileThePointerIsOnIt()
    {
        auto w = Make();
        w->ShowModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QLabel* link = Link(*w);
        const QColor grey(159, 159, 159), light(243, 243, 243);
        QCOMPARE(link->palette().color(QPalette::WindowText), grey);
        QTest::mouseMove(link, link->rect().center());
        QTRY_COMPARE(link->palette().color(QPalette::WindowText), light);
        QCOMPARE(QWidget::mouseGrabber(), w.get());
        // Far outside the window at once: the window still sees it go.
        QTest::mouseMove(w.get(), QPoint(-200, -200));
        QTRY_COMPARE(link->palette().color(QPalette::WindowText), grey);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    void aDragMovesTheWindowWithoutHidingIt()
    {
        Pointer pointer;
        if (!pointer.Available())
            QSKIP("needs an X display with XTest");
        if (X11Windows::WindowManagerName().isEmpty())
            QSKIP("moving a window needs a window manager (openbox)");
        auto w = Make();
        w->CloseAfterDelay(true);
        w->ShowModeless(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTRY_VERIFY(w->isActiveWindow());
        const QPoint before = w->pos();
        const QPoint grab = w->mapToGlobal(Artwork(*w));
        pointer.MoveTo(grab, 30);
        pointer.Button(true);
        for (int step = 1; step <= 10; ++step)
            pointer.MoveTo(grab + QPoint(8 * step, 6 * step), 30);
        pointer.Button(false);
        QTRY_VERIFY((w->pos() - before).manhattanLength() >= 40);
        QVERIFY(w->isVisible());
        QVERIFY(!w->IsArmed());
        // The close timer runs out without effect: the box stays.
        QTRY_VERIFY_WITH_TIMEOUT(!w->CloseTimer()->isActive(), 5000);
        QVERIFY(w->isVisible());
        // A plain click of the real pointer still hides it.
        pointer.MoveTo(w->mapToGlobal(Artwork(*w)) + QPoint(3, 3), 30);
        pointer.Button(true);
        pointer.Button(false);
        QTRY_VERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_FrmAbout.moc"
