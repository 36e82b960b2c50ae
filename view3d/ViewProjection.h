#pragma once

// The arithmetic of the view's projections, without OpenGL: the matrices
// come out as OpenGL builds them (column order), so that the conversions
// between window and world points work with or without a context.

#include <array>
#include <cstdint>

namespace ViewProjection {

using Matrix = std::array<double, 16>;

Matrix Identity();
Matrix Multiply(const Matrix& a, const Matrix& b);  // a * b
Matrix Ortho(double left, double right, double bottom, double top, double zNear, double zFar);
Matrix Frustum(double left, double right, double bottom, double top, double zNear, double zFar);
// A rotation as glRotatef(angle, x, y, z) multiplies onto the matrix.
Matrix Rotation(float angleDeg, float x, float y, float z);

// The fixed rotation of a flat view kind (1 top, 2 front, 4 side); the
// identity for any other kind.
Matrix FlatRotation(int32_t kind);

struct Bounds
{
    double minH = 0, minV = 0, maxH = 0, maxV = 0;
};
// The flat projection's bounds around the origin (o1, o2): half the view
// size either way, the halves taken in single precision.
Bounds FlatBounds(double viewWidth, double viewHeight, float o1, float o2);

struct NearHalf
{
    double width = 0, height = 0;
};
// The 3D frustum's half extents at the near plane: the field of view is
// horizontal. A window of no height is taken as one pixel high.
NearHalf PerspectiveHalf(int32_t realWidth, int32_t realHeight, float fovDeg, float zNear);

// gluUnProject / gluProject on stored matrices; false when the matrices
// cannot be inverted.
bool UnProject(double winX, double winY, double winZ, const Matrix& modelView, const Matrix& projection,
               const std::array<int32_t, 4>& viewport, double out[3]);
bool Project(double x, double y, double z, const Matrix& modelView, const Matrix& projection,
             const std::array<int32_t, 4>& viewport, double out[3]);

}  // namespace ViewProjection
