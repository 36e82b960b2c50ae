#include "CBSP.h"

#include <GL/gl.h>

namespace Dorado {

CBSP::CBSP(Com::ModuleLock* module) : Object<IBSP>(module) {}

CBSP::~CBSP()
{
    m_renderer.ReleaseTextures();
    Info(QStringLiteral("CBSP() destructor leave"));
}

void CBSP::Info(const QString& message)
{
    if (m_log)
        m_log->Write(LogFile::Level::Info, message);
}

void CBSP::Error(const QString& message)
{
    if (m_log)
        m_log->Write(LogFile::Level::Error, message);
}

void CBSP::InitializeLog(const QString& logFilepath)
{
    if (logFilepath.isEmpty() || m_log)
        return;
    m_log = std::make_unique<LogFile>();
    m_logInitialized = m_log->Initialize(logFilepath);
    Info(QString::asprintf("CBSP::LogInitialize() : %i", m_logInitialized ? 1 : 0));
}

bool CBSP::Load(const QString& FileName, int32_t CurveTesselation)
{
    if (BspRenderer::HasCurrentContext() && !m_renderer.InitializeMultitexture(this))
        Info(QStringLiteral("CBSP::Load - fInitializeARBextension() - Your video card doesn't support multitexturing"));
    BspMap fresh;
    if (!LoadBspFile(FileName, CurveTesselation, fresh, this)) {
        Error(QString::asprintf("CBSP::Load(%s, %i) failed", FileName.toUtf8().constData(), CurveTesselation));
        return false;
    }
    m_map = std::move(fresh);
    m_loaded = true;
    m_culler.Reset(m_map.NumTotalFaces());
    m_renderer.ReleaseTextures();
    m_texturesPending = true;
    m_loadMesh = m_draw.clrMesh;
    m_loadPatch = m_draw.clrPatch;
    MakeTexturesIfPending();
    return true;
}

void CBSP::MakeTexturesIfPending()
{
    if (!m_texturesPending || !BspRenderer::HasCurrentContext())
        return;
    m_renderer.InitializeMultitexture(nullptr);
    m_texturesPending = !m_renderer.UploadTextures(m_map, m_loadMesh, m_loadPatch);
}

QString CBSP::EntityString() const
{
    if (!m_loaded)
        return QString();
    if (m_map.entities.empty())
        return QStringLiteral("");
    return QString::fromLatin1(m_map.entities.data(), static_cast<qsizetype>(m_map.entities.size()));
}

void CBSP::CalculateVisibleFaces(float x, float y, float z)
{
    m_culler.CalculateVisibleFaces(m_map, m_frustum, x, y, z, m_clusterCheck, this);
}

void CBSP::FrustumUpdate()
{
    if (!BspRenderer::HasCurrentContext()) {
        Error(QStringLiteral("CBSP::FrustumUpdate() - no current OpenGL context, frustum kept"));
        return;
    }
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    m_frustum.Update(projection, modelview);
}

int32_t CBSP::Draw()
{
    if (!BspRenderer::HasCurrentContext()) {
        Error(QStringLiteral("CBSP::Draw() - no current OpenGL context, nothing drawn"));
        return 0;
    }
    MakeTexturesIfPending();
    return m_renderer.Draw(m_map, m_culler.Visible(), m_draw, this);
}

bool CBSP::SearchCorner(float& x, float& y, float& z, int32_t plane, float zone)
{
    return Dorado::SearchCorner(m_map, x, y, z, plane, zone);
}

bool CBSP::GetBounds(MapBounds& bounds) const
{
    if (!m_loaded)
        return false;
    for (size_t a = 0; a < 3; ++a) {
        bounds[a][0] = m_map.bounds.mins[a];
        bounds[a][1] = m_map.bounds.maxs[a];
    }
    return true;
}

}  // namespace Dorado
