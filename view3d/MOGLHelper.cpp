#include "MOGLHelper.h"
#include "GLDraw.h"

namespace MOGLHelper {

namespace {
float F(double v)
{
    return static_cast<float>(v);
}
}  // namespace

void GLDrawPoint(float x, float y, float z)
{
    GLDraw::Point(x, y, z);
}

void GLDrawCross(float x, float y, float z, float size)
{
    // Sums and halves in double precision, sent as singles.
    const double h = static_cast<double>(size) / 2.0;
    const double dx = x, dy = y, dz = z;
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Begin(GLDraw::LINES);
    gl.Vertex3f(F(dx - h), y, z);
    gl.Vertex3f(F(dx + h), y, z);
    gl.Vertex3f(x, F(dy - h), z);
    gl.Vertex3f(x, F(dy + h), z);
    gl.Vertex3f(x, y, F(dz - h));
    gl.Vertex3f(x, y, F(dz + h));
    gl.End();
}

void GLDrawVector(float x, float y, float z, float dx, float dy, float dz)
{
    GLDraw::Vector(x, y, z, dx, dy, dz);
}

void GLDrawRect2D(double x1, double y1, double x2, double y2, uint32_t mode)
{
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Begin(mode);
    gl.Vertex2f(F(x1), F(y2));
    gl.Vertex2f(F(x2), F(y2));
    gl.Vertex2f(F(x2), F(y1));
    gl.Vertex2f(F(x1), F(y1));
    gl.End();
}

void GLDrawLine2D(double x1, double y1, double x2, double y2)
{
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Begin(GLDraw::LINES);
    gl.Vertex2f(F(x1), F(y1));
    gl.Vertex2f(F(x2), F(y2));
    gl.End();
}

}  // namespace MOGLHelper
