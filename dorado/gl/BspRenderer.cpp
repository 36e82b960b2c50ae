#include "BspRenderer.h"

#include <QOpenGLContext>

#include <GL/gl.h>
#include <GL/glu.h>

namespace Dorado {

namespace {

enum Placeholder { PolygonPlaceholder = 0, MeshPlaceholder = 1, PatchPlaceholder = 2 };
constexpr GLbitfield AllAttributeGroups = 0x000FFFFF;
constexpr GLsizei VertexStride = sizeof(BspVertex);

void SetTextureParameters()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

unsigned int MakePlaceholder(const float rgba[4], int channels)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    SetTextureParameters();
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, 1, 1, channels == 3 ? GL_RGB : GL_RGBA, GL_FLOAT, rgba);
    return name;
}

}  // namespace

void ColorChannels(uint32_t color, float rgb[3])
{
    rgb[0] = static_cast<float>(color & 0xFF) / 255.0f;
    rgb[1] = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    rgb[2] = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
}

BspRenderer::~BspRenderer()
{
    ReleaseTextures();
}

bool BspRenderer::HasCurrentContext()
{
    return QOpenGLContext::currentContext() != nullptr;
}

bool BspRenderer::InitializeMultitexture(BspLog* log)
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    if (ctx) {
        if (!m_activeTexture)
            m_activeTexture = reinterpret_cast<ActiveTextureFn>(ctx->getProcAddress("glActiveTextureARB"));
        if (!m_clientActiveTexture)
            m_clientActiveTexture =
                reinterpret_cast<ActiveTextureFn>(ctx->getProcAddress("glClientActiveTextureARB"));
    }
    if (log)
        log->Info(QString::asprintf("CBSP::fInitializeARBextension - glActiveTextureARB %lld / glClientActiveTextureARB %lld",
                                    static_cast<long long>(reinterpret_cast<intptr_t>(m_activeTexture)),
                                    static_cast<long long>(reinterpret_cast<intptr_t>(m_clientActiveTexture))));
    return MultitextureAvailable();
}

void BspRenderer::ReleaseTextures()
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    // Texture names belong to the context that made them; with another one
    // (or none) current they cannot be deleted, only forgotten.
    if (ctx && ctx == m_textureContext) {
        if (!m_lightmaps.empty())
            glDeleteTextures(static_cast<GLsizei>(m_lightmaps.size()), m_lightmaps.data());
        for (GLuint name : m_placeholders)
            if (name)
                glDeleteTextures(1, &name);
    }
    m_lightmaps.clear();
    m_placeholders[0] = m_placeholders[1] = m_placeholders[2] = 0;
    m_textureContext = nullptr;
}

bool BspRenderer::UploadTextures(const BspMap& map, uint32_t clrMesh, uint32_t clrPatch)
{
    ReleaseTextures();
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    if (!ctx)
        return false;
    m_textureContext = ctx;
    glPushAttrib(GL_TEXTURE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float mesh[4] = {0, 0, 0, 0.5f};
    float patch[4] = {0, 0, 0, 0.5f};
    ColorChannels(clrMesh, mesh);
    ColorChannels(clrPatch, patch);
    m_placeholders[PolygonPlaceholder] = MakePlaceholder(white, 3);
    m_placeholders[MeshPlaceholder] = MakePlaceholder(mesh, 4);
    m_placeholders[PatchPlaceholder] = MakePlaceholder(patch, 4);

    m_lightmaps.assign(static_cast<size_t>(map.NumLightmaps()), 0);
    if (!m_lightmaps.empty())
        glGenTextures(static_cast<GLsizei>(m_lightmaps.size()), m_lightmaps.data());
    for (int32_t i = 0; i < map.NumLightmaps(); ++i) {
        glBindTexture(GL_TEXTURE_2D, m_lightmaps[static_cast<size_t>(i)]);
        SetTextureParameters();
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, LightmapSide, LightmapSide, GL_RGB, GL_UNSIGNED_BYTE,
                          map.Lightmap(i));
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPopAttrib();
    return true;
}

void BspRenderer::BindTextures(unsigned int placeholder, int32_t lightmap)
{
    const bool has = lightmap >= 0 && lightmap < static_cast<int32_t>(m_lightmaps.size());
    const unsigned int second = has ? m_lightmaps[static_cast<size_t>(lightmap)] : placeholder;
    // Faces come in runs that share their textures: bind only what changes.
    if (placeholder != m_bound[0]) {
        glBindTexture(GL_TEXTURE_2D, placeholder);
        m_bound[0] = placeholder;
    }
    if (second != m_bound[1]) {
        m_activeTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, second);
        m_activeTexture(GL_TEXTURE0);
        m_bound[1] = second;
    }
}

void BspRenderer::DrawIndexed(const BspMap& map, const BspPolygonFace& face, int32_t kind, const DrawSettings& s)
{
    const BspVertex* v = map.vertices.data() + face.firstVertex;
    const int32_t* indices = map.meshIndices.data() + face.firstMeshIndex;
    glVertexPointer(3, GL_FLOAT, VertexStride, &v->x);
    float rgb[3];
    const bool polygon = kind == 1;
    ColorChannels(polygon ? s.clrPolygon : s.clrMesh, rgb);
    const bool outline = polygon && m_filled && !m_textured;
    if (outline) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
        glDrawElements(GL_TRIANGLES, face.meshIndexCount, GL_UNSIGNED_INT, indices);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        glPolygonMode(GL_FRONT, static_cast<GLenum>(m_polygonModes[0]));
        glPolygonMode(GL_BACK, static_cast<GLenum>(m_polygonModes[1]));
    }
    if (m_textured) {
        m_clientActiveTexture(GL_TEXTURE0);
        glTexCoordPointer(2, GL_FLOAT, VertexStride, &v->s);
        m_clientActiveTexture(GL_TEXTURE1);
        glTexCoordPointer(2, GL_FLOAT, VertexStride, &v->ls);
        m_clientActiveTexture(GL_TEXTURE0);
        BindTextures(m_placeholders[polygon ? PolygonPlaceholder : MeshPlaceholder], face.lightmap);
    } else if (polygon) {
        if (m_filled)
            glColor3f(1.0f, 1.0f, 1.0f);
        else
            glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
    } else {
        glColor4f(rgb[0], rgb[1], rgb[2], 0.5f);
    }
    glDrawElements(static_cast<GLenum>(polygon ? s.polyMode : s.meshMode), face.meshIndexCount, GL_UNSIGNED_INT,
                   indices);
    if (outline)
        glDisable(GL_POLYGON_OFFSET_FILL);
}

void BspRenderer::DrawPatch(const BspPatch& patch, const DrawSettings& s)
{
    if (m_textured) {
        BindTextures(m_placeholders[PatchPlaceholder], patch.lightmap);
    } else {
        float rgb[3];
        ColorChannels(s.clrPatch, rgb);
        glColor4f(rgb[0], rgb[1], rgb[2], 0.5f);
    }
    for (const BspBiquadraticPatch& piece : patch.pieces) {
        if (piece.RowCount() == 0)
            continue;
        const BspVertex* v = piece.vertices.data();
        glVertexPointer(3, GL_FLOAT, VertexStride, &v->x);
        if (m_textured) {
            m_clientActiveTexture(GL_TEXTURE0);
            glTexCoordPointer(2, GL_FLOAT, VertexStride, &v->s);
            m_clientActiveTexture(GL_TEXTURE1);
            glTexCoordPointer(2, GL_FLOAT, VertexStride, &v->ls);
            m_clientActiveTexture(GL_TEXTURE0);
        }
        for (int32_t row = 0; row < piece.RowCount(); ++row)
            glDrawElements(static_cast<GLenum>(s.patchMode), piece.RowIndexCount(), GL_UNSIGNED_INT,
                           piece.RowStart(row));
    }
}

bool BspRenderer::DrawFace(const BspMap& map, const BspFaceDirectoryEntry& e, const DrawSettings& s)
{
    const size_t i = static_cast<size_t>(e.index);
    switch (e.kind) {
    case FaceKind::Polygon:
        if (!s.showPolygons)
            return false;
        DrawIndexed(map, map.polygonFaces.at(i), 1, s);
        return true;
    case FaceKind::Mesh:
        if (!s.showMeshes)
            return false;
        DrawIndexed(map, map.meshFaces.at(i), 3, s);
        return true;
    case FaceKind::Patch:
        if (!s.showPatches)
            return false;
        DrawPatch(map.patches.at(i), s);
        return true;
    case FaceKind::None:
        break;
    }
    return false;
}

int32_t BspRenderer::Draw(const BspMap& map, const FaceBitset& visible, const DrawSettings& s, BspLog* log)
{
    if (!HasCurrentContext()) {
        if (log)
            log->Error(QStringLiteral("CBSP::Draw() - no current OpenGL context, nothing drawn"));
        return 0;
    }
    GLint modes[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    m_polygonModes[0] = modes[0];
    m_polygonModes[1] = modes[1];
    m_filled = modes[0] == GL_FILL || modes[1] == GL_FILL;
    m_textured = MultitextureAvailable() && m_filled && map.NumLightmaps() > 0 && HasTextures() &&
                 LightmapTextureCount() == map.NumLightmaps();

    glPushAttrib(AllAttributeGroups);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (m_textured) {
        m_clientActiveTexture(GL_TEXTURE0);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        m_clientActiveTexture(GL_TEXTURE1);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        m_clientActiveTexture(GL_TEXTURE0);
        m_activeTexture(GL_TEXTURE0);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        m_activeTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 2.0f);
        m_activeTexture(GL_TEXTURE0);
    }

    m_bound[0] = m_bound[1] = ~0u;
    int32_t drawn = 0;
    int32_t notDrawn = 0;
    for (int32_t i = 0; i < map.NumTotalFaces(); ++i) {
        if (!visible.Test(i))
            continue;
        try {
            if (DrawFace(map, map.faceDirectory[static_cast<size_t>(i)], s))
                ++drawn;
        } catch (...) {
            ++notDrawn;
        }
    }
    if (notDrawn > 0 && log)
        log->Error(QString::asprintf("CBSP::fDrawMap() - %i faces not drawn", notDrawn));

    if (m_textured) {
        m_clientActiveTexture(GL_TEXTURE1);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        m_clientActiveTexture(GL_TEXTURE0);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopAttrib();
    return drawn;
}

}  // namespace Dorado
