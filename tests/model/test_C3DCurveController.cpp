// The curve controller: its list of curves, names, brackets and events, and
// all curves as one element.
#include "test_CurveFixtures.h"

#include "MXml.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

using curvefixture::Difference;
using curvefixture::FillRich;
using Events = std::vector<std::string>;

namespace {

// Records the controller's events as texts; a curve event names the index
// of its curve ("CurveChanged@1"), or "@none" for no curve.
class ControllerLog : public I3DCurveControllerEvents
{
public:
    explicit ControllerLog(C3DCurveController& c) : m_c(c) { m_c.AddListener(this); }
    ~ControllerLog() override { m_c.RemoveListener(this); }

    Events events;
    Events Take()
    {
        Events out;
        out.swap(events);
        return out;
    }

    void CurveCountChanged() override { events.push_back("CurveCount"); }
    void StepCountChanged(C3DCurve& c, int32_t) override { Add("StepCount", &c); }
    void StepRateChanged(C3DCurve* c) override { Add("StepRate", c); }
    void DurationChanged(C3DCurve& c) override { Add("Duration", &c); }
    void ControlsCountChanged(C3DCurve& c) override { Add("ControlsCount", &c); }
    void CurvesChanged() override { events.push_back("CurvesChanged"); }
    void CurveChanged(C3DCurve& c) override { Add("CurveChanged", &c); }
    void CurvesQuickRefreshStopped() override { events.push_back("CurvesQuickRefreshStopped"); }
    void QuickRefreshStopped(C3DCurve& c) override { Add("QuickRefreshStopped", &c); }

private:
    void Add(const char* name, C3DCurve* c)
    {
        events.push_back(std::string(name) + "@" +
                         (c ? std::to_string(m_c.GetCurveIndex(c)) : std::string("none")));
    }
    C3DCurveController& m_c;
};

bool Contains(const Events& e, const std::string& s)
{
    return std::find(e.begin(), e.end(), s) != e.end();
}

// Makes curve `curve` raise all six of its events.
void RaiseAllSix(C3DCurve& curve)
{
    curve.AddControl3(0, 0, 0, 0, 0, 0, false);  // ControlsCount, Duration
    curve.AddControl3(100, 0, 0, 0, 0, 0, false);
    curve.SetStepRate(30);                       // StepRate, StepCount
    curve.SetStepRate(60);
    curve.BeginChange();
    curve.SetX(1, 3.0f);
    curve.EndChange();                        // CurveChanged
    curve.QuickRefreshStart(false);
    curve.QuickRefreshStop();                 // QuickRefreshStopped
}

QByteArray Write(const C3DCurveController& c)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Project");
    c.Serialize(doc, root);
    return MXml::XmlSaveDocument(doc);
}

bool Read(C3DCurveController& c, const QByteArray& xml, QString* error = nullptr)
{
    pugi::xml_document doc;
    if (!MXml::XmlLoadDocument(doc, xml)) {
        ADD_FAILURE() << "not XML";
        return false;
    }
    return c.Deserialize(doc.document_element(), error);
}

void ExpectControllerError(const RuvError& e, const QString& description, const QString& source)
{
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040001u));
    EXPECT_EQ(e.description(), description);
    EXPECT_EQ(e.source(), source);
}

} // namespace

// ---- List, names, game type ----------------------------------------------------------

TEST(CurveController, HoldsTwentyCurvesAtMost)
{
    C3DCurveController c;
    for (int i = 0; i < 20; ++i)
        c.Add(QStringLiteral("c%1").arg(i));
    EXPECT_FALSE(c.CanAddCurve());
    EXPECT_EQ(C3DCurveController::MaxCurveCount(), 20);
    ControllerLog log(c);
    try {
        c.Add(QStringLiteral("more"));
        ADD_FAILURE() << "no error";
    } catch (const RuvError& e) {
        ExpectControllerError(e, QStringLiteral("No more curve slot available. Cannot add a new curve"),
                              QStringLiteral("C3DCurveController.Add"));
    }
    EXPECT_EQ(c.CurveCount(), 20);
    EXPECT_TRUE(log.events.empty());
    // All twenty still forward their events.
    for (int i = 0; i < 20; ++i) {
        c.Curves(i).QuickRefreshStart(false);
        c.Curves(i).QuickRefreshStop();
    }
    EXPECT_EQ(log.Take().size(), 20u);
}

TEST(CurveController, NamesAreMadeUniqueWithoutRegardToCase)
{
    C3DCurveController c;
    EXPECT_EQ(c.Add(QString()).Name(), QStringLiteral("NoName"));
    EXPECT_EQ(c.Add(QString()).Name(), QStringLiteral("NoName1"));
    c.Add(QStringLiteral("path"));
    std::vector<QString> names;
    for (int i = 0; i < 10; ++i)
        names.push_back(c.Add(QStringLiteral("Path")).Name());
    EXPECT_EQ(names[0], QStringLiteral("Path1"));
    EXPECT_EQ(names[1], QStringLiteral("Path2"));
    EXPECT_EQ(names[9], QStringLiteral("PathA"));

    C3DCurve* found = nullptr;
    EXPECT_TRUE(c.FindCurveByName(QStringLiteral("path"), found));
    EXPECT_EQ(c.GetCurveIndex(found), 2);
    EXPECT_FALSE(c.FindCurveByName(QStringLiteral("PATH"), found));
    EXPECT_EQ(found, nullptr);

    // A curve is not compared with itself.
    c.SetCurveName(2, QStringLiteral("PATH"));
    EXPECT_EQ(c.Curves(2).Name(), QStringLiteral("PATH"));
    // Renaming into another curve's name gets a suffix.
    c.SetCurveName(0, QStringLiteral("pAth1"));
    EXPECT_EQ(c.Curves(0).Name(), QStringLiteral("pAth11"));
}

TEST(CurveController, NewCurvesTakeTheGameTypeAndOnlyTheFirstShowsItsHelpers)
{
    C3DCurveController c;
    c.SetGameType(3);
    C3DCurve& first = c.Add(QStringLiteral("a"));
    C3DCurve& second = c.Add(QStringLiteral("b"));
    EXPECT_EQ(first.GameType(), 3);
    EXPECT_EQ(second.GameType(), 3);
    EXPECT_TRUE(first.ShowArrow() && first.ShowTangent());
    EXPECT_FALSE(second.ShowArrow() || second.ShowTimes() || second.ShowTangent());
    c.SetGameType(4);
    EXPECT_EQ(first.GameType(), 4);
    EXPECT_EQ(second.GameType(), 4);
}

TEST(CurveController, InvalidIndicesRaiseTheIndexErrorBeforeAnyChange)
{
    C3DCurveController c;
    c.Add(QStringLiteral("a"));
    for (int32_t index : {-1, 1}) {
        try {
            c.Remove(index);
            ADD_FAILURE() << "no error";
        } catch (const RuvError& e) {
            ExpectControllerError(e, QStringLiteral("Invalid index : %1").arg(index),
                                  QStringLiteral("C3DCurveController.Curves"));
        }
        EXPECT_THROW(c.SetCurveName(index, QStringLiteral("x")), RuvError);
        EXPECT_THROW(c.Curves(index), RuvError);
        EXPECT_EQ(c.CurveControlCount(index), 0);
    }
    EXPECT_EQ(c.CurveCount(), 1);
    EXPECT_EQ(c.Curves(0).Name(), QStringLiteral("a"));
}

TEST(CurveController, RemovingClosesUpTheListAndFreedSlotsForwardAgain)
{
    C3DCurveController c;
    c.Add(QStringLiteral("a"));
    c.Add(QStringLiteral("b"));
    c.Add(QStringLiteral("c"));
    C3DCurve* removed = &c.Curves(0);
    ControllerLog log(c);
    c.Remove(0);
    EXPECT_EQ(log.Take(), (Events{"CurveCount"}));
    EXPECT_EQ(c.GetCurveIndex(removed), -1);
    C3DCurve& added = c.Add(QStringLiteral("d"));
    EXPECT_EQ(c.GetCurveIndex(&added), 2);
    EXPECT_EQ(c.Curves(0).Name(), QStringLiteral("b"));
    log.Take();
    for (int i = 0; i < 3; ++i) {
        c.Curves(i).QuickRefreshStart(false);
        c.Curves(i).QuickRefreshStop();
    }
    EXPECT_EQ(log.Take(), (Events{"QuickRefreshStopped@0", "QuickRefreshStopped@1", "QuickRefreshStopped@2"}));
}

// ---- Events ------------------------------------------------------------------------------

TEST(CurveControllerEvents, TheSixCurveEventsComeWithTheirCurve)
{
    C3DCurveController c;
    c.Add(QStringLiteral("a"));
    c.Add(QStringLiteral("b"));
    ControllerLog log(c);
    RaiseAllSix(c.Curves(1));
    const Events e = log.Take();
    for (const char* name : {"StepCount@1", "StepRate@1", "Duration@1", "ControlsCount@1", "CurveChanged@1",
                             "QuickRefreshStopped@1"})
        EXPECT_TRUE(Contains(e, name)) << name;
    for (const std::string& s : e)
        EXPECT_EQ(s.substr(s.size() - 2), "@1") << s;
}

TEST(CurveControllerEvents, LoadingHoldsBackFiveAndTheDepthNeverGoesBelowZero)
{
    C3DCurveController c;
    c.Add(QStringLiteral("a"));
    ControllerLog log(c);
    c.EndLoad();  // unmatched: must not leave a debt
    c.EndLoad();
    c.BeginLoad();
    EXPECT_TRUE(c.IsLoading());
    RaiseAllSix(c.Curves(0));
    c.Clear();
    EXPECT_EQ(log.Take(), (Events{"QuickRefreshStopped@0", "CurveCount"}));
    c.EndLoad();
    EXPECT_FALSE(c.IsLoading());
    EXPECT_TRUE(log.events.empty());  // nothing was queued
    c.Add(QStringLiteral("b"));
    log.Take();
    c.Curves(0).BeginChange();
    c.Curves(0).AddControl3(0, 0, 0, 0, 0, 0, false);
    c.Curves(0).EndChange();
    EXPECT_TRUE(Contains(log.Take(), "CurveChanged@0"));
}

TEST(CurveControllerEvents, OwnBracketsRaiseTheirEventOnceAfterTheCurves)
{
    C3DCurveController c;
    c.Add(QStringLiteral("a"));
    c.Add(QStringLiteral("b"));
    ControllerLog log(c);
    c.EndCurvesChange();
    c.EndCurvesQuickRefresh();
    EXPECT_TRUE(log.events.empty());

    c.BeginCurvesChange();
    EXPECT_TRUE(c.CurvesChanging());
    c.Curves(0).AddControl3(0, 0, 0, 0, 0, 0, false);
    C3DCurve& late = c.Add(QStringLiteral("late"));
    EXPECT_TRUE(late.CurveChanging());
    log.Take();
    c.EndCurvesChange();
    Events e = log.Take();
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e.back(), "CurvesChanged");
    EXPECT_EQ(std::count(e.begin(), e.end(), "CurvesChanged"), 1);
    EXPECT_FALSE(late.CurveChanging());

    c.BeginCurvesQuickRefresh(true);
    c.Add(QStringLiteral("later"));  // not put into quick refresh
    log.Take();
    c.EndCurvesQuickRefresh();
    EXPECT_EQ(log.Take(), (Events{"QuickRefreshStopped@0", "QuickRefreshStopped@1", "QuickRefreshStopped@2",
                                  "CurvesQuickRefreshStopped"}));
}

TEST(CurveControllerEvents, TheCountBracketRaisesOnlyWhenTheCountDiffers)
{
    C3DCurveController c;
    ControllerLog log(c);
    c.Clear();
    EXPECT_EQ(log.Take(), (Events{"CurveCount"}));  // also without curves
    c.Add(QStringLiteral("a"));
    c.Add(QStringLiteral("b"));
    log.Take();
    c.BeginCurveCountChange();
    c.Clear();
    c.Add(QStringLiteral("c"));
    c.Add(QStringLiteral("d"));
    c.EndCurveCountChange();
    EXPECT_TRUE(log.events.empty());
    c.BeginCurveCountChange();
    c.Add(QStringLiteral("e"));
    c.EndCurveCountChange();
    c.EndCurveCountChange();
    EXPECT_EQ(log.Take(), (Events{"CurveCount"}));
}

TEST(CurveControllerEvents, SetFramerateRaisesOneStepRateWithoutCurve)
{
    C3DCurveController c;
    EXPECT_TRUE(c.IsFramerateValid(1000));
    EXPECT_FALSE(c.IsFramerateValid(0));
    EXPECT_EQ(c.MaxFramerate(), 0);
    c.Add(QStringLiteral("a"));
    c.Add(QStringLiteral("b"));
    ControllerLog log(c);
    EXPECT_TRUE(c.SetFramerate(25));
    Events e = log.Take();
    EXPECT_EQ(std::count_if(e.begin(), e.end(), [](const std::string& s) { return s.rfind("StepRate", 0) == 0; }),
              1);
    EXPECT_TRUE(Contains(e, "StepRate@none"));
    EXPECT_EQ(c.Curves(0).StepRate(), 25);
    EXPECT_EQ(c.Curves(1).StepRate(), 25);
    EXPECT_TRUE(c.SetFramerate(25));  // unchanged rates: still the one event
    EXPECT_EQ(log.Take(), (Events{"StepRate@none"}));
}

// ---- Copies ---------------------------------------------------------------------------------

TEST(CurveControllerLoad, CopiesEverythingAndTheCopySharesNothing)
{
    C3DCurveController source;
    FillRich(source, 2, 3, 30);
    ControllerLog sourceLog(source);
    std::unique_ptr<C3DCurveController> clone = source.Clone();
    EXPECT_EQ(Difference(source, *clone).toStdString(), "");
    EXPECT_EQ(clone->Curves(1).Name(), QStringLiteral("Path_1"));

    clone->Curves(0).SetX(1, 12345.0f);
    clone->Curves(0).AddControl3(1, 2, 3, 0, 0, 0, false);
    clone->SetCurveName(1, QStringLiteral("Other"));
    clone->SetGameType(1);
    EXPECT_NE(source.Curves(0).GetX(1), 12345.0f);
    EXPECT_EQ(source.Curves(0).ControlsCount(), 30);
    EXPECT_EQ(source.Curves(1).Name(), QStringLiteral("Path_1"));
    EXPECT_EQ(source.Curves(0).GameType(), 2);
    EXPECT_TRUE(sourceLog.events.empty());  // the clone has its own listeners (none)

    C3DCurveController target;
    target.Add(QStringLiteral("x"));
    ControllerLog targetLog(target);
    target.BeginCurveCountChange();
    target.Load(source);
    EXPECT_FALSE(target.CurveCountChanging());  // Load closes the caller's bracket
    EXPECT_EQ(targetLog.Take(), (Events{"CurveCount"}));
    EXPECT_EQ(Difference(source, target).toStdString(), "");
    EXPECT_FALSE(target.IsLoading());
    target.Load(target);  // loading itself changes nothing
    EXPECT_EQ(Difference(source, target).toStdString(), "");
}

// Replacing and clearing thousands of controls leaves nothing of them.
TEST(CurveControllerLoad, LargeSetsAreDroppedWhole)
{
    C3DCurveController full;
    FillRich(full, 1, C3DCurveController::MAX_CURVE, C3DCurve::MAX_CONTROL);
    C3DCurveController small;
    FillRich(small, 1, 2, 3);
    C3DCurveController c;
    ControllerLog log(c);
    for (int round = 0; round < 3; ++round) {
        c.Load(full);
        c.Load(small);
        EXPECT_EQ(Difference(small, c).toStdString(), "");
        c.Load(full);
        c.Clear();
        EXPECT_EQ(c.CurveCount(), 0);
        EXPECT_EQ(log.Take(), (Events{"CurveCount", "CurveCount", "CurveCount", "CurveCount"}));
        const C3DCurve& added = c.Add(QStringLiteral("next"));
        EXPECT_EQ(&added, &c.Curves(0));
        log.Take();
    }
}

TEST(CurveControllerLoad, TakingTheCurvesGivesWhatACopyGives)
{
    C3DCurveController source;
    FillRich(source, 3, 4, 40);
    source.Curves(2).SetStepRate(50);

    C3DCurveController copied;
    copied.Add(QStringLiteral("old"));
    copied.Load(source);

    std::unique_ptr<C3DCurveController> given = source.Clone();
    C3DCurveController taken;
    taken.Add(QStringLiteral("old"));
    ControllerLog log(taken);
    taken.BeginCurveCountChange();
    taken.Load(std::move(*given));
    EXPECT_FALSE(taken.CurveCountChanging());
    EXPECT_FALSE(taken.IsLoading());
    EXPECT_EQ(log.Take(), (Events{"CurveCount"}));
    EXPECT_EQ(Difference(copied, taken).toStdString(), "");
    for (int32_t k = 0; k < taken.CurveCount(); ++k) {
        EXPECT_EQ(taken.Curves(k).StepRate(), copied.Curves(k).StepRate()) << k;
        EXPECT_EQ(taken.Curves(k).StepCount(), copied.Curves(k).StepCount()) << k;
        EXPECT_EQ(taken.Curves(k).Duration(), copied.Curves(k).Duration()) << k;
    }
    EXPECT_EQ(given->CurveCount(), 0);

    // The taken curves now report to their new controller only.
    ControllerLog givenLog(*given);
    taken.Curves(3).QuickRefreshStart(false);
    taken.Curves(3).QuickRefreshStop();
    EXPECT_EQ(log.Take(), (Events{"QuickRefreshStopped@3"}));
    EXPECT_TRUE(givenLog.events.empty());
    given->Add(QStringLiteral("fresh"));  // the emptied source goes on working
    EXPECT_EQ(given->CurveCount(), 1);
}

// ---- All curves as one element -----------------------------------------------------------------

TEST(CurveControllerXml, TwentyFullCurvesRoundTripForEveryGameType)
{
    for (int32_t gameType = 0; gameType <= 4; ++gameType) {
        C3DCurveController c;
        FillRich(c, gameType, 20, C3DCurve::MAX_CONTROL);
        const QByteArray first = Write(c);
        EXPECT_EQ(Write(c), first);

        C3DCurveController back;
        back.SetGameType(gameType);
        QString error;
        ASSERT_TRUE(Read(back, first, &error)) << error.toStdString();
        EXPECT_EQ(Difference(c, back).toStdString(), "") << "game type " << gameType;
        EXPECT_EQ(Write(back), first);
        for (int32_t k = 0; k < back.CurveCount(); ++k)
            EXPECT_EQ(back.Curves(k).GameType(), gameType);
    }
}

TEST(CurveControllerXml, EmptyControllersAndEmptyCurvesElements)
{
    C3DCurveController empty;
    EXPECT_NE(Write(empty).indexOf("<Curves />"), -1) << Write(empty).constData();

    C3DCurveController c;
    ControllerLog log(c);
    ASSERT_TRUE(Read(c, "<Project><Curves/></Project>"));
    EXPECT_TRUE(log.events.empty());  // no curves before, none after
    c.Add(QStringLiteral("a"));
    log.Take();
    ASSERT_TRUE(Read(c, "<Project><Curves/></Project>"));
    EXPECT_EQ(c.CurveCount(), 0);
    EXPECT_EQ(log.Take(), (Events{"CurveCount"}));
}

TEST(CurveControllerXml, NamesFromTheFileAreKeptAndTheCallersCountBracketStaysOpen)
{
    C3DCurveController c;
    c.Add(QStringLiteral("old"));
    ControllerLog log(c);
    c.BeginCurveCountChange();
    ASSERT_TRUE(Read(c, "<Project><Curves><Curve name=\"Same\"/><Curve name=\"same\"/></Curves></Project>"));
    EXPECT_TRUE(c.CurveCountChanging());
    EXPECT_TRUE(log.events.empty());
    c.EndCurveCountChange();
    EXPECT_EQ(log.Take(), (Events{"CurveCount"}));
    ASSERT_EQ(c.CurveCount(), 2);
    EXPECT_EQ(c.Curves(0).Name(), QStringLiteral("Same"));
    EXPECT_EQ(c.Curves(1).Name(), QStringLiteral("same"));
    // The read curves are wired: their events reach the listener.
    c.Curves(1).QuickRefreshStart(false);
    c.Curves(1).QuickRefreshStop();
    EXPECT_EQ(log.Take(), (Events{"QuickRefreshStopped@1"}));
}

TEST(CurveControllerXml, DamagedCurvesAreRefusedAndLeaveTheControllerAsItWas)
{
    auto good = [](int n) {
        QByteArray xml;
        for (int i = 0; i < n; ++i)
            xml += "<Curve name=\"c" + QByteArray::number(i) + "\"><Controls><Control value=\"1;2;3\"/></Controls></Curve>";
        return xml;
    };
    auto curves = [&](int n, const QByteArray& extra) {
        return "<Project><Curves>" + good(n) + extra + "</Curves></Project>";
    };
    QByteArray tooManyControls = "<Curve><Controls>";
    for (int i = 0; i < 300; ++i)
        tooManyControls += "<Control value=\"1;2;3\"/>";
    tooManyControls += "</Controls></Curve>";
    struct Case {
        const char* what;
        QByteArray xml;
        const char* inMessage;
    };
    const std::vector<Case> cases = {
        {"21 curves", curves(21, ""), "21 curves"},
        {"25 curves", curves(25, ""), "25 curves"},
        {"300 controls", curves(3, tooManyControls), "at most 250"},
        {"non-numeric", curves(2, "<Curve name=\"bad\"><Controls><Control value=\"1;zwei\"/></Controls></Curve>"),
         "Curve \"bad\", control 1: field 2"},
        {"out of range", curves(1, "<Curve><Controls><Control value=\"1e400\"/></Controls></Curve>"),
         "out of range"},
        // The first damaged curve in the file is the one reported.
        {"two damaged", curves(2, "<Curve name=\"first\"><Controls><Control value=\"x\"/></Controls></Curve>" +
                                      good(6) +
                                      "<Curve name=\"second\"><Controls><Control value=\"1e400\"/></Controls></Curve>"),
         "Curve \"first\", control 1: field 1"},
        {"a wiggle period a setter refuses",
         curves(4, "<Curve name=\"wiggle\"><Controls><Control value=\"0;0;0;0;0;0;90;1;0;1;3e9\"/></Controls></Curve>"),
         "Curve \"wiggle\": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        C3DCurveController ctl;
        FillRich(ctl, 1, 3, 5);
        const std::unique_ptr<C3DCurveController> before = ctl.Clone();
        ControllerLog log(ctl);
        QString error;
        EXPECT_FALSE(Read(ctl, c.xml, &error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.inMessage))) << error.toStdString();
        EXPECT_EQ(Difference(*before, ctl).toStdString(), "");
        EXPECT_TRUE(log.events.empty());
        EXPECT_FALSE(ctl.CurveCountChanging());
        // The controller goes on as before.
        ctl.Add(QStringLiteral("next"));
        EXPECT_EQ(log.Take(), (Events{"CurveCount"}));
    }
}

TEST(CurveControllerXml, TheGameTypeIsSetBeforeTheCurvesAreRead)
{
    // Game 0 snaps timescales to steps of 0.05; the others keep them.
    const QByteArray xml =
        "<Project><Curves><Curve><Controls><Control value=\"0;0;0;0;0;0;90;0.513\"/></Controls></Curve>"
        "</Curves></Project>";
    C3DCurveController c;
    c.SetGameType(2);
    ASSERT_TRUE(Read(c, xml));
    EXPECT_EQ(c.Curves(0).GetTimescale(1), 0.513f);
    EXPECT_EQ(c.Curves(0).GameType(), 2);
}
