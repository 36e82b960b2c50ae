#include "GLDraw.h"

#include <GL/gl.h>

#include <cstddef>

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
    void DrawArrays(uint32_t mode, const float* vertices, const float* colors, int32_t count) override
    {
        if (count <= 0 || !vertices)
            return;
        // The pointers are the caller's memory: they are read by this call
        // alone, and the arrays are switched off again before it returns.
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, vertices);
        if (colors) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(4, GL_FLOAT, 0, colors);
        }
        glDrawArrays(mode, 0, count);
        if (colors) {
            glDisableClientState(GL_COLOR_ARRAY);
            // A colour array leaves the current colour undefined.
            glColor4fv(colors + 4 * static_cast<ptrdiff_t>(count - 1));
        }
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    // Without a current context the dispatcher answers every call with
    // nothing, so the version string is null.
    bool HasContext() override { return glGetString(GL_VERSION) != nullptr; }
};

OpenGLTarget g_openGL;
ITarget* g_current = &g_openGL;

}  // namespace

void ITarget::DrawArrays(uint32_t mode, const float* vertices, const float* colors, int32_t count)
{
    if (count <= 0 || !vertices)
        return;
    Begin(mode);
    for (int32_t k = 0; k < count; ++k) {
        if (colors) {
            const float* c = colors + 4 * static_cast<ptrdiff_t>(k);
            Color4f(c[0], c[1], c[2], c[3]);
        }
        const float* v = vertices + 3 * static_cast<ptrdiff_t>(k);
        Vertex3f(v[0], v[1], v[2]);
    }
    End();
}

ITarget& Current()
{
    return *g_current;
}

ITarget& OpenGL()
{
    return g_openGL;
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
