// The option strip in a real window: its pictures, clicks and index checks.
#include "RuvError.h"
#include "UC3DCurveOption.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <functional>

namespace {

// The picture a cell shows, told by its middle pixel (white box, blue dot
// or black pupil).
QString Shown(UC3DCurveOption& strip, int index)
{
    const QImage image = strip.grab().toImage();
    const int n = strip.OptionCount();
    const int left = index * strip.width() / n;
    const int right = (index + 1) * strip.width() / n;
    const QColor middle = image.pixelColor((left + right) / 2, strip.height() / 2);
    QString best;
    int bestDistance = 1 << 30;
    for (const char* key : {"unchecked", "round", "eye"}) {
        const QImage picture(QStringLiteral(":/ruvadir/pictures/%1.png").arg(QLatin1String(key)));
        const QColor c = picture.pixelColor(7, 7);
        const int d = std::abs(c.red() - middle.red()) + std::abs(c.green() - middle.green()) +
                      std::abs(c.blue() - middle.blue());
        if (d < bestDistance) {
            bestDistance = d;
            best = QLatin1String(key);
        }
    }
    return best;
}

QStringList ShownAll(UC3DCurveOption& strip)
{
    QStringList out;
    for (int i = 0; i < strip.OptionCount(); ++i)
        out << Shown(strip, i);
    return out;
}

QPoint CellMiddle(const UC3DCurveOption& strip, int index)
{
    const int n = strip.OptionCount();
    return {(2 * index + 1) * strip.width() / (2 * n), strip.height() / 2};
}

void ExpectInvalidIndex(const std::function<void()>& call)
{
    try {
        call();
        QFAIL("no error raised");
    } catch (const RuvError& e) {
        QCOMPARE(e.number(), static_cast<int32_t>(0x80040001u));
        QCOMPARE(e.description(), QStringLiteral("Invalid index"));
        QCOMPARE(e.source(), QStringLiteral("UC3DCurveOption"));
    }
}

} // namespace

class TestUC3DCurveOption : public QObject
{
    Q_OBJECT

    UC3DCurveOption* m_strip = nullptr;

private slots:
    void init()
    {
        m_strip = new UC3DCurveOption;
        m_strip->resize(4 * UC3DCurveOption::PictureSize, UC3DCurveOption::PictureSize);
        m_strip->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_strip));
    }
    void cleanup() { delete m_strip; }

    void picturesAreInTheResources()
    {
        for (const char* key : {"unchecked", "round", "eye"}) {
            const QImage picture(QStringLiteral(":/ruvadir/pictures/%1.png").arg(QLatin1String(key)));
            QCOMPARE(picture.size(), QSize(14, 14));
        }
    }

    void aNewStripIsUncheckedAndIgnoresClicks()
    {
        QSignalSpy spy(m_strip, &UC3DCurveOption::CheckedChanged);
        QCOMPARE(m_strip->OptionCount(), 4);
        QCOMPARE(ShownAll(*m_strip), QStringList({"unchecked", "unchecked", "unchecked", "unchecked"}));
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 2));
        QCOMPARE(spy.count(), 0);
        QVERIFY(!m_strip->IsChecked(2));
        // Once enabled, the same click works.
        m_strip->SetEnabledStates({true, true, true, true});
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 2));
        QCOMPARE(spy.count(), 1);
    }

    void checkedStatesAndTheirPictures()
    {
        m_strip->SetCheckedStates({true});
        QCOMPARE(ShownAll(*m_strip), QStringList({"eye", "unchecked", "unchecked", "unchecked"}));
        // Empty entries leave their option as it is.
        m_strip->SetCheckedStates({std::nullopt, true, std::nullopt, std::nullopt});
        QCOMPARE(ShownAll(*m_strip), QStringList({"eye", "round", "unchecked", "unchecked"}));
        m_strip->SetIsChecked(3, true);
        m_strip->SetIsChecked(0, false);
        QCOMPARE(ShownAll(*m_strip), QStringList({"unchecked", "round", "unchecked", "round"}));
        QVERIFY(m_strip->IsChecked(1));
        QVERIFY(!m_strip->IsChecked(2));
    }

    void indexesOutsideTheOptionsRaise()
    {
        ExpectInvalidIndex([&] { m_strip->IsChecked(4); });
        ExpectInvalidIndex([&] { m_strip->IsChecked(-1); });
        ExpectInvalidIndex([&] { m_strip->SetIsChecked(4, true); });
        // The checked states are set up to the bad entry, then it raises.
        ExpectInvalidIndex([&] { m_strip->SetCheckedStates({true, true, true, true, true, true}); });
        for (int i = 0; i < 4; ++i)
            QVERIFY(m_strip->IsChecked(i));
        // Enabled states and tooltips change nothing when the list is too
        // long.
        ExpectInvalidIndex([&] { m_strip->SetEnabledStates({true, true, true, true, true}); });
        ExpectInvalidIndex([&] { m_strip->SetTooltips({"a", "b", "c", "d", "e"}); });
        QSignalSpy spy(m_strip, &UC3DCurveOption::CheckedChanged);
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 0));
        QCOMPARE(spy.count(), 0);
    }

    void aClickFlipsAnEnabledOption()
    {
        m_strip->SetEnabledStates({true, false, true});
        QSignalSpy spy(m_strip, &UC3DCurveOption::CheckedChanged);
        QStringList shownInEvent;
        connect(m_strip, &UC3DCurveOption::CheckedChanged, this,
                [&](int32_t index) { shownInEvent << Shown(*m_strip, index); });
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 2));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QVERIFY(m_strip->IsChecked(2));
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 2));
        QCOMPARE(spy.count(), 2);
        QVERIFY(!m_strip->IsChecked(2));
        // The picture already showed the new state inside the event.
        QCOMPARE(shownInEvent, QStringList({"round", "unchecked"}));

        // A disabled option looks the same and ignores the click; a press
        // on one option released on another is no click.
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 1));
        QTest::mousePress(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 0));
        QTest::mouseRelease(m_strip, Qt::LeftButton, {}, CellMiddle(*m_strip, 2));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(ShownAll(*m_strip), QStringList({"unchecked", "unchecked", "unchecked", "unchecked"}));
    }

    void cellsSpanTheWholeStrip()
    {
        // The size the curve list gives its strips.
        m_strip->resize(61, 16);
        m_strip->SetEnabledStates({true, true, true, true});
        QSignalSpy spy(m_strip, &UC3DCurveOption::CheckedChanged);
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, QPoint(60, 15));
        // (0, 0) would be taken for "the middle" by QTest.
        QTest::mouseClick(m_strip, Qt::LeftButton, {}, QPoint(0, 1));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
        QCOMPARE(spy.at(1).at(0).toInt(), 0);
        QCOMPARE(ShownAll(*m_strip), QStringList({"eye", "unchecked", "unchecked", "round"}));
    }

    void eachCellHasItsTooltip()
    {
        m_strip->SetTooltips({"path", "arrows", "times"});
        QHelpEvent help(QEvent::ToolTip, CellMiddle(*m_strip, 1), m_strip->mapToGlobal(CellMiddle(*m_strip, 1)));
        QApplication::sendEvent(m_strip, &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("arrows"));
        QHelpEvent none(QEvent::ToolTip, CellMiddle(*m_strip, 3), m_strip->mapToGlobal(CellMiddle(*m_strip, 3)));
        QApplication::sendEvent(m_strip, &none);
        QTRY_VERIFY(!QToolTip::isVisible());
    }
};

QTEST_MAIN(TestUC3DCurveOption)
#include "tst_UC3DCurveOption.moc"
