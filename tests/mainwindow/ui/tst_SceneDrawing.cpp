// The real window's scene drawn with OpenGL under Xvfb, its pixels read
// back before each swap: the origin cross, the grid, the ruler band and its
// ticks, the bare background while a project loads, the map in lines in 2D
// and filled in 3D, the marks of the point grid's selection, and a curve
// removed in the curve manager gone from the view at once.

#include "ViewTestParts.h"

#include "C3DCurveController.h"
#include "GLFrame.h"
#include "UC3DCurveManager.h"

#include <QAction>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <GL/gl.h>

using namespace Harness;
using namespace ViewTest;

namespace {

// The real scene, and the frame it drew read back before the swap.
class ReadingScene final : public ISceneDrawing
{
public:
    ReadingScene(MainContext& c, QImage& frame) : m_real(c), m_frame(frame) {}
    void fBuildScaleTable() override { m_real.fBuildScaleTable(); }
    void GLDrawScene() override
    {
        m_real.GLDrawScene();
        m_frame = FrameImage();
    }
    void fRefreshView() override { m_real.fRefreshView(); }
    void fUpdateViewProjection() override { m_real.fUpdateViewProjection(); }
    void fHideGridSelection() override { m_real.fHideGridSelection(); }
    void fUpdateViewMenus() override { m_real.fUpdateViewMenus(); }
    void fSetLineSmooth(bool on) override { m_real.fSetLineSmooth(on); }

private:
    SceneDrawing m_real;
    QImage& m_frame;
};

class SceneFactory final : public Factory
{
public:
    SceneFactory(FakeState& s, Record& r, QImage& frame) : Factory(s, r), m_frame(frame) {}
    std::unique_ptr<ISceneDrawing> MakeSceneDrawing(MainContext& c) override
    {
        return std::make_unique<ReadingScene>(c, m_frame);
    }

private:
    QImage& m_frame;
};

bool Near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

const QColor White(255, 255, 255);
const QColor OriginRed(217, 0, 0);
const QColor GridXY(237, 230, 230);
// Meshes: RGB(255, 80, 80) at half opacity over white.
const QColor MeshPink(255, 167, 167);

}  // namespace

class TstSceneDrawing : public QObject
{
    Q_OBJECT

    ViewTest::Window m_w;
    QImage m_frame;
    QTemporaryDir m_dir;

    MainState& State() { return m_w.window->State(); }
    CView& ActiveView() { return *State().m_view; }
    QPoint Centre() const { return QPoint(m_frame.width() / 2, m_frame.height() / 2); }

    // Draws a frame and keeps its pixels.
    bool Draw()
    {
        m_frame = QImage();
        m_w.window->ViewControl().Refresh();
        return !m_frame.isNull();
    }
    QColor Pixel(QPoint p) const { return m_frame.pixelColor(p); }
    // The first pixel near the colour in the rectangle, or (-1, -1).
    QPoint Find(QRect area, QColor colour, int tolerance = 3) const
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (m_frame.rect().contains(x, y) && Near(m_frame.pixelColor(x, y), colour, tolerance))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }
    bool Has(QRect area, QColor colour, int tolerance = 3) const { return Find(area, colour, tolerance).x() >= 0; }
    QPoint ToPixel(float worldH, float worldV)
    {
        const double scale = m_w.window->ViewControl().GLViewScale();
        return Centre() + QPoint(qRound((worldH - ActiveView().CurrentOrigin(1)) * scale),
                                 -qRound((worldV - ActiveView().CurrentOrigin(2)) * scale));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_w.Start(std::make_unique<SceneFactory>(m_w.fake, m_w.record, m_frame)));
        QVERIFY(WriteMap(FloorMap(512), m_dir.filePath(QStringLiteral("floor.bsp"))));
        // A wall across the 3D camera's sight, 200 units ahead.
        using DoradoTest::V;
        QVERIFY(WriteMap(MeshMap({{V(-1000, 200, -1000), V(1000, 200, -1000), V(1000, 200, 1000),
                                   V(-1000, 200, 1000)}}),
                         m_dir.filePath(QStringLiteral("wall.bsp"))));
        State().m_activeGame->SetMapDir(m_dir.path());
    }
    void cleanupTestCase() { m_w.window.reset(); }
    void init()
    {
        m_w.window->Parts().viewInput->fSelectView(0);
        m_w.window->Parts().mapBinding->fUnloadMap(true);
        for (CView& view : State().m_views) {
            view.SetShowGrid(false);
            view.SetShowRuler(false);
            view.SetCurrentOrigin(1, 0.0f);
            view.SetCurrentOrigin(2, 0.0f);
            view.SetScaleIndex(m_w.window->Parts().viewZoom->DefaultScaleIndex());
        }
        m_w.window->Parts().viewInput->fSelectView(0);
    }

    void redOriginCrossAtTheCentre()
    {
        QVERIFY(Draw());
        QVERIFY(Has(QRect(Centre() - QPoint(2, 2), QSize(5, 5)), OriginRed, 25));
        // 20 pixels long: its arms end 10 pixels out.
        QVERIFY(Has(QRect(Centre() + QPoint(6, -2), QSize(3, 5)), OriginRed, 25));
        QVERIFY(!Has(QRect(Centre() + QPoint(13, -2), QSize(4, 5)), OriginRed, 60));
        QCOMPARE(Pixel(QPoint(5, m_frame.height() - 5)), White);
    }

    void gridInItsColour()
    {
        // Lines every 500 units: look along a row between the cross's arms.
        const double spacing = 500.0 * m_w.window->ViewControl().GLViewScale();
        QVERIFY(spacing > 8);
        const QRect row(Centre().x() + 14, Centre().y() + 14, static_cast<int>(spacing) + 2, 1);
        QVERIFY(Draw());
        QVERIFY(!Has(row, GridXY, 2));
        ActiveView().SetShowGrid(true);
        QVERIFY(Draw());
        QVERIFY(Has(row, GridXY, 2));
    }

    void rulerBandTicksAndLabels()
    {
        ActiveView().SetShowGrid(true);
        QVERIFY(Draw());
        const QRect top(40, 0, m_frame.width() - 40, 8);
        QVERIFY(!Has(top, QColor(51, 51, 51), 10));
        // A vertical grid line, well below the band.
        const QPoint line = Find(QRect(Centre().x() + 14, 60, 40, 1), GridXY, 2);
        QVERIFY(line.x() >= 0);
        ActiveView().SetShowRuler(true);
        QVERIFY(Draw());
        // Dark ticks of the coarsest level along the top.
        QVERIFY(Has(top, QColor(51, 51, 51), 10));
        // The band lightens what lies under it, below the ticks and labels.
        const QColor under = Pixel(QPoint(line.x(), 14));
        QVERIFY2(under.green() > GridXY.green() + 3 && under.green() < 255,
                 qPrintable(QColor(under).name()));
        QVERIFY(Near(Pixel(QPoint(line.x(), 60)), GridXY, 2));
    }

    void bareBackgroundWhileLoading()
    {
        ActiveView().SetShowGrid(true);
        ActiveView().SetShowRuler(true);
        State().m_loadingProject = true;
        QVERIFY(Draw());
        State().m_loadingProject = false;
        QImage white(m_frame.size(), m_frame.format());
        white.fill(White);
        QCOMPARE(m_frame, white);
    }

    void mapInLinesIn2D()
    {
        QVERIFY(m_w.window->Parts().mapBinding->fLoadMap(QStringLiteral("floor.bsp")));
        QVERIFY(Draw());
        // The face's edge at x = 512, its inside left white.
        const QPoint edge = ToPixel(512, 200);
        QVERIFY(Has(QRect(edge - QPoint(2, 0), QSize(5, 1)), MeshPink, 20));
        QCOMPARE(Pixel(ToPixel(360, -100)), White);
    }

    void mapFilledIn3D()
    {
        m_w.window->Parts().viewInput->fSelectView(3);
        QVERIFY(m_w.window->Parts().mapBinding->fLoadMap(QStringLiteral("wall.bsp")));
        State().m_camera.Clear();
        m_w.window->ViewControl().UpdateProjection();
        QVERIFY(Draw());
        QVERIFY(Near(Pixel(Centre() + QPoint(100, 60)), MeshPink, 20));
        QVERIFY(Near(Pixel(Centre() - QPoint(150, 80)), MeshPink, 20));
        // Wireframe: only the edges and diagonals.
        QAction* wireframe = m_w.window->Menus().Action(QStringLiteral("mnuMap_WireframeOnly"));
        wireframe->trigger();
        QVERIFY(Draw());
        QCOMPARE(Pixel(Centre() + QPoint(100, 60)), White);
        wireframe->trigger();
        QVERIFY(Draw());
        QVERIFY(Near(Pixel(Centre() + QPoint(100, 60)), MeshPink, 20));
    }

    void displayTogglesChangeTheActiveViewOnly()
    {
        QAction* grid = m_w.window->Menus().Action(QStringLiteral("mnuV_ShowGrid"));
        QAction* smoothing = m_w.window->Menus().Action(QStringLiteral("mnuV_AntiAliasing"));
        QAction* rulers = m_w.window->Menus().Action(QStringLiteral("mnuV_ShowRulers"));
        State().m_projectModified = false;
        m_frame = QImage();
        grid->trigger();
        QVERIFY(ActiveView().ShowGrid());
        QVERIFY(!State().m_views[1].ShowGrid());
        // Redrawn; without points the project is not marked.
        QVERIFY(!m_frame.isNull());
        QVERIFY(!State().m_projectModified);

        // While the playback runs, the state changes and its next frame shows it.
        m_w.fake.playing = true;
        m_frame = QImage();
        rulers->trigger();
        smoothing->trigger();
        m_w.fake.playing = false;
        QVERIFY(ActiveView().ShowRuler());
        QVERIFY(ActiveView().EnableAA());
        QVERIFY(m_frame.isNull());
        QVERIFY(m_w.window->ViewControl().MakeCurrent());
        QCOMPARE(glIsEnabled(GL_LINE_SMOOTH), GLboolean(GL_TRUE));

        // With a point the project is marked; another view brings its own checks.
        State().m_mainCurve->AddControl3(1, 2, 3, 0, 0, 0, false);
        grid->trigger();
        QVERIFY(State().m_projectModified);
        QVERIFY(!ActiveView().ShowGrid());
        State().m_mainCurve->DeleteControl(1);
        m_w.window->Parts().viewInput->fSelectView(2);
        QVERIFY(!rulers->isChecked());
        QVERIFY(!smoothing->isChecked());
        QVERIFY(m_w.window->ViewControl().MakeCurrent());
        QCOMPARE(glIsEnabled(GL_LINE_SMOOTH), GLboolean(GL_FALSE));
        m_w.window->Parts().viewInput->fSelectView(0);
        QVERIFY(rulers->isChecked());
        QVERIFY(smoothing->isChecked());
        State().m_views[0].SetEnableAA(false);
        m_w.window->Parts().sceneDrawing->fUpdateViewMenus();
    }

    void gridSelectionMarksOnlyPointsThatExist()
    {
        C3DCurve& curve = *State().m_mainCurve;
        curve.AddControl3(2000, 0, 0, 0, 0, 0, false);
        curve.AddControl3(2000, 1000, 0, 0, 0, 0, false);
        QCOMPARE(m_w.window->Widgets().cmCurveManager->SelectedCurve(), &curve);
        // Rows beyond the curve's points, as a stale grid may report.
        m_w.record.gridSelection = true;
        m_w.record.gridFirst = 0;
        m_w.record.gridLast = 99;
        State().m_drags.m_showGridSelection = true;
        QVERIFY(Draw());
        const QPoint first = ToPixel(2000, 0);
        const QPoint last = ToPixel(2000, 1000);
        // Green for the first row, cyan for the last.
        QVERIFY(Has(QRect(first - QPoint(5, 5), QSize(11, 11)), QColor(0, 255, 0), 40));
        QVERIFY(Has(QRect(last - QPoint(5, 5), QSize(11, 11)), QColor(0, 255, 255), 40));
        // Hidden again: one redraw, and the marks are gone.
        m_w.window->Parts().sceneDrawing->fHideGridSelection();
        QVERIFY(!State().m_drags.m_showGridSelection);
        QVERIFY(Draw());
        QVERIFY(!Has(QRect(first - QPoint(5, 5), QSize(11, 11)), QColor(0, 255, 0), 40));
        m_w.record.gridSelection = false;
        curve.DeleteControl(2);
        curve.DeleteControl(1);
    }

    void aCurveRemovedInTheManagerLeavesTheViewAtOnce()
    {
        C3DCurveController& curves = *State().m_curveController;
        C3DCurve& other = curves.Add(QStringLiteral("Other"));
        other.SetStepRate(25);
        other.AddControl3(-2000, 0, 0, 0, 0, 0, false);
        other.AddControl3(-2000, 1000, 0, 0, 0, 0, false);
        const QRect segment(ToPixel(-2000, 500) - QPoint(5, 5), QSize(11, 11));
        const auto drawn = [&] {
            for (int y = segment.top(); y <= segment.bottom(); ++y)
                for (int x = segment.left(); x <= segment.right(); ++x)
                    if (!Near(m_frame.pixelColor(x, y), White, 10))
                        return true;
            return false;
        };
        QVERIFY(Draw());
        QVERIFY(drawn());

        UC3DCurveManager* manager = m_w.window->Widgets().cmCurveManager;
        // The user picks the curve's row and clicks Remove.
        QListWidget* rows = manager->findChild<QListWidget*>(QStringLiteral("lvwItemText"));
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(1)).center());
        QCOMPARE(manager->SelectedCurve(), &other);
        m_frame = QImage();
        QTest::mouseClick(manager->findChild<QPushButton*>(QStringLiteral("cmdRemoveCurve")), Qt::LeftButton);
        QCOMPARE(curves.CurveCount(), 1);
        // The frame the removal itself drew, without a refresh asked for.
        QVERIFY(!m_frame.isNull());
        QVERIFY(!drawn());
    }
};

QTEST_MAIN(TstSceneDrawing)
#include "tst_SceneDrawing.moc"
