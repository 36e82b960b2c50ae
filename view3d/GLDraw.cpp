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
    void Color3f(float r, float g, float b) override { glColor3f(r, g, b); }
    void Enable(uint32_t cap) override { glEnable(cap); }
    void Disable(uint32_t cap) override { glDisable(cap); }
    void LineStipple(int32_t factor, uint16_t pattern) override { glLineStipple(factor, pattern); }
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

}  // namespace GLDraw
