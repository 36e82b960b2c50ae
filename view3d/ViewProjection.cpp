#include "ViewProjection.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace ViewProjection {

Matrix Identity()
{
    Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double s = 0;
            for (int k = 0; k < 4; ++k)
                s += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = s;
        }
    return r;
}

Matrix Ortho(double l, double r, double b, double t, double n, double f)
{
    Matrix m{};
    m[0] = 2.0 / (r - l);
    m[5] = 2.0 / (t - b);
    m[10] = -2.0 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    m[15] = 1.0;
    return m;
}

Matrix Frustum(double l, double r, double b, double t, double n, double f)
{
    Matrix m{};
    m[0] = 2.0 * n / (r - l);
    m[5] = 2.0 * n / (t - b);
    m[8] = (r + l) / (r - l);
    m[9] = (t + b) / (t - b);
    m[10] = -(f + n) / (f - n);
    m[11] = -1.0;
    m[14] = -2.0 * f * n / (f - n);
    return m;
}

Matrix Rotation(float angleDeg, float x, float y, float z)
{
    const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (len == 0)
        return Identity();
    const double ux = x / len, uy = y / len, uz = z / len;
    const double a = angleDeg * 3.14159265358979323846 / 180.0;
    const double c = std::cos(a), s = std::sin(a), k = 1.0 - c;
    Matrix m = Identity();
    m[0] = ux * ux * k + c;
    m[1] = uy * ux * k + uz * s;
    m[2] = ux * uz * k - uy * s;
    m[4] = ux * uy * k - uz * s;
    m[5] = uy * uy * k + c;
    m[6] = uy * uz * k + ux * s;
    m[8] = ux * uz * k + uy * s;
    m[9] = uy * uz * k - ux * s;
    m[10] = uz * uz * k + c;
    return m;
}

Matrix FlatRotation(int32_t kind)
{
    switch (kind) {
    case 2:
        return Rotation(-90.0f, 1, 0, 0);
    case 4:
        return Multiply(Rotation(-90.0f, 0, 1, 0), Rotation(-90.0f, 1, 0, 0));
    default:
        return Identity();
    }
}

Bounds FlatBounds(double viewWidth, double viewHeight, float o1, float o2)
{
    const float halfW = static_cast<float>(viewWidth / 2.0);
    const float halfH = static_cast<float>(viewHeight / 2.0);
    return {double(o1) - halfW, double(o2) - halfH, double(o1) + halfW, double(o2) + halfH};
}

NearHalf PerspectiveHalf(int32_t realWidth, int32_t realHeight, float fovDeg, float zNear)
{
    const float aspect = static_cast<float>(realWidth) / static_cast<float>(std::max(realHeight, 1));
    NearHalf h;
    h.width = std::tan(double(fovDeg) / 2.0 * 3.14159265358979 / 180.0) * double(zNear);
    h.height = aspect > 0 ? h.width / aspect : h.width;
    return h;
}

bool UnProject(double winX, double winY, double winZ, const Matrix& mv, const Matrix& proj,
               const std::array<int32_t, 4>& viewport, double out[3])
{
    const GLint vp[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    return gluUnProject(winX, winY, winZ, mv.data(), proj.data(), vp, &out[0], &out[1], &out[2]) == GL_TRUE;
}

bool Project(double x, double y, double z, const Matrix& mv, const Matrix& proj,
             const std::array<int32_t, 4>& viewport, double out[3])
{
    const GLint vp[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    return gluProject(x, y, z, mv.data(), proj.data(), vp, &out[0], &out[1], &out[2]) == GL_TRUE;
}

}  // namespace ViewProjection
