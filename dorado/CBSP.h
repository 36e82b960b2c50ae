#pragma once

// The map object behind IBSP: the parsed map, its visibility state, its GL
// textures and its log.

#include "BspLoader.h"
#include "BspMap.h"
#include "BspRenderer.h"
#include "BspVisibility.h"
#include "ComObject.h"
#include "Dorado.h"
#include "LogFile.h"

#include <memory>

namespace Dorado {

class CBSP final : public Com::Object<IBSP>, private BspLog
{
public:
    explicit CBSP(Com::ModuleLock* module = nullptr);

    bool Load(const QString& FileName, int32_t CurveTesselation) override;
    QString EntityString() const override;
    int32_t NumLeaves() const override { return m_map.NumLeaves(); }
    int32_t NumLightmaps() const override { return m_map.NumLightmaps(); }
    int32_t NumMeshFaces() const override { return m_map.NumMeshFaces(); }
    int32_t NumNodes() const override { return m_map.NumNodes(); }
    int32_t NumPatches() const override { return m_map.NumPatches(); }
    int32_t NumPlanes() const override { return m_map.NumPlanes(); }
    int32_t NumPolygonFaces() const override { return m_map.NumPolygonFaces(); }
    int32_t NumTextures() const override { return m_map.NumTextures(); }
    int32_t NumTotalFaces() const override { return m_map.NumTotalFaces(); }
    int32_t NumVertices() const override { return m_map.NumVertices(); }
    void CalculateVisibleFaces(float x, float y, float z) override;
    void FrustumUpdate() override;
    OleColor ClrPolygon() const override { return m_draw.clrPolygon; }
    void SetClrPolygon(OleColor value) override { m_draw.clrPolygon = value; }
    OleColor ClrMesh() const override { return m_draw.clrMesh; }
    void SetClrMesh(OleColor value) override { m_draw.clrMesh = value; }
    OleColor ClrPatch() const override { return m_draw.clrPatch; }
    void SetClrPatch(OleColor value) override { m_draw.clrPatch = value; }
    int32_t Draw() override;
    bool LogInitialized() const override { return m_logInitialized; }
    int32_t DrawPolyMode() const override { return m_draw.polyMode; }
    void SetDrawPolyMode(int32_t value) override { m_draw.polyMode = value; }
    int32_t DrawMeshMode() const override { return m_draw.meshMode; }
    void SetDrawMeshMode(int32_t value) override { m_draw.meshMode = value; }
    int32_t DrawPatchMode() const override { return m_draw.patchMode; }
    void SetDrawPatchMode(int32_t value) override { m_draw.patchMode = value; }
    bool ShowMeshes() const override { return m_draw.showMeshes; }
    void SetShowMeshes(bool value) override { m_draw.showMeshes = value; }
    bool ShowPatches() const override { return m_draw.showPatches; }
    void SetShowPatches(bool value) override { m_draw.showPatches = value; }
    bool ShowPolygons() const override { return m_draw.showPolygons; }
    void SetShowPolygons(bool value) override { m_draw.showPolygons = value; }
    bool SearchCorner(float& x, float& y, float& z, int32_t plane, float zone) override;
    bool GetBounds(MapBounds& bounds) const override;
    void InitializeLog(const QString& logFilepath) override;
    bool ClusterVisibilityCheckEnabled() const override { return m_clusterCheck; }
    void SetClusterVisibilityCheckEnabled(bool value) override { m_clusterCheck = value; }

    // For tests and tools in the same process.
    const BspMap& Map() const { return m_map; }
    const FaceBitset& VisibleFaces() const { return m_culler.Visible(); }
    const Frustum& CurrentFrustum() const { return m_frustum; }

private:
    ~CBSP() override;

    void Info(const QString& message) override;
    void Error(const QString& message) override;
    void MakeTexturesIfPending();

    BspMap m_map;
    bool m_loaded = false;
    BspCuller m_culler;
    Frustum m_frustum;
    BspRenderer m_renderer;
    DrawSettings m_draw;
    bool m_clusterCheck = true;
    // Textures wait for a current context; they take the colours held at
    // the load.
    bool m_texturesPending = false;
    OleColor m_loadMesh = 0;
    OleColor m_loadPatch = 0;
    std::unique_ptr<LogFile> m_log;
    bool m_logInitialized = false;
};

}  // namespace Dorado
