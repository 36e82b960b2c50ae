// The value tools on the real window's widgets and grid with a real curve:
// the look targets, values by factor, averages, fixed angles, auto-roll
// and their boxes.

#include "PreviewRig.h"

#include "FlexgridEx.h"
#include "MainTexts.h"
#include "ValueTools.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

using Rig::ChangeCounter;

class Tools : public Rig::GridTest
{
protected:
    ValueTools& tools = static_cast<ValueTools&>(*w.P().valueTools);

    void Factor(const QString& text) { w.W().txtCFactor->setText(text); }
    QString Text(int id) const { return w.frm->Texts().fGetText(id); }
    QString Title(int id) const { return QLatin1Char(' ') + Text(id); }
};

TEST_F(Tools, FactorButtonsChangeTheSelectedValuesInOneStep)
{
    struct Case
    {
        QPushButton* button;
        const char* factor;
        float x;  // the new x of point 2 (it was 100)
    };
    MainWidgets& ui = w.W();
    const Case cases[] = {{ui.cmdCAddFactor, "2.5", 102.5f},        {ui.cmdCSubFactor, "2.5", 100.0f},
                          {ui.cmdCMultiplyByFactor, "3", 300.0f},   {ui.cmdCDivideByFactor, "4", 75.0f},
                          {ui.cmdCAddSubFactor[3], "0", -105.0f},  {ui.cmdCAddSubFactor[4], "0", 255.0f}};
    for (const Case& c : cases) {
        ChangeCounter counter(w.Main());
        Factor(QString::fromLatin1(c.factor));
        Select(0, 2, 2, 2, 2);
        c.button->click();
        EXPECT_FLOAT_EQ(w.Main().GetX(2), c.x) << c.button->objectName().toStdString();
        EXPECT_EQ(counter.changes, 1);
        EXPECT_TRUE(G(0).Redraw());
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Tools, AFactorOfZeroDoesNothing)
{
    ChangeCounter counter(w.Main());
    Factor(Num(0));
    Select(0, 1, 2, 5, 4);
    for (QPushButton* b : {w.W().cmdCDivideByFactor, w.W().cmdCMultiplyByFactor, w.W().cmdCAddFactor})
        b->click();
    EXPECT_EQ(counter.changes, 0);
    EXPECT_FLOAT_EQ(w.Main().GetX(2), 100.0f);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Tools, AHideColumnAtTheEndIsDroppedAndAloneIsRefused)
{
    Factor(QStringLiteral("2"));
    Select(0, 1, 6, 3, 7);  // timescale to hide
    w.W().cmdCMultiplyByFactor->click();
    EXPECT_FLOAT_EQ(w.Main().GetTimescale(2), 2.0f);
    EXPECT_FLOAT_EQ(w.Main().GetHide(2), 0.0f);
    EXPECT_TRUE(Boxes().empty());

    Select(0, 1, 7, 3, 7);  // hide alone
    w.W().cmdCAddFactor->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Text(199));
    EXPECT_EQ(Boxes()[0].title, Title(196));
    EXPECT_FLOAT_EQ(w.Main().GetHide(2), 0.0f);

    Select(2, 1, 1, 2, 2);  // up to the command
    w.W().cmdCAddFactor->click();
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].prompt, Text(199));
}

TEST_F(Tools, YawAloneMovesTheTargetsOfTheSelectedRows)
{
    for (int i = 2; i <= 3; ++i)
        w.Main().SetControlTarget(i, 1000.0f, 50.0f, 20.0f, 0.0f, 0.0f);
    const float before = w.Main().GetTargetY(2);
    Factor(QStringLiteral("90"));
    Select(1, 2, 3, 3, 3);  // yaw of points 2 and 3
    w.W().cmdCAddFactor->click();
    EXPECT_NE(w.Main().GetTargetY(2), before);
    EXPECT_NE(w.Main().GetTargetY(3), before);
    EXPECT_FLOAT_EQ(w.Main().GetTargetY(4), 0.0f) << "rows outside the selection keep theirs";
}

TEST_F(Tools, AnOverflowingProductRefusesItsColumn)
{
    w.Main().SetX(3, 3e38f);
    Factor(QStringLiteral("10"));
    Select(0, 2, 2, 3, 3);  // x then y of points 2 and 3
    w.W().cmdCMultiplyByFactor->click();
    EXPECT_FLOAT_EQ(w.Main().GetX(2), 100.0f) << "nothing of the column is written";
    EXPECT_FLOAT_EQ(w.Main().GetX(3), 3e38f);
    EXPECT_FLOAT_EQ(w.Main().GetY(2), 50.0f) << "the columns after it are not reached";
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Text(225));
    EXPECT_EQ(Boxes()[0].title, Title(226));
    EXPECT_FALSE(w.Main().CurveChanging());
}

TEST_F(Tools, UnsupportedDataLeavesNoBracketOrRedrawOpen)
{
    Factor(QStringLiteral("1"));
    // From the row-number column: no property there.
    Select(0, 2, 0, 3, 2);
    w.W().cmdCAddFactor->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, QStringLiteral("Unsupported data type."));
    EXPECT_FALSE(w.Main().CurveChanging());
    EXPECT_TRUE(G(0).Redraw());
    EXPECT_FLOAT_EQ(w.Main().GetX(2), 100.0f);
}

TEST_F(Tools, GermanFactorsReadTheirComma)
{
    Rig::UserLocale locale("de_DE");
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    Factor(QStringLiteral("1,5"));
    bool cancel = true;
    tools.fValidateFactor(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(w.W().txtCFactor->text(), QStringLiteral("1,50"));
    Select(0, 2, 2, 2, 2);
    w.W().cmdCMultiplyByFactor->click();
    EXPECT_FLOAT_EQ(w.Main().GetX(2), 150.0f);
    Factor(QStringLiteral("abc"));
    tools.fValidateFactor(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(w.W().txtCFactor->text(), QStringLiteral("abc"));
}

TEST_F(Tools, AverageNeedsAValueBetweenTwo)
{
    w.Main().SetX(4, 700.0f);
    Select(0, 2, 2, 3, 2);
    w.W().cmdAverage->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Text(200));
    EXPECT_EQ(Boxes()[0].title, Title(198));

    ChangeCounter counter(w.Main());
    Select(0, 4, 2, 2, 2);  // made upwards
    w.W().cmdAverage->click();
    EXPECT_FLOAT_EQ(w.Main().GetX(3), 400.0f);
    EXPECT_EQ(counter.changes, 1);
}

TEST_F(Tools, FixAnglesWithoutASelectionTakesEveryRowsAngles)
{
    for (int i = 1; i <= 5; ++i)
        w.Main().SetYaw(i, i % 2 == 0 ? 350.0f : 10.0f);
    emit G(1).GotFocus();
    w.Grid().ClearFlexgridsSelection();
    w.W().cmdCFixeAngles->click();
    EXPECT_TRUE(Boxes().empty());
    const PointGridPanel::Block b = PointGridPanel::SelectedBlock(G(1));
    EXPECT_EQ(b.firstRow, 1);
    EXPECT_EQ(b.lastRow, 5);
    EXPECT_EQ(b.firstCol, 2);
    EXPECT_EQ(b.lastCol, 4);
    for (int i = 1; i < 5; ++i)
        EXPECT_LE(std::abs(w.Main().GetYaw(i + 1) - w.Main().GetYaw(i)), 180.0f) << "no turn the long way round";

    Select(1, 2, 5, 2, 6);  // one row, target columns: the angles instead
    w.W().cmdCFixeAngles->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Text(201));
    EXPECT_EQ(Boxes()[0].title, Title(202));
    const PointGridPanel::Block one = PointGridPanel::SelectedBlock(G(1));
    EXPECT_EQ(one.firstCol, 2);
    EXPECT_EQ(one.lastCol, 4);

    emit G(0).GotFocus();  // no angle columns: nothing
    w.W().cmdCFixeAngles->click();
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(Tools, TheAutoRollMaximumIsKeptWithinItsRange)
{
    struct Case
    {
        const char* typed;
        double shown;
    };
    const Case cases[] = {{"500", 180.0}, {"0", 0.01}, {"abc", 0.01}, {"45.5", 45.5}};
    for (const Case& c : cases) {
        w.W().txtCAutoRollMaxAngle->setText(QString::fromLatin1(c.typed));
        bool cancel = true;
        tools.fValidateAutoRollMaxAngle(cancel);
        EXPECT_FALSE(cancel);
        EXPECT_EQ(w.W().txtCAutoRollMaxAngle->text(), Num(c.shown)) << c.typed;
    }
    w.Main().SetY(2, 300.0f);
    w.W().cmdCAutoRoll->click();
    EXPECT_NE(w.Main().GetRoll(2), 0.0f) << "the turn banks";
    EXPECT_LE(std::abs(w.Main().GetRoll(2)), 45.5f);
}

TEST_F(Tools, LookTargetsInOneStep)
{
    tools.fSetFixedTargets(100.0f, 200.0f, -50.0f);
    EXPECT_EQ(w.W().txtCFixedTargets[1]->text(), Num(200));
    ChangeCounter counter(w.Main());
    w.W().optLkTarget[0]->setChecked(true);
    w.W().cmdLkApply->click();
    EXPECT_EQ(counter.changes, 1);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_FLOAT_EQ(w.Main().GetTargetY(i), 200.0f) << "no selection: every point " << i;
        EXPECT_FLOAT_EQ(w.Main().GetTargetZ(i), -50.0f);
    }

    w.Main().UnselectAllControls();
    w.W().optLkTarget[1]->setChecked(true);
    w.W().cmdLkApply->click();
    EXPECT_FLOAT_EQ(w.Main().GetTargetX(2), w.Main().GetX(3)) << "each looks at the next";
    EXPECT_FALSE(w.Main().IsSelected(5));
    EXPECT_FLOAT_EQ(w.Main().GetTargetY(5), 200.0f) << "the last point keeps its target";
}

TEST_F(Tools, LookingAtTheSelectedCurveNeedsATargetCurve)
{
    C3DCurve& second = w.Curves().Add(QStringLiteral("second"));
    w.AddPoints(second, 2);
    w.W().optLkTarget[2]->setChecked(true);
    // The main curve selected and two curves: the other one is the target.
    w.W().cmdLkApply->click();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FLOAT_EQ(w.Main().GetTargetY(1), 50.0f);

    w.Curves().Add(QStringLiteral("third"));
    w.ShowInGrid(w.Main());
    ChangeCounter counter(w.Main());
    w.W().cmdLkApply->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Text(220));
    EXPECT_EQ(Boxes()[0].title, Title(35));
    EXPECT_EQ(Boxes()[0].style, 64);
    EXPECT_EQ(counter.changes, 0);
}

TEST_F(Tools, TheOptionsFollowTheirEnabledState)
{
    MainWidgets& ui = w.W();
    ui.optLkTarget[2]->setChecked(true);
    EXPECT_FALSE(ui.txtCFixedTargets[0]->isEnabled()) << "fixed boxes with option 0 only";
    ui.optLkTarget[2]->setEnabled(false);
    tools.fUpdateLookTargetOptions();
    EXPECT_TRUE(ui.optLkTarget[1]->isChecked()) << "the highest enabled option";
    EXPECT_FALSE(ui.txtCFixedTargets[2]->isEnabled()) << "as option 1 wants";
    EXPECT_TRUE(ui.cmdLkApply->isEnabled());
    ui.optLkTarget[0]->setChecked(true);
    EXPECT_TRUE(ui.txtCFixedTargets[2]->isEnabled());
    EXPECT_TRUE(ui.lblLkTargetZ->isEnabled());
    for (QRadioButton* option : ui.optLkTarget)
        option->setEnabled(false);
    tools.fUpdateLookTargetOptions();
    EXPECT_FALSE(ui.cmdLkApply->isEnabled());
    EXPECT_FALSE(ui.txtCFixedTargets[0]->isEnabled());
    EXPECT_EQ(tools.fGetSelectedLookTarget(), 0);
}

TEST_F(Tools, TheFixedTargetBoxesValidateAndCancel)
{
    QLineEdit* box = w.W().txtCFixedTargets[1];
    box->setText(Num(10));
    tools.txtCFixedTargets_GotFocus(1);
    box->setText(QStringLiteral("12.345"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    EXPECT_EQ(box->text(), Num(12.35)) << "two decimals";

    box->setText(QStringLiteral("abc"));
    bool cancel = false;
    tools.txtCFixedTargets_Validate(1, cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(box->selectedText(), QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(tools.fGetFixedTargets()[1], 0.0) << "no number reads as 0";

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &escape);
    EXPECT_EQ(box->text(), Num(12.35)) << "the text it had when validated";

    tools.fSetFixedTargetsFromArray({1.005, -2.5, 1e6});
    EXPECT_EQ(w.W().txtCFixedTargets[2]->text(), Num(1e6));
    EXPECT_DOUBLE_EQ(tools.fGetFixedTargets()[1], -2.5);
}

}  // namespace
