#include "GLRecorder.h"
#include "MOGLHelper.h"

#include <gtest/gtest.h>

namespace {

QStringList Record(const std::function<void()>& draw)
{
    GLRecorder rec;
    GLDraw::ScopedTarget target(rec);
    draw();
    return rec.calls;
}

TEST(MOGLHelper, SendsEachPrimitiveWithItsVerticesInOrder)
{
    struct Case
    {
        const char* name;
        std::function<void()> draw;
        QStringList expected;
    };
    const Case cases[] = {
        {"point", [] { MOGLHelper::GLDrawPoint(1, 2, 3); }, {"Begin 0", "V3 1 2 3", "End"}},
        {"cross",
         [] { MOGLHelper::GLDrawCross(10, 20, 30, 4); },
         {"Begin 1", "V3 8 20 30", "V3 12 20 30", "V3 10 18 30", "V3 10 22 30", "V3 10 20 28", "V3 10 20 32", "End"}},
        {"cross of size 0: three degenerate segments",
         [] { MOGLHelper::GLDrawCross(1, 1, 1, 0); },
         {"Begin 1", "V3 1 1 1", "V3 1 1 1", "V3 1 1 1", "V3 1 1 1", "V3 1 1 1", "V3 1 1 1", "End"}},
        {"vector", [] { MOGLHelper::GLDrawVector(1, 2, 3, 10, -2, 0.5f); }, {"Begin 1", "V3 1 2 3", "V3 11 0 3.5", "End"}},
        {"rectangle",
         [] { MOGLHelper::GLDrawRect2D(1, 2, 3, 4, 7); },
         {"Begin 7", "V2 1 4", "V2 3 4", "V2 3 2", "V2 1 2", "End"}},
        {"rectangle mirrored",
         [] { MOGLHelper::GLDrawRect2D(3, 2, 1, 4, 7); },
         {"Begin 7", "V2 3 4", "V2 1 4", "V2 1 2", "V2 3 2", "End"}},
        {"line", [] { MOGLHelper::GLDrawLine2D(-1, 0.5, 2, 8); }, {"Begin 1", "V2 -1 0.5", "V2 2 8", "End"}},
        // A target that does not take arrays gets them in immediate mode.
        {"array in the current colour",
         [] {
             const float v[] = {1, 2, 3, 4, 5, 6};
             GLDraw::Current().DrawArrays(GLDraw::POINTS, v, nullptr, 2);
         },
         {"Begin 0", "V3 1 2 3", "V3 4 5 6", "End"}},
        {"array with a colour each",
         [] {
             const float v[] = {1, 2, 3, 4, 5, 6};
             const float c[] = {1, 0, 0, 1, 0, 1, 0, 0.5f};
             GLDraw::Current().DrawArrays(GLDraw::LINES, v, c, 2);
         },
         {"Begin 1", "Color4 1 0 0 1", "V3 1 2 3", "Color4 0 1 0 0.5", "V3 4 5 6", "End"}},
        {"empty array",
         [] {
             const float v[] = {1, 2, 3};
             GLDraw::Current().DrawArrays(GLDraw::LINE_STRIP, v, nullptr, 0);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Record(c.draw), c.expected);
    }
}

}  // namespace
