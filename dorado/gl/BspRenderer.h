#pragma once

// Drawing a loaded map into the current OpenGL context: vertex arrays in
// place, and where the ARB multitexture extension and lightmaps are there,
// a one-texel colour per face kind on unit 0 and the face's lightmap on
// unit 1. Every GL call is made only while a context is current; the
// loader has checked every index the drawing follows.

#include "BspLoader.h"
#include "BspMap.h"
#include "BspVisibility.h"

#include <cstdint>
#include <vector>

class QOpenGLContext;

namespace Dorado {

struct DrawSettings
{
    // Until the owner sets them: black edges, green meshes, blue patches.
    uint32_t clrPolygon = 0x00000000;
    uint32_t clrMesh = 0x0000FF00;
    uint32_t clrPatch = 0x00FF0000;
    int32_t polyMode = 4;   // GL_TRIANGLES
    int32_t meshMode = 4;   // GL_TRIANGLES
    int32_t patchMode = 5;  // GL_TRIANGLE_STRIP
    bool showPolygons = true;
    bool showMeshes = true;
    bool showPatches = true;
};

// Red, green and blue of an OLE colour (red in the low byte); the high
// byte is ignored, so system colours are not translated.
void ColorChannels(uint32_t color, float rgb[3]);

class BspRenderer
{
public:
    BspRenderer() = default;
    BspRenderer(const BspRenderer&) = delete;
    BspRenderer& operator=(const BspRenderer&) = delete;
    ~BspRenderer();

    static bool HasCurrentContext();

    // Looks up the multitexture entry points still unknown; true when both
    // are known. Needs a current context (false without one).
    bool InitializeMultitexture(BspLog* log);
    bool MultitextureAvailable() const { return m_activeTexture && m_clientActiveTexture; }

    // Deletes the textures of the previous map and creates the lightmaps
    // and the three placeholders (mesh and patch from the colours given).
    // Without a current context nothing is made and false is returned.
    bool UploadTextures(const BspMap& map, uint32_t clrMesh, uint32_t clrPatch);
    // Deletes every texture (when the context that made them is current).
    void ReleaseTextures();
    bool HasTextures() const { return m_placeholders[0] != 0; }
    int32_t LightmapTextureCount() const { return static_cast<int32_t>(m_lightmaps.size()); }

    // Draws the faces marked in `visible`; gives the number drawn.
    int32_t Draw(const BspMap& map, const FaceBitset& visible, const DrawSettings& settings, BspLog* log);

private:
    using ActiveTextureFn = void (*)(unsigned int);

    bool DrawFace(const BspMap& map, const BspFaceDirectoryEntry& entry, const DrawSettings& s);
    void DrawIndexed(const BspMap& map, const BspPolygonFace& face, int32_t kind, const DrawSettings& s);
    void DrawPatch(const BspPatch& patch, const DrawSettings& s);
    void BindTextures(unsigned int placeholder, int32_t lightmap);

    ActiveTextureFn m_activeTexture = nullptr;
    ActiveTextureFn m_clientActiveTexture = nullptr;
    std::vector<unsigned int> m_lightmaps;
    unsigned int m_placeholders[3] = {0, 0, 0};  // polygon, mesh, patch
    QOpenGLContext* m_textureContext = nullptr;

    // Per call of Draw.
    int m_polygonModes[2] = {0, 0};
    bool m_filled = false;
    bool m_textured = false;
    unsigned int m_bound[2] = {~0u, ~0u};  // texture bound on units 0 and 1
};

}  // namespace Dorado
