#include "C3DViewPreset.h"

#include "MCommon.h"
#include "MRuvMain.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {

float Dot(const QString& part)
{
    return static_cast<float>(MCommon::ReadLeadingNumber(part));
}

int32_t RoundHalfEven(float v)
{
    if (!std::isfinite(v))
        return 0;
    const double r = std::nearbyint(static_cast<double>(v));
    if (r > 2147483647.0)
        return 2147483647;
    if (r < -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int32_t>(r);
}

// Each value is set on its own: a failure on one leaves the rest to be set.
template <class F>
void Try(F&& f)
{
    try {
        f();
    } catch (...) {
    }
}

void SetCameraValues(C3DCamera& cam, float x, float y, float z, float pitch, float yaw, float roll, float fov, float zfar)
{
    Try([&] { cam.Setp(0, x); });
    Try([&] { cam.Setp(1, y); });
    Try([&] { cam.Setp(2, z); });
    Try([&] { cam.SetPitch(pitch); });
    Try([&] { cam.SetYaw(yaw); });
    Try([&] { cam.SetRoll(roll); });
    Try([&] { cam.SetFov(MRuvMain::ClampFov(fov)); });
    Try([&] { cam.SetZFar(MRuvMain::ClampZFar(zfar)); });
}

}  // namespace

C3DViewPreset::C3DViewPreset()
{
    Clear();
}

void C3DViewPreset::Clear()
{
    m_view.reset();
    m_camera = std::make_shared<C3DCamera>();
    m_camera->Clear();
}

QString C3DViewPreset::Serialize() const
{
    if (!m_view)
        return {};
    QString camera;
    if (m_view->ViewFlag() == CView::View3D && m_camera) {
        const C3DCamera& c = *m_camera;
        const float values[] = {c.p(0), c.p(1), c.p(2), c.Pitch(), c.Yaw(), c.Roll(), c.Fov(), c.ZFar()};
        QStringList parts;
        for (float v : values)
            parts << MCommon::FormatSingle(v);
        camera = parts.join(QLatin1Char(';'));
    }
    return QStringLiteral("v1|") + m_view->Serialize() + QLatin1Char('|') + camera + QLatin1Char('|');
}

bool C3DViewPreset::Deserialize(IViewPresetOwner& owner, const QString& text, bool dotNumbers)
{
    Clear();
    const QString t = text.trimmed();
    if (t.size() <= 2)
        return false;
    if (t.startsWith(QLatin1String("v1")))
        return ReadCurrent(t);
    return ReadOlder(owner, t, dotNumbers);
}

bool C3DViewPreset::ReadCurrent(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char('|'));
    if (fields.size() < 3)
        return false;
    auto view = std::make_shared<CView>();
    view->Deserialize(fields[1], true);
    m_view = view;
    if (view->ViewFlag() == CView::View3D) {
        const QStringList parts = fields[2].split(QLatin1Char(';'));
        if (parts.size() >= 8)
            SetCameraValues(*m_camera, Dot(parts[0]), Dot(parts[1]), Dot(parts[2]), Dot(parts[3]), Dot(parts[4]),
                      Dot(parts[5]), Dot(parts[6]), Dot(parts[7]));
    }
    return true;
}

bool C3DViewPreset::ReadOlder(IViewPresetOwner& owner, const QString& text, bool dotNumbers)
{
    const QStringList parts = text.split(QLatin1Char(';'));
    if (parts.size() < 13)
        return false;
    float v[20] = {};
    const QLocale locale = QLocale::system();
    for (int i = 0; i < 20 && i < parts.size(); ++i) {
        if (dotNumbers) {
            v[i] = Dot(parts[i]);
        } else {
            bool ok = false;
            const float f = locale.toFloat(parts[i].trimmed(), &ok);
            v[i] = ok ? f : 0.0f;
        }
    }
    const int32_t kind = RoundHalfEven(v[1]);
    std::optional<CView> copy = owner.GetViewCopy(kind);
    if (!copy)
        return false;
    auto view = std::make_shared<CView>(*copy);
    m_view = view;
    if (kind != CView::View3D) {
        Try([&] { view->SetCurrentOrigin(1, v[2]); });
        Try([&] { view->SetCurrentOrigin(2, v[3]); });
        Try([&] { view->SetScaleIndex(owner.ScaleNormalize(RoundHalfEven(v[4]))); });
    } else {
        SetCameraValues(*m_camera, v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12]);
    }
    if (parts.size() >= 20) {
        view->SetEnableAA(v[13] != 0.0f);
        view->SetShowGrid(v[15] != 0.0f);
        view->SetShowRuler(v[17] != 0.0f);
    }
    return true;
}
