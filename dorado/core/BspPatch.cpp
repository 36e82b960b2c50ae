#include "BspMap.h"

namespace Dorado {

namespace {

struct Weights
{
    float b0, b1, b2;
};

Weights Bernstein(float t)
{
    const float u = 1.0f - t;
    return {u * u, 2.0f * t * u, t * t};
}

BspVertex Blend(const Weights& w, const BspVertex& a, const BspVertex& b, const BspVertex& c)
{
    BspVertex r;
    r.x = w.b0 * a.x + w.b1 * b.x + w.b2 * c.x;
    r.y = w.b0 * a.y + w.b1 * b.y + w.b2 * c.y;
    r.z = w.b0 * a.z + w.b1 * b.z + w.b2 * c.z;
    r.s = w.b0 * a.s + w.b1 * b.s + w.b2 * c.s;
    r.t = w.b0 * a.t + w.b1 * b.t + w.b2 * c.t;
    r.ls = w.b0 * a.ls + w.b1 * b.ls + w.b2 * c.ls;
    r.lt = w.b0 * a.lt + w.b1 * b.lt + w.b2 * c.lt;
    return r;
}

}  // namespace

bool BspBiquadraticPatch::Tessellate(int32_t L)
{
    level = L;
    vertices.clear();
    indices.clear();
    if (L < 1)
        return false;
    const int32_t side = L + 1;
    vertices.resize(static_cast<size_t>(side) * side);
    const auto& cp = controls;
    // Column u = 0 runs down the first control column directly.
    for (int32_t v = 0; v <= L; ++v) {
        const float t = static_cast<float>(v) / static_cast<float>(L);
        vertices[static_cast<size_t>(v)] = Blend(Bernstein(t), cp[0], cp[3], cp[6]);
    }
    for (int32_t u = 1; u <= L; ++u) {
        const Weights ws = Bernstein(static_cast<float>(u) / static_cast<float>(L));
        const BspVertex t0 = Blend(ws, cp[0], cp[1], cp[2]);
        const BspVertex t1 = Blend(ws, cp[3], cp[4], cp[5]);
        const BspVertex t2 = Blend(ws, cp[6], cp[7], cp[8]);
        for (int32_t v = 0; v <= L; ++v) {
            const float t = static_cast<float>(v) / static_cast<float>(L);
            vertices[static_cast<size_t>(u) * side + v] = Blend(Bernstein(t), t0, t1, t2);
        }
    }
    indices.resize(static_cast<size_t>(L) * side * 2);
    for (int32_t i = 0; i < L; ++i) {
        for (int32_t j = 0; j <= L; ++j) {
            const size_t at = (static_cast<size_t>(i) * side + j) * 2;
            indices[at] = static_cast<uint32_t>((i + 1) * side + j);
            indices[at + 1] = static_cast<uint32_t>(i * side + j);
        }
    }
    return true;
}

}  // namespace Dorado
