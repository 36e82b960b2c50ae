#pragma once

// The thin seam between drawing code and OpenGL: the immediate-mode calls
// that drawing code with logic worth testing makes go through the current
// target, which is OpenGL itself unless a test has set a recorder.
//
// It lives with the model because the curves draw themselves; the view
// control and its helpers draw through it too. Nothing here needs a GL
// header or a window: text goes to the view that is drawn into (IView),
// whose bitmap font belongs to the view control.

#include <cstdint>

class CView;
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
    virtual void Vertex3d(double x, double y, double z) = 0;
    virtual void Color3f(float r, float g, float b) = 0;
    virtual void Color4f(float r, float g, float b, float a) = 0;
    virtual void PointSize(float size) = 0;
    virtual void LineWidth(float width) = 0;
    virtual void RasterPos3f(float x, float y, float z) = 0;
    virtual void Enable(uint32_t cap) = 0;
    virtual void Disable(uint32_t cap) = 0;
    virtual void LineStipple(int32_t factor, uint16_t pattern) = 0;
    // `count` vertices drawn as primitives of `mode` from arrays kept by the
    // caller: `vertices` holds x, y, z for each, `colors` (or null, for the
    // current colour) red, green, blue, alpha for each. The current colour
    // afterwards is the last vertex's, as immediate mode leaves it. OpenGL
    // takes the arrays in one call and keeps no pointer to them; a target
    // that does not override this gets the same primitives in immediate
    // mode, through its own Begin, Color4f, Vertex3f and End.
    virtual void DrawArrays(uint32_t mode, const float* vertices, const float* colors, int32_t count);
    // True when calls would reach a rendering context: OpenGL answers
    // whether one is current for the caller; a recorder always can.
    virtual bool HasContext() = 0;
};

// The target drawing goes to now.
ITarget& Current();
// OpenGL itself, whatever the current target is (for targets that pass
// calls on to it).
ITarget& OpenGL();

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

// What model drawing code reads of the view it draws into, and the view's
// text. The OpenGL view control implements it; tests give a stand-in.
class IView
{
public:
    // The view state the view draws with (its ViewFlag tells the kind);
    // null before the view has one.
    virtual CView* View() const = 0;
    // Pixels per world unit of a 2D view.
    virtual double GLViewScale() const = 0;
    // Text at the current raster position in the current colour, with the
    // view's bitmap font; nothing without a font.
    virtual void GLPrint(const QString& text) = 0;
    // True while this view's rendering context is the current one, so that
    // nothing is drawn into another view or into no context at all.
    virtual bool IsCurrent() const = 0;

protected:
    ~IView() = default;
};

// One point (a point primitive with one vertex) and one line from (x, y, z)
// to (x + dx, y + dy, z + dz), the sums taken in 32-bit floats, in the
// current colour, point size and line width.
void Point(float x, float y, float z);
void Vector(float x, float y, float z, float dx, float dy, float dz);

// The OpenGL constants drawing code passes, so that callers of the seam
// need no GL header.
constexpr uint32_t POINTS = 0x0000;
constexpr uint32_t LINES = 0x0001;
constexpr uint32_t LINE_LOOP = 0x0002;
constexpr uint32_t LINE_STRIP = 0x0003;
constexpr uint32_t QUADS = 0x0007;
constexpr uint32_t LINE_STIPPLE = 0x0B24;

}  // namespace GLDraw
