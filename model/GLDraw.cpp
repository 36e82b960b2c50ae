#include "GLDraw.h"

#include <GL/gl.h>

namespace GLDraw {

namespace {

class OpenGLTarget final : public ITarget
{
public:
    void Begin(uint32_t mode) override { glBegin(mode); }
    void End() override { glEnd(); }
    void Vertex2f(float x, float y) override { glVertex2f(x, y); }
    void Vertex3f(float x, float y, float z) override { glVertex3f(x, y, z); }
    void Vertex3d(double x, double y, double z) override { glVertex3d(x, y, z); }
    void Color3f(float r, float g, float b) override { glColor3f(r, g, b); }
    void Color4f(float r, float g, float b, float a) override { glColor4f(r, g, b, a); }
    void PointSize(float size) override { glPointSize(size); }
    void LineWidth(float width) override { glLineWidth(width); }
    void RasterPos3f(float x, float y, float z) override { glRasterPos3f(x, y, z); }
    void Enable(uint32_t cap) override { glEnable(cap); }
    void Disable(uint32_t cap) override { glDisable(cap); }
    void LineStipple(int32_t factor, uint16_t pattern) override { glLineStipple(factor, pattern); }
    // Without a current context the dispatcher answers every call with
    // nothing, so the version string is null.
    bool HasContext() override { return glGetString(GL_VERSION) != nullptr; }
};

OpenGLTarget g_openGL;
ITarget* g_current = &g_openGL;

}  // namespace

ITarget& Current()
{
    return *g_current;
}

ScopedTarget::ScopedTarget(ITarget& target) : m_previous(g_current)
{
    g_current = &target;
}

ScopedTarget::~ScopedTarget()
{
    g_current = m_previous;
}

void Point(float x, float y, float z)
{
    ITarget& gl = Current();
    gl.Begin(POINTS);
    gl.Vertex3f(x, y, z);
    gl.End();
}

void Vector(float x, float y, float z, float dx, float dy, float dz)
{
    ITarget& gl = Current();
    gl.Begin(LINES);
    gl.Vertex3f(x, y, z);
    gl.Vertex3f(x + dx, y + dy, z + dz);
    gl.End();
}

}  // namespace GLDraw
