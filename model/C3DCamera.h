#pragma once

#include <QString>

#include <array>
#include <cstdint>

struct ControlRecord;

// The camera of the 3D view: a position, a pending move, three angles, a
// field of view and a far clipping distance.
//
// The camera keeps its values in the 3D view's own convention. Control
// points and everything written for the games keep the game's convention;
// the two differ only here:
//   game position = -camera position (each axis)
//   game yaw      = 90 - camera yaw
//   game pitch    = -camera pitch
//   game roll     = camera roll
// Angles are degrees and are never wrapped into a range.
class C3DCamera
{
public:
    using Vec3 = std::array<float, 3>;
    // Column-major, as OpenGL keeps its matrices.
    using Matrix = std::array<double, 16>;

    static constexpr float DefaultFov = 90.0f;
    static constexpr float DefaultZFar = 50000.0f;

    // Holds 0 in every field, field of view and far distance included,
    // until Clear or Load sets it.
    C3DCamera() = default;

    // A fresh camera loaded from this one: the matrix and the axes of the
    // last view transform are not carried over.
    C3DCamera Clone() const;
    // Copies position, pending move, angles, field of view and far distance
    // as they are (no clamps).
    void Load(const C3DCamera& source);
    // Position, move and angles 0, field of view 90, far distance 50000.
    void Clear();

    Vec3 Position() const { return m_position; }
    void SetPosition(const Vec3& position) { m_position = position; }
    // Index 0 to 2; any other raises RuvError 9 and changes nothing.
    float p(int32_t index) const;
    void Setp(int32_t index, float value);
    float GamePos(int32_t index) const;
    float Dist(int32_t index) const;
    void SetDist(int32_t index, float value);

    float Yaw() const { return m_yaw; }
    void SetYaw(float value) { m_yaw = value; }
    float GameYaw() const { return 90.0f - m_yaw; }
    float Pitch() const { return m_pitch; }
    void SetPitch(float value) { m_pitch = value; }
    float GamePitch() const { return -m_pitch; }
    float Roll() const { return m_roll; }
    void SetRoll(float value) { m_roll = value; }
    float GameRoll() const { return m_roll; }

    float Fov() const { return m_fov; }
    // Kept within 0.1 to 179.99.
    void SetFov(float value);
    // A field of view strictly inside its range becomes a whole number
    // (halves to even), kept within the range.
    void RoundFov();
    float ZFar() const { return m_zFar; }
    // Kept a whole number within 100 to 100000.
    void SetZFar(float value);

    // Sets position, angles and field of view (clamped) from a control's
    // game-convention values; the pending move and far distance stay.
    void SetFromGameValues(const ControlRecord& record);

    // Multiplies the camera's view transform onto the current OpenGL
    // model-view matrix and performs the pending move. Needs a current
    // context; the arithmetic is ApplyViewTransform.
    void Tanslate(bool keepDist0, bool keepDist1);
    // The same without OpenGL: multiplies the transform onto `current`,
    // records the matrix and the camera axes, performs the pending move and
    // returns the resulting model-view matrix.
    Matrix ApplyViewTransform(const Matrix& current, bool keepDist0, bool keepDist1);
    // Moves `position` in place by the pending move along the axes of the
    // last view transform and returns a copy of it. Dist(0) and Dist(1)
    // stay when asked to; Dist(2) is always consumed. A move that overflows
    // the 32-bit float range raises RuvError 6 and changes nothing.
    Vec3 GL3DMove(Vec3& position, bool keepDist0, bool keepDist1);

    // The matrix and axes of the last view transform (zeros before it).
    const Matrix& ModelViewMatrix() const { return m_matrix; }
    const Vec3& Forward() const { return m_forward; }
    const Vec3& Side() const { return m_side; }
    const Vec3& Up() const { return m_up; }

    // "x;y;z;pitch;yaw;roll;fov;zfar" in the camera's own convention,
    // numbers locale-free.
    QString Serialize() const;
    // Reads the fields present, through the setters (clamped); fields that
    // are missing keep their values, unreadable ones read as 0. Never fails.
    void Deserialize(const QString& text);

private:
    Vec3 m_position{};
    Vec3 m_dist{};
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    float m_roll = 0.0f;
    float m_fov = 0.0f;
    float m_zFar = 0.0f;
    Matrix m_matrix{};
    Vec3 m_forward{};
    Vec3 m_side{};
    Vec3 m_up{};
};
