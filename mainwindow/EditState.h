#pragma once

#include <QObject>

#include <cstdint>
#include <memory>

class C3DCurveController;
class CProjectStateHandler;
struct MainContext;

// The curves and their default set, the modified mark, the enabled state
// of controls and menus that follows the points, the tool buttons,
// selection and undo.
class IEditState
{
public:
    virtual ~IEditState() = default;
    // Creates the curve controller with the default curve set.
    virtual void fCreateCurveObjects() = 0;
    // With force the mark is set; without, only when a curve has a control
    // point.
    virtual void fSetProjectModified(bool force) = 0;
    // True unless the mark is set and a curve has a control point.
    virtual bool fNothingToSave() const = 0;

    // ---- Enabling --------------------------------------------------------
    // Menus, tools and buttons after the points' count changed (New, Open,
    // every count change).
    virtual void fUpdateControlsState() {}
    // The tool buttons for the active view (also when a view is activated).
    virtual void fUpdateToolsState() {}
    // The index of the tool button that is on; -1 when none is.
    virtual int32_t fActiveTool() const { return -1; }

    // ---- Tools and buttons -----------------------------------------------
    virtual void optTools_Click(int32_t /*index*/) {}
    virtual void optTools_DblClick(int32_t /*index*/) {}
    virtual void cmdInvert_Click() {}

    // ---- Selection -------------------------------------------------------
    virtual void mnuE_SelectAll_Click() {}
    virtual void mnuE_DeselectAll_Click() {}
    // After a value was written from the point grid.
    virtual void fUnselectHiddenOfSelected() {}
    // The selected points of all curves.
    virtual int32_t fSelectedControlCount() const { return 0; }
    virtual void fUpdateDeselectMenu() {}

    // ---- Curves ----------------------------------------------------------
    // One curve, "Camera path", as the main curve (New).
    virtual void fCreateDefaultCurves() {}
    // The colours and sizes that set the other curves apart from the first.
    virtual void fApplyCurveLooks() {}

    // ---- Undo --------------------------------------------------------------
    // Stores the controller's state as the newest one (nothing while a
    // state is being stored or restored).
    virtual void fStoreUndoState() {}
    // The history starts anew with the present state (New, Open).
    virtual void fResetUndoHistory() {}
    virtual void mnuE_Undo_Click() {}
    virtual void mnuE_Redo_Click() {}
    // Between these, the states asked for are stored as one, at the end:
    // an edit that closes the brackets of several curves is one step.
    virtual void fBeginUndoStep() {}
    virtual void fEndUndoStep() {}

    // The options New and Open start from: fixed targets, pause, camera,
    // presets, script includes and choices.
    virtual void fResetProjectOptions() {}
};

class EditState : public QObject, public IEditState
{
public:
    explicit EditState(MainContext& context);
    ~EditState() override;

    void fCreateCurveObjects() override;
    void fSetProjectModified(bool force) override;
    bool fNothingToSave() const override;

    void fUpdateControlsState() override;
    void fUpdateToolsState() override;
    int32_t fActiveTool() const override;

    void optTools_Click(int32_t index) override;
    void optTools_DblClick(int32_t index) override;
    void cmdInvert_Click() override;

    void mnuE_SelectAll_Click() override;
    void mnuE_DeselectAll_Click() override;
    void fUnselectHiddenOfSelected() override;
    int32_t fSelectedControlCount() const override;
    void fUpdateDeselectMenu() override;

    void fCreateDefaultCurves() override;
    void fApplyCurveLooks() override;

    void fStoreUndoState() override;
    void fResetUndoHistory() override;
    void mnuE_Undo_Click() override;
    void mnuE_Redo_Click() override;
    void fBeginUndoStep() override;
    void fEndUndoStep() override;
    void fResetProjectOptions() override;

    // Loads an undo or redo state into the controller and the window.
    void fApplyRestoredState(const C3DCurveController& state);
    const CProjectStateHandler& StateHandler();
    int32_t Last2DTool() const { return m_last2DTool; }
    int32_t Last3DTool() const { return m_last3DTool; }

protected:
    // The tool buttons' double clicks.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CProjectStateHandler& Handler();
    // One state back (or forward) in the history, into the window.
    void fRestoreState(bool forward);
    void fUpdateUndoMenus();
    void Redraw();

    MainContext& m_c;
    std::unique_ptr<CProjectStateHandler> m_stateHandler;
    bool m_undoBusy = false;
    int32_t m_undoStepDepth = 0;
    bool m_undoStepPending = false;
    int32_t m_last2DTool = 1;
    int32_t m_last3DTool = 5;
};
