#pragma once

// The map library's public face: the class BSP ("BSP Class", ProgID
// "Dorado.BSP"), which loads a Quake 3 map (BSP version 46), culls it by
// cluster visibility and view frustum, draws it into the current OpenGL
// context and answers corner and bounds queries.
//
//   Com::ComPtr<Dorado::IBSP> bsp;
//   Com::CreateInstance(Dorado::CLSID_BSP, bsp);
//   bsp->SetClrPolygon(...); ...
//   if (bsp->Load(path, 4)) { each frame: FrustumUpdate, CalculateVisibleFaces, Draw }
//
// Load, Draw, FrustumUpdate and the release of the last reference use
// OpenGL: keep the view's context current around them. Load works without
// a context too (the textures are then made at the first Draw with one).

#include "ComTypes.h"

#include <QString>

#include <array>
#include <cstdint>

namespace Dorado {

constexpr Com::Guid LIBID_Dorado = Com::MakeGuid("{0FE6F340-D8D6-46CD-AB1E-0B077C388584}");
constexpr Com::Guid CLSID_BSP = Com::MakeGuid("{C5B370A4-D130-4991-9DE9-1143D806B708}");

// Red in the low byte, then green, then blue.
using OleColor = uint32_t;

// Minimum (column 0) and maximum (column 1) on x, y and z.
using MapBounds = std::array<std::array<float, 2>, 3>;

class IBSP : public Com::IUnknown
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{CBD04589-CCA7-4223-BAF3-9C7A8EB25B92}");

    // Loads the map, replacing the one held. A file that cannot be read or
    // fails a check is refused (false, with the reason in the log) and the
    // map held before stays as it was.
    virtual bool Load(const QString& FileName, int32_t CurveTesselation) = 0;
    // The entity text; a null text while no map is held.
    virtual QString EntityString() const = 0;
    virtual int32_t NumLeaves() const = 0;
    virtual int32_t NumLightmaps() const = 0;
    virtual int32_t NumMeshFaces() const = 0;
    virtual int32_t NumNodes() const = 0;
    virtual int32_t NumPatches() const = 0;
    virtual int32_t NumPlanes() const = 0;
    virtual int32_t NumPolygonFaces() const = 0;
    virtual int32_t NumTextures() const = 0;
    virtual int32_t NumTotalFaces() const = 0;
    virtual int32_t NumVertices() const = 0;
    // Calculate visible faces according the specified camera position.
    virtual void CalculateVisibleFaces(float x, float y, float z) = 0;
    // Calculate frustum from the current projection and modelview matrix.
    virtual void FrustumUpdate() = 0;
    virtual OleColor ClrPolygon() const = 0;
    virtual void SetClrPolygon(OleColor value) = 0;
    virtual OleColor ClrMesh() const = 0;
    virtual void SetClrMesh(OleColor value) = 0;
    virtual OleColor ClrPatch() const = 0;
    virtual void SetClrPatch(OleColor value) = 0;
    // Draws the visible faces; gives how many were drawn.
    virtual int32_t Draw() = 0;
    virtual bool LogInitialized() const = 0;
    // OpenGL primitive types: 4 triangles, 4 triangles and 5 triangle strip
    // by default.
    virtual int32_t DrawPolyMode() const = 0;
    virtual void SetDrawPolyMode(int32_t value) = 0;
    virtual int32_t DrawMeshMode() const = 0;
    virtual void SetDrawMeshMode(int32_t value) = 0;
    virtual int32_t DrawPatchMode() const = 0;
    virtual void SetDrawPatchMode(int32_t value) = 0;
    virtual bool ShowMeshes() const = 0;
    virtual void SetShowMeshes(bool value) = 0;
    virtual bool ShowPatches() const = 0;
    virtual void SetShowPatches(bool value) = 0;
    virtual bool ShowPolygons() const = 0;
    virtual void SetShowPolygons(bool value) = 0;
    // Search the nearest map objects corner: the first vertex in file order
    // inside the square of side `zone` around the point on the axes of
    // `plane` (0: x y, 1: x z, 2: y z). If one is found, true, and x, y
    // and z hold its coordinates.
    virtual bool SearchCorner(float& x, float& y, float& z, int32_t plane, float zone) = 0;
    // Obtains the map box bounds. False, and `bounds` untouched, while no
    // map has been loaded.
    virtual bool GetBounds(MapBounds& bounds) const = 0;
    // Defines the path to the file that will be used to log all debugging
    // informations. Only the first call with a path counts.
    virtual void InitializeLog(const QString& logFilepath) = 0;
    // Whether to check the clusters visibility before drawing.
    virtual bool ClusterVisibilityCheckEnabled() const = 0;
    virtual void SetClusterVisibilityCheckEnabled(bool value) = 0;

protected:
    ~IBSP() = default;
};

}  // namespace Dorado
