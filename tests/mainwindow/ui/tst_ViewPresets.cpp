// The twelve view presets on the real window: saving, restoring and
// clearing, the buttons' look and clicks, the menu's preset, and the presets
// through a project file, each back in its slot.

#include "EditingHarness.h"

#include "C3DProject.h"
#include "CProjectIOHandler.h"

#include <QMenu>
#include <QToolButton>
#include <QtTest>

using namespace Editing;

class TstViewPresets : public QObject
{
    Q_OBJECT

    std::unique_ptr<Window> w;

    ViewPresets& P() { return w->Presets(); }
    QToolButton* Button(int i) { return w->Widgets().optViewPreset[static_cast<size_t>(i)]; }
    QList<int> Filled()
    {
        QList<int> out;
        for (int i = 0; i < IViewPresets::PresetCount; ++i)
            if (!P().Preset(i).IsEmpty())
                out << i;
        return out;
    }
    QList<int> Checked()
    {
        QList<int> out;
        for (int i = 0; i < IViewPresets::PresetCount; ++i)
            if (Button(i)->isChecked())
                out << i;
        return out;
    }

private slots:
    void init() { w = std::make_unique<Window>(); }
    void cleanup() { w.reset(); }

    void anEmptyPresetOnlyFocusesTheView()
    {
        w->SelectView(2);
        const CView before = *w->State().m_view;
        P().fApplyPreset(5);
        QCOMPARE(w->State().m_activeViewIndex, 2);
        QCOMPARE(*w->State().m_view, before);
        QVERIFY(Checked().isEmpty());
    }

    void aPresetOfA2DViewRestoresThatViewAndNotTheCamera()
    {
        w->SelectView(1);
        CView& view = w->State().m_views[1];
        view.SetScaleIndex(77);
        view.SetCurrentOrigin(1, 12.5f);
        view.SetCurrentOrigin(2, -40);
        view.SetShowGrid(true);
        view.SetShowRuler(true);
        const CView saved = view;
        P().fSavePreset(3);
        QCOMPARE(Checked(), QList<int>{3});
        // A 2D preset keeps a default camera, not the window's.
        QCOMPARE(P().Preset(3).Camera()->Fov(), 90.0f);

        view.SetScaleIndex(5);
        view.SetShowGrid(false);
        w->SelectView(0);
        C3DCamera& camera = w->State().m_camera;
        camera.SetPosition({7, 8, 9});
        camera.SetYaw(33);
        P().fApplyPreset(3);
        QCOMPARE(w->State().m_activeViewIndex, 1);
        QCOMPARE(w->State().m_views[1].ScaleIndex(), saved.ScaleIndex());
        QCOMPARE(w->State().m_views[1].ShowGrid(), true);
        QCOMPARE(w->State().m_views[1].ShowRuler(), true);
        QCOMPARE(camera.Position(), (C3DCamera::Vec3{7, 8, 9}));
        QCOMPARE(camera.Yaw(), 33.0f);
    }

    void aPresetOfThe3DViewRestoresTheCameraExactly()
    {
        w->SelectView(3);
        C3DCamera& camera = w->State().m_camera;
        camera.SetPosition({-120.25f, 64.5f, 1e4f});
        camera.SetPitch(-12.125f);
        camera.SetYaw(271.75f);
        camera.SetRoll(3.5f);
        camera.SetFov(73);
        camera.SetZFar(12345);
        const C3DCamera saved = camera.Clone();
        P().fSavePreset(11);
        camera.Clear();
        w->SelectView(0);
        P().fApplyPreset(11);
        QCOMPARE(w->State().m_activeViewIndex, 3);
        QCOMPARE(camera.Position(), saved.Position());
        QCOMPARE(camera.Pitch(), saved.Pitch());
        QCOMPARE(camera.Yaw(), saved.Yaw());
        QCOMPARE(camera.Roll(), saved.Roll());
        QCOMPARE(camera.Fov(), saved.Fov());
        QCOMPARE(camera.ZFar(), saved.ZFar());
    }

    void theButtonsShowWhichPresetsAreFilled()
    {
        P().fSavePreset(2);
        const QPalette empty = Button(0)->palette();
        QCOMPARE(Button(2)->palette().color(QPalette::Active, QPalette::ButtonText), QColor(0, 128, 0));
        QVERIFY(Button(2)->font().bold());
        QCOMPARE(Button(0)->palette().color(QPalette::Active, QPalette::ButtonText),
                 empty.color(QPalette::Disabled, QPalette::ButtonText));
        QVERIFY(!Button(0)->font().bold());
        P().fClearPreset(2);
        QVERIFY(!Button(2)->font().bold());
        QVERIFY(P().Preset(2).IsEmpty());
    }

    void clicksRestoreAndTheMenuActsOnTheLastRightClicked()
    {
        w->window->show();
        QVERIFY(Harness::Activate(w->window.get()));
        P().fResetPresets();
        QVERIFY(Checked().isEmpty());
        QCOMPARE(P().fCurrentPreset(), 0);
        // The right button opens the menu under the button, which then
        // saves into that preset, though no button is chosen.
        QTest::mouseClick(Button(4), Qt::RightButton);
        QMenu* menu = w->window->Menus().Menu(QStringLiteral("mnuViewPreset"));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->y(), Button(4)->mapToGlobal(QPoint(0, Button(4)->height())).y());
        menu->hide();
        QCOMPARE(P().fCurrentPreset(), 4);
        w->Menu("mnuVP_Save")->trigger();
        QCOMPARE(Filled(), QList<int>{4});
        // A left click restores it; the button does not toggle itself.
        w->SelectView(2);
        QTest::mouseClick(Button(4), Qt::LeftButton);
        QCOMPARE(w->State().m_activeViewIndex, 0);
        QCOMPARE(Checked(), QList<int>{4});
        QTest::mouseClick(Button(7), Qt::LeftButton);
        QCOMPARE(Checked(), QList<int>{4});
        QCOMPARE(P().fCurrentPreset(), 7);
        QTest::mouseClick(Button(4), Qt::RightButton);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        w->Menu("mnuVP_Clear")->trigger();
        QVERIFY(Filled().isEmpty());
    }

    void savingAndClearingMarkTheProjectOnlyWithAPoint()
    {
        w->State().m_projectModified = false;
        w->Menu("mnuVP_Save")->trigger();
        QVERIFY(!w->State().m_projectModified);
        w->AddPoints(w->Main(), {{0, 0, 0}});
        w->State().m_projectModified = false;
        w->Menu("mnuVP_Clear")->trigger();
        QVERIFY(w->State().m_projectModified);
        // Restoring does not.
        w->State().m_projectModified = false;
        P().fSavePreset(1);
        w->State().m_projectModified = false;
        P().fApplyPreset(1);
        QVERIFY(!w->State().m_projectModified);
    }

    void presetsTwoAndSevenComeBackInTheirSlots()
    {
        w->SelectView(3);
        w->State().m_camera.SetYaw(20);
        P().fSavePreset(2);
        w->SelectView(1);
        P().fSavePreset(7);
        QStringList texts;
        QList<int32_t> slotNumbers;
        QVERIFY(P().fPresetStrings(texts, slotNumbers));
        QCOMPARE(texts.size(), 2);
        QCOMPARE(slotNumbers, (QList<int32_t>{2, 7}));

        C3DProject project;
        for (qsizetype i = 0; i < texts.size(); ++i)
            project.AddViewPreset(texts[i], slotNumbers[i]);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("presets.vava"));
        CProjectIOHandler io;
        QVERIFY(io.Save(path, project, w->Curves()));
        C3DProject read;
        C3DCurveController curves;
        bool invariant = true;
        QVERIFY(io.Load(path, read, curves, invariant));

        P().fResetPresets();
        QVERIFY(Filled().isEmpty());
        P().fLoadPresetStrings(read, invariant);
        QCOMPARE(Filled(), (QList<int>{2, 7}));
        QCOMPARE(P().Preset(2).View()->ViewFlag(), CView::View3D);
        QCOMPARE(P().Preset(2).Camera()->Yaw(), 20.0f);
        QCOMPARE(P().Preset(7).View()->ViewFlag(), CView::ViewXZ);
        QVERIFY(Button(7)->font().bold());
    }

    void textsWithoutASlotTakeTheNextFreeOneAndDamagedOnesStayEmpty()
    {
        P().fSavePreset(0);
        QStringList texts;
        QList<int32_t> slotNumbers;
        P().fPresetStrings(texts, slotNumbers);
        const QString good = texts.first();
        C3DProject project;
        // An older file's order: no slots. A damaged text keeps its place
        // empty; one with a slot is never pushed aside.
        project.AddViewPreset(good, -1);
        project.AddViewPreset(QStringLiteral("v1|damaged"), -1);
        project.AddViewPreset(good, 0);
        project.AddViewPreset(good, 40);
        project.AddViewPreset(good, 0);
        P().fResetPresets();
        P().fLoadPresetStrings(project, true);
        // 0 from its slot; then in order 1, (2 damaged), 3 (slot 40 is
        // none), 4 (slot 0 taken).
        QCOMPARE(Filled(), (QList<int>{0, 1, 3, 4}));

        // Fourteen texts fill the twelve presets.
        C3DProject many;
        for (int i = 0; i < 14; ++i)
            many.ViewPresetStrings() << good;
        P().fResetPresets();
        P().fLoadPresetStrings(many, true);
        QCOMPARE(Filled().size(), 12);
    }
};

QTEST_MAIN(TstViewPresets)
#include "tst_ViewPresets.moc"
