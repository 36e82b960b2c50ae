#include "C3DCamera.h"

#include "ControlRecord.h"
#include "MCommon.h"
#include "MRuvMain.h"
#include "RuvError.h"

#include <QStringList>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int TextFieldCount = 8;

int32_t CheckedAxis(int32_t index, const char* member)
{
    if (index < 0 || index > 2)
        throw RuvError::Platform(RuvError::IndexOutOfRange,
                                 QStringLiteral("C3DCamera.") + QLatin1String(member));
    return index;
}

using Matrix = C3DCamera::Matrix;

// m * b, both column-major: the order in which OpenGL multiplies a new
// transform onto the current matrix.
Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    return r;
}

// What glRotate multiplies on: `degrees` about the axis (x, y, z), which
// is normalized first; an axis of (almost) no length rotates nothing.
Matrix Rotate(const Matrix& m, double degrees, double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4)
        return m;
    x /= length;
    y /= length;
    z /= length;
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double t = 1.0 - c;
    const Matrix r{
        x * x * t + c,     y * x * t + z * s, x * z * t - y * s, 0.0,
        x * y * t - z * s, y * y * t + c,     y * z * t + x * s, 0.0,
        x * z * t + y * s, y * z * t - x * s, z * z * t + c,     0.0,
        0.0,               0.0,               0.0,               1.0,
    };
    return Multiply(m, r);
}

Matrix Translate(const Matrix& m, double x, double y, double z)
{
    Matrix r = m;
    for (int row = 0; row < 4; ++row)
        r[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    return r;
}

} // namespace

C3DCamera C3DCamera::Clone() const
{
    C3DCamera copy;
    copy.Load(*this);
    return copy;
}

void C3DCamera::Load(const C3DCamera& source)
{
    m_position = source.m_position;
    m_dist = source.m_dist;
    m_yaw = source.m_yaw;
    m_pitch = source.m_pitch;
    m_roll = source.m_roll;
    m_fov = source.m_fov;
    m_zFar = source.m_zFar;
}

void C3DCamera::Clear()
{
    m_position = {};
    m_dist = {};
    m_yaw = 0.0f;
    m_pitch = 0.0f;
    m_roll = 0.0f;
    m_fov = DefaultFov;
    m_zFar = DefaultZFar;
}

float C3DCamera::p(int32_t index) const
{
    return m_position[CheckedAxis(index, "p")];
}

void C3DCamera::Setp(int32_t index, float value)
{
    m_position[CheckedAxis(index, "p")] = value;
}

float C3DCamera::GamePos(int32_t index) const
{
    return -m_position[CheckedAxis(index, "GamePos")];
}

float C3DCamera::Dist(int32_t index) const
{
    return m_dist[CheckedAxis(index, "Dist")];
}

void C3DCamera::SetDist(int32_t index, float value)
{
    m_dist[CheckedAxis(index, "Dist")] = value;
}

void C3DCamera::SetFov(float value)
{
    m_fov = MRuvMain::ClampFov(value);
}

void C3DCamera::RoundFov()
{
    if (m_fov > 0.1f && m_fov < 179.99f)
        // Rounding can step out of the range (0.4 gives 0, 179.6 gives 180):
        // a field of view of 0 or 180 makes a degenerate projection.
        m_fov = MRuvMain::ClampFov(MCommon::RoundHalfEven(m_fov));
}

void C3DCamera::SetZFar(float value)
{
    m_zFar = MRuvMain::ClampZFar(value);
}

void C3DCamera::SetFromGameValues(const ControlRecord& record)
{
    m_position = {-record.X, -record.Y, -record.Z};
    m_yaw = 90.0f - record.Yaw;
    m_pitch = -record.Pitch;
    m_roll = record.Roll;
    SetFov(record.Fov);
}

void C3DCamera::Tanslate(bool keepDist0, bool keepDist1)
{
    Matrix current{};
    glGetDoublev(GL_MODELVIEW_MATRIX, current.data());
    const Matrix result = ApplyViewTransform(current, keepDist0, keepDist1);
    glLoadMatrixd(result.data());
}

C3DCamera::Matrix C3DCamera::ApplyViewTransform(const Matrix& current, bool keepDist0, bool keepDist1)
{
    Matrix m = Rotate(current, static_cast<double>(m_pitch) - 90.0, 1.0, 0.0, 0.0);
    m = Rotate(m, m_yaw, 0.0, 0.0, 1.0);
    m_matrix = m;
    m_forward = {static_cast<float>(m[2]), static_cast<float>(m[6]), static_cast<float>(m[10])};

    m = Rotate(m, m_roll, m_forward[0], m_forward[1], m_forward[2]);
    m_matrix = m;
    // The signs are those the view's movement keys were tuned to.
    m_side = {static_cast<float>(m[0]), static_cast<float>(m[4]), static_cast<float>(m[8])};
    m_up = {static_cast<float>(-m[1]), static_cast<float>(-m[5]), static_cast<float>(m[9])};
    m_forward = {static_cast<float>(m[2]), static_cast<float>(m[6]), static_cast<float>(-m[10])};

    Vec3 position = m_position;
    m_position = GL3DMove(position, keepDist0, keepDist1);
    // The camera's own position is the negated game position, so it is
    // translated by as it is.
    return Translate(m, m_position[0], m_position[1], m_position[2]);
}

C3DCamera::Vec3 C3DCamera::GL3DMove(Vec3& position, bool keepDist0, bool keepDist1)
{
    Vec3 d{};
    for (int i = 0; i < 3; ++i)
        d[i] = m_dist[0] * m_side[i] + m_dist[1] * m_forward[i] + m_dist[2] * m_up[i];
    const Vec3 moved{position[0] + d[0], position[1] + d[1], position[2] - d[2]};
    for (float v : moved)
        if (!std::isfinite(v))
            throw RuvError::Platform(RuvError::Overflow, QStringLiteral("C3DCamera.GL3DMove"));

    position = moved;
    if (!keepDist0)
        m_dist[0] = 0.0f;
    if (!keepDist1)
        m_dist[1] = 0.0f;
    m_dist[2] = 0.0f;
    return position;
}

QString C3DCamera::Serialize() const
{
    // The shortest text that reads back to the same float: a camera saved
    // and loaded again stands exactly where it stood.
    const float fields[TextFieldCount] = {m_position[0], m_position[1], m_position[2], m_pitch,
                                          m_yaw, m_roll, m_fov, m_zFar};
    QStringList texts;
    texts.reserve(TextFieldCount);
    for (float v : fields)
        texts.append(MCommon::FormatSingleRoundTrip(v));
    return texts.join(QLatin1Char(';'));
}

void C3DCamera::Deserialize(const QString& text)
{
    if (text.isEmpty())
        return;
    const QStringList pieces = text.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    const qsizetype count = std::min<qsizetype>(pieces.size(), TextFieldCount);
    for (qsizetype k = 0; k < count; ++k) {
        const float v = MCommon::SafeCSng(TaggedValue(MCommon::ReadLeadingNumber(pieces.at(k))));
        switch (k) {
        case 0:
        case 1:
        case 2: m_position[k] = v; break;
        case 3: m_pitch = v; break;
        case 4: m_yaw = v; break;
        case 5: m_roll = v; break;
        case 6: SetFov(v); break;
        case 7: SetZFar(v); break;
        }
    }
}
