#pragma once

// The thin seam between drawing code and OpenGL: the immediate-mode calls
// that drawing code with logic worth testing makes go through the current
// target, which is OpenGL itself unless a test has set a recorder.

#include <cstdint>

class QString;

namespace GLDraw {

class ITarget
{
public:
    virtual ~ITarget() = default;
    virtual void Begin(uint32_t mode) = 0;
    virtual void End() = 0;
    virtual void Vertex2f(float x, float y) = 0;
    virtual void Vertex3f(float x, float y, float z) = 0;
    virtual void Color3f(float r, float g, float b) = 0;
    virtual void Enable(uint32_t cap) = 0;
    virtual void Disable(uint32_t cap) = 0;
    virtual void LineStipple(int32_t factor, uint16_t pattern) = 0;
};

// The target drawing goes to now.
ITarget& Current();

// Sets a target for the life of the object (tests).
class ScopedTarget
{
public:
    explicit ScopedTarget(ITarget& target);
    ~ScopedTarget();
    ScopedTarget(const ScopedTarget&) = delete;
    ScopedTarget& operator=(const ScopedTarget&) = delete;

private:
    ITarget* m_previous;
};

// The OpenGL constants drawing code passes, so that callers of the seam
// need no GL header.
constexpr uint32_t POINTS = 0x0000;
constexpr uint32_t LINES = 0x0001;
constexpr uint32_t LINE_LOOP = 0x0002;
constexpr uint32_t LINE_STRIP = 0x0003;
constexpr uint32_t QUADS = 0x0007;
constexpr uint32_t LINE_STIPPLE = 0x0B24;

}  // namespace GLDraw
