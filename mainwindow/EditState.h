#pragma once

struct MainContext;

// The curves and their default set, the modified mark, the enabled state
// of controls and menus, selection and undo.
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
    // The tool buttons for the active view and the points of the curves.
    virtual void fUpdateToolsState() {}
};

class EditState final : public IEditState
{
public:
    explicit EditState(MainContext& context) : m_c(context) {}
    void fCreateCurveObjects() override;
    void fSetProjectModified(bool force) override;
    bool fNothingToSave() const override;

private:
    MainContext& m_c;
};
