#include "C3DViewPreset.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <map>

namespace {

CView MakeView(int32_t kind)
{
    CView v;
    switch (kind) {
    case CView::ViewXY: v.Initialize(kind, 0, 1, 2, 5, 1, 20, true, true, false); break;
    case CView::ViewXZ: v.Initialize(kind, 0, 2, 1, 5, 1, 20, true, true, false); break;
    case CView::ViewYZ: v.Initialize(kind, 1, 2, 0, 5, 1, 20, true, true, false); break;
    default: v.Initialize(kind, 0, 1, 2, 5, 1, 20, false, false, false); break;
    }
    return v;
}

class Owner final : public IViewPresetOwner
{
public:
    std::optional<CView> GetViewCopy(int32_t kind) override
    {
        if (kind == 1 || kind == 2 || kind == 4 || kind == 8)
            return MakeView(kind);
        return std::nullopt;
    }
    int32_t ScaleNormalize(int32_t step) override { return std::clamp(step, 1, 20); }
};

TEST(C3DViewPreset, EmptyPresetGivesAndRefusesTheEmptyText)
{
    C3DViewPreset p;
    Owner owner;
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.Serialize(), QString());
    EXPECT_FALSE(p.Deserialize(owner, QString(), true));
    EXPECT_FALSE(p.Deserialize(owner, QStringLiteral("  v1 "), true));
    EXPECT_TRUE(p.IsEmpty());
}

TEST(C3DViewPreset, ThreeDViewRoundTripsWithItsCamera)
{
    C3DViewPreset p;
    auto view = std::make_shared<CView>(MakeView(8));
    auto cam = std::make_shared<C3DCamera>();
    cam->Clear();
    cam->Setp(0, 100);
    cam->Setp(1, -20.5f);
    cam->Setp(2, 64);
    cam->SetPitch(10);
    cam->SetYaw(90);
    cam->SetRoll(0);
    cam->SetFov(90);
    cam->SetZFar(50000);
    p.SetView(view);
    p.SetCamera(cam);
    const QString text = p.Serialize();
    EXPECT_EQ(text, QStringLiteral("v1|") + view->Serialize() + QStringLiteral("|100;-20.5;64;10;90;0;90;50000|"));

    QLocale::setDefault(QLocale(QLocale::German));
    C3DViewPreset q;
    Owner owner;
    ASSERT_TRUE(q.Deserialize(owner, text, true));
    QLocale::setDefault(QLocale::c());
    ASSERT_FALSE(q.IsEmpty());
    EXPECT_EQ(q.View()->ViewFlag(), 8);
    EXPECT_FLOAT_EQ(q.Camera()->p(1), -20.5f);
    EXPECT_FLOAT_EQ(q.Camera()->Pitch(), 10);
    EXPECT_FLOAT_EQ(q.Camera()->Yaw(), 90);
    EXPECT_FLOAT_EQ(q.Camera()->ZFar(), 50000);
    EXPECT_EQ(q.Serialize(), text);
}

TEST(C3DViewPreset, CurrentFormCases)
{
    Owner owner;
    const QString view3d = MakeView(8).Serialize();
    const QString viewTop = MakeView(1).Serialize();
    struct Case
    {
        const char* name;
        QString text;
        bool result;
        float fov, zfar, x;
    };
    const Case cases[] = {
        {"flat view: empty camera field, default camera", "v1|" + viewTop + "||", true, 90, 50000, 0},
        {"short camera field: default camera", "v1|" + view3d + "|1;2;3|", true, 90, 50000, 0},
        {"clamped field of view and far plane", "v1|" + view3d + "|5;0;0;0;0;0;200;50|", true, 179.99f, 100, 5},
        {"unreadable numbers read as 0", "v1|" + view3d + "|x;0;0;0;0;0;90;50000|", true, 90, 50000, 0},
        {"too few fields", "v1|" + view3d, false, 90, 50000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        C3DViewPreset p;
        EXPECT_EQ(p.Deserialize(owner, c.text, true), c.result);
        EXPECT_FLOAT_EQ(p.Camera()->Fov(), c.fov);
        EXPECT_FLOAT_EQ(p.Camera()->ZFar(), c.zfar);
        EXPECT_FLOAT_EQ(p.Camera()->p(0), c.x);
    }
    C3DViewPreset flat;
    ASSERT_TRUE(flat.Deserialize(owner, "v1|" + viewTop + "||", true));
    EXPECT_TRUE(flat.Serialize().endsWith(QLatin1String("||")));
}

TEST(C3DViewPreset, OlderFormCases)
{
    Owner owner;
    {
        SCOPED_TRACE("kind 3 is unknown");
        C3DViewPreset p;
        EXPECT_FALSE(p.Deserialize(owner, QStringLiteral("0;3;1;2;3;4;5;6;7;8;9;10;11"), true));
        EXPECT_TRUE(p.IsEmpty());
    }
    {
        SCOPED_TRACE("fewer than 13 parts");
        C3DViewPreset p;
        EXPECT_FALSE(p.Deserialize(owner, QStringLiteral("0;1;1;2;3;4;5;6;7;8;9;10"), true));
    }
    {
        SCOPED_TRACE("flat view: origin and zoom step, clamped by the owner");
        C3DViewPreset p;
        ASSERT_TRUE(p.Deserialize(owner, QStringLiteral("0;1;150.5;-30;99;0;0;0;0;0;0;0;0"), true));
        EXPECT_FLOAT_EQ(p.View()->CurrentOrigin(1), 150.5f);
        EXPECT_FLOAT_EQ(p.View()->CurrentOrigin(2), -30);
        EXPECT_EQ(p.View()->ScaleIndex(), 20);
    }
    {
        SCOPED_TRACE("3D view: the camera, and the flags of 20 parts");
        C3DViewPreset p;
        ASSERT_TRUE(p.Deserialize(owner, QStringLiteral("0;8;0;0;0;1;2;3;4;5;6;200;50;1;0;1;0;0;0;0"), true));
        EXPECT_FLOAT_EQ(p.Camera()->p(2), 3);
        EXPECT_FLOAT_EQ(p.Camera()->Pitch(), 4);
        EXPECT_FLOAT_EQ(p.Camera()->Yaw(), 5);
        EXPECT_FLOAT_EQ(p.Camera()->Roll(), 6);
        EXPECT_FLOAT_EQ(p.Camera()->Fov(), 179.99f);
        EXPECT_FLOAT_EQ(p.Camera()->ZFar(), 100);
        EXPECT_TRUE(p.View()->EnableAA());
        EXPECT_TRUE(p.View()->ShowGrid());
        EXPECT_FALSE(p.View()->ShowRuler());
    }
    {
        SCOPED_TRACE("a capital V is the older form");
        C3DViewPreset p;
        EXPECT_FALSE(p.Deserialize(owner, QStringLiteral("V1|x|y|"), true));
    }
    {
        SCOPED_TRACE("regional numbers");
        QLocale::setDefault(QLocale(QLocale::German));
        C3DViewPreset p;
        const bool ok = p.Deserialize(owner, QStringLiteral("0;1;150,5;-30;5;0;0;0;0;0;0;0;0"), false);
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(ok);
        // Read with the system's format, which the test cannot choose: a
        // comma either reads as the decimal point or leaves the value 0.
        const float o = p.View()->CurrentOrigin(1);
        EXPECT_TRUE(o == 150.5f || o == 0.0f);
    }
}

}  // namespace
