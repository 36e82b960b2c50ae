// A curve drawing itself, recorded through the drawing seam without a
// context: the path, the controls, the tangent handles, arrows, time labels
// and targets in a 2D view and in the 3D view, and the colours.
#include "test_C3DCurveSupport.h"

#include "C3DCurveController.h"
#include "CView.h"
#include "GLDraw.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>

using T = C3DCurveTestAccess;

struct C3DCurveDrawTestAccess
{
    static std::array<float, 4> ForeGL(const C3DCurve& c) { return c.m_controlForecolor.gl; }
    static std::array<float, 4> SegmentGL(const C3DCurve& c) { return c.m_segmentColor.gl; }
    static std::array<float, 4> TangentGL(const C3DCurve& c) { return c.m_controlTangentColor.gl; }
    static int32_t DrawnSampleCount(const C3DCurve& c, int32_t requested, bool capped)
    {
        return c.GetDrawnSampleCount(requested, capped);
    }
    static bool TimesDisabled(const C3DCurve& c) { return c.mTimesDisabled; }
    static uint64_t Builds(const C3DCurve& c) { return c.m_drawArrays.Builds(); }
    static uint64_t Samplings(const C3DCurve& c) { return c.m_drawArrays.Samples(); }
};
using D = C3DCurveDrawTestAccess;

namespace {

using Color = std::array<float, 4>;
using Point3 = std::array<double, 3>;

// Keeps the GL state that the calls set and records each primitive with
// the state it was drawn in, and each text with its raster position.
class DrawRecorder final : public GLDraw::ITarget
{
public:
    struct Prim
    {
        uint32_t mode;
        Color color;
        float pointSize;
        float lineWidth;
        std::vector<Point3> v;
        bool operator==(const Prim&) const = default;
    };
    struct Label
    {
        Point3 at;
        Color color;
        QString text;
        bool operator==(const Label&) const = default;
    };

    std::vector<Prim> prims;
    std::vector<Label> labels;
    int calls = 0;
    bool context = true;

    Color color{1, 1, 1, 1};
    float pointSize = 1;
    float lineWidth = 1;
    Point3 raster{};

    void Begin(uint32_t mode) override
    {
        ++calls;
        m_open = Prim{mode, color, pointSize, lineWidth, {}};
    }
    void End() override
    {
        ++calls;
        prims.push_back(m_open);
    }
    void Vertex2f(float x, float y) override { Vertex3d(x, y, 0); }
    void Vertex3f(float x, float y, float z) override { Vertex3d(x, y, z); }
    void Vertex3d(double x, double y, double z) override
    {
        ++calls;
        m_open.v.push_back({x, y, z});
    }
    void Color3f(float r, float g, float b) override { Color4f(r, g, b, 1); }
    void Color4f(float r, float g, float b, float a) override
    {
        ++calls;
        color = {r, g, b, a};
    }
    void PointSize(float s) override
    {
        ++calls;
        pointSize = s;
    }
    void LineWidth(float w) override
    {
        ++calls;
        lineWidth = w;
    }
    void RasterPos3f(float x, float y, float z) override
    {
        ++calls;
        raster = {x, y, z};
    }
    void Enable(uint32_t) override { ++calls; }
    void Disable(uint32_t) override { ++calls; }
    void LineStipple(int32_t, uint16_t) override { ++calls; }
    bool HasContext() override { return context; }
    // An array call is kept as the primitives it draws: a point or a line
    // each, or one strip, each in the colour of its last vertex.
    void DrawArrays(uint32_t mode, const float* v, const float* c, int32_t count) override
    {
        ++calls;
        if (onArrays)
            onArrays();
        ++arrayCalls;
        const int32_t each = mode == GLDraw::POINTS ? 1 : mode == GLDraw::LINES ? 2 : count;
        for (int32_t first = 0; each > 0 && first + each <= count; first += each) {
            Prim p{mode, color, pointSize, lineWidth, {}};
            for (int32_t k = first; k < first + each; ++k) {
                p.v.push_back({v[3 * k], v[3 * k + 1], v[3 * k + 2]});
                if (c)
                    p.color = {c[4 * k], c[4 * k + 1], c[4 * k + 2], c[4 * k + 3]};
            }
            prims.push_back(p);
        }
        if (c && count > 0)
            color = {c[4 * (count - 1)], c[4 * (count - 1) + 1], c[4 * (count - 1) + 2], c[4 * (count - 1) + 3]};
    }
    int arrayCalls = 0;
    std::function<void()> onArrays;

    // Primitives of one mode with one vertex at `at` (points) or starting
    // there (lines).
    std::vector<Prim> At(uint32_t mode, const Point3& at) const
    {
        std::vector<Prim> out;
        for (const Prim& p : prims)
            if (p.mode == mode && !p.v.empty() && Same(p.v[0], at))
                out.push_back(p);
        return out;
    }
    std::vector<Prim> WithColor(const Color& c) const
    {
        std::vector<Prim> out;
        for (const Prim& p : prims)
            if (p.color == c)
                out.push_back(p);
        return out;
    }
    static bool Same(const Point3& a, const Point3& b, double eps = 1e-3)
    {
        return std::abs(a[0] - b[0]) < eps && std::abs(a[1] - b[1]) < eps && std::abs(a[2] - b[2]) < eps;
    }

private:
    Prim m_open{};
};

class FakeView final : public GLDraw::IView
{
public:
    FakeView(DrawRecorder& rec, int32_t flag, double zoom) : scale(zoom), m_rec(rec)
    {
        view.Initialize(flag, 0, 1, 2, 1, 10, 100000, false, false, false);
    }
    CView view;
    double scale;
    bool current = true;
    bool hasView = true;
    std::function<void()> onPrint;

    CView* View() const override { return hasView ? const_cast<CView*>(&view) : nullptr; }
    double GLViewScale() const override { return scale; }
    void GLPrint(const QString& text) override
    {
        m_rec.labels.push_back({m_rec.raster, m_rec.color, text});
        if (onPrint)
            onPrint();
    }
    bool IsCurrent() const override { return current; }

private:
    DrawRecorder& m_rec;
};

const Color kBlack{0, 0, 0, 1};
const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 1};
const Color kWhite{1, 1, 1, 1};
const Color kMagenta{1, 0, 1, 1};
const Color kGreen{0, 1, 16 / 255.0f, 1};                               // 0x10FF00
const Color kChangedHere{1, 16 / 255.0f, 16 / 255.0f, 1};                // 0x1010FF
const Color kChangedElsewhere{240 / 255.0f, 128 / 255.0f, 16 / 255.0f, 1};  // 0x1080F0

const Point3 P1{0, 0, 0}, P2{100, 0, 0}, P3{100, 100, 50};

// Three controls at 0, 1 and 2.5 seconds at 10 frames a second (26
// samples); control 2 selected; tangent 1 of control 1 edited in view 1, its tangent
// 2 in view 2; control 3 looks at (50, 50, 50) and is pitched up 30 degrees.
C3DCurve ThreeControls()
{
    C3DCurve c;
    T::Lay(c, {{0, 0, 0}, {100, 0, 0}, {100, 100, 50}});
    T::SetRawStepRate(c, 10);
    ControlRecord& a = T::Rec(c, 1);
    a.Tan1X = 10, a.Tan1Y = 20, a.Tan1C = 1;
    a.Tan2X = 5, a.Tan2Y = 5, a.Tan2Z = 5, a.Tan2C = 2;
    ControlRecord& b = T::Rec(c, 2);
    b.Tan1Y = 30;
    b.Tan2Y = 10;
    b.IsSelected = true;
    b.Yaw = 90;
    ControlRecord& e = T::Rec(c, 3);
    e.TargetX = e.TargetY = e.TargetZ = 50;
    e.Pitch = 30;
    e.Time = 2.5;
    c.SetShowTimes(true);
    return c;
}

double Length(const DrawRecorder::Prim& line)
{
    const Point3& a = line.v[0];
    const Point3& b = line.v[1];
    return std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) + (b[2] - a[2]) * (b[2] - a[2]));
}

}  // namespace

TEST(C3DCurveDraw, ThreeControlsInA2DView)
{
    C3DCurve c = ThreeControls();
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 2.0);  // 2 pixels a world unit
    c.DrawCurve(view);

    // The path: single points in the segment colour, from P1 to P3.
    std::vector<DrawRecorder::Prim> path;
    for (const auto& p : rec.prims)
        if (p.mode == GLDraw::POINTS && p.pointSize == 2.0f && p.color == kBlue)
            path.push_back(p);
    ASSERT_EQ(path.size(), 26u);  // 10 + 15 steps (control 3 at 2.5 s) + 1
    EXPECT_TRUE(DrawRecorder::Same(path.front().v[0], P1));
    EXPECT_TRUE(DrawRecorder::Same(path.back().v[0], P3));
    for (const auto& p : path)
        EXPECT_EQ(p.v.size(), 1u);

    // The red marker under control 1, then the control itself.
    const auto atP1 = rec.At(GLDraw::POINTS, P1);
    ASSERT_GE(atP1.size(), 3u);
    EXPECT_EQ(atP1[1].color, kRed);
    EXPECT_EQ(atP1[1].pointSize, 6.0f);
    EXPECT_EQ(atP1[2].color, kBlack);
    EXPECT_EQ(atP1[2].pointSize, 4.0f);
    // The selected control: 8 pixels of the back colour under 5 of the
    // fore colour.
    const auto atP2 = rec.At(GLDraw::POINTS, P2);
    ASSERT_EQ(atP2.size(), 3u);  // two for the control, one path sample
    EXPECT_EQ(atP2[1].color, kBlue);
    EXPECT_EQ(atP2[1].pointSize, 8.0f);
    EXPECT_EQ(atP2[2].color, kWhite);
    EXPECT_EQ(atP2[2].pointSize, 5.0f);

    // Tangent handles: a line and a point each, red where the handle was
    // edited in this view, orange where it was edited in another, green
    // where never; none leave the last control.
    auto handle = [&](const Point3& from, const Point3& to, const Color& color) {
        bool line = false, point = false;
        for (const auto& p : rec.prims) {
            if (p.mode == GLDraw::LINES && p.v.size() == 2 && DrawRecorder::Same(p.v[0], from) &&
                DrawRecorder::Same(p.v[1], to) && p.color == color)
                line = true;
            if (p.mode == GLDraw::POINTS && DrawRecorder::Same(p.v[0], to) && p.color == color &&
                p.pointSize == 3.0f)
                point = true;
        }
        return line && point;
    };
    EXPECT_TRUE(handle(P1, {10, 20, 0}, kChangedHere));
    EXPECT_TRUE(handle(P2, {95, -5, -5}, kChangedElsewhere));
    EXPECT_TRUE(handle(P2, {100, 30, 0}, kGreen));
    EXPECT_TRUE(handle(P3, {100, 90, 50}, kGreen));
    EXPECT_EQ(rec.WithColor(kGreen).size(), 4u);

    // Arrows: 13 pixels (6.5 world units) along the yaw, barbs 7 back and 4
    // aside.
    const auto shaft1 = rec.At(GLDraw::LINES, P1);
    std::vector<DrawRecorder::Prim> arrows1;
    for (const auto& p : shaft1)
        if (p.color == kMagenta)
            arrows1.push_back(p);
    ASSERT_EQ(arrows1.size(), 1u);
    EXPECT_TRUE(DrawRecorder::Same(arrows1[0].v[1], {6.5, 0, 0}));
    const auto barbs = rec.At(GLDraw::LINES, {6.5, 0, 0});
    ASSERT_EQ(barbs.size(), 2u);
    EXPECT_TRUE(DrawRecorder::Same(barbs[0].v[1], {3.0, -2.0, 0}));
    EXPECT_TRUE(DrawRecorder::Same(barbs[1].v[1], {3.0, 2.0, 0}));
    for (const auto& p : rec.At(GLDraw::LINES, P2)) {
        if (p.color == kMagenta) {
            EXPECT_TRUE(DrawRecorder::Same(p.v[1], {100, 6.5, 0}));  // yaw 90
        }
    }
    for (const auto& p : rec.At(GLDraw::LINES, P3)) {
        if (p.color == kMagenta) {
            EXPECT_NEAR(Length(p), 6.5, 1e-3);
            EXPECT_NEAR(p.v[1][2] - 50, 3.25, 1e-3);  // pitched up 30 degrees
        }
    }
    EXPECT_EQ(rec.WithColor(kMagenta).size(), 3u * 3u + 1u);  // + the target

    // Time labels 5 pixels off each control, black, two decimals.
    ASSERT_EQ(rec.labels.size(), 3u);
    const QString texts[3] = {"0.00", "1.00", "2.50"};
    const Point3 at[3] = {{2.5, 2.5, 2.5}, {102.5, 2.5, 2.5}, {102.5, 102.5, 52.5}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rec.labels[i].text, texts[i]);
        EXPECT_TRUE(DrawRecorder::Same(rec.labels[i].at, at[i]));
        EXPECT_EQ(rec.labels[i].color, kBlack);
    }

    // The look-at target, only where there is one.
    const auto look = rec.At(GLDraw::POINTS, {50, 50, 50});
    ASSERT_EQ(look.size(), 1u);
    EXPECT_EQ(look[0].color, kMagenta);
    EXPECT_EQ(look[0].pointSize, 4.0f);
}

TEST(C3DCurveDraw, TheSameCurveInThe3DView)
{
    C3DCurve c = ThreeControls();
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::View3D, 2.0);
    c.DrawCurve(view);

    // Every hand-edited handle is another view's in the 3D view.
    EXPECT_TRUE(rec.At(GLDraw::POINTS, {10, 20, 0}).at(0).color == kChangedElsewhere);
    EXPECT_TRUE(rec.WithColor(kChangedHere).empty());
    EXPECT_EQ(rec.WithColor(kChangedElsewhere).size(), 4u);
    // Arrows of 26 world units, labels 20 units off.
    for (const auto& p : rec.At(GLDraw::LINES, P1)) {
        if (p.color == kMagenta) {
            EXPECT_TRUE(DrawRecorder::Same(p.v[1], {26, 0, 0}));
        }
    }
    ASSERT_EQ(rec.labels.size(), 3u);
    EXPECT_TRUE(DrawRecorder::Same(rec.labels[1].at, {120, 20, 20}));
}

TEST(C3DCurveDraw, HiddenControlsAndTheLineStrip)
{
    C3DCurve c = ThreeControls();
    T::Rec(c, 2).Hide = 1;
    c.SetShowTangent(false);
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 2.0);
    c.DrawCurveLines(view);

    // One strip: the ten samples of segment 1, joined straight to the last
    // sample; the samples of control 2's segment are left out.
    ASSERT_EQ(rec.prims.front().mode, GLDraw::LINE_STRIP);
    const auto& strip = rec.prims.front();
    EXPECT_EQ(strip.color, kBlue);
    EXPECT_EQ(strip.lineWidth, 1.0f);
    ASSERT_EQ(strip.v.size(), 11u);
    EXPECT_TRUE(DrawRecorder::Same(strip.v[10], P3));
    for (size_t k = 0; k < 10; ++k)
        EXPECT_LT(strip.v[k][0], 100.0);
    // Nothing of control 2: no point, arrow or label.
    EXPECT_TRUE(rec.At(GLDraw::POINTS, P2).empty());
    EXPECT_TRUE(rec.At(GLDraw::LINES, P2).empty());
    EXPECT_EQ(rec.labels.size(), 2u);
    // Drawn as lines, the curve stays in quick refresh and samples afresh.
    EXPECT_TRUE(c.IsQuickRefreshing());
    EXPECT_TRUE(c.ReloadCurveWhenDrawing());

    // A hidden first control has no red marker.
    T::Rec(c, 1).Hide = 1;
    rec.prims.clear();
    c.DrawCurveLines(view);
    EXPECT_TRUE(rec.WithColor(kRed).empty());
}

TEST(C3DCurveDraw, TheCacheIsKeptUnlessTheCurveReloads)
{
    C3DCurve c = ThreeControls();
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 2.0);
    auto lastPathPoint = [&] {
        for (auto it = rec.prims.rbegin(); it != rec.prims.rend(); ++it)
            if (it->mode == GLDraw::POINTS && it->pointSize == 2.0f && it->color == kBlue)
                return it->v[0];
        return Point3{-1, -1, -1};
    };
    c.DrawCurve(view);
    T::Rec(c, 3).X = 300;  // moved behind the curve's back
    rec.prims.clear();
    c.DrawCurve(view);
    EXPECT_TRUE(DrawRecorder::Same(lastPathPoint(), P3));
    // A line drawing resamples.
    rec.prims.clear();
    c.DrawCurveLines(view);
    EXPECT_TRUE(DrawRecorder::Same(rec.prims.front().v.back(), {300, 100, 50}));
}

TEST(C3DCurveDraw, OneControl)
{
    C3DCurve c;
    T::Lay(c, {{1, 2, 3}});
    T::SetRawStepRate(c, 10);
    c.SetShowTimes(true);
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 1.0);
    c.DrawCurve(view);
    // Red marker, control, arrow (shaft and two barbs); no path, no label,
    // no target.
    ASSERT_EQ(rec.prims.size(), 5u);
    EXPECT_EQ(rec.prims[0].color, kRed);
    EXPECT_EQ(rec.prims[1].color, kBlack);
    for (size_t k = 2; k < 5; ++k)
        EXPECT_EQ(rec.prims[k].color, kMagenta);
    EXPECT_TRUE(rec.labels.empty());
}

TEST(C3DCurveDraw, NothingIsDrawnWhenItCannotOrNeedNotBe)
{
    struct Case
    {
        const char* name;
        std::function<void(C3DCurve&, FakeView&, DrawRecorder&)> set;
    };
    const Case cases[] = {
        {"step rate 0", [](C3DCurve& c, FakeView&, DrawRecorder&) { T::SetRawStepRate(c, 0); }},
        {"not visible", [](C3DCurve& c, FakeView&, DrawRecorder&) { c.SetIsVisible(false); }},
        {"no controls", [](C3DCurve& c, FakeView&, DrawRecorder&) { T::SetCount(c, 0); }},
        {"view not current", [](C3DCurve&, FakeView& v, DrawRecorder&) { v.current = false; }},
        {"no context", [](C3DCurve&, FakeView&, DrawRecorder& r) { r.context = false; }},
        {"no view state", [](C3DCurve&, FakeView& v, DrawRecorder&) { v.hasView = false; }},
    };
    for (const Case& k : cases) {
        for (bool lines : {false, true}) {
            C3DCurve c = ThreeControls();
            DrawRecorder rec;
            GLDraw::ScopedTarget target(rec);
            FakeView view(rec, CView::ViewXY, 2.0);
            k.set(c, view, rec);
            if (lines)
                c.DrawCurveLines(view);
            else
                c.DrawCurve(view);
            EXPECT_EQ(rec.calls, 0) << k.name << (lines ? " (lines)" : "");
            EXPECT_TRUE(rec.labels.empty()) << k.name;
            EXPECT_FALSE(c.IsQuickRefreshing()) << k.name;
        }
    }
    // DrawControls has no view: it asks the target.
    C3DCurve c = ThreeControls();
    DrawRecorder rec;
    rec.context = false;
    GLDraw::ScopedTarget target(rec);
    c.DrawControls();
    EXPECT_EQ(rec.calls, 0);
}

TEST(C3DCurveDraw, ADrawingStartedFromInsideADrawingDoesNothing)
{
    C3DCurve c = ThreeControls();
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 2.0);
    int inner = -1;
    view.onPrint = [&] {
        const int before = rec.calls;
        c.DrawCurve(view);
        c.DrawControls();
        inner = rec.calls - before;
        view.onPrint = nullptr;
    };
    c.DrawCurve(view);
    EXPECT_EQ(inner, 0);
    // ...and the next one draws again.
    const int before = rec.calls;
    c.DrawCurve(view);
    EXPECT_GT(rec.calls, before);
}

TEST(C3DCurveDraw, DrawControlsDrawsThePointsAlone)
{
    C3DCurve c = ThreeControls();
    T::Rec(c, 3).Hide = 1;
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    c.DrawControls();
    // Control 1 with a black centre dot, control 2 as a selected control.
    ASSERT_EQ(rec.prims.size(), 4u);
    EXPECT_EQ(rec.prims[0].pointSize, 4.0f);
    EXPECT_EQ(rec.prims[1].color, kBlack);
    EXPECT_EQ(rec.prims[1].pointSize, 2.0f);
    EXPECT_EQ(rec.prims[2].pointSize, 8.0f);
    EXPECT_EQ(rec.prims[3].color, kWhite);
    EXPECT_TRUE(rec.labels.empty());
}

TEST(C3DCurveDraw, AViewWithoutZoomDrawsNoArrowOrLabel)
{
    // A zoom of 0 would make 1 and 5 pixels endless.
    for (double scale : {0.0, -1.0, std::nan("")}) {
        C3DCurve c = ThreeControls();
        DrawRecorder rec;
        GLDraw::ScopedTarget target(rec);
        FakeView view(rec, CView::ViewXY, scale);
        c.DrawCurve(view);
        EXPECT_TRUE(rec.labels.empty());
        EXPECT_EQ(rec.WithColor(kMagenta).size(), 1u);  // the target only
        EXPECT_EQ(rec.At(GLDraw::POINTS, P3).size(), 2u);  // sample and control
        EXPECT_FALSE(D::TimesDisabled(c));
    }
}

TEST(C3DCurveDraw, ALabelThatCannotBePlacedDisablesTheCurvesLabels)
{
    C3DCurve c = ThreeControls();
    T::Rec(c, 2).X = FLT_MAX;
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 1e-33);  // 5 pixels are 5e33 units
    c.DrawCurve(view);
    EXPECT_EQ(rec.labels.size(), 1u);  // control 1's; 2 failed, 3 skipped
    EXPECT_TRUE(D::TimesDisabled(c));
    rec.labels.clear();
    view.scale = 2;
    c.DrawCurve(view);
    EXPECT_TRUE(rec.labels.empty());
}

TEST(C3DCurveDraw, FlightTooLongToSampleStillShowsItsControls)
{
    C3DCurve c = ThreeControls();
    T::Rec(c, 3).Time = 1e7;  // 10^8 frames
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, CView::ViewXY, 2.0);
    EXPECT_NO_THROW(c.DrawCurve(view));
    for (const auto& p : rec.prims)
        EXPECT_FALSE(p.pointSize == 2.0f && p.color == kBlue);
    EXPECT_EQ(rec.At(GLDraw::POINTS, P3).size(), 1u);
    // Quick refresh caps the samples, so the line drawing has a path.
    rec.prims.clear();
    c.DrawCurveLines(view);
    ASSERT_EQ(rec.prims.front().mode, GLDraw::LINE_STRIP);
    EXPECT_EQ(rec.prims.front().v.size(), 201u);
}

TEST(C3DCurveDraw, TimeLabelsFollowTheLocale)
{
    struct Case
    {
        QLocale locale;
        double time;
        QString text;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), 12.5, "12.50"},
        {QLocale(QLocale::English, QLocale::UnitedStates), 12345.678, "12345.68"},
        {QLocale(QLocale::English, QLocale::UnitedStates), -0.25, "-0.25"},
        {QLocale(QLocale::English, QLocale::UnitedStates), -0.001, "0.00"},
        {QLocale(QLocale::English, QLocale::UnitedStates), 0.125, "0.12"},  // half to even
        {QLocale(QLocale::German, QLocale::Germany), 12345.5, "12345,50"},
        {QLocale(QLocale::French, QLocale::France), -3.75, "-3,75"},
        // Digits the font does not hold: the plain form.
        {QLocale(QLocale::Arabic, QLocale::Egypt), 12.5, "12.50"},
    };
    const QLocale before;
    for (const Case& k : cases) {
        QLocale::setDefault(k.locale);
        C3DCurve c = ThreeControls();
        T::Rec(c, 2).Time = k.time;
        DrawRecorder rec;
        GLDraw::ScopedTarget target(rec);
        FakeView view(rec, CView::View3D, 1.0);
        c.DrawCurve(view);
        ASSERT_EQ(rec.labels.size(), 3u);
        EXPECT_EQ(rec.labels[1].text, k.text) << k.locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

TEST(C3DCurveDraw, ColoursAndTheirComponents)
{
    C3DCurve c;
    // Defaults, each with full alpha.
    EXPECT_EQ(c.ControlForecolor(), 0);
    EXPECT_EQ(c.SegmentColor(), 0xFF0000);
    EXPECT_EQ(c.SelectedControlForecolor(), 0xFFFFFF);
    EXPECT_EQ(c.SelectedControlBackcolor(), 0xFF0000);
    EXPECT_EQ(c.ControlTangentColor(), 0x10FF00);
    EXPECT_EQ(c.ControlChangedTangentColor1(), 0x1010FF);
    EXPECT_EQ(c.ControlChangedTangentColor2(), 0x1080F0);
    EXPECT_EQ(c.ControlDrawSize(), 4.0f);
    EXPECT_EQ(D::TangentGL(c), kGreen);

    struct Case
    {
        float opacity;
        float alpha;
    };
    for (const Case& k : {Case{50, 0.5f}, Case{150, 1}, Case{-5, 0}, Case{100, 1}, Case{std::nanf(""), 0}}) {
        c.SetSegmentColor(0x0000FF, k.opacity);
        EXPECT_EQ(D::SegmentGL(c), (Color{1, 0, 0, k.alpha})) << k.opacity;
    }
    c.SetControlForecolor(0x804020);
    EXPECT_EQ(c.ControlForecolor(), 0x804020);
    EXPECT_EQ(D::ForeGL(c), (Color{0x20 / 255.0f, 0x40 / 255.0f, 0x80 / 255.0f, 1}));
    c.SetControlForecolor(0x804020, 25);
    EXPECT_EQ(D::ForeGL(c)[3], 0.25f);
}

TEST(C3DCurveDraw, DrawnSampleCount)
{
    struct Case
    {
        int32_t controls, requested;
        bool capped;
        int32_t result;
    };
    const Case cases[] = {
        {3, 1000, true, 201}, {81, 20000, true, 8001}, {90, 20000, true, 8001}, {80, 20000, true, 7901},
        {3, 2, true, 3},      {3, 20000, false, 20000}, {1, 1000, true, 0},     {1, 1000, false, 0},
    };
    for (const Case& k : cases) {
        C3DCurve c;
        T::SetCount(c, k.controls);
        EXPECT_EQ(D::DrawnSampleCount(c, k.requested, k.capped), k.result) << k.controls << " " << k.requested;
    }
}

// ---- The vertex arrays ------------------------------------------------------------

namespace {

struct Picture
{
    std::vector<DrawRecorder::Prim> prims;
    std::vector<DrawRecorder::Label> labels;
    bool operator==(const Picture&) const = default;
};

struct Frame
{
    int32_t view = CView::ViewXY;
    double zoom = 2.0;
    bool lines = false;
};

Picture Draw(C3DCurve& c, const Frame& f)
{
    DrawRecorder rec;
    GLDraw::ScopedTarget target(rec);
    FakeView view(rec, f.view, f.zoom);
    if (f.lines)
        c.DrawCurveLines(view);
    else
        c.DrawCurve(view);
    return {rec.prims, rec.labels};
}

// What a curve with the same data draws when it has never drawn before.
Picture DrawnAfresh(const C3DCurve& c, const Frame& f)
{
    C3DCurve copy = c;
    return Draw(copy, f);
}

}  // namespace

TEST(C3DCurveDrawArrays, AFrameBuildsNothingUntilTheCurveOrItsViewChanges)
{
    struct Case
    {
        const char* name;
        std::function<void(C3DCurve&, Frame&)> change;
    };
    const Case cases[] = {
        {"a control moved", [](C3DCurve& c, Frame&) { c.SetX(2, 40); }},
        {"a control moved behind the curve's back", [](C3DCurve& c, Frame&) { T::Rec(c, 3).Z = -20; }},
        {"a control selected", [](C3DCurve& c, Frame&) { c.SetSelected(1, true); }},
        {"a control hidden", [](C3DCurve& c, Frame&) { c.SetValue(1, ControlPropertyId::Hide, TaggedValue(1.0f)); }},
        {"a handle edited", [](C3DCurve& c, Frame&) { T::Rec(c, 1).Tan1X = 40; }},
        {"a target set", [](C3DCurve& c, Frame&) { T::Rec(c, 2).TargetX = 5; }},
        {"a control turned", [](C3DCurve& c, Frame&) { T::Rec(c, 1).Yaw = 45; }},
        {"a control deleted", [](C3DCurve& c, Frame&) { c.DeleteControl(2); }},
        {"a control added", [](C3DCurve& c, Frame&) { c.AddControl3(0, 80, 0, 0, 0, 0, true); }},
        {"the curve inverted", [](C3DCurve& c, Frame&) { c.Invert(); }},
        {"the tangents switched off", [](C3DCurve& c, Frame&) { c.SetShowTangent(false); }},
        {"the arrows switched off", [](C3DCurve& c, Frame&) { c.SetShowArrow(false); }},
        {"the path colour", [](C3DCurve& c, Frame&) { c.SetSegmentColor(0x00FF00, 40); }},
        {"the selection colour", [](C3DCurve& c, Frame&) { c.SetSelectedControlForecolor(0x00FFFF); }},
        {"the control size", [](C3DCurve& c, Frame&) { c.SetControlDrawSize(7); }},
        {"the view kind", [](C3DCurve&, Frame& f) { f.view = CView::ViewXZ; }},
        {"the zoom, with arrows", [](C3DCurve&, Frame& f) { f.zoom = 5; }},
        {"points instead of lines or back", [](C3DCurve&, Frame& f) { f.lines = !f.lines; }},
    };
    for (const Case& k : cases) {
        for (bool lines : {false, true}) {
            SCOPED_TRACE(std::string(k.name) + (lines ? " (lines)" : " (points)"));
            C3DCurve c = ThreeControls();
            Frame f;
            f.lines = lines;
            const Picture first = Draw(c, f);
            const uint64_t samplings = D::Samplings(c);
            EXPECT_EQ(D::Builds(c), 1u);
            // Nothing changed: the same arrays, not sampled again.
            EXPECT_EQ(Draw(c, f), first);
            EXPECT_EQ(D::Builds(c), 1u);
            EXPECT_EQ(D::Samplings(c), samplings);

            k.change(c, f);
            const Picture changed = Draw(c, f);
            EXPECT_EQ(D::Builds(c), 2u);
            EXPECT_NE(changed, first);
            EXPECT_EQ(changed, DrawnAfresh(c, f));
            EXPECT_EQ(Draw(c, f), changed);
            EXPECT_EQ(D::Builds(c), 2u);
        }
    }

    // Without arrows the zoom moves only the labels, which are not kept.
    C3DCurve c = ThreeControls();
    c.SetShowArrow(false);
    Frame f;
    const Picture before = Draw(c, f);
    f.zoom = 5;
    const Picture after = Draw(c, f);
    EXPECT_EQ(D::Builds(c), 1u);
    EXPECT_EQ(after.prims, before.prims);
    EXPECT_NE(after.labels, before.labels);
    EXPECT_EQ(after, DrawnAfresh(c, f));
}

TEST(C3DCurveDrawArrays, CopiesUndoStatesAndRemovalsDrawTheirOwnCurves)
{
    C3DCurveController controller;
    for (int k = 0; k < 2; ++k) {
        C3DCurve& c = controller.Add(QStringLiteral("Path"));
        T::Lay(c, {{0, 0, 10.0f * k}, {100, 0, 0}, {100, 100, 50}});
        T::SetRawStepRate(c, 10);
        c.SetSelected(2, k == 0);
    }
    const Frame points;
    Frame lines;
    lines.lines = true;
    const Picture first = Draw(controller.Curves(0), points);
    const Picture second = Draw(controller.Curves(1), lines);

    // The undo stack keeps a clone; the user moves a point.
    const std::unique_ptr<C3DCurveController> undo = controller.Clone();
    controller.Curves(0).SetX(2, 60);
    const Picture moved = Draw(controller.Curves(0), points);
    EXPECT_NE(moved, first);
    EXPECT_EQ(moved, DrawnAfresh(controller.Curves(0), points));
    // The clone draws what was there when it was taken.
    EXPECT_EQ(Draw(undo->Curves(0), points), first);

    // Undo, by copy and by taking the clone's curves over.
    controller.Load(*undo);
    EXPECT_EQ(Draw(controller.Curves(0), points), first);
    controller.Curves(0).SetX(2, 60);
    EXPECT_EQ(Draw(controller.Curves(0), points), moved);
    std::unique_ptr<C3DCurveController> taken = undo->Clone();
    controller.Load(std::move(*taken));
    EXPECT_EQ(Draw(controller.Curves(0), points), first);

    // A removed curve's arrays go with it; the next one draws its own.
    controller.Remove(0);
    ASSERT_EQ(controller.CurveCount(), 1);
    EXPECT_EQ(Draw(controller.Curves(0), lines), second);
}

TEST(C3DCurveDrawArrays, AnEditDuringAFrameShowsInTheNextFrame)
{
    struct Case
    {
        const char* name;
        std::function<void(C3DCurve&)> edit;
    };
    const Case cases[] = {
        {"a control moved", [](C3DCurve& c) { c.SetPosition(1, {30, 30, 30}); }},
        {"a control deleted", [](C3DCurve& c) { c.DeleteControl(3); }},
        {"every control deleted", [](C3DCurve& c) { c.Clear(); }},
        {"controls added", [](C3DCurve& c) {
             for (int i = 0; i < 40; ++i)
                 c.AddControl3(static_cast<float>(i), 50, 0, 0, 0, 0, true);
         }},
    };
    for (const Case& k : cases) {
        // From inside an array call, and from inside a label's text.
        for (bool fromArrays : {true, false}) {
            SCOPED_TRACE(std::string(k.name) + (fromArrays ? " while drawing arrays" : " while printing"));
            C3DCurve c = ThreeControls();
            DrawRecorder rec;
            GLDraw::ScopedTarget target(rec);
            FakeView view(rec, CView::ViewXY, 2.0);
            bool edited = false;
            const auto once = [&] {
                if (!edited) {
                    edited = true;
                    k.edit(c);
                }
            };
            if (fromArrays)
                rec.onArrays = once;
            else
                view.onPrint = once;
            c.DrawCurve(view);
            ASSERT_TRUE(edited);
            rec.onArrays = nullptr;
            view.onPrint = nullptr;
            EXPECT_EQ(Draw(c, Frame{}), DrawnAfresh(c, Frame{}));
        }
    }
}
