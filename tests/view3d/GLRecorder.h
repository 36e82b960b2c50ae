#pragma once

#include "GLDraw.h"

#include <QString>
#include <QStringList>

// Records what drawing code sends through the seam, one line per call.
class GLRecorder final : public GLDraw::ITarget
{
public:
    QStringList calls;

    void Begin(uint32_t mode) override { calls << QStringLiteral("Begin %1").arg(mode); }
    void End() override { calls << QStringLiteral("End"); }
    void Vertex2f(float x, float y) override { calls << QStringLiteral("V2 %1 %2").arg(x).arg(y); }
    void Vertex3f(float x, float y, float z) override
    {
        calls << QStringLiteral("V3 %1 %2 %3").arg(x).arg(y).arg(z);
    }
    void Vertex3d(double x, double y, double z) override
    {
        calls << QStringLiteral("V3d %1 %2 %3").arg(x).arg(y).arg(z);
    }
    void Color3f(float r, float g, float b) override { calls << QStringLiteral("Color %1 %2 %3").arg(r).arg(g).arg(b); }
    void Color4f(float r, float g, float b, float a) override
    {
        calls << QStringLiteral("Color4 %1 %2 %3 %4").arg(r).arg(g).arg(b).arg(a);
    }
    void PointSize(float size) override { calls << QStringLiteral("PointSize %1").arg(size); }
    void LineWidth(float width) override { calls << QStringLiteral("LineWidth %1").arg(width); }
    void RasterPos3f(float x, float y, float z) override
    {
        calls << QStringLiteral("RasterPos %1 %2 %3").arg(x).arg(y).arg(z);
    }
    bool HasContext() override { return true; }
    void Enable(uint32_t cap) override { calls << QStringLiteral("Enable %1").arg(cap); }
    void Disable(uint32_t cap) override { calls << QStringLiteral("Disable %1").arg(cap); }
    void LineStipple(int32_t factor, uint16_t pattern) override
    {
        calls << QStringLiteral("Stipple %1 %2").arg(factor).arg(pattern, 0, 16);
    }
};
