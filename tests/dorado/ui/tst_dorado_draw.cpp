// The map object drawing for real into a 2.1 compatibility context under
// Xvfb, created by class id through the component layer; pixels are read
// back before the swap.
#include "BspWriter.h"
#include "ComClient.h"
#include "Dorado.h"
#include "RealMaps.h"

#include <QFile>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <GL/gl.h>
#include <GL/glu.h>

using namespace DoradoTest;

namespace {

constexpr int Side = 64;
constexpr Dorado::OleColor Red = 0x0000FF;
constexpr Dorado::OleColor Green = 0x00FF00;
constexpr Dorado::OleColor Blue = 0xFF0000;

struct Rgb
{
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

QString Text(const Rgb& c)
{
    return QString::asprintf("(%d, %d, %d)", c.r, c.g, c.b);
}

// For QCOMPARE, which frees what it is given.
char* toString(const Rgb& c)
{
    return QTest::toString(Text(c));
}

bool Near(const Rgb& a, const Rgb& b, int tolerance = 3)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// One leaf of cluster 0 around the whole drawing area; faces lie in z = 0
// facing the viewer.
MapWriter OneLeaf()
{
    MapWriter m;
    m.entities = "{\n\"classname\" \"worldspawn\"\n}\n";
    Leaf l;
    l.mins[0] = 0, l.mins[1] = 0, l.mins[2] = -10;
    l.maxs[0] = Side, l.maxs[1] = Side, l.maxs[2] = 10;
    m.leaves.push_back(l);
    m.numClusters = 1;
    m.bytesPerCluster = 1;
    m.visBits = {0x01};
    return m;
}

void Finish(MapWriter& m)
{
    m.leafFaces.clear();
    for (int i = 0; i < static_cast<int>(m.faces.size()); ++i)
        m.leafFaces.push_back(i);
    m.leaves[0].firstLeafFace = 0;
    m.leaves[0].leafFaceCount = static_cast<int32_t>(m.faces.size());
}

}  // namespace

class TstDoradoDraw : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fillModeWhiteFacesWithEdges();
    void lineModeColours();
    void meshesPatchesAndShowFlags();
    void lightmapsOnTheSecondUnit();
    void realMapsThroughTheComponentLayer();

private:
    Com::ComPtr<Dorado::IBSP> NewMap();
    QString Write(const MapWriter& m, const QString& name);
    // Sets an orthographic view of the drawing area, draws, and reads the
    // back buffer before the swap.
    int DrawOrtho(Dorado::IBSP& bsp, GLenum polygonMode = GL_FILL);
    Rgb Pixel(int x, int y) const;
    bool AnyPixelNear(int x0, int y0, int x1, int y1, const Rgb& c) const;

    QTemporaryDir m_dir;
    QByteArray m_oldRegistry;
    QWindow m_window;
    QOpenGLContext m_context;
    std::vector<uint8_t> m_pixels;
};

void TstDoradoDraw::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_oldRegistry = qgetenv("RUVADIR_REGISTRY");
    qputenv("RUVADIR_REGISTRY", m_dir.filePath("registry").toUtf8());
    QCOMPARE(Com::RegisterServerFile(QStringLiteral(RUV_DORADO_LIBRARY)), Com::S_OK);

    QSurfaceFormat fmt;
    fmt.setVersion(2, 1);
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    m_window.setSurfaceType(QSurface::OpenGLSurface);
    m_window.setFormat(fmt);
    m_window.resize(Side, Side);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    m_context.setFormat(m_window.requestedFormat());
    QVERIFY(m_context.create());
    QVERIFY(m_context.makeCurrent(&m_window));
}

void TstDoradoDraw::cleanupTestCase()
{
    m_context.doneCurrent();
    if (m_oldRegistry.isNull())
        qunsetenv("RUVADIR_REGISTRY");
    else
        qputenv("RUVADIR_REGISTRY", m_oldRegistry);
}

Com::ComPtr<Dorado::IBSP> TstDoradoDraw::NewMap()
{
    Com::ComPtr<Dorado::IBSP> bsp;
    const Com::HRESULT hr = Com::CreateInstance(Dorado::CLSID_BSP, bsp);
    if (Com::Failed(hr))
        qWarning("CreateInstance failed: 0x%08x %s", unsigned(hr), qPrintable(Com::LastLoadError()));
    if (bsp) {
        bsp->SetClrPolygon(Red);
        bsp->SetClrMesh(Green);
        bsp->SetClrPatch(Blue);
    }
    return bsp;
}

QString TstDoradoDraw::Write(const MapWriter& m, const QString& name)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    const auto bytes = m.Build();
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

int TstDoradoDraw::DrawOrtho(Dorado::IBSP& bsp, GLenum polygonMode)
{
    m_context.makeCurrent(&m_window);
    glViewport(0, 0, Side, Side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, Side, 0, Side, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    bsp.FrustumUpdate();
    bsp.CalculateVisibleFaces(Side / 2.0f, Side / 2.0f, 0);
    const int drawn = bsp.Draw();
    glFinish();
    m_pixels.assign(Side * Side * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, Side, Side, GL_RGBA, GL_UNSIGNED_BYTE, m_pixels.data());
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    m_context.swapBuffers(&m_window);
    return drawn;
}

Rgb TstDoradoDraw::Pixel(int x, int y) const
{
    const uint8_t* p = m_pixels.data() + (y * Side + x) * 4;
    return {p[0], p[1], p[2]};
}

bool TstDoradoDraw::AnyPixelNear(int x0, int y0, int x1, int y1, const Rgb& c) const
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (Near(Pixel(x, y), c))
                return true;
    return false;
}

void TstDoradoDraw::fillModeWhiteFacesWithEdges()
{
    MapWriter m = OneLeaf();
    AddQuad(m, 1, V(8, 8, 0), V(56, 8, 0), V(56, 56, 0), V(8, 56, 0));
    Finish(m);
    auto bsp = NewMap();
    QVERIFY(bsp);
    QVERIFY(bsp->Load(Write(m, "quad.bsp"), 4));
    QCOMPARE(DrawOrtho(*bsp.Get()), 1);
    QCOMPARE(Pixel(40, 20), (Rgb{255, 255, 255}));
    QCOMPARE(Pixel(2, 2), (Rgb{0, 0, 0}));
    // The shared diagonal of the two triangles is an edge in ClrPolygon.
    QVERIFY(AnyPixelNear(31, 31, 33, 33, {255, 0, 0}));
    QVERIFY(AnyPixelNear(30, 7, 34, 9, {255, 0, 0}));

    // ShowPolygons false: nothing drawn, nothing counted.
    bsp->SetShowPolygons(false);
    QCOMPARE(DrawOrtho(*bsp.Get()), 0);
    QCOMPARE(Pixel(40, 20), (Rgb{0, 0, 0}));
}

void TstDoradoDraw::lineModeColours()
{
    MapWriter m = OneLeaf();
    AddQuad(m, 1, V(8, 8, 0), V(30, 8, 0), V(30, 56, 0), V(8, 56, 0));
    AddQuad(m, 3, V(34, 8, 0), V(56, 8, 0), V(56, 56, 0), V(34, 56, 0));
    Finish(m);
    auto bsp = NewMap();
    QVERIFY(bsp->Load(Write(m, "lines.bsp"), 4));
    QCOMPARE(DrawOrtho(*bsp.Get(), GL_LINE), 2);
    // No fill: the insides stay clear; the edges take the kinds' colours.
    QCOMPARE(Pixel(24, 14), (Rgb{0, 0, 0}));
    QCOMPARE(Pixel(50, 14), (Rgb{0, 0, 0}));
    QVERIFY(AnyPixelNear(7, 20, 9, 40, {255, 0, 0}));
    QVERIFY(AnyPixelNear(33, 20, 35, 40, {0, 255, 0}));
    QVERIFY(!AnyPixelNear(0, 0, Side - 1, Side - 1, {255, 255, 255}));

    // DrawPolyMode 1 draws the triangle list's indices as line segments:
    // the filled polygon keeps its outline but loses its white inside.
    bsp->SetDrawPolyMode(GL_LINES);
    QCOMPARE(DrawOrtho(*bsp.Get()), 2);
    QCOMPARE(Pixel(24, 14), (Rgb{0, 0, 0}));
    QCOMPARE(Pixel(50, 14), (Rgb{0, 255, 0}));
}

void TstDoradoDraw::meshesPatchesAndShowFlags()
{
    MapWriter m = OneLeaf();
    AddQuad(m, 3, V(4, 4, 0), V(28, 4, 0), V(28, 28, 0), V(4, 28, 0));
    AddPatch(m, 3, 3, 36, 36, 12);  // 36..60 in x and y
    AddQuad(m, 4, V(4, 36, 0), V(28, 36, 0), V(28, 60, 0), V(4, 60, 0));  // type 4: never drawn
    Finish(m);
    auto bsp = NewMap();
    QVERIFY(bsp->Load(Write(m, "kinds.bsp"), 4));
    QCOMPARE(bsp->NumPatches(), 1);
    QCOMPARE(DrawOrtho(*bsp.Get()), 2);
    QCOMPARE(Pixel(16, 16), (Rgb{0, 255, 0}));
    QCOMPARE(Pixel(48, 48), (Rgb{0, 0, 255}));
    QCOMPARE(Pixel(16, 48), (Rgb{0, 0, 0}));

    bsp->SetShowPatches(false);
    QCOMPARE(DrawOrtho(*bsp.Get()), 1);
    QCOMPARE(Pixel(48, 48), (Rgb{0, 0, 0}));
    bsp->SetShowPatches(true);

    // A colour set after the load shows at once in untextured drawing; the
    // high byte of a system colour is not looked at.
    bsp->SetClrMesh(0x80FF00FF);
    QCOMPARE(DrawOrtho(*bsp.Get()), 2);
    QCOMPARE(Pixel(16, 16), (Rgb{255, 0, 255}));

    // Without the cluster check the frustum alone decides.
    bsp->SetClusterVisibilityCheckEnabled(false);
    QCOMPARE(DrawOrtho(*bsp.Get()), 2);
}

void TstDoradoDraw::lightmapsOnTheSecondUnit()
{
    MapWriter m = OneLeaf();
    m.lightmaps.resize(49152);
    for (size_t i = 0; i < m.lightmaps.size(); i += 3) {
        m.lightmaps[i] = 64;
        m.lightmaps[i + 1] = 100;
        m.lightmaps[i + 2] = 32;
    }
    Vertex a = V(8, 8, 0, 0, 0, 0.5f, 0.5f), b = V(30, 8, 0, 1, 0, 0.5f, 0.5f), c = V(30, 56, 0, 1, 1, 0.5f, 0.5f),
           d = V(8, 56, 0, 0, 1, 0.5f, 0.5f);
    AddQuad(m, 1, a, b, c, d, 0);
    // Lightmap -1: the placeholder on both units, white times white.
    AddQuad(m, 1, V(34, 8, 0), V(56, 8, 0), V(56, 56, 0), V(34, 56, 0), -1);
    Finish(m);
    auto bsp = NewMap();
    QVERIFY(bsp->Load(Write(m, "lit.bsp"), 4));
    QCOMPARE(bsp->NumLightmaps(), 1);
    QCOMPARE(DrawOrtho(*bsp.Get()), 2);
    // Modulated and doubled: (128, 200, 64).
    QVERIFY2(Near(Pixel(20, 30), {128, 200, 64}), qPrintable(Text(Pixel(20, 30))));
    QCOMPARE(Pixel(45, 30), (Rgb{255, 255, 255}));
    // In line mode the lightmaps are not used.
    QCOMPARE(DrawOrtho(*bsp.Get(), GL_LINE), 2);
    QVERIFY(AnyPixelNear(7, 20, 9, 40, {255, 0, 0}));
}

void TstDoradoDraw::realMapsThroughTheComponentLayer()
{
    const QStringList maps = RealMaps();
    if (maps.isEmpty())
        QSKIP("no maps unpacked: install openarena-081-maps and unzip");
    auto bsp = NewMap();
    QVERIFY(bsp);
    int drawnSomewhere = 0;
    for (const QString& path : maps) {
        m_context.makeCurrent(&m_window);
        QVERIFY2(bsp->Load(path, 4), qPrintable(path));
        float origin[3];
        QVERIFY2(FirstSpawnPoint(bsp->EntityString(), origin), qPrintable(path));
        glViewport(0, 0, Side, Side);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90, 1, 4, 50000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Quake axes: x forward, z up.
        glRotatef(-90, 1, 0, 0);
        glRotatef(90, 0, 0, 1);
        glTranslatef(-origin[0], -origin[1], -origin[2]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        bsp->FrustumUpdate();
        bsp->CalculateVisibleFaces(origin[0], origin[1], origin[2]);
        const int drawn = bsp->Draw();
        QVERIFY2(drawn >= 0 && drawn <= bsp->NumTotalFaces(), qPrintable(path));
        drawnSomewhere += drawn > 0;
        QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
        m_context.swapBuffers(&m_window);
        Dorado::MapBounds b{};
        QVERIFY(bsp->GetBounds(b));
        for (int a = 0; a < 3; ++a)
            QVERIFY(b[a][0] <= origin[a] && origin[a] <= b[a][1]);
    }
    QVERIFY(drawnSomewhere > maps.size() / 2);
}

QTEST_MAIN(TstDoradoDraw)
#include "tst_dorado_draw.moc"
