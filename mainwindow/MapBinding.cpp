#include "MapBinding.h"

#include "C3DCurveController.h"
#include "HandlerGuard.h"
#include "MCDialog.h"
#include "MFileOp.h"
#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "PathHelper.h"
#include "StatusMessages.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>

namespace {

QString L(const char* text)
{
    return QString::fromLatin1(text);
}

// OLE colours (red in the lowest byte).
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

constexpr int32_t TextLoadMap = 159;
constexpr int32_t TextLoadError = 160;
constexpr int32_t TextMapNotFound = 161;
constexpr int32_t TextMapFolder = 162;

// The folder browser: rooted at the computer, edit box and new style
// without a new-folder button.
constexpr int32_t BrowseRoot = 17;
constexpr int32_t BrowseFlags = 592;
constexpr int32_t MessageInformation = 64;

}  // namespace

MapBinding::MapBinding(MainContext& context) : m_c(context)
{
    auto connect = [this](const char* item, auto handler) {
        QObject::connect(m_c.menus.Action(L(item)), &QAction::triggered, &m_receiver,
                         [this, handler](bool checked) { RunGuarded(m_c.status, [&] { handler(checked); }); });
    };
    connect("mnuMapLoad", [this](bool) { mnuMapLoad_Click(); });
    connect("mnuMapNone", [this](bool) { mnuMapNone_Click(); });
    connect("mnuMapMagnetize", [this](bool) { mnuMapMagnetize_Click(); });
    // Qt has toggled the check mark already; the toggles do it themselves,
    // after checking that the item may be used.
    connect("mnuMap_ClusterVisibilityState", [this](bool checked) {
        m_c.menus.Action(L("mnuMap_ClusterVisibilityState"))->setChecked(!checked);
        fToggleClusterCheck();
    });
    connect("mnuMap_WireframeOnly", [this](bool checked) {
        m_c.menus.Action(L("mnuMap_WireframeOnly"))->setChecked(!checked);
        fToggleWireframe();
    });
}

QString MapBinding::MapDir() const
{
    return m_c.state.m_activeGame ? m_c.state.m_activeGame->MapDir() : QString();
}

void MapBinding::SetMapDir(const QString& folder)
{
    if (m_c.state.m_activeGame)
        m_c.state.m_activeGame->SetMapDir(folder);
}

QString MapBinding::Resolved(const QString& path)
{
    const QString native = RuvPlatform::PathHelper::ToNative(path);
    const QFileInfo file(native);
    return file.exists() ? file.canonicalFilePath() : native;
}

// ---- The map object ------------------------------------------------------------------

void MapBinding::fCreateMapObject()
{
    fReleaseMapObject();
    // A missing map library leaves the window without maps, nothing more.
    if (m_c.services.makeMapObject)
        m_c.state.m_map = m_c.services.makeMapObject();
    if (!m_c.state.m_map)
        return;
    m_c.state.m_map->SetColors(Rgb(200, 200, 200), Rgb(255, 80, 80), Rgb(80, 255, 80));
    fApplyMapDrawModes();
}

void MapBinding::fReleaseMapObject()
{
    // The map frees its GL objects: the view's context must be current.
    if (m_c.state.m_map)
        m_c.view.MakeCurrent();
    m_c.state.m_map.reset();
}

void MapBinding::fApplyMapDrawModes()
{
    if (m_c.state.m_map)
        m_c.state.m_map->SetDrawModes(Triangles, Triangles, TriangleStrip);
    fPolygonMode();
    fApplyClusterVisibility();
}

bool MapBinding::fPolygonMode()
{
    const bool filled =
        m_c.parts.viewInput->fIsActiveView3D() && !m_c.menus.Action(L("mnuMap_WireframeOnly"))->isChecked();
    const int32_t mode = filled ? PolygonFill : PolygonLine;
    const bool changed = mode != m_mapPolygonMode;
    m_mapPolygonMode = mode;
    return changed;
}

bool MapBinding::fApplyClusterVisibility()
{
    if (!m_mapLoaded || !m_c.state.m_map)
        return false;
    m_c.state.m_map->SetClusterVisibilityCheckEnabled(
        m_c.parts.viewInput->fIsActiveView3D()
        && m_c.menus.Action(L("mnuMap_ClusterVisibilityState"))->isChecked());
    return true;
}

// ---- Loading and unloading ------------------------------------------------------------

bool MapBinding::fTryLoad(const QString& fullPath)
{
    IMapObject* map = m_c.state.m_map.get();
    if (!map)
        return false;
    m_c.view.MakeCurrent();
    // Whatever the map object raises is a failed load.
    try {
        return map->Load(Resolved(fullPath), CurveTesselation);
    } catch (...) {
        return false;
    }
}

bool MapBinding::fLoadMap(const QString& fileName)
{
    using RuvPlatform::PathHelper::Join;
    // An empty name names no map.
    QString name = fileName;
    if (name.isEmpty())
        return false;
    if (!MFileOp::FolderExists(MapDir()) && !fAskMapFolder())
        return false;
    QString fullPath = Join(MapDir(), name);
    // The map asked for is the one loaded: on Linux two names differing in
    // letter case are two files, so the files themselves are compared.
    if (m_mapLoaded && Resolved(fullPath) == m_mapPath)
        return true;
    if (!MFileOp::FileExists(fullPath)) {
        if (!fChooseMapFile(name, m_c.texts.fGetText(TextMapNotFound)))
            return false;
        fullPath = Join(MapDir(), name);
    }
    fUnloadMap(false);
    if (!fTryLoad(fullPath)) {
        fUnloadMap(true);
        m_c.status.fShowMessageBox(m_c.texts.fGetText(TextLoadError) + QStringLiteral("\r\n") + fullPath,
                                   MessageInformation, m_c.texts.fGetText(TextLoadMap));
        return false;
    }
    m_mapLoaded = true;
    m_mapFileName = name;
    m_mapPath = Resolved(fullPath);
    fApplyMapDrawModes();
    fUpdateMapMenus();
    // A new map in the 3D view of a project without points: every view
    // frames it, so that the 2D views show it when they are chosen.
    const C3DCurveController* controller = m_c.state.m_curveController.get();
    if ((!controller || !controller->HasControl()) && m_c.parts.viewInput->fIsActiveView3D())
        for (CView& view : m_c.state.m_views)
            m_c.parts.viewZoom->fFitView(view, false);
    m_c.parts.editState->fSetProjectModified(false);
    return true;
}

void MapBinding::fClearSnap()
{
    m_c.state.m_drags.m_snapFound = false;
    m_c.state.m_drags.m_snapShown = false;
}

void MapBinding::fUnloadMap(bool force)
{
    fClearSnap();
    if (!m_mapLoaded && !force)
        return;
    fCreateMapObject();
    m_mapLoaded = false;
    m_mapFileName.clear();
    m_mapPath.clear();
    fUpdateMapMenus();
}

bool MapBinding::fAskMapFolder()
{
    QString start;
    MFileOp::GetExistingFolder(MapDir(), start);
    const QString chosen = m_c.services.dialogs->BrowseForFolder(&m_c.window, m_c.texts.fGetText(TextMapFolder), start,
                                                                 BrowseRoot, BrowseFlags, QStringLiteral("IDI_A"));
    if (chosen.isEmpty() || chosen == QLatin1String("cancel"))
        return false;
    SetMapDir(chosen);
    return true;
}

bool MapBinding::fChooseMapFile(QString& fileName, const QString& title)
{
    QString initial;
    if (!MapDir().isEmpty())
        MFileOp::GetExistingFolder(MapDir(), initial);
    QString path;
    QString fileTitle;
    int32_t filterIndex = 1;
    const QString filter = MCDialog::BuildFilter(QStringLiteral("IDSoftware map"), QStringLiteral("bsp"));
    if (!m_c.services.dialogs->ShowOpenDialog(&m_c.window,
                                              title.isEmpty() ? m_c.texts.fGetText(TextLoadMap) : title, path,
                                              fileTitle, initial, filter, filterIndex, QString(),
                                              IDialogs::FileMustExist | IDialogs::HideReadOnly))
        return false;
    fileName = fileTitle;
    const qsizetype separator = RuvPlatform::PathHelper::LastSeparator(path);
    const QString folder = separator >= 0 ? path.left(separator) : QString();
    if (folder != MapDir())
        m_c.parts.editState->fSetProjectModified(false);
    SetMapDir(folder);
    return true;
}

// ---- The Map menu ------------------------------------------------------------------

void MapBinding::mnuMapLoad_Click()
{
    QString name;
    if (fChooseMapFile(name, QString()) && fLoadMap(name))
        m_c.parts.editState->fSetProjectModified(false);
    m_c.parts.sceneDrawing->fRefreshView();
}

void MapBinding::mnuMapNone_Click()
{
    fUnloadMap(false);
    m_c.parts.editState->fSetProjectModified(false);
    m_c.parts.sceneDrawing->fRefreshView();
}

void MapBinding::mnuMapMagnetize_Click()
{
    // Qt has toggled the check mark.
    if (!m_c.menus.Action(L("mnuMapMagnetize"))->isChecked())
        m_c.state.m_drags.m_snapFound = false;
    m_c.parts.sceneDrawing->fRefreshView();
}

bool MapBinding::fToggleItem(const char* name)
{
    QAction* item = m_c.menus.Action(L(name));
    if (!item || !item->isEnabled() || !item->isVisible())
        return false;
    item->setChecked(!item->isChecked());
    return true;
}

void MapBinding::fToggleClusterCheck()
{
    if (fToggleItem("mnuMap_ClusterVisibilityState") && fApplyClusterVisibility()
        && !m_c.parts.preview->fIsPlaying())
        m_c.parts.sceneDrawing->fRefreshView();
}

void MapBinding::fToggleWireframe()
{
    if (fToggleItem("mnuMap_WireframeOnly") && fPolygonMode() && !m_c.parts.preview->fIsPlaying())
        m_c.parts.sceneDrawing->fRefreshView();
}

void MapBinding::fUpdateMapMenus()
{
    QAction* name = m_c.menus.Action(L("mnuMapName"));
    // A "&" in a file name is no accelerator.
    name->setText(QString(m_mapFileName).replace(QLatin1Char('&'), QStringLiteral("&&")));
    name->setVisible(m_mapLoaded);
    m_c.menus.Action(L("mnuMapNameSep"))->setVisible(m_mapLoaded);
    m_c.menus.Action(L("mnuMapNone"))->setEnabled(m_mapLoaded);
    m_c.menus.Action(L("mnuMapMagnetize"))->setEnabled(m_mapLoaded);
    fUpdateMapViewMenus();
}

void MapBinding::fUpdateMapViewMenus()
{
    const bool is3D = m_c.parts.viewInput->fIsActiveView3D();
    for (const char* item : {"mnuMap_ClusterVisibilityState", "mnuMap_WireframeOnly"}) {
        QAction* action = m_c.menus.Action(L(item));
        action->setVisible(is3D);
        action->setEnabled(is3D && m_mapLoaded);
    }
}
