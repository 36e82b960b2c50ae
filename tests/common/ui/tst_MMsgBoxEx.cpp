// Message boxes: captions on the buttons, the answers as the system numbers
// them, a title that widens the box, time-outs that close a box, and boxes
// inside boxes.
#include "MMsgBoxEx.h"

#include "MForms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

using namespace MMsgBoxEx;

namespace
{
// The visible message box of this program titled `title`; null when there
// is none.
QMessageBox* VisibleBox(const QString& title)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box != nullptr && box->isVisible() && box->objectName() == QLatin1String(BoxObjectName) &&
            box->windowTitle() == title)
            return box;
    }
    return nullptr;
}

QStringList ButtonTexts(QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* b : box->buttons())
        texts << b->text();
    std::sort(texts.begin(), texts.end());
    return texts;
}

// Runs the action on the message box titled `title` once that box is shown,
// for as long as the watch lives. It sees the box's own show event, so no
// other window - another box, whichever window is active, the windows of
// other programs on the display - is taken for it, and the action is queued
// before any time-out of the box can close it.
class OnBox : public QObject
{
public:
    OnBox(QString title, std::function<void(QMessageBox*)> action)
        : m_title(std::move(title)), m_action(std::move(action))
    {
        qApp->installEventFilter(this);
    }
    ~OnBox() override { qApp->removeEventFilter(this); }
    // Whether the action has run.
    bool Ran() const { return m_ran; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || m_seen)
            return false;
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box == nullptr || box->objectName() != QLatin1String(BoxObjectName) ||
            box->windowTitle() != m_title)
            return false;
        m_seen = true;
        // After the showing, from the box's own event loop.
        QTimer::singleShot(0, box, [this, box] {
            m_ran = true;
            m_action(box);
        });
        return false;
    }

private:
    QString m_title;
    std::function<void(QMessageBox*)> m_action;
    bool m_seen = false;
    bool m_ran = false;
};

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}
}

class TestMMsgBoxEx : public QObject
{
    Q_OBJECT

private slots:
    void answersAreTheSystemNumbers_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("expected");
        QTest::newRow("ok") << MbOk << "OK" << IdOk;
        QTest::newRow("ok-cancel cancel") << MbOkCancel << "Cancel" << IdCancel;
        QTest::newRow("abort-retry-ignore retry") << MbAbortRetryIgnore << "&Retry" << IdRetry;
        QTest::newRow("abort-retry-ignore ignore") << MbAbortRetryIgnore << "&Ignore" << IdIgnore;
        QTest::newRow("yes-no-cancel yes") << (MbYesNoCancel | MbIconQuestion) << "&Yes" << IdYes;
        QTest::newRow("yes-no no") << MbYesNo << "&No" << IdNo;
        QTest::newRow("retry-cancel retry") << MbRetryCancel << "&Retry" << IdRetry;
        QTest::newRow("cancel-try-continue") << MbCancelTryContinue << "&Continue" << IdContinue;
    }

    void answersAreTheSystemNumbers()
    {
        QFETCH(int, style);
        QFETCH(QString, press);
        QFETCH(int, expected);
        OnBox watch(QStringLiteral("Title"), [press](QMessageBox* box) {
            QAbstractButton* b = ButtonWithText(box, press);
            QVERIFY(b != nullptr);
            b->click();
        });
        QCOMPARE(MsgBoxEx(nullptr, QStringLiteral("Title"), QStringLiteral("Prompt"), style, QString(), 0), expected);
        QVERIFY(watch.Ran());
    }

    void aLongTitleWidensABoxWithAShortText()
    {
        const QString title = QStringLiteral("A title much longer than the box's short text would make it");
        int width = 0;
        OnBox watch(title, [&width](QMessageBox* box) {
            width = box->width();
            box->close();
        });
        MsgBoxEx(nullptr, title, QStringLiteral("Done."), MbOk | MbIconInformation, QString(), 0);
        QVERIFY(watch.Ran());
        QVERIFY2(width >= MForms::TitleBarWidth(title),
                 qPrintable(QStringLiteral("%1 < %2").arg(width).arg(MForms::TitleBarWidth(title))));
    }

    void captionsRenameTheirButtons()
    {
        QStringList seen;
        OnBox watch(QStringLiteral("Question"), [&](QMessageBox* box) {
            seen = ButtonTexts(box);
            ButtonWithText(box, QStringLiteral("Keep"))->click();
        });
        // Yes and Cancel renamed, No kept.
        const int answer = MsgBoxEx(nullptr, QStringLiteral("Question"), QStringLiteral("Really?"),
                                    MbYesNoCancel, QStringLiteral("IDI_A"), 0,
                                    QStringLiteral("Overwrite"), QString(), QStringLiteral("Keep"));
        QVERIFY(watch.Ran());  // the box carried its title
        QCOMPARE(answer, IdCancel);
        QCOMPARE(seen, (QStringList{QStringLiteral("&No"), QStringLiteral("Keep"), QStringLiteral("Overwrite")}));
    }

    void timeOutClosesTheBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("expected");
        QTest::newRow("ok") << MbOk << IdOk;
        QTest::newRow("ok-cancel") << MbOkCancel << IdCancel;
        QTest::newRow("yes-no-cancel") << MbYesNoCancel << IdCancel;
        QTest::newRow("retry-cancel") << MbRetryCancel << IdCancel;
    }

    void timeOutClosesTheBox()
    {
        QFETCH(int, style);
        QFETCH(int, expected);
        QCOMPARE(MsgBoxEx(nullptr, QStringLiteral("Report"), QStringLiteral("Written."), style, QString(), 200), expected);
    }

    void yesNoAndAbortRetryIgnoreIgnoreTheTimeOut_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("expected");
        QTest::newRow("yes-no") << MbYesNo << "&Yes" << IdYes;
        QTest::newRow("abort-retry-ignore") << MbAbortRetryIgnore << "&Abort" << IdAbort;
    }

    void yesNoAndAbortRetryIgnoreIgnoreTheTimeOut()
    {
        QFETCH(int, style);
        QFETCH(QString, press);
        QFETCH(int, expected);
        bool stillOpen = false;
        OnBox watch(QStringLiteral("Ask"), [&](QMessageBox* box) {
            QPointer<QMessageBox> guard(box);
            // Well past the time-out the box waits for its answer; a close
            // request (Escape) does not end it either.
            QTimer::singleShot(400, box, [&, guard] {
                QTest::keyClick(guard.data(), Qt::Key_Escape);
                QTimer::singleShot(50, guard.data(), [&, guard] {
                    stillOpen = guard && guard->isVisible();
                    ButtonWithText(guard.data(), press)->click();
                });
            });
        });
        QCOMPARE(MsgBoxEx(nullptr, QStringLiteral("Ask"), QStringLiteral("Go on?"), style, QString(), 100), expected);
        QVERIFY(watch.Ran());
        QVERIFY(stillOpen);
    }

    void boxesInsideBoxesKeepTheirOwnTimeOut()
    {
        // The outer box times out first while the inner one is open; the
        // inner one must stay until its own time-out, and the outer one must
        // still be closed by its own.
        int inner = -1;
        bool innerOpenAfterOuterTimeOut = false;
        QObject scope;
        OnBox watch(QStringLiteral("Outer"), [&](QMessageBox*) {
            QTimer::singleShot(600, &scope, [&] {
                innerOpenAfterOuterTimeOut =
                    VisibleBox(QStringLiteral("Inner")) != nullptr && VisibleBox(QStringLiteral("Outer")) == nullptr;
            });
            inner = MsgBoxEx(nullptr, QStringLiteral("Inner"), QStringLiteral("Inner box"), MbOkCancel,
                             QString(), 1200);
        });
        const int outer = MsgBoxEx(nullptr, QStringLiteral("Outer"), QStringLiteral("Outer box"), MbOk,
                                   QString(), 300);
        QVERIFY(watch.Ran());
        QCOMPARE(outer, IdOk);
        QCOMPARE(inner, IdCancel);
        QVERIFY(innerOpenAfterOuterTimeOut);
    }

    void noTimeOutWithZero()
    {
        bool openLater = false;
        OnBox watch(QStringLiteral("T"), [&](QMessageBox* box) {
            QPointer<QMessageBox> guard(box);
            QTimer::singleShot(300, box, [&, guard] {
                openLater = guard && guard->isVisible();
                ButtonWithText(guard.data(), QStringLiteral("OK"))->click();
            });
        });
        QCOMPARE(MsgBoxEx(nullptr, QStringLiteral("T"), QStringLiteral("P"), MbOk, QString(), 0), IdOk);
        QVERIFY(watch.Ran());
        QVERIFY(openLater);
    }
};

QTEST_MAIN(TestMMsgBoxEx)
#include "tst_MMsgBoxEx.moc"
