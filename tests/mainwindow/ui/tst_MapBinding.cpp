// The real window's map: loading from the game's map folder, the same map
// asked again, names differing in letter case, missing and damaged files,
// a missing folder, framing, the map menus and their shortcuts.

#include "ViewTestParts.h"

#include "C3DCurveController.h"
#include "RealMaps.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace Harness;
using namespace ViewTest;

class TstMapBinding : public QObject
{
    Q_OBJECT

    ViewTest::Window m_w;
    QTemporaryDir m_dir;
    QString m_maps;

    MainState& State() { return m_w.window->State(); }
    IMapBinding& Map() { return *m_w.window->Parts().mapBinding; }
    QAction* Item(const char* name) { return m_w.window->Menus().Action(QString::fromLatin1(name)); }
    C3DCurve& MainCurve() { return *State().m_mainCurve; }
    void SetMapDir(const QString& folder) { State().m_activeGame->SetMapDir(folder); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_maps = m_dir.filePath(QStringLiteral("maps"));
        QVERIFY(QDir().mkpath(m_maps));
        QVERIFY(WriteMap(FloorMap(512), m_maps + QStringLiteral("/floor.bsp")));
        QFile bad(m_maps + QStringLiteral("/bad.bsp"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("IBSP\x2e\0\0\0 this is no map at all", 30);
        bad.close();

        QVERIFY(m_w.Start());
    }
    void cleanupTestCase() { m_w.window.reset(); }
    void init()
    {
        m_w.window->Parts().viewInput->fSelectView(0);
        Map().fUnloadMap(true);
        SetMapDir(m_maps);
        m_w.dialogs->boxes.clear();
        m_w.dialogs->openDialogs.clear();
        m_w.dialogs->folderDialogs.clear();
        State().m_projectModified = false;
        m_w.record.makeMapObjects = 0;
    }
    void cleanup()
    {
        while (MainCurve().ControlsCount() > 0)
            MainCurve().DeleteControl(1);
    }

    void loadsAndShowsTheMapInTheMenu()
    {
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QVERIFY(Map().fIsMapLoaded());
        QCOMPARE(Map().fMapFileName(), QStringLiteral("floor.bsp"));
        // Into the fresh object there was.
        QCOMPARE(m_w.record.makeMapObjects, 0);
        QCOMPARE(Item("mnuMapName")->text(), QStringLiteral("floor.bsp"));
        QVERIFY(Item("mnuMapName")->isVisible());
        QVERIFY(Item("mnuMapNameSep")->isVisible());
        QVERIFY(Item("mnuMapNone")->isEnabled());
        QVERIFY(Item("mnuMapMagnetize")->isEnabled());
        // The 3D items only in the 3D view.
        QVERIFY(!Item("mnuMap_ClusterVisibilityState")->isVisible());
        QVERIFY(m_w.dialogs->boxes.isEmpty());
        // Without points the project has nothing new to save.
        QVERIFY(!State().m_projectModified);

        IMapObject::Bounds bounds{};
        QVERIFY(State().m_map->GetBounds(bounds));
        QCOMPARE(bounds[0][1], 512.0f);

        // None: a fresh object, no map, no name.
        Item("mnuMapNone")->trigger();
        QVERIFY(!Map().fIsMapLoaded());
        QCOMPARE(m_w.record.makeMapObjects, 1);
        QVERIFY(!Item("mnuMapName")->isVisible());
        QVERIFY(!Item("mnuMapNone")->isEnabled());
        QVERIFY(!State().m_map->GetBounds(bounds));
    }

    void theSameFileReloadsNothingAnotherCaseLoads()
    {
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QCOMPARE(m_w.record.makeMapObjects, 0);
        // The loaded file again, by a name that resolves to it.
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        SetMapDir(m_maps + QStringLiteral("/"));
        QVERIFY(Map().fLoadMap(QStringLiteral("./floor.bsp")));
        SetMapDir(m_maps);
        QVERIFY(Map().fLoadMap(QStringLiteral("FLOOR.BSP")));
        QCOMPARE(m_w.record.makeMapObjects, 0);
        QCOMPARE(Map().fMapFileName(), QStringLiteral("floor.bsp"));
        // A second file whose name differs only in case is another map.
        QVERIFY(WriteMap(FloorMap(64), m_maps + QStringLiteral("/Floor.bsp")));
        QVERIFY(Map().fLoadMap(QStringLiteral("Floor.bsp")));
        // The old map went with its object.
        QCOMPARE(m_w.record.makeMapObjects, 1);
        QCOMPARE(Map().fMapFileName(), QStringLiteral("Floor.bsp"));
        IMapObject::Bounds bounds{};
        QVERIFY(State().m_map->GetBounds(bounds));
        QCOMPARE(bounds[0][1], 64.0f);
        QVERIFY(QFile::remove(m_maps + QStringLiteral("/Floor.bsp")));
    }

    void anEmptyNameLoadsNothing()
    {
        QVERIFY(!Map().fLoadMap(QString()));
        QVERIFY(!Map().fIsMapLoaded());
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QVERIFY(!Map().fLoadMap(QString()));
        QCOMPARE(Map().fMapFileName(), QStringLiteral("floor.bsp"));
        QVERIFY(m_w.dialogs->openDialogs.isEmpty());
    }

    void aMissingFileAsksForAnother()
    {
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        // Cancelled: the map loaded before stays, nothing is said.
        QVERIFY(!Map().fLoadMap(QStringLiteral("gone.bsp")));
        QCOMPARE(m_w.dialogs->openDialogs.size(), 1);
        const ViewTest::Dialogs::Asked asked = m_w.dialogs->openDialogs.first();
        QCOMPARE(asked.title, QStringLiteral("Map not found."));
        QCOMPARE(asked.filter, QStringLiteral("IDSoftware map (*.bsp)|*.bsp|"));
        QCOMPARE(asked.flags, 4100);
        QCOMPARE(asked.initialFolder, m_maps);
        QCOMPARE(Map().fMapFileName(), QStringLiteral("floor.bsp"));
        QVERIFY(m_w.dialogs->boxes.isEmpty());

        // Another folder chosen: without points the project is not marked.
        QTemporaryDir other;
        QVERIFY(WriteMap(FloorMap(32), other.filePath(QStringLiteral("small.bsp"))));
        m_w.dialogs->openAnswers << other.filePath(QStringLiteral("small.bsp"));
        QVERIFY(Map().fLoadMap(QStringLiteral("gone.bsp")));
        QCOMPARE(Map().fMapFileName(), QStringLiteral("small.bsp"));
        QCOMPARE(State().m_activeGame->MapDir(), other.path());
        QVERIFY(!State().m_projectModified);

        // With a point, a folder change marks it; the same folder does not.
        MainCurve().AddControl3(1, 2, 3, 0, 0, 0, false);
        State().m_projectModified = false;
        QString name;
        m_w.dialogs->openAnswers << other.filePath(QStringLiteral("small.bsp"));
        QVERIFY(Map().fChooseMapFile(name, QString()));
        QCOMPARE(m_w.dialogs->openDialogs.last().title, QStringLiteral("Load a map"));
        QVERIFY(!State().m_projectModified);
        m_w.dialogs->openAnswers << m_maps + QStringLiteral("/floor.bsp");
        QVERIFY(Map().fChooseMapFile(name, QString()));
        QCOMPARE(name, QStringLiteral("floor.bsp"));
        QVERIFY(State().m_projectModified);
    }

    void aDamagedFileReportsItsPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::newRow("damaged") << QString() << QStringLiteral("bad.bsp");
        QTest::newRow("non-Latin folder") << QStringLiteral("Карты 地图") << QStringLiteral("bad.bsp");
        QTest::newRow("empty file") << QString() << QStringLiteral("empty.bsp");
    }
    void aDamagedFileReportsItsPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QString dir = m_maps;
        if (!folder.isEmpty()) {
            dir = m_dir.filePath(folder);
            QVERIFY(QDir().mkpath(dir));
            QVERIFY(QFile::copy(m_maps + QStringLiteral("/bad.bsp"), dir + QStringLiteral("/bad.bsp")));
        }
        if (file == QLatin1String("empty.bsp")) {
            QFile empty(dir + QLatin1Char('/') + file);
            QVERIFY(empty.open(QIODevice::WriteOnly));
        }
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")) || !folder.isEmpty());
        SetMapDir(dir);
        const bool modified = State().m_projectModified;
        QVERIFY(!Map().fLoadMap(file));
        QVERIFY(!Map().fIsMapLoaded());
        QCOMPARE(Map().fMapFileName(), QString());
        QVERIFY(!Item("mnuMapName")->isVisible());
        QCOMPARE(m_w.dialogs->boxes.size(), 1);
        const ViewTest::Dialogs::Box box = m_w.dialogs->boxes.first();
        QCOMPARE(box.title, QStringLiteral(" Load a map"));
        QCOMPARE(box.prompt, QStringLiteral("Map loading error:\r\n") + dir + QLatin1Char('/') + file);
        QCOMPARE(box.style, 64);
        QCOMPARE(State().m_projectModified, modified);
        // The fresh object draws nothing.
        m_w.window->Parts().sceneDrawing->fRefreshView();
    }

    void aMissingFolderAsksForOne()
    {
        SetMapDir(m_dir.filePath(QStringLiteral("no/such/folder")));
        QVERIFY(!Map().fLoadMap(QStringLiteral("floor.bsp")));
        QCOMPARE(m_w.dialogs->folderDialogs.size(), 1);
        const ViewTest::Dialogs::Asked asked = m_w.dialogs->folderDialogs.first();
        QCOMPARE(asked.title, QStringLiteral("Specify the folder containing BSP map."));
        QCOMPARE(asked.root, 17);
        QCOMPARE(asked.flags, 592);
        QCOMPARE(asked.icon, QStringLiteral("IDI_A"));
        // Its nearest existing folder to start from.
        QCOMPARE(asked.initialFolder, m_dir.path());
        QVERIFY(m_w.dialogs->boxes.isEmpty());
        QVERIFY(m_w.dialogs->openDialogs.isEmpty());

        m_w.dialogs->folderAnswers << m_maps;
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QCOMPARE(State().m_activeGame->MapDir(), m_maps);
    }

    void framingOnlyIn3DWithoutPoints()
    {
        std::array<CView, 4> before = State().m_views;
        // A 2D view keeps its place.
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QCOMPARE(State().m_views, before);
        Map().fUnloadMap(false);
        // With points, the 3D view keeps every view's place too.
        m_w.window->Parts().viewInput->fSelectView(3);
        before = State().m_views;
        MainCurve().AddControl3(1, 2, 3, 0, 0, 0, false);
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QCOMPARE(State().m_views, before);
        Map().fUnloadMap(false);
        MainCurve().DeleteControl(1);
        // Without: every view frames the map (1024 x 1024 units here).
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        const CView& top = State().m_views[0];
        QVERIFY(top.ScaleIndex() != before[0].ScaleIndex());
        const IViewZoom& zoom = *m_w.window->Parts().viewZoom;
        const double pixels = std::min(m_w.window->ViewControl().GLViewRealWidth(),
                                       m_w.window->ViewControl().GLViewRealHeight());
        const double spare = pixels - 1024.0 * zoom.ScaleOfIndex(top.ScaleIndex());
        QVERIFY2(spare >= 19.0 && spare <= 22.0, qPrintable(QString::number(spare)));
        QCOMPARE(top.CurrentOrigin(1), 0.0f);
        m_w.window->Parts().viewInput->fSelectView(0);
        QCOMPARE(m_w.window->ViewControl().GLViewScale(), zoom.ScaleOfIndex(top.ScaleIndex()));
    }

    void clusterCheckAndWireframeIn3DOnly()
    {
        QAction* cluster = Item("mnuMap_ClusterVisibilityState");
        QAction* wireframe = Item("mnuMap_WireframeOnly");
        m_w.window->Parts().viewInput->fSelectView(3);
        QVERIFY(cluster->isVisible());
        QVERIFY(!cluster->isEnabled());
        // Ctrl+F1 and Ctrl+F2 do nothing without a map.
        const bool checked = cluster->isChecked();
        QTest::keyClick(m_w.window.get(), Qt::Key_F1, Qt::ControlModifier);
        QTest::keyClick(m_w.window.get(), Qt::Key_F2, Qt::ControlModifier);
        Map().fToggleClusterCheck();
        QCOMPARE(cluster->isChecked(), checked);
        QVERIFY(!wireframe->isChecked());

        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QVERIFY(cluster->isEnabled());
        QCOMPARE(State().m_map->ClusterVisibilityCheckEnabled(), checked);
        QCOMPARE(Map().fMapPolygonMode(), 6914);
        QTest::keyClick(m_w.window.get(), Qt::Key_F1, Qt::ControlModifier);
        QTRY_COMPARE(cluster->isChecked(), !checked);
        QCOMPARE(State().m_map->ClusterVisibilityCheckEnabled(), !checked);
        QTest::keyClick(m_w.window.get(), Qt::Key_F2, Qt::ControlModifier);
        QTRY_VERIFY(wireframe->isChecked());
        QCOMPARE(Map().fMapPolygonMode(), 6913);
        // A click on the item toggles once.
        wireframe->trigger();
        QVERIFY(!wireframe->isChecked());
        QCOMPARE(Map().fMapPolygonMode(), 6914);
        wireframe->trigger();

        // The 2D views: lines and no cluster check, whatever the items say.
        m_w.window->Parts().viewInput->fSelectView(1);
        QVERIFY(!cluster->isVisible());
        QCOMPARE(Map().fMapPolygonMode(), 6913);
        QVERIFY(!State().m_map->ClusterVisibilityCheckEnabled());
        wireframe->setChecked(false);
        m_w.window->Parts().mapBinding->fApplyMapDrawModes();
        QCOMPARE(Map().fMapPolygonMode(), 6913);
        // Hidden items ignore their keys.
        QTest::keyClick(m_w.window.get(), Qt::Key_F1, Qt::ControlModifier);
        Map().fToggleWireframe();
        QCOMPARE(cluster->isChecked(), !checked);
        QVERIFY(!wireframe->isChecked());
        cluster->setChecked(checked);
    }

    void magnetizeUncheckedDropsTheSnap()
    {
        QVERIFY(Map().fLoadMap(QStringLiteral("floor.bsp")));
        QAction* magnetize = Item("mnuMapMagnetize");
        magnetize->setChecked(false);
        magnetize->trigger();
        QVERIFY(magnetize->isChecked());
        State().m_drags.m_snapFound = true;
        magnetize->trigger();
        QVERIFY(!magnetize->isChecked());
        QVERIFY(!State().m_drags.m_snapFound);
        // Unloading drops it too.
        State().m_drags.m_snapFound = true;
        State().m_drags.m_snapShown = true;
        Map().fUnloadMap(false);
        QVERIFY(!State().m_drags.m_snapFound);
        QVERIFY(!State().m_drags.m_snapShown);
    }

    void loadFromTheMenu()
    {
        m_w.dialogs->openAnswers << m_maps + QStringLiteral("/floor.bsp");
        MainCurve().AddControl3(1, 2, 3, 0, 0, 0, false);
        Item("mnuMapLoad")->trigger();
        QVERIFY(Map().fIsMapLoaded());
        QCOMPARE(m_w.dialogs->openDialogs.last().title, QStringLiteral("Load a map"));
        QVERIFY(State().m_projectModified);
        State().m_projectModified = false;
        Item("mnuMapNone")->trigger();
        QVERIFY(State().m_projectModified);
    }

    void aRealMap()
    {
        const QStringList maps = DoradoTest::RealMaps();
        if (maps.isEmpty())
            QSKIP("openarena-081-maps is not installed");
        const QFileInfo file(maps.first());
        SetMapDir(file.absolutePath());
        m_w.window->Parts().viewInput->fSelectView(3);
        QVERIFY(Map().fLoadMap(file.fileName()));
        IMapObject::Bounds bounds{};
        QVERIFY(State().m_map->GetBounds(bounds));
        QVERIFY(bounds[0][0] < bounds[0][1]);
        // Framed in the top view around the map's middle.
        const CView& top = State().m_views[0];
        QVERIFY(qAbs(top.CurrentOrigin(1) - (bounds[0][0] + (bounds[0][1] - bounds[0][0]) / 2)) < 0.01f);
        m_w.window->Parts().sceneDrawing->fRefreshView();
    }
};

QTEST_MAIN(TstMapBinding)
#include "tst_MapBinding.moc"
