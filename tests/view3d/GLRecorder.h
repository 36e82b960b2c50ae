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
    void Color3f(float r, float g, float b) override { calls << QStringLiteral("Color %1 %2 %3").arg(r).arg(g).arg(b); }
    void Enable(uint32_t cap) override { calls << QStringLiteral("Enable %1").arg(cap); }
    void Disable(uint32_t cap) override { calls << QStringLiteral("Disable %1").arg(cap); }
    void LineStipple(int32_t factor, uint16_t pattern) override
    {
        calls << QStringLiteral("Stipple %1 %2").arg(factor).arg(pattern, 0, 16);
    }
};
