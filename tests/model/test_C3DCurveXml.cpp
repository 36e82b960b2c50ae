// The stored forms of a curve: its XML element and the raw control line.
#include "test_CurveFixtures.h"

#include "MCommon.h"
#include "MXml.h"
#include "test_LocaleScope.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using T = C3DCurveTestAccess;
using curvefixture::Difference;
using curvefixture::FillRich;
using modeltest::LocaleScope;

namespace {

QByteArray Write(const C3DCurve& curve)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Root");
    curve.Serialize(doc, root, QStringLiteral("Curve"));
    return MXml::XmlSaveDocument(doc);
}

// Parses `xml` and reads its first Curve element into `curve`.
bool Read(C3DCurve& curve, const QByteArray& xml, QString* error = nullptr)
{
    pugi::xml_document doc;
    QString parseError;
    if (!MXml::XmlLoadDocument(doc, xml, &parseError)) {
        ADD_FAILURE() << "not XML: " << parseError.toStdString();
        return false;
    }
    return curve.Deserialize(doc.document_element().child("Curve"), error);
}

QByteArray CurveXml(const QByteArray& attributes, const QByteArray& controls)
{
    return "<Root><Curve " + attributes + "><Controls>" + controls + "</Controls></Curve></Root>";
}

QByteArray ControlXml(const QByteArray& value)
{
    return "<Control value=\"" + value + "\" command=\"\"/>";
}

} // namespace

// ---- Writing ---------------------------------------------------------------------

TEST(CurveXmlWrite, LaysOutAttributesInOrderAndTheValueListField16Empty)
{
    C3DCurve curve;
    curve.SetName(QStringLiteral("Path"));
    T::SetCount(curve, 1);
    T::Rec(curve, 1) = NewControlRecord();
    curve.SetX(1, 1.5f);
    curve.SetY(1, -2.0f);
    const QByteArray xml = Write(curve);
    EXPECT_NE(xml.indexOf("<Curve name=\"Path\" visible=\"True\" enabled=\"True\" show_arrow=\"True\" "
                          "show_times=\"False\" show_tangent=\"True\" start_time=\"0\">"),
              -1)
        << xml.constData();
    EXPECT_NE(xml.indexOf("<Control value=\"1.5;-2;0;0;0;0;90;1;0;0;0;0;0;0;0;;0;0;0;0;0;0;0;0;\" "
                          "command=\"\" />"),
              -1)
        << xml.constData();
}

TEST(CurveXmlWrite, ACurveWithoutControlsHasAnEmptyControlsElement)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Root");
    C3DCurve().Serialize(doc, root, QStringLiteral("Curve"));
    const pugi::xml_node controls = root.child("Curve").child("Controls");
    ASSERT_TRUE(controls);
    EXPECT_FALSE(controls.first_child());
}

TEST(CurveXmlWrite, FloatsGetTheShortestTextThatReadsBackToTheSameFloat)
{
    // 7 significant digits do not give these floats back.
    const std::vector<float> floats = {0.1f, std::nextafter(0.1f, 1.0f), 16777216.0f,
                                       std::nextafter(16777216.0f, 1e30f), 1e-5f, -3.4028235e38f,
                                       1.17549435e-38f, 123456.789f, 90.0f};
    for (const float f : floats) {
        C3DCurve curve;
        T::SetCount(curve, 1);
        T::Rec(curve, 1) = NewControlRecord();
        curve.SetX(1, f);
        C3DCurve back;
        ASSERT_TRUE(Read(back, Write(curve)));
        EXPECT_EQ(back.GetX(1), f) << f;
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("Root");
        curve.Serialize(doc, root, QStringLiteral("Curve"));
        const std::string value = root.child("Curve").child("Controls").child("Control").attribute("value").value();
        EXPECT_EQ(value.substr(0, value.find(';')), MCommon::FormatSingleRoundTrip(f).toStdString());
    }
}

TEST(CurveXmlWrite, NumberTextIsTheNearestDecimalOfTheFewestDigitsThatReadsBack)
{
    // The oracle: the k-digit general form for the smallest k that gives
    // the float back. Floats of every scale, including the layout bounds.
    std::vector<float> floats = {1e-3f, std::nextafter(1e-3f, 0.0f), 1e-4f, std::nextafter(1e-4f, 0.0f),
                                 1e6f, std::nextafter(1e6f, 0.0f), 1e7f, std::nextafter(1e7f, 0.0f),
                                 9999999.0f, 0.5f, 3.0f};
    uint32_t bits = 0x2F000000u;  // about 1e-10
    while (bits < 0x50000000u) {  // about 8.6e9
        float f = 0.0f;
        std::memcpy(&f, &bits, sizeof f);
        floats.push_back(f);
        floats.push_back(-f);
        bits += 0x1357u;
    }
    int mismatches = 0;
    for (const float f : floats) {
        QString expected;
        for (int k = 1; k <= 9; ++k) {
            expected = MCommon::FormatNumber(static_cast<double>(f), k);
            double back = 0.0;
            if (MCommon::ParseNumber(expected, back) && static_cast<float>(back) == f) {
                // The same digits, laid out with the exponent form from 10^7 on.
                if (k <= 7)
                    expected = MCommon::FormatNumber(back, 7);
                else if (std::fabs(f) >= 1e7f && !expected.contains(u'E'))
                    expected.clear();  // 8 or 9 digits from 10^7 to 10^9: no oracle here
                break;
            }
        }
        if (expected.isEmpty())
            continue;
        char text[32];
        const char* end = MCommon::FormatSingleRoundTrip(text, f);
        const std::string got(text, static_cast<size_t>(end - text));
        if (got != expected.toStdString() && ++mismatches <= 5)
            ADD_FAILURE() << std::hexfloat << f << ": " << got << " expected " << expected.toStdString();
        EXPECT_EQ(MCommon::FormatSingleRoundTrip(f).toStdString(), got);
    }
    EXPECT_EQ(mismatches, 0) << "of " << floats.size();
}

TEST(CurveXmlWrite, FieldsThatRepeatOrAlternateBetweenControlsKeepTheirOwnText)
{
    // The writer copies a field's text when the control before had the
    // same bits: runs, alternations, 0 and -0, and values that differ only
    // in the last bit must each still get their own text.
    const float near = std::nextafter(75.5f, 100.0f);
    const std::vector<float> xs = {75.5f, 75.5f, near, 75.5f, near, near, 0.0f, -0.0f, 0.0f,
                                   0.337f, -0.337f, 0.337f, 1e-5f, 1e-5f, 123456.7f, 123456.7f};
    C3DCurve curve;
    T::SetCount(curve, static_cast<int32_t>(xs.size()));
    for (size_t i = 0; i < xs.size(); ++i) {
        const auto n = static_cast<int32_t>(i + 1);
        T::Rec(curve, n) = NewControlRecord();
        curve.SetX(n, xs[i]);
        curve.SetY(n, xs[xs.size() - 1 - i]);
        curve.SetZ(n, (i % 3 == 0) ? 2.5f : -2.5f);
    }
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Root");
    curve.Serialize(doc, root, QStringLiteral("Curve"));
    size_t i = 0;
    for (pugi::xml_node c : root.child("Curve").child("Controls").children("Control")) {
        ASSERT_LT(i, xs.size());
        const auto n = static_cast<int32_t>(i + 1);
        std::string expected;
        for (int32_t id = 1; id <= 24; ++id) {
            if (id != 16)
                expected += MCommon::FormatSingleRoundTrip(static_cast<float>(curve.value(n, id).Number()))
                                .toStdString();
            expected += ';';
        }
        EXPECT_EQ(c.attribute("value").value(), expected) << "control " << n;
        ++i;
    }
    EXPECT_EQ(i, xs.size());
    C3DCurve back;
    ASSERT_TRUE(Read(back, Write(curve)));
    for (size_t k = 0; k < xs.size(); ++k)
        EXPECT_EQ(back.GetX(static_cast<int32_t>(k + 1)), xs[k]) << k;
}

TEST(CurveXmlRead, PlainAndOtherNumberFormsOfAValueListReadAlike)
{
    // The written form (plain digits up to the ";") and every other form
    // the field reader takes give the same float.
    const std::vector<std::pair<QByteArray, float>> cases = {
        {"12.5", 12.5f}, {" 12.5", 12.5f}, {"12.5 ", 12.5f}, {"1.25E1", 12.5f}, {"+12.5", 12.5f},
        {"012.50", 12.5f}, {"-0.1", -0.1f}, {"-0", -0.0f}, {"0.100000001490116119384765625", 0.1f},
        {"16777217", 16777216.0f}, {"16777219", 16777220.0f}, {"1e-50", 0.0f}, {"", 0.0f}};
    for (const auto& [text, expected] : cases) {
        C3DCurve curve;
        ASSERT_TRUE(Read(curve, CurveXml("", ControlXml("1;" + text + ";3;"))))
            << text.constData();
        EXPECT_EQ(curve.GetY(1), expected) << text.constData();
        EXPECT_EQ(std::signbit(curve.GetY(1)), std::signbit(expected)) << text.constData();
        EXPECT_EQ(curve.GetZ(1), 3.0f) << text.constData();
    }
    for (const QByteArray text : {"12.5x", "1.2.3", "--1", "1e", ".", "inf", "1e40"}) {
        C3DCurve curve;
        QString error;
        EXPECT_FALSE(Read(curve, CurveXml("", ControlXml("1;" + text + ";3;")), &error))
            << text.constData();
        EXPECT_NE(error.indexOf(QStringLiteral("field 2")), -1) << error.toStdString();
    }
}

TEST(CurveXmlWrite, AnInvalidElementNameIsRefusedAndLeavesTheParentAlone)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Root");
    EXPECT_THROW(C3DCurve().Serialize(doc, root, QStringLiteral("1 bad")), RuvError);
    EXPECT_FALSE(root.first_child());
}

// ---- Round trips -------------------------------------------------------------------

TEST(CurveXmlRoundTrip, EveryPropertyOfFullCurvesComesBackForEveryGameType)
{
    for (int32_t gameType = 0; gameType <= 4; ++gameType) {
        C3DCurve curve;
        curve.SetGameType(gameType);
        FillRich(curve, C3DCurve::MAX_CONTROL, gameType, QStringLiteral("Path_%1").arg(gameType));
        const QByteArray first = Write(curve);

        C3DCurve back;
        back.SetGameType(gameType);
        QString error;
        ASSERT_TRUE(Read(back, first, &error)) << error.toStdString();
        EXPECT_EQ(Difference(curve, back).toStdString(), "") << "game type " << gameType;
        // The same curve twice, and the curve read back, give the same bytes.
        EXPECT_EQ(Write(curve), first);
        EXPECT_EQ(Write(back), first);
    }
}

TEST(CurveXmlRoundTrip, CommandsKeepLineEndsTabsAndMarkup)
{
    const QString command = QStringLiteral("a\r\nb\nc\td \"]]>\" <x/> &amp; \u00e9");
    C3DCurve curve;
    T::SetCount(curve, 1);
    T::Rec(curve, 1) = NewControlRecord();
    curve.SetCommand(1, command);
    C3DCurve back;
    ASSERT_TRUE(Read(back, Write(curve)));
    EXPECT_EQ(back.GetCommand(1), command);
}

TEST(CurveXmlRoundTrip, GermanLocaleChangesNoByteAndReadsTheSame)
{
    C3DCurve curve;
    curve.SetGameType(2);
    FillRich(curve, 40, 7, QStringLiteral("Deutsch"));
    const QByteArray plain = Write(curve);
    LocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.Took(",")) << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(Write(curve), plain);
    C3DCurve back;
    back.SetGameType(2);
    ASSERT_TRUE(Read(back, plain));
    EXPECT_EQ(Difference(curve, back).toStdString(), "");
}

// ---- Reading ---------------------------------------------------------------------------

TEST(CurveXmlRead, EdgeCasesOfTheElement)
{
    struct Case {
        const char* what;
        QByteArray xml;
        int32_t count;
        std::vector<std::pair<int32_t, float>> control1;  // id, value
    };
    const std::vector<Case> cases = {
        {"three fields", CurveXml("", ControlXml("1;2;3")), 1, {{1, 1}, {3, 3}, {7, 90}, {8, 1}}},
        {"thirty fields", CurveXml("", ControlXml("1;2;3;4;5;6;7;1;1;0;0;0;0;0;0;;0;0;0;0;21;22;23;24;25;x;y;z;w;v")),
         1, {{4, 4}, {21, 21}, {24, 24}}},
        {"no value", CurveXml("", "<Control command=\"say hi\"/>" + ControlXml("5")), 1, {{1, 5}}},
        {"empty value", CurveXml("", "<Control value=\"\" command=\"x\"/>"), 0, {}},
        {"clamped", CurveXml("", ControlXml("0;0;0;0;0;0;200;1;5;0;0;0;0;0;9")), 1, {{7, 179.99f}, {9, 1}, {15, 7}}},
        {"blanks and exponent", CurveXml("", ControlXml(" 1.5 ;-2E+01;+3e-1")), 1, {{1, 1.5f}, {2, -20}, {3, 0.3f}}},
        {"field 16 is never read", CurveXml("", ControlXml("1;0;0;0;0;0;90;1;0;0;0;0;0;0;0;junk;2")), 1, {{17, 2}}},
    };
    for (const Case& c : cases) {
        C3DCurve curve;
        QString error;
        ASSERT_TRUE(Read(curve, c.xml, &error)) << c.what << ": " << error.toStdString();
        ASSERT_EQ(curve.ControlsCount(), c.count) << c.what;
        for (const auto& [id, v] : c.control1)
            EXPECT_EQ(curve.value(1, id).Number(), static_cast<double>(v)) << c.what << " id " << id;
        if (c.count == 1) {
            EXPECT_EQ(curve.GetCommand(1), QString()) << c.what;
        }
    }
}

TEST(CurveXmlRead, AnElementWithoutAttributesGivesNoNameFlagsOffAndTimeZero)
{
    C3DCurve curve;
    curve.SetStartTime(5);
    ASSERT_TRUE(Read(curve, "<Root><Curve/></Root>"));
    EXPECT_EQ(curve.Name(), QStringLiteral("NoName"));
    EXPECT_FALSE(curve.IsVisible() || curve.IsEnabled() || curve.ShowArrow() || curve.ShowTimes() ||
                 curve.ShowTangent());
    EXPECT_EQ(curve.StartTime(), 0.0);
    EXPECT_EQ(curve.ControlsCount(), 0);
}

TEST(CurveXmlRead, ControlsAreAppendedAfterTheCurvesOwnWithoutAnyEvent)
{
    C3DCurve curve;
    FillRich(curve, 2, 1, QStringLiteral("Old"));
    CurveEventLog log;
    curve.AddListener(&log);
    ASSERT_TRUE(Read(curve, CurveXml("name=\"New\"", ControlXml("7;8;9"))));
    EXPECT_EQ(curve.ControlsCount(), 3);
    EXPECT_EQ(curve.GetX(3), 7.0f);
    EXPECT_EQ(curve.Name(), QStringLiteral("New"));
    EXPECT_TRUE(log.events.empty());
    // The listeners stay attached.
    curve.QuickRefreshStart(false);
    curve.QuickRefreshStop();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"QuickRefreshStopped"}));
}

TEST(CurveXmlRead, DamagedElementsAreRefusedAndLeaveTheCurveExactlyAsItWas)
{
    QByteArray tooMany;
    for (int i = 0; i < 249; ++i)
        tooMany += ControlXml("1;2;3");
    struct Case {
        const char* what;
        QByteArray xml;
        const char* inMessage;
    };
    const std::vector<Case> cases = {
        {"letters", CurveXml("", ControlXml("1;2;3") + ControlXml("1;abc;3")), "control 2: field 2"},
        {"number with tail", CurveXml("", ControlXml("1;2x")), "not a number"},
        {"inf", CurveXml("", ControlXml("inf")), "not a number"},
        {"beyond float", CurveXml("", ControlXml("1;1e39")), "out of range"},
        {"wiggle beyond 32 bits", CurveXml("", ControlXml("0;0;0;0;0;0;90;1;0;1;1e30")), "Overflow"},
        {"start time", CurveXml("start_time=\"12,5\"", ""), "start time"},
        {"start time beyond double", CurveXml("start_time=\"1e999\"", ""), "start time"},
        // With the two controls the curve already has, 249 more pass the limit.
        {"more than 250 controls", CurveXml("", tooMany), "at most 250"},
    };
    for (const Case& c : cases) {
        C3DCurve curve;
        curve.SetGameType(3);
        FillRich(curve, 2, 4, QStringLiteral("Kept"));
        const C3DCurve before = curve.Clone();
        CurveEventLog log;
        curve.AddListener(&log);
        QString error;
        EXPECT_FALSE(Read(curve, c.xml, &error)) << c.what;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.inMessage))) << c.what << ": " << error.toStdString();
        EXPECT_EQ(Difference(before, curve).toStdString(), "") << c.what;
        EXPECT_TRUE(log.events.empty()) << c.what;
    }
}

TEST(CurveXmlRead, ExactlyTwoHundredFiftyControlsAreRead)
{
    QByteArray controls;
    for (int i = 0; i < C3DCurve::MAX_CONTROL; ++i)
        controls += ControlXml(QByteArray::number(i));
    C3DCurve curve;
    ASSERT_TRUE(Read(curve, CurveXml("", controls)));
    EXPECT_EQ(curve.ControlsCount(), C3DCurve::MAX_CONTROL);
    EXPECT_EQ(curve.GetX(250), 249.0f);
}

TEST(CurveXmlRead, TheTimescaleFollowsTheCurvesGameType)
{
    for (int32_t gameType : {0, 1}) {
        C3DCurve curve;
        curve.SetGameType(gameType);
        ASSERT_TRUE(Read(curve, CurveXml("", ControlXml("0;0;0;0;0;0;90;0.513"))));
        EXPECT_EQ(curve.GetTimescale(1), gameType == 0 ? 0.5f : 0.513f);
    }
}

// ---- The raw control line -------------------------------------------------------------

TEST(CurveRawLine, ReaderTable)
{
    struct Case {
        const char* what;
        QString line;
        QString prefix;
        bool invariant;
        int32_t index;      // 0: nothing added
        QString lineAfter;  // the caller's line afterwards
        std::vector<std::pair<int32_t, float>> values;
    };
    const std::vector<Case> cases = {
        {"prefix", "ctl:1;2;3;", "ctl:", true, 1, "1;2;3;", {{1, 1}, {2, 2}, {3, 3}, {7, 90}, {8, 1}}},
        {"prefix of any text", "REF:4;5", "ctl:", true, 1, "4;5", {{1, 4}, {2, 5}}},
        {"no prefix", "6;7", "", true, 1, "6;7", {{1, 6}, {2, 7}}},
        {"empty line", "", "", true, 0, "", {}},
        {"line as long as the prefix", "ctl:", "ctl:", true, 0, "ctl:", {}},
        {"line shorter than the prefix", "ct", "ctl:", true, 0, "ct", {}},
        {"thirty fields", "1;2;3;4;5;6;7;1;1;0;0;0;0;0;0;;0;0;0;0;21;22;23;24;x;y;z;w;v;u", "", true, 1, "",
         {{21, 21}, {24, 24}}},
        {"clamps", "0;0;0;0;0;0;200;1;3;0;0;0;0;0;9", "", true, 1, "", {{7, 179.99f}, {9, 1}, {15, 7}}},
        {"empty fields are 0", "1;;3", "", true, 1, "", {{1, 1}, {2, 0}, {3, 3}}},
        {"full stop without invariant", "1.25;2", "", false, 1, "", {{1, 1.25f}}},
    };
    for (const Case& c : cases) {
        C3DCurve curve;
        QString line = c.line;
        int32_t index = -5;
        QString error;
        EXPECT_TRUE(curve.AddControlFromRawData(line, c.prefix, c.invariant, index, &error))
            << c.what << ": " << error.toStdString();
        EXPECT_EQ(index, c.index) << c.what;
        EXPECT_EQ(curve.ControlsCount(), c.index) << c.what;
        if (!c.lineAfter.isEmpty()) {
            EXPECT_EQ(line, c.lineAfter) << c.what;
        }
        for (const auto& [id, v] : c.values)
            EXPECT_EQ(curve.value(1, id).Number(), static_cast<double>(v)) << c.what << " id " << id;
    }
}

TEST(CurveRawLine, AppendingRaisesTheCountEventUnlessACountBracketIsOpen)
{
    C3DCurve curve;
    CurveEventLog log;
    curve.AddListener(&log);
    QString line = QStringLiteral("1;2;3");
    int32_t index = 0;
    ASSERT_TRUE(curve.AddControlFromRawData(line, QString(), true, index));
    const auto events = log.Take();
    EXPECT_NE(std::find(events.begin(), events.end(), "ControlsCount"), events.end());
    curve.BeginControlsCountChange();
    line = QStringLiteral("4;5;6");
    ASSERT_TRUE(curve.AddControlFromRawData(line, QString(), true, index));
    EXPECT_EQ(index, 2);
    const auto held = log.Take();
    EXPECT_EQ(std::find(held.begin(), held.end(), "ControlsCount"), held.end());
}

TEST(CurveRawLine, TheUsersLocaleReadsItsDecimalComma)
{
    LocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.Took(",")) << "de_DE.UTF-8 is not installed";
    C3DCurve curve;
    QString line = QStringLiteral("ctl:1,5;-2,25");
    int32_t index = 0;
    ASSERT_TRUE(curve.AddControlFromRawData(line, QStringLiteral("ctl:"), false, index));
    EXPECT_EQ(curve.GetX(1), 1.5f);
    EXPECT_EQ(curve.GetY(1), -2.25f);
    // The invariant reading does not take the comma.
    line = QStringLiteral("1,5");
    EXPECT_FALSE(curve.AddControlFromRawData(line, QString(), true, index));
    EXPECT_EQ(index, 0);
}

TEST(CurveRawLine, DamagedLinesAndAFullCurveAreRefusedWithoutChange)
{
    struct Case {
        const char* what;
        QString line;
        bool invariant;
        const char* inMessage;
    };
    const std::vector<Case> cases = {
        {"letters", "1;abc;3", true, "field 2"},
        {"letters in the locale form", "1;abc;3", false, "field 2"},
        {"beyond float", "1e39", true, "out of range"},
        {"beyond float in the locale form", "1e39", false, "out of range"},
        {"nan", "nan", true, "not a number"},
    };
    for (const Case& c : cases) {
        C3DCurve curve;
        FillRich(curve, 3, 2, QStringLiteral("Kept"));
        const C3DCurve before = curve.Clone();
        CurveEventLog log;
        curve.AddListener(&log);
        QString line = c.line;
        int32_t index = -1;
        QString error;
        EXPECT_FALSE(curve.AddControlFromRawData(line, QString(), c.invariant, index, &error)) << c.what;
        EXPECT_EQ(index, 0) << c.what;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.inMessage))) << c.what << ": " << error.toStdString();
        EXPECT_EQ(Difference(before, curve).toStdString(), "") << c.what;
        EXPECT_TRUE(log.events.empty()) << c.what;
    }

    C3DCurve full;
    for (int i = 0; i < C3DCurve::MAX_CONTROL; ++i) {
        QString line = QStringLiteral("%1;0;0").arg(i);
        int32_t index = 0;
        ASSERT_TRUE(full.AddControlFromRawData(line, QString(), true, index));
    }
    QString line = QStringLiteral("1;2;3");
    int32_t index = -1;
    QString error;
    EXPECT_FALSE(full.AddControlFromRawData(line, QString(), true, index, &error));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(full.ControlsCount(), C3DCurve::MAX_CONTROL);
    EXPECT_TRUE(error.contains(QStringLiteral("at most 250"))) << error.toStdString();
}
