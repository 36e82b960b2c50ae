#pragma once

// Small immediate-mode drawing procedures used inside a drawing handler,
// with the view's context current. Colour, point size, line width and
// stipple are the caller's. They draw through the GLDraw seam.

#include <cstdint>

namespace MOGLHelper {

void GLDrawPoint(float x, float y, float z);
// Three axis-parallel segments of total length `size` centred on the point.
void GLDrawCross(float x, float y, float z, float size);
void GLDrawVector(float x, float y, float z, float dx, float dy, float dz);
// Corners (x1, y2), (x2, y2), (x2, y1), (x1, y1) as one primitive of `mode`
// (GL_QUADS for a filled band, GL_LINE_LOOP for an outline).
void GLDrawRect2D(double x1, double y1, double x2, double y2, uint32_t mode);
void GLDrawLine2D(double x1, double y1, double x2, double y2);

}  // namespace MOGLHelper
