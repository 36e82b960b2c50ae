// The subclass object on real windows: events raised for real Qt input,
// before or after the window's own handling, and the hot key.

#include "CSubclass.h"
#include "ComClient.h"
#include "Dadavive.h"
#include "DadaviveKeys.h"
#include "ComServer.h"
#include "RegistryStore.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <functional>
#include <vector>

using namespace Dadavive;

namespace {

// A widget that records what reached its own handlers.
class Probe : public QWidget
{
public:
    std::vector<QString>* log = nullptr;
    int presses = 0;
    int paints = 0;
    int keys = 0;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (log)
            log->push_back(QStringLiteral("press"));
    }
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        if (log)
            log->push_back(QStringLiteral("paint"));
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        // QTest presses the modifier keys first: only the others count.
        if (e->key() != Qt::Key_Alt && e->key() != Qt::Key_Shift && e->key() != Qt::Key_Control)
            ++keys;
    }
};

class Recorder final : public SubclassEventsBase
{
public:
    std::vector<QString> log;
    struct Down
    {
        int button, keys, x, y;
    };
    std::vector<Down> downs;
    std::vector<int> distances;
    QPoint wheelAt;
    int wheelKeys = 0;
    bool handleDown = false;
    bool handlePaintBefore = false;
    int16_t setMinX = 0, setMinY = 0;
    std::vector<std::pair<int, int>> hotKeys;
    std::vector<intptr_t> commands;
    std::vector<int32_t> allAfter;
    std::vector<std::pair<int, int>> moves;
    std::function<void()> onDown;
    std::function<void()> onAllBefore;

    void AllMessagesBefore(bool&, intptr_t&, int32_t, intptr_t, intptr_t) override
    {
        if (onAllBefore)
            onAllBefore();
    }

    void MouseDown(int32_t& Button, int32_t& Keys, int32_t PxX, int32_t PxY, bool& bHandled) override
    {
        downs.push_back({Button, Keys, PxX, PxY});
        log.push_back(QStringLiteral("MouseDown"));
        bHandled = handleDown;
        if (onDown)
            onDown();
    }
    void MouseWheel(int32_t& Distance, int32_t& X, int32_t& Y, int32_t& Keys) override
    {
        distances.push_back(Distance);
        wheelAt = QPoint(X, Y);
        wheelKeys = Keys;
    }
    void PaintBefore(bool& bHandled, intptr_t&, intptr_t, intptr_t) override
    {
        log.push_back(QStringLiteral("PaintBefore"));
        bHandled = handlePaintBefore;
    }
    void Paint() override { log.push_back(QStringLiteral("Paint")); }
    void Resizing(int16_t& MinX, int16_t&, int16_t& MinY, int16_t&) override
    {
        log.push_back(QStringLiteral("Resizing"));
        if (setMinX)
            MinX = setMinX;
        if (setMinY)
            MinY = setMinY;
    }
    void Move(int16_t& X, int16_t& Y) override { moves.emplace_back(X, Y); }
    void MenuChar(bool& bHandled, int32_t& mcReturn, int16_t iKey, int32_t, intptr_t) override
    {
        log.push_back(QStringLiteral("MenuChar %1").arg(QChar(iKey)));
        if (iKey == 'z' || iKey == 'Z') {
            bHandled = true;
            mcReturn = MNC_CLOSE;
        }
    }
    void Command(intptr_t&, intptr_t, intptr_t wParam) override { commands.push_back(wParam); }
    void HotKeyPressed(int32_t hkMod, int32_t hkKey) override { hotKeys.emplace_back(hkMod, hkKey); }
    void AllMessages(intptr_t&, int32_t uMsg, intptr_t, intptr_t) override { allAfter.push_back(uMsg); }
};

template <class T>
Com::ComPtr<T> Own(T* p)
{
    return Com::ComPtr<T>::Attach(p);
}

}  // namespace

class TestSubclass : public QObject
{
    Q_OBJECT

private:
    Com::ComPtr<ICSubclass> Create()
    {
        Com::ComPtr<ICSubclass> sc;
        const Com::HRESULT hr =
            Com::CreateInstanceFromFile(QStringLiteral(RUV_DADAVIVE_PATH), CLSID_CSubclass, ICSubclass::IID, sc.PutVoid());
        if (Com::Failed(hr))
            qWarning() << "create failed" << Qt::hex << hr << Com::LastLoadError();
        return sc;
    }

    QTemporaryDir m_registry;

private slots:
    void initTestCase()
    {
        // The class is registered in a store of the test's own.
        QVERIFY(m_registry.isValid());
        qputenv("RUVADIR_REGISTRY", m_registry.path().toLocal8Bit());
    }

    void registeredAndCreatedByClassId()
    {
        QCOMPARE(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
        const auto value = RuvPlatform::RegistryStore::Instance().Value(
            RuvPlatform::RegistryHive::ClassesRoot,
            QStringLiteral("CLSID\\%1\\InprocServer32").arg(CLSID_CSubclass.ToString()), QString());
        QVERIFY(value);
        QVERIFY(value->text.endsWith(QLatin1String("libdadavive.so")));
        Com::ComPtr<ICSubclass> sc;
        QCOMPARE(Com::CreateInstance(CLSID_CSubclass, sc), Com::S_OK);
        QVERIFY(sc);
        // The object answers its own identity and nothing else.
        QVERIFY(sc.As<Com::IUnknown>());
        QVERIFY(!sc.As<Com::IClassFactory>());
        sc = nullptr;
        QCOMPARE(Com::UnregisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
        QCOMPARE(Com::CreateInstance(CLSID_CSubclass, sc), Com::REGDB_E_CLASSNOTREG);
    }

    void createdByClassIdThroughTheLibrary()
    {
        auto sc = Create();
        QVERIFY(sc);
        QCOMPARE(sc->Init(nullptr), Com::E_INVALIDARG);
        QObject plain;
        QCOMPARE(sc->Init(&plain), Com::E_INVALIDARG);
        Probe w;
        QCOMPARE(sc->Init(&w), Com::S_OK);
        Probe other;
        QCOMPARE(sc->Init(&other), Com::E_UNEXPECTED);  // the first watch stays
        sc->Terminate();
    }

    void mouseDownIsRaisedBeforeTheWidgetSeesIt()
    {
        auto sc = Create();
        QVERIFY(sc);
        auto rec = Own(new Recorder);
        Probe w;
        std::vector<QString> log;
        w.log = &log;
        w.resize(200, 150);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sc->SetEvents(rec.Get());
        QCOMPARE(sc->Init(&w), Com::S_OK);
        sc->SetMouseDown(true);

        rec->log.clear();
        w.log = &rec->log;
        QTest::mousePress(&w, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, QPoint(30, 40));
        QCOMPARE(rec->downs.size(), size_t(1));
        QCOMPARE(rec->downs[0].button, 1);
        QCOMPARE(rec->downs[0].keys, 3);  // Ctrl 2 + Shift 1
        QCOMPARE(rec->downs[0].x, 30);
        QCOMPARE(rec->downs[0].y, 40);
        QCOMPARE(rec->log, (std::vector<QString>{QStringLiteral("MouseDown"), QStringLiteral("press")}));

        // A right press while the left button is held reports the left.
        QTest::mousePress(&w, Qt::RightButton, Qt::AltModifier, QPoint(5, 6));
        QCOMPARE(rec->downs.back().button, 1);
        QCOMPARE(rec->downs.back().keys, 4);
        QTest::mouseRelease(&w, Qt::RightButton, {}, QPoint(5, 6));
        QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(30, 40));

        QTest::mousePress(&w, Qt::MiddleButton, {}, QPoint(7, 8));
        QCOMPARE(rec->downs.back().button, 4);
        QTest::mouseRelease(&w, Qt::MiddleButton, {}, QPoint(7, 8));

        // Handled: the widget never sees the press.
        rec->handleDown = true;
        const int before = w.presses;
        QTest::mousePress(&w, Qt::RightButton, {}, QPoint(9, 9));
        QCOMPARE(rec->downs.back().button, 2);
        QCOMPARE(w.presses, before);
        QTest::mouseRelease(&w, Qt::RightButton, {}, QPoint(9, 9));
        sc->Terminate();
        w.log = nullptr;
    }

    void wheelDistanceIsPackedAsTheCallersUnpackIt()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        Probe w;
        w.resize(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sc->SetEvents(rec.Get());
        sc->Init(&w);
        sc->SetMouseWheel(true);
        const int deltas[] = {60, 180, -120, 120, -300};
        for (int d : deltas) {
            QWheelEvent e(QPointF(10, 20), QPointF(310, 420), QPoint(), QPoint(0, d), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&w, &e);
        }
        // Halves go to the even notch: 60 gives 0, -300 gives -2.
        QCOMPARE(rec->distances, (std::vector<int>{0, 2, -1, 1, -2}));
        QCOMPARE(rec->wheelAt, QPoint(310, 420));
        QCOMPARE(rec->wheelKeys, int(MK_CONTROL));
        sc->Terminate();
    }

    void resizingSetsTheMinimumTrackingSize()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        rec->setMinX = 520;
        rec->setMinY = 513;
        QWidget w;
        w.resize(300, 200);
        sc->SetEvents(rec.Get());
        sc->Init(&w);
        sc->SetResizing(true);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!rec->log.empty());
        QCOMPARE(w.minimumSize(), QSize(520, 513));
        QTRY_VERIFY(w.width() >= 520 && w.height() >= 513);
        sc->Terminate();
    }

    void paintBeforeAndAfterTheWidgetsOwnPainting()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        Probe w;
        w.resize(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sc->SetEvents(rec.Get());
        sc->Init(&w);
        sc->SetPaintBefore(true);
        sc->SetPaint(true);
        rec->log.clear();
        w.log = &rec->log;
        w.repaint();
        QCOMPARE(rec->log,
                 (std::vector<QString>{QStringLiteral("PaintBefore"), QStringLiteral("paint"), QStringLiteral("Paint")}));
        rec->log.clear();
        rec->handlePaintBefore = true;
        w.repaint();
        QCOMPARE(rec->log, (std::vector<QString>{QStringLiteral("PaintBefore")}));
        w.log = nullptr;
        sc->Terminate();
    }

    void everyMessageStaysOnBesideTheWheel()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        Probe w;
        w.resize(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sc->SetEvents(rec.Get());
        sc->Init(&w);
        sc->SetAllMessages(true);
        sc->SetMouseWheel(true);
        QVERIFY(sc->AllMessages());
        rec->allAfter.clear();
        w.resize(120, 110);
        QVERIFY(std::find(rec->allAfter.begin(), rec->allAfter.end(), int32_t(WM_SIZE)) != rec->allAfter.end());
        sc->Terminate();
    }

    void moveAndTheEndOfAMove()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        QWidget parent;
        parent.resize(300, 300);
        Probe child;
        child.setParent(&parent);
        child.setGeometry(10, 10, 50, 50);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        sc->SetEvents(rec.Get());
        sc->Init(&child);
        sc->SetMove(true);
        sc->SetAllMessages(true);
        child.move(40, 70);
        QCOMPARE(rec->moves.back(), std::make_pair(40, 70));
        // A move while a button is down ends at the next release.
        QTest::mousePress(&child, Qt::LeftButton, {}, QPoint(5, 5));
        child.move(45, 75);
        rec->allAfter.clear();
        QTest::mouseRelease(&child, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(rec->allAfter.front(), int32_t(WM_EXITSIZEMOVE));
        sc->Terminate();
    }

    void menuCharClosesTheMenuAndKeepsTheKeyFromTheWindow()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        Probe w;
        w.setFocusPolicy(Qt::StrongFocus);
        w.resize(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sc->SetEvents(rec.Get());
        sc->Init(&w);
        sc->SetMenuChar(true);
        QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
        QVERIFY(std::find(rec->log.begin(), rec->log.end(), QStringLiteral("MenuChar z")) != rec->log.end());
        QCOMPARE(w.keys, 0);  // closed as a menu key
        QTest::keyClick(&w, Qt::Key_Q, Qt::AltModifier);
        QVERIFY(std::find(rec->log.begin(), rec->log.end(), QStringLiteral("MenuChar q")) != rec->log.end());
        QCOMPARE(w.keys, 1);  // left to the window
        sc->Terminate();

        // The result reaches the caller in the high word.
        auto direct = Own(new CSubclass);
        auto rec2 = Own(new Recorder);
        Probe w2;
        direct->SetEvents(rec2.Get());
        direct->Init(&w2);
        direct->SetMenuChar(true);
        QCOMPARE(direct->Subclasser().Deliver(WM_MENUCHAR, MakeLong('z', 0), 0), intptr_t(65536));
        QCOMPARE(direct->Subclasser().Deliver(WM_MENUCHAR, MakeLong('q', 0), 0), intptr_t(0));
        direct->Terminate();
    }

    void commandOfAComboBoxSelection()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        QComboBox combo;
        combo.setEditable(true);
        combo.addItems({QStringLiteral("25"), QStringLiteral("30")});
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        sc->SetEvents(rec.Get());
        sc->Init(&combo);
        sc->SetCommand(true);
        sc->SetMouseDown(true);
        emit combo.activated(1);
        QCOMPARE(rec->commands.size(), size_t(1));
        QCOMPARE(HiWord(rec->commands[0]), int32_t(CBN_SELCHANGE));
        // A click lands in the line edit; it is reported in the combo's
        // coordinates.
        QLineEdit* edit = combo.lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(3, 4));
        QCOMPARE(rec->downs.size(), size_t(1));
        QCOMPARE(QPoint(rec->downs[0].x, rec->downs[0].y), edit->mapTo(&combo, QPoint(3, 4)));
        sc->Terminate();
    }

    void noEventAfterTerminateAndNoHarmFromDeadWindowsOrOwners()
    {
        auto sc = Create();
        auto rec = Own(new Recorder);
        auto* w = new Probe;
        w->resize(50, 50);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        sc->SetEvents(rec.Get());
        sc->Init(w);
        sc->SetMouseDown(true);
        sc->Terminate();
        sc->Terminate();
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(rec->downs.empty());
        QCOMPARE(w->presses, 1);

        // A window destroyed while watched.
        auto sc2 = Create();
        sc2->SetEvents(rec.Get());
        sc2->Init(w);
        sc2->SetMouseDown(true);
        delete w;
        sc2->Terminate();

        // An owner released while its events are on: the window goes on.
        Probe w3;
        w3.resize(50, 50);
        w3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w3));
        auto sc3 = Create();
        sc3->SetEvents(rec.Get());
        sc3->Init(&w3);
        sc3->SetMouseDown(true);
        sc3->SetAllMessages(true);
        sc3 = nullptr;
        QTest::mouseClick(&w3, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(w3.presses, 1);
        QVERIFY(rec->downs.empty());

        // A handler that releases the object from inside the event.
        auto sc4 = Create();
        ICSubclass* raw = sc4.Detach();
        raw->SetEvents(rec.Get());
        raw->Init(&w3);
        raw->SetMouseDown(true);
        raw->SetAllMessages(true);
        rec->onDown = [&raw] {
            raw->Terminate();
            raw->Release();
            raw = nullptr;
        };
        QTest::mouseClick(&w3, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(rec->downs.size(), size_t(1));
        QCOMPARE(w3.presses, 2);
        QVERIFY(raw == nullptr);
        rec->onDown = nullptr;
        QTest::mouseClick(&w3, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(rec->downs.size(), size_t(1));

        // Released in the first of two events of one message: the second
        // is not raised, and nothing touches the freed object.
        raw = Create().Detach();
        raw->SetEvents(rec.Get());
        raw->Init(&w3);
        raw->SetAllMessagesBefore(true);
        raw->SetMouseDown(true);
        rec->onAllBefore = [&raw] {
            if (!raw)
                return;
            raw->Terminate();
            raw->Release();
            raw = nullptr;
        };
        QTest::mouseClick(&w3, Qt::LeftButton, {}, QPoint(6, 6));
        QVERIFY(raw == nullptr);
        QCOMPARE(rec->downs.size(), size_t(1));
        rec->onAllBefore = nullptr;
    }

    void hotKeyFiresFromARealKeyPress()
    {
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            QSKIP("needs an X11 display");
        Display* dpy = x11->display();
        auto sc = Create();
        auto rec = Own(new Recorder);
        QWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sc->SetEvents(rec.Get());
        sc->Init(&w);
        QVERIFY(!sc->HotKeyUnregister());
        QVERIFY(sc->HotKeyRegister(hkmAlt, 'K'));

        auto press = [dpy](KeySym sym, bool down) {
            XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, sym), down ? True : False, CurrentTime);
        };
        press(XK_Alt_L, true);
        press(XK_k, true);
        press(XK_k, false);
        press(XK_Alt_L, false);
        XFlush(dpy);
        QTRY_COMPARE(rec->hotKeys.size(), size_t(1));
        QCOMPARE(rec->hotKeys[0], std::make_pair(int(hkmAlt), int('K')));

        // Another client's grab of the same key is reported, not fatal.
        Display* other = XOpenDisplay(nullptr);
        QVERIFY(other);
        XGrabKey(other, XKeysymToKeycode(other, XK_j), Mod1Mask, DefaultRootWindow(other), False, GrabModeAsync,
                 GrabModeAsync);
        XSync(other, False);
        auto sc2 = Create();
        sc2->Init(&w);
        QVERIFY(!sc2->HotKeyRegister(hkmAlt, 'J'));
        XCloseDisplay(other);
        sc2->Terminate();

        // An unregistered key no longer fires. To know that the wait was
        // long enough, a second object's hot key is pressed right after it:
        // both presses come through the one display connection in order, so
        // once the second has arrived, the first would have too.
        QVERIFY(sc->HotKeyUnregister());
        auto sentinel = Create();
        auto sentinelRec = Own(new Recorder);
        sentinel->SetEvents(sentinelRec.Get());
        sentinel->Init(&w);
        QVERIFY(sentinel->HotKeyRegister(hkmAlt, 'L'));
        press(XK_Alt_L, true);
        press(XK_k, true);
        press(XK_k, false);
        press(XK_l, true);
        press(XK_l, false);
        press(XK_Alt_L, false);
        XFlush(dpy);
        QTRY_COMPARE(sentinelRec->hotKeys.size(), size_t(1));
        QCOMPARE(sentinelRec->hotKeys[0], std::make_pair(int(hkmAlt), int('L')));
        QCOMPARE(rec->hotKeys.size(), size_t(1));
        sentinel->Terminate();
        sc->Terminate();
    }
};

QTEST_MAIN(TestSubclass)
#include "tst_Subclass.moc"
