#include "CurveDrawArrays.h"

#include "GLDraw.h"

// ---- Batches ---------------------------------------------------------------------

void DrawBatch::Reset(uint32_t mode, float pointSize, const DrawColor& color)
{
    m_mode = mode;
    m_pointSize = pointSize;
    m_color = color;
    m_perVertex = false;
    m_vertices.clear();
    m_colors.clear();
}

void DrawBatch::ResetPerVertex(uint32_t mode, float pointSize)
{
    Reset(mode, pointSize, DrawColor{});
    m_perVertex = true;
}

void DrawBatch::Add(float x, float y, float z)
{
    Add(x, y, z, m_color);
}

void DrawBatch::Add(float x, float y, float z, const DrawColor& color)
{
    m_vertices.insert(m_vertices.end(), {x, y, z});
    if (m_perVertex)
        m_colors.insert(m_colors.end(), color.begin(), color.end());
}

void DrawBatch::Draw(GLDraw::ITarget& gl) const
{
    const int32_t count = Count();
    if (count == 0)
        return;
    if (m_mode == GLDraw::POINTS)
        gl.PointSize(m_pointSize);
    else
        gl.LineWidth(1.0f);
    if (!m_perVertex)
        gl.Color4f(m_color[0], m_color[1], m_color[2], m_color[3]);
    gl.DrawArrays(m_mode, m_vertices.data(), m_perVertex ? m_colors.data() : nullptr, count);
}

// ---- What the arrays were built from ----------------------------------------------

DrawnControl::DrawnControl(const ControlRecord& r)
    : position{r.X, r.Y, r.Z},
      tan1{r.Tan1X, r.Tan1Y, r.Tan1Z},
      tan2{r.Tan2X, r.Tan2Y, r.Tan2Z},
      tan1C(r.Tan1C),
      tan2C(r.Tan2C),
      pitch(r.Pitch),
      yaw(r.Yaw),
      target{r.TargetX, r.TargetY, r.TargetZ},
      time(r.Time),
      timescale(r.Timescale),
      hide(r.Hide),
      selected(r.IsSelected)
{
}

bool CurveDrawArrays::IsBuiltFor(const CurveDrawKey& key, const ControlRecord* records) const
{
    if (!m_built || !(key == m_key) || m_controls.size() != static_cast<size_t>(key.controls))
        return false;
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (!(DrawnControl(records[i]) == m_controls[i]))
            return false;
    return true;
}

void CurveDrawArrays::BuiltFrom(const CurveDrawKey& key, const ControlRecord* records)
{
    m_key = key;
    m_controls.clear();
    m_controls.reserve(static_cast<size_t>(key.controls));
    for (int32_t i = 0; i < key.controls; ++i)
        m_controls.emplace_back(records[i]);
    m_built = true;
    ++m_builds;
}

void CurveDrawArrays::Draw(GLDraw::ITarget& gl) const
{
    for (const DrawBatch& batch : m_layers)
        batch.Draw(gl);
}
