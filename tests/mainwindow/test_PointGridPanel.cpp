// The point grid on the real grid control: its columns, edited cells
// written into the curve (pastes, refused texts, selections made either
// way), clicks, Delete and Ctrl+D, with a real curve.

#include "PreviewRig.h"

#include "CFlexgridWrapper.h"
#include "FlexgridEx.h"
#include "MainTexts.h"
#include "PointGridPanel.h"

#include <QClipboard>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

using Rig::ChangeCounter;

class PointGrid : public Rig::GridTest
{
protected:
    PointGridPanel& grid = static_cast<PointGridPanel&>(*w.P().pointGrid);

    // Types the text into every selected cell as the grid's editor does,
    // then raises the grid's change.
    void Type(int tab, const QString& text)
    {
        FlexgridEx& g = G(tab);
        const PointGridPanel::Block b = PointGridPanel::SelectedBlock(g);
        for (int r = b.firstRow; r <= b.lastRow; ++r)
            for (int c = b.firstCol; c <= b.lastCol; ++c)
                g.SetTextMatrix(r, c, text);
        emit g.ValueChanged();
    }
    void Key(int tab, int16_t code, int32_t shift)
    {
        emit G(tab).KeyDown(code, shift);
    }
    void Click(int tab, int32_t shift)
    {
        int32_t button = 1;
        float x = 0;
        float y = 0;
        emit G(tab).MouseDown(button, shift, x, y);
        emit G(tab).MouseUp(button, shift, x, y);
    }
};

TEST_F(PointGrid, ThreeTabsWithTheirColumns)
{
    UCTabbedFlexgrid& tabs = w.Grid();
    ASSERT_EQ(tabs.ItemCount(), 3);
    const char* captions[] = {"Base", "LookAt", "Cmd"};
    const std::vector<int32_t> properties[] = {{-1, 21, 1, 2, 3, 7, 8, 9, 10, 11},
                                               {-1, 21, 4, 5, 6, 22, 23, 24},
                                               {-1, 21, 25}};
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(tabs.Tabs(t).Caption, QString::fromLatin1(captions[t]));
        CFlexgridWrapper& wrapper = tabs.Wrappers(t);
        ASSERT_EQ(wrapper.ColumnCount(), static_cast<int32_t>(properties[t].size()));
        for (size_t k = 0; k < properties[t].size(); ++k)
            EXPECT_EQ(wrapper.PointProperty(static_cast<int32_t>(k)), properties[t][k]) << t << " " << k;
        EXPECT_EQ(G(t).TextMatrix(0, 0), QStringLiteral("n\u00B0"));
        EXPECT_EQ(G(t).Rows(), 6) << "one row per point";
    }
    EXPECT_TRUE(G(0).EditNumericOnly());
    EXPECT_EQ(G(0).EditDecimals(), 3) << "times and timescales take 3 decimals";
    EXPECT_TRUE(G(1).EditNumericOnly());
    EXPECT_FALSE(G(2).EditNumericOnly());
    EXPECT_EQ(tabs.Wrappers(0).ColumnDataType(2), 4);
    EXPECT_EQ(tabs.Wrappers(2).ColumnDataType(2), 8);
    EXPECT_EQ(tabs.Wrappers(0).ColumnDataType(0), 1);
    EXPECT_EQ(G(0).TextMatrix(2, 2), Num(100, 2));
    EXPECT_EQ(G(0).TextMatrix(2, 1), Num(1, 3));
}

TEST_F(PointGrid, EditingXMovesThePointInOneChange)
{
    ChangeCounter counter(w.Main());
    const int undoStates = w.record.undoStates;
    Select(0, 2, 2, 2, 2);
    Type(0, Num(12.5, 2));
    EXPECT_FLOAT_EQ(w.Main().GetX(2), 12.5f);
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(w.record.undoStates, undoStates + 1) << "one undo state, through the window's sinks";
    EXPECT_EQ(w.record.unselectHidden, 1);
    EXPECT_TRUE(G(0).Redraw());
    EXPECT_FALSE(w.Main().CurveChanging());
}

TEST_F(PointGrid, ABlockOverTimeAndXIsOneStepWhicheverWayItWasSelected)
{
    // Rows 3 to 5 of the time and x columns, selected from the bottom right.
    w.Main().SetStepRate(100);
    ChangeCounter counter(w.Main());
    Select(0, 5, 2, 3, 1);
    FlexgridEx& g = G(0);
    const double times[] = {2.5, 3.5, 4.5};
    for (int i = 0; i < 3; ++i) {
        g.SetTextMatrix(3 + i, 1, Num(times[i], 3));
        g.SetTextMatrix(3 + i, 2, Num(7 + i, 2));
    }
    emit g.ValueChanged();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(w.Main().GetX(3 + i), 7.0f + static_cast<float>(i)) << i;
        EXPECT_NEAR(w.Main().GetTime(3 + i), times[i], 1e-6) << i;
    }
    EXPECT_EQ(counter.changes, 1);
}

TEST_F(PointGrid, APasteThroughTheGridIsOneStep)
{
    ChangeCounter counter(w.Main());
    QApplication::clipboard()->setText(Num(1, 2) + QLatin1Char('\t') + Num(2, 2) + QStringLiteral("\n")
                                       + Num(3, 2) + QLatin1Char('\t') + Num(4, 2) + QStringLiteral("\n"));
    Select(0, 4, 3, 4, 3);  // y and z of points 4 and 5
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(&G(0), &paste);
    EXPECT_FLOAT_EQ(w.Main().GetY(4), 1.0f);
    EXPECT_FLOAT_EQ(w.Main().GetZ(4), 2.0f);
    EXPECT_FLOAT_EQ(w.Main().GetY(5), 3.0f);
    EXPECT_FLOAT_EQ(w.Main().GetZ(5), 4.0f);
    EXPECT_EQ(counter.changes, 1);

    // A block larger than the curve and the columns is cut where the grid
    // ends.
    QString big;
    for (int r = 0; r < 9; ++r)
        big += QStringLiteral("5\t5\t5\t5\t5\t5\t5\t5\t5\t5\t5\t5\n");
    QApplication::clipboard()->setText(big);
    Select(0, 5, 9, 5, 9);
    QApplication::sendEvent(&G(0), &paste);
    EXPECT_FLOAT_EQ(w.Main().GetWglFreq(5), 5.0f);
    EXPECT_EQ(w.Main().ControlsCount(), 5);
}

TEST_F(PointGrid, AnglesAndTargetsFollowEachOther)
{
    // Pitch and yaw turn the target; a target turns pitch and yaw; both in
    // one edit: the target rule.
    w.Main().SetControlTarget(2, 100.0f, 50.0f, 120.0f, 0.0f, 0.0f);
    const float targetZ = w.Main().GetTargetZ(2);
    Select(1, 2, 2, 2, 2);
    Type(1, Num(-30, 2));
    EXPECT_FLOAT_EQ(w.Main().GetPitch(2), -30.0f);
    EXPECT_NE(w.Main().GetTargetZ(2), targetZ) << "the target follows the pitch";

    Select(1, 3, 5, 3, 7);
    Type(1, Num(500, 2));
    EXPECT_FLOAT_EQ(w.Main().GetTargetX(3), 500.0f);
    const float pitch = w.Main().GetPitch(3);
    const float yaw = w.Main().GetYaw(3);
    EXPECT_TRUE(pitch != 0.0f || yaw != 0.0f) << "the angles follow the target";

    Select(1, 4, 2, 4, 7);
    Type(1, Num(300, 2));
    EXPECT_FLOAT_EQ(w.Main().GetTargetX(4), 300.0f) << "the target stays as typed";
    EXPECT_FLOAT_EQ(w.Main().GetTargetY(4), 300.0f);
    EXPECT_NE(w.Main().GetPitch(4), 300.0f) << "the angles come from the target";
}

TEST_F(PointGrid, TextsThatAreNoNumbersAreRefusedAndTheOldValueKept)
{
    const char* texts[] = {"abc", "", "1e40", "-", "1,2.3"};
    for (const char* text : texts) {
        w.dialogs->boxes.clear();
        ChangeCounter counter(w.Main());
        Select(0, 3, 2, 3, 3);
        FlexgridEx& g = G(0);
        g.SetTextMatrix(3, 2, Num(77, 2));
        g.SetTextMatrix(3, 3, QString::fromLatin1(text));
        emit g.ValueChanged();
        EXPECT_FLOAT_EQ(w.Main().GetX(3), 77.0f) << "the column before is written: " << text;
        EXPECT_FLOAT_EQ(w.Main().GetY(3), 50.0f) << "the old value stays: " << text;
        EXPECT_EQ(g.TextMatrix(3, 3), Num(50, 2)) << "the cell shows it again";
        ASSERT_EQ(Boxes().size(), 1u) << text;
        EXPECT_EQ(Boxes()[0].prompt, w.frm->Texts().fGetText(225));
        EXPECT_EQ(Boxes()[0].title, QLatin1Char(' ') + w.frm->Texts().fGetText(226));
        EXPECT_EQ(Boxes()[0].style, 64);
        EXPECT_FALSE(w.Main().CurveChanging());
        EXPECT_TRUE(g.Redraw());
        w.Main().SetX(3, 300.0f);
    }
    // A refused first column opens no change at all.
    ChangeCounter counter(w.Main());
    Select(0, 2, 4, 2, 4);
    Type(0, QStringLiteral("zz"));
    EXPECT_EQ(counter.changes, 0);
}

TEST_F(PointGrid, AChangeRaisedWhileAnEditIsWrittenIsIgnored)
{
    // The curve's change event rewrites a cell and raises the grid's change
    // again, as a reload through the sinks would.
    struct Reentry final : I3DCurveEvents
    {
        FlexgridEx* grid = nullptr;
        int reentries = 0;
        void CurveChanged(C3DCurve&) override
        {
            ++reentries;
            grid->SetTextMatrix(2, 4, QStringLiteral("999"));
            emit grid->ValueChanged();
        }
    } reentry;
    reentry.grid = &G(0);
    w.Main().AddListener(&reentry);
    Select(0, 2, 2, 2, 2);
    Type(0, Num(1, 2));
    w.Main().RemoveListener(&reentry);
    EXPECT_EQ(reentry.reentries, 1);
    EXPECT_FLOAT_EQ(w.Main().GetZ(2), 20.0f) << "the nested change wrote nothing";
}

TEST_F(PointGrid, CommandsAreTakenAsTyped)
{
    Select(2, 2, 2, 3, 2);
    Type(2, QStringLiteral("say \"hi\"; wait"));
    EXPECT_EQ(w.Main().GetCommand(2), QStringLiteral("say \"hi\"; wait"));
    EXPECT_EQ(w.Main().GetCommand(3), QStringLiteral("say \"hi\"; wait"));
}

TEST_F(PointGrid, DeleteTakesWholeRowsFromTheHighestAndSelectsTheRowBefore)
{
    ChangeCounter counter(w.Main());
    Select(0, 2, 2, 4, 5);  // partial rows
    Key(0, 46, 0);
    EXPECT_EQ(w.Main().ControlsCount(), 5);
    Select(0, 4, 1, 2, 9);  // whole rows 2 to 4, made upwards
    Key(0, 46, 0);
    ASSERT_EQ(w.Main().ControlsCount(), 2);
    EXPECT_FLOAT_EQ(w.Main().GetX(1), 0.0f);
    EXPECT_FLOAT_EQ(w.Main().GetX(2), 400.0f) << "points 2, 3 and 4 went";
    EXPECT_EQ(counter.counts, 1) << "one change of the count";
    EXPECT_EQ(G(0).Row(), 1);
    EXPECT_EQ(G(0).RowSel(), 1);
    // From row 1: no row left before it, the selection is cleared.
    Select(0, 1, 1, 1, 9);
    Key(0, 46, 0);
    EXPECT_EQ(w.Main().ControlsCount(), 1);
    EXPECT_EQ(G(0).Row(), 0);
}

TEST_F(PointGrid, DeleteOnTheCmdTabClearsCommandsAndKeepsPoints)
{
    for (int i = 1; i <= 5; ++i)
        w.Main().SetCommand(i, QStringLiteral("cmd%1").arg(i));
    Select(2, 4, 2, 2, 2);
    Key(2, 46, 0);
    EXPECT_EQ(w.Main().ControlsCount(), 5);
    EXPECT_EQ(w.Main().GetCommand(1), QStringLiteral("cmd1"));
    for (int i = 2; i <= 4; ++i)
        EXPECT_TRUE(w.Main().GetCommand(i).isEmpty()) << i;
    EXPECT_EQ(w.Main().GetCommand(5), QStringLiteral("cmd5"));
}

TEST_F(PointGrid, CtrlDCopiesOneWholeRow)
{
    Select(0, 2, 1, 3, 9);
    Key(0, 68, 2);
    EXPECT_EQ(w.Main().ControlsCount(), 5) << "two rows: no copy";
    Select(0, 2, 1, 2, 9);
    Key(0, 68, 0);
    EXPECT_EQ(w.Main().ControlsCount(), 5) << "D alone: no copy";
    Key(0, 68, 2);
    ASSERT_EQ(w.Main().ControlsCount(), 6);
    EXPECT_FLOAT_EQ(w.Main().GetX(3), w.Main().GetX(2));
    EXPECT_EQ(G(0).Row(), 3);
}

TEST_F(PointGrid, CtrlDOnAFullCurveIsRefusedWithItsTitle)
{
    w.AddPoints(w.Main(), C3DCurve::MAX_CONTROL - 5);
    w.ShowInGrid(w.Main());
    ASSERT_EQ(w.Main().ControlsCount(), 250);
    Select(0, 250, 1, 250, 9);
    Key(0, 68, 2);
    EXPECT_EQ(w.Main().ControlsCount(), 250);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, QLatin1Char(' ') + w.frm->Texts().fGetText(158));
}

TEST_F(PointGrid, TheMainCurveIsLeftAloneWhileThePreviewIsLocked)
{
    w.P().preview->fSetPreviewLock(true);
    ASSERT_TRUE(w.P().preview->fIsPreviewLocked());
    Select(0, 2, 1, 2, 9);
    Key(0, 46, 0);
    Key(0, 68, 2);
    EXPECT_EQ(w.Main().ControlsCount(), 5);
}

TEST_F(PointGrid, AClickOnTheHideColumnTogglesTheSelectedRows)
{
    w.SelectView(0);
    w.Main().SetValue(3, 9, TaggedValue(1.0f));
    w.Main().SetSelected(4, true);
    Select(0, 4, 7, 2, 7);
    Click(0, 0);
    EXPECT_FLOAT_EQ(w.Main().GetHide(2), 1.0f);
    EXPECT_FLOAT_EQ(w.Main().GetHide(3), 0.0f);
    EXPECT_FLOAT_EQ(w.Main().GetHide(4), 1.0f);
    EXPECT_EQ(w.record.unselectHidden, 1);
    Select(0, 4, 6, 2, 7);  // two columns: no toggle
    Click(0, 0);
    EXPECT_FLOAT_EQ(w.Main().GetHide(2), 1.0f);
}

TEST_F(PointGrid, CtrlClickCentresThe2DViewOnThePointAndMarksIt)
{
    w.SelectView(1);  // x-z
    Select(0, 3, 2, 3, 2);
    Click(0, 2);
    const CView& view = w.frm->State().m_views[1];
    EXPECT_FLOAT_EQ(view.CurrentOrigin(1), 200.0f);
    EXPECT_FLOAT_EQ(view.CurrentOrigin(2), 20.0f);
    EXPECT_TRUE(w.S().m_drags.m_showGridSelection) << "the scene marks the grid's points";
    EXPECT_GT(w.view->projections, 0);
    int16_t code = 17;
    int32_t shift = 0;
    emit G(0).KeyUp(code, shift);
    EXPECT_FALSE(w.S().m_drags.m_showGridSelection);
}

TEST_F(PointGrid, AClickInTheLockedPreviewMovesItOrStopsThePlayback)
{
    w.P().preview->fSetPreviewLock(true);
    Select(0, 4, 2, 4, 2);
    Click(0, 2);
    EXPECT_EQ(w.P().preview->fGetPreviewControl(), 4);
    EXPECT_FLOAT_EQ(w.frm->State().m_camera.GamePos(0), 300.0f);
    w.P().preview->fTogglePlayback();
    ASSERT_TRUE(w.P().preview->fIsPlaybackRunning());
    Click(0, 0);
    EXPECT_FALSE(w.P().preview->fIsPlaybackRunning());
}

TEST_F(PointGrid, TheGridFollowsThePointSelection)
{
    w.Main().SetSelected(2, true);
    w.Main().SetSelected(3, true);
    w.Main().SetSelected(5, true);
    grid.fGridSyncSelection();
    for (int t = 0; t < 3; ++t) {
        const PointGridPanel::Block b = PointGridPanel::SelectedBlock(G(t));
        EXPECT_EQ(b.firstRow, 2) << t;
        EXPECT_EQ(b.lastRow, 3) << "the first block only";
        EXPECT_EQ(b.firstCol, 1);
        EXPECT_EQ(b.lastCol, G(t).Cols() - 1);
    }
    emit G(1).GotFocus();
    int32_t first = 0;
    int32_t last = 0;
    ASSERT_TRUE(grid.fActiveGridSelection(first, last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 3);
    w.Main().UnselectAllControls();
    grid.fGridSyncSelection();
    EXPECT_EQ(G(0).Row(), 0);
    EXPECT_FALSE(grid.fActiveGridSelection(first, last));
}

TEST_F(PointGrid, OnlyTheShownCurveReachesTheGrid)
{
    C3DCurve& other = w.Curves().Add(QStringLiteral("other"));
    w.AddPoints(other, 2);
    grid.fGridReloadCurve(&other);
    EXPECT_EQ(G(0).Rows(), 6);
    grid.fGridSelectRow(&other, 1, false);
    EXPECT_NE(G(0).Row(), 1);
    grid.fGridSelectRow(&w.Main(), 6, true);
    EXPECT_NE(G(0).Row(), 6) << "a row the grid does not have yet";
    grid.fGridUpdateCells(&other, 1, {1, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    EXPECT_EQ(G(0).TextMatrix(1, 2), Num(0, 2));
    w.ShowInGrid(other);
    EXPECT_EQ(G(0).Rows(), 3);
    // The shown curve removed while its rows are selected: the grid shows
    // the curve the manager shows now, its selection fitted into it, and
    // the keys work on that one.
    Select(0, 1, 1, 2, 9);
    w.Curves().Remove(1);
    w.frm->Widgets().cmCurveManager->RefreshCurveList(false);
    grid.fGridReloadCurve();
    ASSERT_EQ(w.frm->Widgets().cmCurveManager->SelectedCurve(), &w.Main());
    EXPECT_EQ(G(0).Rows(), 6);
    Key(0, 46, 0);
    EXPECT_EQ(w.Main().ControlsCount(), 3);
    EXPECT_FLOAT_EQ(w.Main().GetX(1), 200.0f);
}

TEST_F(PointGrid, TheEditorsFocusIsTheEditingFlag)
{
    emit G(0).EditGotFocus();
    EXPECT_TRUE(w.frm->State().m_inputEditing);
    emit G(0).EditLostFocus();
    EXPECT_FALSE(w.frm->State().m_inputEditing);
}

TEST_F(PointGrid, GermanNumbersAreReadWithTheirComma)
{
    Rig::UserLocale locale("de_DE");
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    Select(0, 2, 5, 2, 5);
    Type(0, QStringLiteral("75,5"));
    EXPECT_FLOAT_EQ(w.Main().GetFov(2), 75.5f);
}

}  // namespace
