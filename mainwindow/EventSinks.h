#pragma once

#include "C3DCurveController.h"

#include <QObject>

#include <cstdint>

struct MainContext;

// What the window does for the events of the curve controller, the curve
// manager and the frame-rate box: redraw or refresh the preview, store an
// undo step, reload the point grid, keep the editing flag, check and apply
// frame rates.
class IEventSinks
{
public:
    virtual ~IEventSinks() = default;
    // The controller's listener; the edit state adds it to the controller
    // it makes.
    virtual I3DCurveControllerEvents& ControllerSink() = 0;
    // Connects the curve manager's and the frame-rate box's events, once
    // the frame-rate handler exists (the window's load).
    virtual void fConnectControlSinks() = 0;
};

class EventSinks final : public QObject, public IEventSinks, private I3DCurveControllerEvents
{
public:
    explicit EventSinks(MainContext& context) : m_c(context) {}
    ~EventSinks() override;

    I3DCurveControllerEvents& ControllerSink() override { return *this; }
    void fConnectControlSinks() override;

    // ---- The curve manager ---------------------------------------------------
    void cmCurveManager_SelectedCurveChanged();
    void cmCurveManager_CurveOptionChanged(C3DCurve& curve, int32_t option);
    void cmCurveManager_CurveAdded(C3DCurve& curve);
    void cmCurveManager_CurveStartTimeChanged(C3DCurve& curve);
    void cmCurveManager_CurveDurationChanged(C3DCurve& curve);
    void cmCurveManager_EditingStateChanged();

    // ---- The frame-rate box ----------------------------------------------------
    void mFramerateHandler_RightClick(int32_t x, int32_t y);
    void mFramerateHandler_TraceSpecificValueChanged();
    void mFramerateHandler_ValueChanged(int32_t value);
    void mFramerateHandler_EditingChanged(bool editing);
    void mFramerateHandler_OnValidation(int32_t& value, bool& valid);

private:
    // ---- The curve controller ------------------------------------------------
    void CurveCountChanged() override;
    void StepCountChanged(C3DCurve& curve, int32_t value) override;
    void DurationChanged(C3DCurve& curve) override;
    void ControlsCountChanged(C3DCurve& curve) override;
    void CurveChanged(C3DCurve& curve) override;
    void QuickRefreshStopped(C3DCurve& curve) override;

    // The preview refresh for the main curve under the lock, else a redraw.
    void fRefreshPreviewOrView(const C3DCurve& curve);
    void Redraw();
    // Each sink runs guarded: a model error becomes a message box.
    template <class F>
    void Guarded(F&& step);

    MainContext& m_c;
    bool m_connected = false;
};
