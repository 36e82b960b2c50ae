// The undo and redo history of controller clones.
#include "test_CurveFixtures.h"

#include "CProjectStateHandler.h"

#include <gtest/gtest.h>

using curvefixture::Difference;

namespace {

// The number of controls of the first curve tells the states apart.
int32_t Mark(const C3DCurveController* state)
{
    return state ? state->Curves(0).ControlsCount() : -1;
}

class History : public ::testing::Test
{
protected:
    C3DCurveController live;
    CProjectStateHandler history;

    void SetUp() override
    {
        live.Add(QStringLiteral("Path"));
        history.Clear();
    }
    // One edit: a control more, then saved.
    void Edit()
    {
        live.Curves(0).AddControl3(static_cast<float>(live.Curves(0).ControlsCount()), 0, 0, 0, 0, 0, false);
        history.Save(live);
    }
};

} // namespace

TEST_F(History, AnEmptyHistoryHandsOutNothing)
{
    EXPECT_EQ(history.CurrentState(), nullptr);
    EXPECT_EQ(history.Undo(), nullptr);
    EXPECT_EQ(history.Redo(), nullptr);
    EXPECT_EQ(history.CurrentStateNumber(), 0);
    history.Save(live);
    EXPECT_EQ(history.CurrentStateNumber(), 1);
    EXPECT_EQ(history.StateCount(), 1);
    EXPECT_EQ(history.Undo(), nullptr);
    EXPECT_EQ(history.Redo(), nullptr);
    EXPECT_EQ(history.CurrentStateNumber(), 1);
}

TEST_F(History, SixtyEditsKeepTheLastFiftyOne)
{
    for (int i = 0; i < 60; ++i)
        Edit();  // state k holds k controls
    EXPECT_EQ(history.StateCount(), 51);
    EXPECT_EQ(history.CurrentStateNumber(), 51);
    EXPECT_EQ(Mark(history.CurrentState()), 60);
    const C3DCurveController* state = nullptr;
    for (int i = 0; i < 50; ++i)
        state = history.Undo();
    EXPECT_EQ(Mark(state), 10);  // edits 1 to 9 are gone
    EXPECT_EQ(history.CurrentStateNumber(), 1);
    EXPECT_EQ(history.Undo(), nullptr);
    EXPECT_EQ(history.CurrentStateNumber(), 1);
}

TEST_F(History, UndoRedoUndoLandsWhereItShould)
{
    Edit();
    Edit();
    Edit();
    EXPECT_EQ(Mark(history.Undo()), 2);
    EXPECT_EQ(Mark(history.Redo()), 3);
    EXPECT_EQ(history.Redo(), nullptr);
    EXPECT_EQ(history.CurrentStateNumber(), 3);
    EXPECT_EQ(Mark(history.Undo()), 2);
    EXPECT_EQ(Mark(history.Undo()), 1);
    EXPECT_EQ(history.CurrentStateNumber(), 1);
    EXPECT_EQ(Mark(history.Redo()), 2);
    EXPECT_EQ(Mark(history.Undo()), 1);

    // Saving now cuts off the redo branch.
    Edit();
    EXPECT_EQ(history.StateCount(), 2);
    EXPECT_EQ(history.CurrentStateNumber(), 2);
    EXPECT_EQ(history.Redo(), nullptr);
    EXPECT_EQ(Mark(history.CurrentState()), 4);
}

TEST_F(History, AStateSharesNothingWithTheLiveController)
{
    curvefixture::FillRich(live.Curves(0), 5, 1, QStringLiteral("Path"));
    history.Save(live);
    Edit();
    const C3DCurveController* state = history.Undo();
    ASSERT_NE(state, nullptr);
    const std::unique_ptr<C3DCurveController> kept = state->Clone();
    live.Load(*state);
    EXPECT_EQ(Difference(*kept, live).toStdString(), "");

    // Edit everything the live controller holds.
    live.Curves(0).SetX(1, 999.0f);
    live.Curves(0).SetCommand(2, QStringLiteral("changed"));
    live.SetCurveName(0, QStringLiteral("Renamed"));
    live.Add(QStringLiteral("More"));
    live.SetGameType(4);
    EXPECT_EQ(Difference(*kept, *history.CurrentState()).toStdString(), "");
    EXPECT_EQ(Mark(history.Redo()), 6);
    EXPECT_EQ(Difference(*kept, *history.Undo()).toStdString(), "");

    // Saving the live controller does not tie the state to it either.
    history.Save(live);
    live.Curves(0).SetX(1, -1.0f);
    EXPECT_EQ(history.CurrentState()->Curves(0).GetX(1), 999.0f);
}
