#include "C3DCamera.h"

#include "ControlRecord.h"
#include "RuvError.h"
#include "test_LocaleScope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace {

using modeltest::LocaleScope;

C3DCamera ClearedCamera()
{
    C3DCamera c;
    c.Clear();
    return c;
}

// A camera with every written field set and within the clamps.
C3DCamera SampleCamera()
{
    C3DCamera c = ClearedCamera();
    c.SetPosition({100.5f, -20.0f, 64.0f});
    c.SetPitch(90.0f);
    c.SetYaw(45.0f);
    c.SetRoll(0.0f);
    return c;
}

void ExpectSameWrittenFields(const C3DCamera& a, const C3DCamera& b)
{
    EXPECT_EQ(a.Position(), b.Position());
    EXPECT_EQ(a.Pitch(), b.Pitch());
    EXPECT_EQ(a.Yaw(), b.Yaw());
    EXPECT_EQ(a.Roll(), b.Roll());
    EXPECT_EQ(a.Fov(), b.Fov());
    EXPECT_EQ(a.ZFar(), b.ZFar());
}

void ExpectRaises(int32_t number, auto&& f)
{
    try {
        f();
        ADD_FAILURE() << "no error raised";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), number) << e.what();
    }
}

C3DCamera::Matrix Identity()
{
    C3DCamera::Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

} // namespace

TEST(C3DCamera, NewCameraIsZeroAndClearSetsDefaults)
{
    const C3DCamera fresh;
    EXPECT_EQ(fresh.Fov(), 0.0f);
    EXPECT_EQ(fresh.ZFar(), 0.0f);
    EXPECT_EQ(fresh.Position(), (C3DCamera::Vec3{0, 0, 0}));

    C3DCamera c = SampleCamera();
    c.SetDist(1, 5.0f);
    c.Clear();
    EXPECT_EQ(c.Position(), (C3DCamera::Vec3{0, 0, 0}));
    EXPECT_EQ(c.Dist(1), 0.0f);
    EXPECT_EQ(c.Yaw(), 0.0f);
    EXPECT_EQ(c.Fov(), 90.0f);
    EXPECT_EQ(c.ZFar(), 50000.0f);
}

TEST(C3DCamera, IndicesOutsideZeroToTwoRaiseAndChangeNothing)
{
    C3DCamera c = SampleCamera();
    for (int32_t index : {-1, 3, 100}) {
        ExpectRaises(RuvError::IndexOutOfRange, [&] { (void)c.p(index); });
        ExpectRaises(RuvError::IndexOutOfRange, [&] { c.Setp(index, 1.0f); });
        ExpectRaises(RuvError::IndexOutOfRange, [&] { (void)c.GamePos(index); });
        ExpectRaises(RuvError::IndexOutOfRange, [&] { (void)c.Dist(index); });
        ExpectRaises(RuvError::IndexOutOfRange, [&] { c.SetDist(index, 1.0f); });
    }
    ExpectSameWrittenFields(c, SampleCamera());
    c.Setp(2, 7.0f);
    EXPECT_EQ(c.p(2), 7.0f);
}

TEST(C3DCamera, GameConventionBothWays)
{
    C3DCamera c = SampleCamera();
    c.SetRoll(12.0f);
    EXPECT_EQ(c.GamePos(0), -100.5f);
    EXPECT_EQ(c.GamePos(1), 20.0f);
    EXPECT_EQ(c.GamePos(2), -64.0f);
    EXPECT_EQ(c.GameYaw(), 45.0f);
    EXPECT_EQ(c.GamePitch(), -90.0f);
    EXPECT_EQ(c.GameRoll(), 12.0f);
    c.SetYaw(0.0f);
    EXPECT_EQ(c.GameYaw(), 90.0f);
    // No wrapping into a range.
    c.SetYaw(-300.0f);
    EXPECT_EQ(c.GameYaw(), 390.0f);

    struct Case { float yaw, pitch, roll, fov; float camYaw, camPitch, camFov; };
    const Case cases[] = {
        {90, 0, 0, 90, 0, 0, 90},
        {0, 10, 0, 90, 90, -10, 90},
        {-170, -45, 30, 60, 260, 45, 60},
        {10, 0, 0, 0.0f, 80, 0, 0.1f},       // field of view clamped
        {10, 0, 0, 250.0f, 80, 0, 179.99f},
    };
    for (const auto& k : cases) {
        C3DCamera cam = ClearedCamera();
        cam.SetDist(0, 3.0f);
        cam.SetZFar(2000.0f);
        ControlRecord r = NewControlRecord();
        r.X = 1.5f;
        r.Y = -2.0f;
        r.Z = 3.0f;
        r.Yaw = k.yaw;
        r.Pitch = k.pitch;
        r.Roll = k.roll;
        r.Fov = k.fov;
        cam.SetFromGameValues(r);
        EXPECT_EQ(cam.Position(), (C3DCamera::Vec3{-1.5f, 2.0f, -3.0f}));
        EXPECT_EQ(cam.Yaw(), k.camYaw);
        EXPECT_EQ(cam.Pitch(), k.camPitch);
        EXPECT_EQ(cam.Roll(), k.roll);
        EXPECT_EQ(cam.Fov(), k.camFov);
        EXPECT_EQ(cam.Dist(0), 3.0f);
        EXPECT_EQ(cam.ZFar(), 2000.0f);
        // And back to the game values.
        EXPECT_EQ(cam.GameYaw(), k.yaw);
        EXPECT_EQ(cam.GamePitch(), k.pitch);
        EXPECT_EQ(cam.GamePos(0), r.X);
    }
}

TEST(C3DCamera, FovAndZFarClamps)
{
    struct Case { float in, fov, zfar; };
    const Case cases[] = {
        {0.0f, 0.1f, 100.0f},
        {-5.0f, 0.1f, 100.0f},
        {45.5f, 45.5f, 100.0f},
        {200.0f, 179.99f, 200.0f},
        {150.5f, 150.5f, 150.0f},
        {151.5f, 151.5f, 152.0f},
        {1e9f, 179.99f, 100000.0f},
        {std::numeric_limits<float>::quiet_NaN(), 0.1f, 100.0f},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.in);
        C3DCamera c = ClearedCamera();
        c.SetFov(k.in);
        c.SetZFar(k.in);
        EXPECT_EQ(c.Fov(), k.fov);
        EXPECT_EQ(c.ZFar(), k.zfar);
    }
}

TEST(C3DCamera, RoundFovStaysWithinTheRange)
{
    struct Case { float in, out; };
    const Case cases[] = {
        {0.1f, 0.1f},   {45.5f, 46.0f},    {44.5f, 44.0f},     {90.0f, 90.0f},
        {179.99f, 179.99f},
        // Rounding would leave the range: it is clamped again.
        {0.4f, 0.1f},   {179.6f, 179.99f}, {179.5f, 179.99f},  {0.6f, 1.0f},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.in);
        C3DCamera c = ClearedCamera();
        c.SetFov(k.in);
        c.RoundFov();
        EXPECT_EQ(c.Fov(), k.out);
    }
}

TEST(C3DCamera, LoadAndCloneCopyWithoutClampsButNotTheAxes)
{
    C3DCamera fresh;  // field of view 0, outside the clamp
    C3DCamera target = SampleCamera();
    target.Load(fresh);
    EXPECT_EQ(target.Fov(), 0.0f);
    EXPECT_EQ(target.ZFar(), 0.0f);

    C3DCamera source = SampleCamera();
    source.SetDist(0, 2.0f);
    source.SetDist(2, -1.0f);
    source.ApplyViewTransform(Identity(), true, true);
    const C3DCamera clone = source.Clone();
    ExpectSameWrittenFields(clone, source);
    EXPECT_EQ(clone.Dist(0), source.Dist(0));
    EXPECT_EQ(clone.ModelViewMatrix(), C3DCamera::Matrix{});
    EXPECT_EQ(clone.Forward(), (C3DCamera::Vec3{0, 0, 0}));
}

TEST(C3DCamera, SerializeWritesEightFields)
{
    EXPECT_EQ(ClearedCamera().Serialize(), QStringLiteral("0;0;0;0;0;0;90;50000"));
    EXPECT_EQ(SampleCamera().Serialize(), QStringLiteral("100.5;-20;64;90;45;0;90;50000"));
    C3DCamera c = ClearedCamera();
    c.SetPosition({1e-5f, -0.5f, 12345678.0f});
    c.SetDist(0, 9.0f);  // not written
    EXPECT_EQ(c.Serialize(), QStringLiteral("1E-05;-0.5;1.2345678E+07;0;0;0;90;50000"));
}

TEST(C3DCamera, TextRoundTripUnderEveryLocale)
{
    const std::pair<const char*, const char*> locales[] = {
        {"C", "."}, {"de_DE.UTF-8", ","}, {"fr_FR.UTF-8", ","}};
    for (const auto& [locale, decimalPoint] : locales) {
        SCOPED_TRACE(locale);
        LocaleScope scope(locale);
        ASSERT_TRUE(scope.Took(decimalPoint)) << locale << " is not installed";
        C3DCamera source = ClearedCamera();
        // Floats that seven significant digits do not hold exactly.
        source.SetPosition({1234.5677f, -0.1f, 3.3333333f});
        source.SetPitch(-12.345678f);
        source.SetYaw(359.99997f);
        source.SetRoll(0.7f);
        source.SetFov(67.3f);
        source.SetZFar(12345.0f);
        const QString text = source.Serialize();
        EXPECT_FALSE(text.contains(QLatin1Char(',')));
        C3DCamera read;
        read.Deserialize(text);
        ExpectSameWrittenFields(read, source);
    }
}

struct DeserializeCase
{
    const char* text;
    C3DCamera::Vec3 position;
    float pitch, yaw, roll, fov, zfar;
};

// Every case starts from SampleCamera(): 100.5;-20;64;90;45;0;90;50000.
TEST(C3DCamera, DeserializeReadsThePiecesPresent)
{
    const DeserializeCase cases[] = {
        {"", {100.5f, -20, 64}, 90, 45, 0, 90, 50000},
        {"1.5;-2;3", {1.5f, -2, 3}, 90, 45, 0, 90, 50000},
        {"abc", {0, -20, 64}, 90, 45, 0, 90, 50000},
        {"0;0;0;0;0;0;0;0", {0, 0, 0}, 0, 0, 0, 0.1f, 100},
        {"0;0;0;0;0;0;200;1e9", {0, 0, 0}, 0, 0, 0, 179.99f, 100000},
        {"1;2;3;4;5;6;7;150.5", {1, 2, 3}, 4, 5, 6, 7, 150},
        {"1;2;3;4;5;6;7;151.5", {1, 2, 3}, 4, 5, 6, 7, 152},
        {"1,5", {1, -20, 64}, 90, 45, 0, 90, 50000},
        {"1;2;3;4;5;6;7;8000;9;10", {1, 2, 3}, 4, 5, 6, 7, 8000},
        {" \t-7.5e1x;;", {-75, 0, 0}, 90, 45, 0, 90, 50000},
        // Beyond the float range reads as 0.
        {"1e39;-1e300", {0, 0, 64}, 90, 45, 0, 90, 50000},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        C3DCamera c = SampleCamera();
        c.SetDist(1, 4.0f);
        c.Deserialize(QString::fromLatin1(k.text));
        EXPECT_EQ(c.Position(), k.position);
        EXPECT_EQ(c.Pitch(), k.pitch);
        EXPECT_EQ(c.Yaw(), k.yaw);
        EXPECT_EQ(c.Roll(), k.roll);
        EXPECT_EQ(c.Fov(), k.fov);
        EXPECT_EQ(c.ZFar(), k.zfar);
        EXPECT_EQ(c.Dist(1), 4.0f);
    }
}

TEST(C3DCamera, DeserializeIgnoresTheLocale)
{
    LocaleScope scope("de_DE.UTF-8");
    ASSERT_TRUE(scope.Took(",")) << "de_DE.UTF-8 is not installed";
    C3DCamera c = ClearedCamera();
    c.Deserialize(QStringLiteral("1.25;2,5;-3.5"));
    EXPECT_EQ(c.Position(), (C3DCamera::Vec3{1.25f, 2.0f, -3.5f}));
}

// The view transform, checked against the view direction it must give: a
// camera looking along game yaw y and pitch p must see the game direction
// (cos y cos p, sin y cos p, sin p) as the eye's -z axis.
TEST(C3DCamera, ViewTransformLooksAlongTheGameDirection)
{
    struct Case { float gameYaw, gamePitch; };
    const Case cases[] = {{0, 0}, {90, 0}, {45, 30}, {-120, -60}, {180, 10}};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.gameYaw << " " << k.gamePitch);
        C3DCamera c = ClearedCamera();
        c.SetYaw(90.0f - k.gameYaw);
        c.SetPitch(-k.gamePitch);
        const auto m = c.ApplyViewTransform(Identity(), false, false);
        const double y = k.gameYaw * M_PI / 180.0;
        const double p = k.gamePitch * M_PI / 180.0;
        // The map is drawn in game coordinates.
        const double dir[3] = {std::cos(y) * std::cos(p), std::sin(y) * std::cos(p), std::sin(p)};
        // The eye's z coordinate of the direction (third row of the matrix).
        const double eyeZ = m[2] * dir[0] + m[6] * dir[1] + m[10] * dir[2];
        EXPECT_NEAR(eyeZ, -1.0, 1e-6);
    }
}

TEST(C3DCamera, ViewTransformRecordsAxesAndTranslates)
{
    C3DCamera c = ClearedCamera();
    c.SetPosition({10.0f, 20.0f, 30.0f});
    // Yaw 0, pitch 0: rotated by -90 about x only.
    const auto m = c.ApplyViewTransform(Identity(), false, false);
    EXPECT_EQ(c.ModelViewMatrix()[0], 1.0);
    EXPECT_NEAR(c.Side()[0], 1.0f, 1e-6f);
    EXPECT_NEAR(c.Side()[1], 0.0f, 1e-6f);
    EXPECT_NEAR(c.Side()[2], 0.0f, 1e-6f);
    // m[6] = -1 after rotating -90 about x: mForward takes m[2], m[6], -m[10],
    // the view direction (game yaw 90) in the camera's negated convention.
    EXPECT_NEAR(c.Forward()[0], 0.0f, 1e-6f);
    EXPECT_NEAR(c.Forward()[1], -1.0f, 1e-6f);
    EXPECT_NEAR(c.Forward()[2], 0.0f, 1e-6f);
    EXPECT_NEAR(c.Up()[2], 1.0f, 1e-6f);
    // Translation by the position itself, seen through the rotation.
    EXPECT_NEAR(m[12], 10.0, 1e-9);
    EXPECT_NEAR(m[13], 30.0, 1e-5);
    EXPECT_NEAR(m[14], -20.0, 1e-5);
    EXPECT_EQ(m[15], 1.0);
}

TEST(C3DCamera, RollTurnsAboutTheViewingAxis)
{
    C3DCamera level = ClearedCamera();
    level.SetYaw(30.0f);
    level.SetPitch(20.0f);
    C3DCamera rolled = level;
    rolled.SetRoll(90.0f);
    level.ApplyViewTransform(Identity(), false, false);
    rolled.ApplyViewTransform(Identity(), false, false);
    // The viewing axis stays where it was; the side axis turns onto the up axis.
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(rolled.Forward()[i], level.Forward()[i], 1e-6f);
    const float dot = rolled.Side()[0] * level.Side()[0] + rolled.Side()[1] * level.Side()[1]
                      + rolled.Side()[2] * level.Side()[2];
    EXPECT_NEAR(dot, 0.0f, 1e-6f);
}

TEST(C3DCamera, MoveAlongTheAxesConsumesTheDistances)
{
    C3DCamera c = ClearedCamera();
    // Before any view transform the axes are zero: nothing moves.
    c.SetDist(0, 5.0f);
    C3DCamera::Vec3 pos{1, 2, 3};
    EXPECT_EQ(c.GL3DMove(pos, true, true), (C3DCamera::Vec3{1, 2, 3}));
    EXPECT_EQ(c.Dist(0), 5.0f);

    c.ApplyViewTransform(Identity(), false, false);  // consumes all
    EXPECT_EQ(c.Dist(0), 0.0f);
    c.SetDist(0, 2.0f);  // sideways: side axis (1, 0, 0)
    c.SetDist(1, 3.0f);  // forwards: (0, -1, 0)
    c.SetDist(2, 4.0f);  // up: (0, 0, 1), subtracted from z
    pos = {1, 2, 3};
    const auto result = c.GL3DMove(pos, true, false);
    EXPECT_NEAR(pos[0], 3.0f, 1e-5f);
    EXPECT_NEAR(pos[1], -1.0f, 1e-5f);
    EXPECT_NEAR(pos[2], -1.0f, 1e-5f);
    EXPECT_EQ(result, pos);
    // A continuing sideways move stays for the next frame; up is consumed.
    EXPECT_EQ(c.Dist(0), 2.0f);
    EXPECT_EQ(c.Dist(1), 0.0f);
    EXPECT_EQ(c.Dist(2), 0.0f);

    // The transform moves the camera's own position the same way: forwards
    // along the view direction (game yaw 90: game +y), upwards along game +z.
    c.SetPosition({0, 0, 0});
    c.SetDist(0, 0.0f);
    c.SetDist(1, 10.0f);
    c.SetDist(2, 5.0f);
    c.ApplyViewTransform(Identity(), true, true);
    EXPECT_NEAR(c.GamePos(0), 0.0f, 1e-5f);
    EXPECT_NEAR(c.GamePos(1), 10.0f, 1e-5f);
    EXPECT_NEAR(c.GamePos(2), 5.0f, 1e-5f);
    EXPECT_EQ(c.Dist(1), 10.0f);
    EXPECT_EQ(c.Dist(2), 0.0f);
}

TEST(C3DCamera, MoveThatOverflowsRaisesAndChangesNothing)
{
    C3DCamera c = ClearedCamera();
    c.ApplyViewTransform(Identity(), false, false);
    // Forward is (0, -1, 0): a negative forward move adds to y.
    c.SetDist(1, -std::numeric_limits<float>::max());
    C3DCamera::Vec3 pos{0, std::numeric_limits<float>::max(), 0};
    ExpectRaises(RuvError::Overflow, [&] { c.GL3DMove(pos, false, false); });
    EXPECT_EQ(pos[1], std::numeric_limits<float>::max());
    EXPECT_EQ(c.Dist(1), -std::numeric_limits<float>::max());
}

// The transform multiplies onto whatever matrix is current, as OpenGL does.
TEST(C3DCamera, ViewTransformMultipliesOntoTheCurrentMatrix)
{
    C3DCamera a = ClearedCamera();
    a.SetPosition({10, -20, 30});
    a.SetYaw(33);
    a.SetPitch(-17);
    a.SetRoll(25);
    C3DCamera b = a;
    const auto plain = a.ApplyViewTransform(Identity(), false, false);
    C3DCamera::Matrix scale = Identity();
    scale[0] = 2.0;
    scale[13] = 7.0;  // and a translation along y
    const auto scaled = b.ApplyViewTransform(scale, false, false);
    for (int col = 0; col < 4; ++col) {
        EXPECT_NEAR(scaled[col * 4 + 0], 2.0 * plain[col * 4 + 0], 1e-9);
        EXPECT_NEAR(scaled[col * 4 + 1], plain[col * 4 + 1] + 7.0 * plain[col * 4 + 3], 1e-9);
        EXPECT_NEAR(scaled[col * 4 + 2], plain[col * 4 + 2], 1e-9);
    }
}
