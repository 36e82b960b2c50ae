#pragma once

#include "C3DCamera.h"
#include "CView.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// What the older preset text needs of the window that owns the views.
class IViewPresetOwner
{
public:
    // A copy of the owner's view state of that kind (1, 2, 4 or 8);
    // nothing for any other kind.
    virtual std::optional<CView> GetViewCopy(int32_t viewKind) = 0;
    // The zoom step clamped to the owner's range.
    virtual int32_t ScaleNormalize(int32_t scaleIndex) = 0;

protected:
    ~IViewPresetOwner() = default;
};

// A saved view: the view state and, for the 3D view, the camera. The
// objects are shared with whoever set them, not copied.
//
// Text form: "v1|<view text>|<camera text>|", the camera text
// "x;y;z;pitch;yaw;roll;fov;zfar" only for the 3D view (empty otherwise).
class C3DViewPreset
{
public:
    C3DViewPreset();

    // No view, a fresh default camera.
    void Clear();
    bool IsEmpty() const { return !m_view; }

    std::shared_ptr<CView> View() const { return m_view; }
    void SetView(std::shared_ptr<CView> view) { m_view = std::move(view); }
    std::shared_ptr<C3DCamera> Camera() const { return m_camera; }
    void SetCamera(std::shared_ptr<C3DCamera> camera) { m_camera = std::move(camera); }

    // "" for an empty preset.
    QString Serialize() const;
    // Clears, then reads the current form (beginning "v1") or the older
    // ";"-separated form. `dotNumbers` tells whether the older form's
    // numbers use "." (true) or the user's regional format (false).
    bool Deserialize(IViewPresetOwner& owner, const QString& text, bool dotNumbers);

private:
    bool ReadCurrent(const QString& text);
    bool ReadOlder(IViewPresetOwner& owner, const QString& text, bool dotNumbers);

    std::shared_ptr<CView> m_view;
    std::shared_ptr<C3DCamera> m_camera;
};
