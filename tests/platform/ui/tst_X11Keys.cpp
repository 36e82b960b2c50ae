// The table from scan codes and virtual keys to key symbols, and key strokes
// through XTest into a window of our own.
#include "X11Keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>

namespace
{
class KeyWindow : public QWindow
{
public:
    QString typed;
    QList<quint32> keycodes;  // of the presses
    QList<int> keys;

    bool ShowActive()
    {
        resize(200, 100);
        show();
        requestActivate();
        return QTest::qWaitForWindowActive(this);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        typed += event->text();
        keycodes << event->nativeScanCode();
        keys << event->key();
    }
};

// Key symbols, as X numbers them.
constexpr std::uint32_t XkA = 0x61, XkZ = 0x7A, Xk0 = 0x30, XkShiftL = 0xFFE1, XkShiftR = 0xFFE2,
                        XkControlL = 0xFFE3, XkControlR = 0xFFE4, XkAltL = 0xFFE9, XkAltR = 0xFFEA,
                        XkReturn = 0xFF0D, XkKpEnter = 0xFF8D, XkEscape = 0xFF1B, XkBackSpace = 0xFF08,
                        XkTab = 0xFF09, XkSpace = 0x20, XkGrave = 0x60, XkUp = 0xFF52, XkKp8 = 0xFFB8,
                        XkF1 = 0xFFBE, XkF10 = 0xFFC7, XkF11 = 0xFFC8, XkF12 = 0xFFC9,
                        XkDelete = 0xFFFF, XkKpDecimal = 0xFFAE, XkInsert = 0xFF63, XkHome = 0xFF50;
}

class TestX11Keys : public QObject
{
    Q_OBJECT

private slots:
    void scanCodeTable()
    {
        struct Case { int scan; bool extended; std::uint32_t keysym; };
        const Case cases[] = {
            {1, false, XkEscape},    {2, false, 0x31},          {11, false, Xk0},
            {14, false, XkBackSpace}, {15, false, XkTab},        {16, false, 0x71},
            {28, false, XkReturn},   {28, true, XkKpEnter},      {29, false, XkControlL},
            {29, true, XkControlR},  {30, false, XkA},           {41, false, XkGrave},
            {42, false, XkShiftL},   {44, false, XkZ},           {47, false, 0x76},
            {54, false, XkShiftR},   {56, false, XkAltL},        {56, true, XkAltR},
            {57, false, XkSpace},    {59, false, XkF1},          {68, false, XkF10},
            {72, false, XkKp8},      {72, true, XkUp},           {71, true, XkHome},
            {83, false, XkKpDecimal}, {83, true, XkDelete},      {82, true, XkInsert},
            {87, false, XkF11},      {88, false, XkF12},
            {0, false, 0},           {84, false, 0},             {30, true, 0},
            {200, false, 0},         {-1, false, 0},
        };
        for (const Case& c : cases)
            QCOMPARE(X11Keys::KeysymForScanCode(c.scan, c.extended), c.keysym);
        // Every key of the main block has a symbol of its own.
        QSet<std::uint32_t> seen;
        for (int scan = 1; scan <= 83; ++scan) {
            const std::uint32_t keysym = X11Keys::KeysymForScanCode(scan, false);
            QVERIFY2(keysym != 0, qPrintable(QString::number(scan)));
            QVERIFY2(!seen.contains(keysym), qPrintable(QString::number(scan)));
            seen.insert(keysym);
        }
    }

    void virtualKeyTable()
    {
        struct Case { int vk; bool extended; std::uint32_t keysym; };
        const Case cases[] = {
            {0x41, false, XkA},        {0x5A, false, XkZ},        {0x30, false, Xk0},
            {0x10, false, XkShiftL},   {0xA1, false, XkShiftR},   {0x11, false, XkControlL},
            {0x11, true, XkControlR},  {0x12, true, XkAltR},      {0x0D, false, XkReturn},
            {0x0D, true, XkKpEnter},   {0x26, false, XkUp},       {0x26, true, XkUp},
            {0x70, false, XkF1},       {0x7B, false, XkF12},      {0xC0, false, XkGrave},
            {0x20, false, XkSpace},    {0x2E, false, XkDelete},   {0x68, false, XkKp8},
            {0x1B, false, XkEscape},   {0x00, false, 0},          {0xFF, false, 0},
            {0x07, false, 0},
        };
        for (const Case& c : cases)
            QCOMPARE(X11Keys::KeysymForVirtualKey(c.vk, c.extended), c.keysym);
        // A letter names the same key both ways.
        QCOMPARE(X11Keys::KeysymForVirtualKey(0x56, false), X11Keys::KeysymForScanCode(47, false));
    }

    void characters()
    {
        QCOMPARE(X11Keys::KeysymForCharacter(U'a'), std::uint32_t(0x61));
        QCOMPARE(X11Keys::KeysymForCharacter(U'~'), std::uint32_t(0x7E));
        QCOMPARE(X11Keys::KeysymForCharacter(U'\u00E9'), std::uint32_t(0xE9));
        QCOMPARE(X11Keys::KeysymForCharacter(U'\u20AC'), std::uint32_t(0x010020AC));
        QCOMPARE(X11Keys::KeysymForCharacter(U'\n'), XkReturn);
        QCOMPARE(X11Keys::KeysymForCharacter(U'\x01'), std::uint32_t(0));
        QCOMPARE(X11Keys::KeysymForCharacter(U'\x85'), std::uint32_t(0));
    }

    void physicalKeyTable()
    {
        struct Case { int scan; bool extended; std::uint32_t keycode; };
        // X key codes of a pc105 keyboard under evdev, as xkbcomp names them.
        const Case cases[] = {
            {0x01, false, 9},   {0x02, false, 10},  {0x0E, false, 22},  {0x1C, false, 36},
            {0x1D, false, 37},  {0x29, false, 49},  {0x2A, false, 50},  {0x2F, false, 55},
            {0x39, false, 65},  {0x56, false, 94},  {0x57, false, 95},  {0x58, false, 96},
            {0x1C, true, 104},  {0x1D, true, 105},  {0x35, true, 106},  {0x38, true, 108},
            {0x47, true, 110},  {0x48, true, 111},  {0x50, true, 116},  {0x53, true, 119},
            {0x5B, true, 133},  {0x5D, true, 135},
            {0, false, 0},      {0x54, false, 0},   {0x59, false, 0},   {0x1E, true, 0},
            {-1, false, 0},     {300, true, 0},
        };
        for (const Case& c : cases)
            QCOMPARE(X11Keys::KeycodeForScanCode(c.scan, c.extended), c.keycode);
    }

    void physicalKeysReachTheFocusedWindow()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Keys::Available())
            QSKIP("needs an X server with XTest");
        KeyWindow window;
        QVERIFY(window.ShowActive());
        for (const auto& [scan, extended] : {std::pair{0x29, false}, std::pair{0x48, true}, std::pair{0x10, false}}) {
            const std::uint32_t code = X11Keys::KeycodeForScanCode(scan, extended);
            QVERIFY(X11Keys::SendKeycode(code, true));
            QVERIFY(X11Keys::SendKeycode(code, false));
        }
        QTRY_COMPARE(window.keycodes, (QList<quint32>{49, 111, 24}));
        QCOMPARE(window.keys.value(1), int(Qt::Key_Up));
        QVERIFY(!X11Keys::SendKeycode(0, true));
        QVERIFY(!X11Keys::SendKeycode(300, true));
    }

    void strokesReachTheFocusedWindow()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Keys::Available())
            QSKIP("needs an X server with XTest");
        KeyWindow window;
        QVERIFY(window.ShowActive());
        const std::uint32_t a = X11Keys::KeysymForScanCode(30, false);
        QVERIFY(X11Keys::SendKeysym(a, true));
        QVERIFY(X11Keys::SendKeysym(a, false));
        QVERIFY(X11Keys::SendKeysym(XkShiftL, true));
        QVERIFY(X11Keys::SendKeysym(X11Keys::KeysymForScanCode(48, false), true));
        QVERIFY(X11Keys::SendKeysym(X11Keys::KeysymForScanCode(48, false), false));
        QVERIFY(X11Keys::SendKeysym(XkShiftL, false));
        // A shifted symbol with Shift held for it.
        QVERIFY(X11Keys::SendKeysym(X11Keys::KeysymForCharacter(U'!'), true, true));
        QVERIFY(X11Keys::SendKeysym(X11Keys::KeysymForCharacter(U'!'), false, true));
        QTRY_COMPARE(window.typed, QStringLiteral("aB!"));
        // No key carries these.
        QVERIFY(!X11Keys::SendKeysym(0, true));
        QVERIFY(!X11Keys::SendKeysym(0x010020AC, true));
    }
};

QTEST_MAIN(TestX11Keys)
#include "tst_X11Keys.moc"
