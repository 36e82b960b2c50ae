// Without a GUI application (as in a tool or a test without a display) the
// helpers that need one give their failure results and the program goes on.
#include "MClipboard.h"
#include "MCursor.h"
#include "MForms.h"
#include "MMsgBoxEx.h"

#include <QCoreApplication>
#include <QTest>

class TestMNoDisplay : public QObject
{
    Q_OBJECT

private slots:
    void failureResults()
    {
        QVERIFY(!MClipboard::SetClipboardText(0, QStringLiteral("text")));
        QCOMPARE(MClipboard::GetClipboardText(), QString());
        // Our own windows are not looked for; a handle nobody has gives the
        // failure results.
        QCOMPARE(MForms::GetPlacement(0x7FFFFFF3), 0);
        QCOMPARE(MForms::GetWindowTitle(0x7FFFFFF3), QString());
        QVERIFY(!MForms::IsTopLevelWindow(0x7FFFFFF3));
        QList<MForms::WindowHandle> found;
        QVERIFY(!MForms::FindWindows(found, QStringLiteral("no such window title 0x7FFFFFF3"), QString(), true));
        MForms::SetFormIcon(0x7FFFFFF3, QStringLiteral("IDI_A"), true);
        QCOMPARE(MForms::SendClose(0x7FFFFFF3), 0);
        QCOMPARE(MCursor::ShowMouseCursor(false), -1);
        QCOMPARE(MCursor::ShowMouseCursor(true), 0);
    }
};

QTEST_GUILESS_MAIN(TestMNoDisplay)
#include "tst_MNoDisplay.moc"
