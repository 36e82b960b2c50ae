#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

struct MainContext;

// The map object and the one map it holds: created with its colours and
// draw modes, a .bsp chosen in the current game's map folder and loaded,
// framed, unloaded; the Map menu's commands and states.
class IMapBinding
{
public:
    virtual ~IMapBinding() = default;
    // Makes a fresh map object (dropping the old one and its map) with its
    // colours and draw modes.
    virtual void fCreateMapObject() = 0;
    // Drops the map object (close-down).
    virtual void fReleaseMapObject() = 0;
    // The draw modes, polygon mode and cluster check for the active view.
    virtual void fApplyMapDrawModes() = 0;
    // GL_FILL in the 3D view unless Wireframe is checked, GL_LINE in the
    // 2D views; true when it changed.
    virtual bool fPolygonMode() = 0;
    // The cluster check (3D view and Cluster check checked) onto a loaded
    // map; false without one.
    virtual bool fApplyClusterVisibility() = 0;
    virtual bool fIsMapLoaded() const = 0;
    // The map's file name without folder, empty without a map.
    virtual QString fMapFileName() const = 0;
    // The polygon mode the scene draws the map with.
    virtual int32_t fMapPolygonMode() const = 0;
    // Loads the file of that name in the game's map folder; true when a map
    // is loaded afterwards.
    virtual bool fLoadMap(const QString& fileName) = 0;
    // Without force only when a map is loaded.
    virtual void fUnloadMap(bool force) = 0;
    virtual bool fAskMapFolder() = 0;
    virtual bool fChooseMapFile(QString& fileName, const QString& title) = 0;
    // Ctrl+F1 and Ctrl+F2: only while the item is enabled and visible.
    virtual void fToggleClusterCheck() = 0;
    virtual void fToggleWireframe() = 0;
    virtual void fUpdateMapMenus() = 0;
    virtual void fUpdateMapViewMenus() = 0;
};

class MapBinding final : public IMapBinding
{
public:
    // OpenGL's polygon modes and primitives as the map object takes them.
    static constexpr int32_t PolygonFill = 6914;
    static constexpr int32_t PolygonLine = 6913;
    static constexpr int32_t Triangles = 4;
    static constexpr int32_t TriangleStrip = 5;
    static constexpr int32_t CurveTesselation = 4;

    explicit MapBinding(MainContext& context);

    void fCreateMapObject() override;
    void fReleaseMapObject() override;
    void fApplyMapDrawModes() override;
    bool fPolygonMode() override;
    bool fApplyClusterVisibility() override;
    bool fIsMapLoaded() const override { return m_mapLoaded; }
    QString fMapFileName() const override { return m_mapFileName; }
    int32_t fMapPolygonMode() const override { return m_mapPolygonMode; }
    bool fLoadMap(const QString& fileName) override;
    void fUnloadMap(bool force) override;
    bool fAskMapFolder() override;
    bool fChooseMapFile(QString& fileName, const QString& title) override;
    void fToggleClusterCheck() override;
    void fToggleWireframe() override;
    void fUpdateMapMenus() override;
    void fUpdateMapViewMenus() override;

    // ---- The Map menu ---------------------------------------------------------------
    void mnuMapLoad_Click();
    void mnuMapNone_Click();
    void mnuMapMagnetize_Click();

private:
    QString MapDir() const;
    void SetMapDir(const QString& folder);
    // The file a path names on disk (separators, drive letter and the
    // letter case of parts not written as on disk resolved).
    static QString Resolved(const QString& path);
    bool fTryLoad(const QString& fullPath);
    void fClearSnap();
    // Toggles an item's check mark unless it is disabled or hidden.
    bool fToggleItem(const char* name);
    void fApplyWireframe();
    void fApplyClusterCheck();

    MainContext& m_c;
    QObject m_receiver;
    bool m_mapLoaded = false;
    QString m_mapFileName;
    // The loaded map's file as resolved on disk.
    QString m_mapPath;
    int32_t m_mapPolygonMode = 0;
};
