#pragma once

#include "ControlRecord.h"
#include "CurveDrawArrays.h"
#include "TaggedValue.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class C3DCurve;
class CView;
class C3DCamera;
namespace GLDraw {
class IView;
}

namespace pugi {
class xml_document;
class xml_node;
}

// The six events of a curve. Raised synchronously from inside the operation
// that causes them, before it returns; the curve is passed so that one
// listener (the controller) can tell its curves apart. Override what you need.
class I3DCurveEvents
{
public:
    virtual ~I3DCurveEvents() = default;
    // value: the previous step count, or 2 when that was below 2.
    virtual void StepCountChanged(C3DCurve& /*curve*/, int32_t /*value*/) {}
    virtual void StepRateChanged(C3DCurve& /*curve*/) {}
    virtual void DurationChanged(C3DCurve& /*curve*/) {}
    virtual void ControlsCountChanged(C3DCurve& /*curve*/) {}
    virtual void CurveChanged(C3DCurve& /*curve*/) {}
    virtual void QuickRefreshStopped(C3DCurve& /*curve*/) {}
};

// The listeners of one curve. A copy of a curve is a new object that nobody
// listens to yet, and assigning a curve keeps the listeners of the target:
// copying and assigning this list therefore copy nothing.
class C3DCurveListeners
{
public:
    C3DCurveListeners() = default;
    C3DCurveListeners(const C3DCurveListeners&) {}
    C3DCurveListeners& operator=(const C3DCurveListeners&) { return *this; }

    void Add(I3DCurveEvents* listener);
    void Remove(I3DCurveEvents* listener);
    bool IsEmpty() const { return m_list.empty(); }

    // Calls f(listener) on a snapshot, so that a handler may add or remove
    // listeners while an event is delivered.
    template <class F>
    void Raise(F&& f) const
    {
        if (m_list.empty())
            return;
        const std::vector<I3DCurveEvents*> snapshot = m_list;
        for (I3DCurveEvents* l : snapshot)
            f(*l);
    }

private:
    std::vector<I3DCurveEvents*> m_list;
};

// Per-control triples of 64-bit floats, indexed by control number 1 to n
// (element 0 is unused and zero): positions, angles, targets, aim distances.
using CurveChannel = std::vector<std::array<double, 3>>;

// Position bounds per axis 0..2: [axis][0] minimum, [axis][1] maximum.
using CurveMinMaxBounds = std::array<std::array<float, 2>, 3>;

// A drawing colour of a curve: the colour as 0xBBGGRR (red in the low byte)
// and the OpenGL components red, green, blue and alpha in 0 to 1.
struct CurveDrawColor
{
    // Opacity in percent, limited to 0..100, becomes the alpha.
    explicit CurveDrawColor(int32_t color = 0, float opacity = 100.0f);
    int32_t value = 0;
    std::array<float, 4> gl{};
};

// One camera path: a named, ordered list of up to 250 controls with display
// flags, a game type, timing and change events. A plain value type: copies
// (the undo stack keeps many) share nothing and carry no listeners.
class C3DCurve
{
public:
    static constexpr int32_t MAX_CONTROL = 250;
    // Records 0 and n+1 are the end neighbours of the tangent rule, n+2 is
    // read by the automatic tangent of the last control.
    static constexpr int32_t RECORD_COUNT = 253;

    // Value type codes of the control properties.
    static constexpr int32_t TypeEmpty = 0;
    static constexpr int32_t TypeNumber = 4;  // a 32-bit float
    static constexpr int32_t TypeText = 8;

    C3DCurve();

    void AddListener(I3DCurveEvents* listener) { m_listeners.Add(listener); }
    void RemoveListener(I3DCurveEvents* listener) { m_listeners.Remove(listener); }

    // ---- Properties of controls --------------------------------------------
    static int32_t GetPropertyType(int32_t id);
    static std::array<int32_t, 26> GetPropertyTypes();
    static bool IsPropertyNumeric(int32_t id);
    static bool IsPointAngleProperty(int32_t id);

    void Clear();
    // A copy of this curve with its game type, without listeners.
    C3DCurve Clone() const;
    // Copies the source's name, flags, timing and controls, value for value;
    // this curve keeps its game type and listeners.
    void Load(const C3DCurve& source);
    // What Load does once the data has arrived, for a curve that a
    // controller takes over whole instead of copying it: the change bracket
    // passes (CurveChanged) and the duration follows the controls, while the
    // step count stays as it is.
    void FinishLoad();

    QString Name() const { return m_name; }
    void SetName(const QString& name);
    static QString SanitizeName(const QString& name);

    bool IsVisible() const { return m_isVisible; }
    void SetIsVisible(bool v) { m_isVisible = v; }
    bool IsEnabled() const { return m_isEnabled; }
    void SetIsEnabled(bool v) { m_isEnabled = v; }
    bool ShowArrow() const { return m_showArrow; }
    void SetShowArrow(bool v) { m_showArrow = v; }
    bool ShowTimes() const { return m_showTimes; }
    void SetShowTimes(bool v) { m_showTimes = v; }
    bool ShowTangent() const { return m_showTangent; }
    void SetShowTangent(bool v) { m_showTangent = v; }

    int32_t ControlsCount() const { return m_controlsCount; }
    void GetMinMaxBounds(CurveMinMaxBounds& bounds) const;

    // A property of record index as a tagged value: a 32-bit float for the
    // numbers, a text for the command, empty for 16 and unknown ids.
    TaggedValue value(int32_t index, int32_t id) const;
    TaggedValue value(int32_t index, ControlPropertyId id) const
    {
        return value(index, static_cast<int32_t>(id));
    }
    // Writes a property through its setter and that setter's rules. A number
    // must come as a 32-bit float (0x80040001 otherwise); a NaN or infinite
    // number is refused with error 5. Raises no event.
    void SetValue(int32_t index, int32_t id, const TaggedValue& v);
    void SetValue(int32_t index, ControlPropertyId id, const TaggedValue& v)
    {
        SetValue(index, static_cast<int32_t>(id), v);
    }

    std::array<float, 3> GetPosition(int32_t index) const;
    void SetPosition(int32_t index, const std::array<float, 3>& position);
    float GetAxe(int32_t index, int32_t axis) const;
    void SetAxe(int32_t index, int32_t axis, float v);
    float GetX(int32_t index) const;
    void SetX(int32_t index, float v);
    float GetY(int32_t index) const;
    void SetY(int32_t index, float v);
    float GetZ(int32_t index) const;
    void SetZ(int32_t index, float v);
    float GetPitch(int32_t index) const;
    void SetPitch(int32_t index, float v);
    float GetYaw(int32_t index) const;
    void SetYaw(int32_t index, float v);
    float GetRoll(int32_t index) const;
    void SetRoll(int32_t index, float v);
    QString GetCommand(int32_t index) const;
    void SetCommand(int32_t index, const QString& v);
    float GetFov(int32_t index) const;
    void SetFov(int32_t index, float v);
    int32_t GameType() const { return mGameType; }
    void SetGameType(int32_t v) { mGameType = v; }
    float GetTimescale(int32_t index) const;
    void SetTimescale(int32_t index, float v);
    float GetHide(int32_t index) const;
    float GetWglAmp(int32_t index) const;
    float GetWglFreq(int32_t index) const;
    float GetTan1X(int32_t index) const;
    float GetTan1Y(int32_t index) const;
    float GetTan1Z(int32_t index) const;
    float GetTan1C(int32_t index) const;
    float GetTan2X(int32_t index) const;
    float GetTan2Y(int32_t index) const;
    float GetTan2Z(int32_t index) const;
    float GetTan2C(int32_t index) const;
    bool IsSelected(int32_t index) const;
    void SetSelected(int32_t index, bool v);
    void ToggleSelection(int32_t index);
    float GetTime(int32_t index) const;

    // For the other parts of the model and the views.
    ControlRecord GetControlRecord(int32_t index) const;
    void GetViewMinMaxBounds(const CView& view, std::array<float, 2>& minimum,
                             std::array<float, 2>& maximum, bool selectedOnly,
                             bool withTangents) const;
    std::array<float, 2> GetControlsViewCenter(const CView& view, int32_t first, int32_t last) const;
    std::array<float, 2> GetSelectedControlsViewCenter(const CView& view) const;

    // ---- Change notification, timing, selection ----------------------------
    void BeginControlsCountChange();
    void EndControlsCountChange();
    bool ControlsCountChanging() const { return mControlsCountChanging; }
    void BeginChange();
    void EndChange();
    bool CurveChanging() const { return mCurveChanging; }
    int32_t StepCount() const { return m_stepCount; }
    int32_t StepRate() const { return m_stepRate; }
    void SetStepRate(int32_t v);
    int32_t MaxStepRate() const;
    double StartTime() const { return m_startTime; }
    void SetStartTime(double v) { m_startTime = v; }
    double Duration() const { return mDuration; }
    void SetDuration(double v);
    double MinDuration() const;
    double MaxDuration() const;
    int32_t SelectedCount() const;
    bool GetSelectedNumbers(std::vector<int32_t>& numbers) const;
    void SelectAllControls();
    void UnselectAllControls();
    void SetControlsSelection(bool selected);
    void SelectVisibleControls();
    void UnselectHiddenControls();
    void QuickRefreshStart(bool reload);
    void QuickRefreshStop();
    bool IsQuickRefreshing() const { return mQuickRefreshing; }
    bool ReloadCurveWhenDrawing() const { return m_reloadCurveWhenDrawing; }
    void SetReloadCurveWhenDrawing(bool v) { m_reloadCurveWhenDrawing = v; }

    // ---- Tangents ----------------------------------------------------------
    void TangentUpdate(int32_t index, int32_t viewMask);
    void TangentSetAll(int32_t fromIndex);
    void TanSetPrevNext(int32_t index, bool raiseChanged);
    void TangentSet(int32_t index, uint8_t tangentNumber, int32_t viewMask, bool force);
    // For the views' tangent tools: keys 1 Shift, 2 Control, 4 Alt.
    void FindTangentAtViewPoint(uint8_t& tangentNumber, float a, float b, const CView& view,
                                float tolerance, int32_t& index) const;
    void DragTangent(const CView& view, int32_t index, uint8_t tangentNumber,
                     const std::array<float, 3>& point, uint8_t keys);

    // ---- Drawing -------------------------------------------------------------
    // The curve draws itself into view, whose context must be the current
    // one (nothing is drawn otherwise, nor while this curve is drawing
    // already). The matrices are the view's; only colours, point sizes,
    // line widths and the raster position are set. DrawCurve draws the path
    // as sample points, DrawCurveLines as one line strip (and keeps the
    // curve in quick-refresh mode, its path following every change of the
    // controls). What is drawn is kept in vertex arrays and drawn again as
    // it is while neither the curve nor the view's kind (nor, for the
    // arrows, its zoom) has changed; the time labels are drawn each time.
    void DrawCurve(GLDraw::IView& view);
    void DrawCurveLines(GLDraw::IView& view);
    // The visible control points alone, into the current context.
    void DrawControls();
    float ControlDrawSize() const { return m_controlDrawSize; }
    void SetControlDrawSize(float v) { m_controlDrawSize = v; }
    // Colours are 0xBBGGRR; the opacity is in percent.
    int32_t ControlForecolor() const { return m_controlForecolor.value; }
    void SetControlForecolor(int32_t color, float opacity = 100.0f);
    int32_t SegmentColor() const { return m_segmentColor.value; }
    void SetSegmentColor(int32_t color, float opacity = 100.0f);
    int32_t SelectedControlForecolor() const { return m_selectedControlForecolor.value; }
    void SetSelectedControlForecolor(int32_t color);
    int32_t SelectedControlBackcolor() const { return m_selectedControlBackcolor.value; }
    void SetSelectedControlBackcolor(int32_t color);
    int32_t ControlTangentColor() const { return m_controlTangentColor.value; }
    void SetControlTangentColor(int32_t color);
    int32_t ControlChangedTangentColor1() const { return m_controlChangedTangentColor1.value; }
    void SetControlChangedTangentColor1(int32_t color);
    int32_t ControlChangedTangentColor2() const { return m_controlChangedTangentColor2.value; }
    void SetControlChangedTangentColor2(int32_t color);

    // ---- Angles and look-at targets ----------------------------------------
    bool FixControlAngles(int32_t id, int32_t first, int32_t last);
    void UpdateControlAngles(int32_t index);
    float GetTarget(int32_t index, int32_t axis) const;
    float GetTargetX(int32_t index) const;
    float GetTargetY(int32_t index) const;
    float GetTargetZ(int32_t index) const;
    bool IsTargetDefined(int32_t index) const;
    void StoreControlTargets();
    float GetStoredTarget(int32_t index, int32_t axis) const;
    void StoreControlAngles();
    void SetControlTarget(int32_t index, float x, float y, float z, float referencePitch,
                          float referenceYaw);
    // The selected controls look at points spread along targetCurve (its
    // selected controls, or all of them); targetCurve may be this curve.
    void SetSelectedControlTarget(C3DCurve& targetCurve);
    void SetSelectedControlTargetNextControl();
    void SetSelectedControlTarget2(float x, float y, float z);
    void UpdateControlTarget(int32_t index);

    // ---- Serialization -----------------------------------------------------
    // Both forms list a control as the values of ids 1 to 24, each followed
    // by ";" (id 16 stays empty), numbers in the shortest locale-free text
    // that reads back to the same 32-bit float.

    // Appends one control read from a ";"-separated line. A non-empty prefix
    // shorter than the line is cut off the front of `line` (whatever those
    // characters are); a line that is empty or not longer than the prefix
    // adds nothing and gives index 0 (and true). invariantNumbers reads "."
    // decimals whatever the locale; otherwise the user's locale is used.
    // A line whose fields are not numbers or lie beyond the 32-bit float
    // range, or that would take the curve past MAX_CONTROL, is refused:
    // false, index 0, `error` set, the curve untouched (the prefix is cut
    // off `line` all the same). On success raises
    // ControlsCountChanged (unless a count bracket is open); index is the
    // new control's number.
    bool AddControlFromRawData(QString& line, const QString& prefix, bool invariantNumbers,
                               int32_t& index, QString* error = nullptr);
    // Appends the element `elementName` (attributes name, visible, enabled,
    // show_arrow, show_times, show_tangent, start_time, then Controls/Control
    // with value and command) as the last child of parent. Changes nothing
    // and raises no event. Writing the same curve twice gives the same bytes.
    void Serialize(pugi::xml_document& doc, pugi::xml_node& parent,
                   const QString& elementName) const;
    // Reads a curve element written by Serialize: name, flags, start time,
    // and appends its controls after the curve's own (the game type must be
    // set first: the timescales follow it). A damaged element - a number that
    // is not one or lies beyond the float range, a value a property setter
    // refuses, more controls than MAX_CONTROL in all - is refused: false,
    // `error` set, the curve left exactly as it was. Raises no event.
    bool Deserialize(const pugi::xml_node& node, QString* error = nullptr);
    // A new curve of the given game type, read from a curve element as
    // Deserialize reads one into an empty curve (without the copy that keeps
    // an existing curve safe); null, with `error` set, for an element that
    // Deserialize refuses.
    static std::unique_ptr<C3DCurve> FromElement(const pugi::xml_node& node, int32_t gameType,
                                                 QString* error = nullptr);

private:
    // Reads a curve element into this curve: its name, flags and start
    // time, and its controls appended after this curve's own through the
    // property rules. False with `error` set at the first fault in the
    // element; the curve is then half-read and must be dropped.
    bool ReadElement(const pugi::xml_node& node, QString& error);

    // Lets the tests lay out control arrays directly (defined once, in
    // tests/model/test_C3DCurveSupport.h; every curve test includes that).
    friend struct C3DCurveTestAccess;

    // ---- Shared steps (both halves call these) -----------------------------
    // The record at index 0..252, or the index error naming source.
    ControlRecord& Record(int32_t index, const char* source);
    const ControlRecord& Record(int32_t index, const char* source) const;
    static void CheckAxis(int32_t axis, const char* source);

    // The number part of SetValue: the finiteness check, then the record's
    // index check and the property's rule.
    void SetNumberValue(int32_t index, int32_t id, float x);
    // Where the number properties' rules live (clamps, the timescale steps
    // of the game, the wiggle period, the edit masks): StoreNumbers stores
    // the values of ids first to last (values[id - 1]) into `r`, which is
    // record `index` of this curve, in id order, each as that property's
    // setter stores it. Values are finite and `index` is checked by the
    // caller; 16 stores nothing. A curve file's reader fills a control's
    // record in one go this way, with the checks done once for the control.
    void StoreNumbers(ControlRecord& r, int32_t index, const float* values, int32_t first,
                      int32_t last);
    // One property (ids outside 1 to 24 store nothing).
    void StoreNumber(ControlRecord& r, int32_t index, int32_t id, float x);

    void SetTime(int32_t index, float v);
    void SetTargetX(int32_t index, float v);
    void SetTargetY(int32_t index, float v);
    void SetTargetZ(int32_t index, float v);

    void AfterControlsCountChange(bool raiseCountEvent);
    void RaiseCurveChanged();
    void UpdateDuration();
    void RaiseDurationChanged();
    void UpdateStepCount();
    void RaiseStepCountChanged(int32_t previous);
    void OnStepRateChanged();

    void ComputeAutoTangent(int32_t index, uint8_t tangentNumber, int32_t viewMask, bool force);

    static std::array<double, 3> GetDirectionVector(float pitch, float yaw, double distance);
    std::array<double, 3> GetSubstituteTarget(int32_t index) const;
    CurveChannel GetTargetPoints() const;
    CurveChannel GetAimDistances() const;
    double GetAimDistance(int32_t index) const;
    // Pitch and yaw from the control at index towards point (x, y, z).
    void AimAt(int32_t index, double x, double y, double z, double& pitch, double& yaw) const;

    // Timing helpers of the sampling, used by the change steps above.
    // rate -1 stands for StepRate. Step lists have one entry per segment
    // (segment k runs from control k+1 to k+2); the results are frame counts.
    double GetSegmentRawSteps(int32_t index, int32_t rate = -1) const;
    int32_t GetSegmentStepCounts(std::vector<int32_t>& steps, bool limit, int32_t rate = -1) const;
    int32_t GetSampleCount() const;
    double GetSegmentStepsDuration(int32_t index, int32_t steps) const;
    int32_t GetSegmentStepRate(int32_t index, int32_t steps) const;
    // True when no control time had to move.
    bool SnapControlTimes();
    bool EnsureSegmentMinSteps(int32_t index);

    // The drawing cache of sampled positions.
    void ClearDrawSamples();
    bool IsDrawSampleCacheEmpty() const { return m_drawPositions.empty(); }
    int32_t GetDrawnSampleCount(int32_t requested, bool capped) const;

    // ---- Member data shared by the whole class -----------------------------
    QString m_name;
    bool m_isVisible = true;
    bool m_isEnabled = true;
    bool m_showArrow = true;
    bool m_showTimes = false;
    bool m_showTangent = true;
    int32_t mGameType = 0;
    std::array<ControlRecord, RECORD_COUNT> mControls{};
    int32_t m_controlsCount = 0;

    double m_startTime = 0.0;
    int32_t m_stepRate = 0;
    int32_t m_stepCount = 0;
    double mDuration = 0.0;
    bool mControlsCountChanging = false;
    bool mDurationPending = false;
    bool mCurveChanging = false;
    int32_t mChangeDepth = 0;
    bool mLastTimeSet = false;
    bool mQuickRefreshing = false;
    bool m_reloadCurveWhenDrawing = false;
    bool mTangentBatch = false;

    // Copies taken while the user drags targets; they follow the index.
    std::array<std::array<float, 3>, RECORD_COUNT> mStoredTargets{};
    std::array<std::array<float, 3>, RECORD_COUNT> mStoredAngles{};

    // Drawing cache: sampled positions and the control that starts each
    // sample's segment.
    std::vector<std::array<double, 3>> m_drawPositions;
    std::vector<int32_t> m_drawSegments;
    bool mTimesDisabled = false;

    // Drawing (C3DCurveDraw.cpp).
    friend struct C3DCurveDrawTestAccess;
    void DrawCurveAndControls(GLDraw::IView& view, bool linesOnly);
    void PrepareDrawSamples();
    // What the picture depends on besides the controls.
    CurveDrawKey DrawKey(const GLDraw::IView& view, bool linesOnly) const;
    void BuildDrawArrays(const CurveDrawKey& key);
    void AddControlTangents(int32_t viewFlag, int32_t index);
    // s: world units of one arrow unit (a pixel in a 2D view).
    void AddControlArrow(double s, int32_t index);
    void DrawControlTime(GLDraw::IView& view, int32_t index);

    float m_controlDrawSize = 4.0f;
    CurveDrawColor m_controlForecolor{0x000000};
    CurveDrawColor m_segmentColor{0xFF0000};
    CurveDrawColor m_selectedControlForecolor{0xFFFFFF};
    CurveDrawColor m_selectedControlBackcolor{0xFF0000};
    CurveDrawColor m_controlTangentColor{0x10FF00};
    CurveDrawColor m_controlChangedTangentColor1{0x1010FF};
    CurveDrawColor m_controlChangedTangentColor2{0x1080F0};

    // The drawing's vertex arrays; never shared with a copy.
    CurveDrawArrays m_drawArrays;

    // Set for the length of one drawing. A copy of a curve is not drawing.
    struct DrawingFlag
    {
        bool on = false;
        DrawingFlag() = default;
        DrawingFlag(const DrawingFlag&) {}
        DrawingFlag& operator=(const DrawingFlag&) { return *this; }
    };
    DrawingFlag m_drawing;

    C3DCurveListeners m_listeners;

    // Flight: sampling, camera records, view direction, editing, automatic roll
    // ---- begin of the flight block ----
public:
    // Sampling: one sample per recorded frame. Sample tables hold one triple
    // per frame; segment-number lists the control that starts each frame's
    // segment (a frame on control i has i, the last frame has n).
    using SampleTable = std::vector<std::array<double, 3>>;

    // Positions only, with the same step count in every segment; count is
    // the number of samples, 0 (and the arrays untouched) below 2 controls.
    void GetUniformSegmentCurvePoints(int32_t wanted, SampleTable& positions,
                                      std::vector<int32_t>& segmentNumbers, int32_t& count);
    // One record per frame of the flight, for the script generator and the
    // preview; returns the index of the last record. pitchSign false negates
    // every pitch. Needs 2 controls or more (RuvError 9 otherwise); a flight
    // too long to hold raises RuvError 6. Sampling rounds the stored pitches
    // to 2 decimals and lowers a wiggle slower than its segment, silently.
    int32_t GetSampledControls(std::vector<ControlRecord>& records, bool pitchSign);
    // Tidies the times of controls imported from game position files.
    void NormalizeGameTimes(int32_t index);

    // Editing.
    bool CanAddControl(int32_t count) const;
    void AddControl3(float x, float y, float z, float pitch, float yaw, float roll, bool withAngles);
    void AddControlFromCamera(const C3DCamera& camera);
    void InsertControl(int32_t index);
    void DuplicateControl(int32_t index);
    void DeleteControl(int32_t index);
    // Spreads a number property evenly over the controls strictly between
    // first and last.
    bool SetControlsAverage(int32_t first, int32_t last, int32_t id);
    // Writes one property of the controls firstIndex, firstIndex+1, ...
    // (numbers as 32-bit floats, the command as text). All values are checked
    // before any is written.
    bool SetControlsValues(int32_t id, int32_t firstIndex,
                           const std::vector<TaggedValue>& values);
    void RoundControlsPosition();
    void RoundControlPosition(int32_t index);
    void Invert();
    // For the views' tools.
    void AddControlFromViewPoint(float a, float b, const CView& view);
    void AddControlRecord(const ControlRecord& record);
    void InsertControlRecord(const ControlRecord& record, int32_t index);
    // The first visible control within tolerance of (a, b) in the view, or -1.
    void FindControlAtViewPoint(float a, float b, const CView& view, float tolerance,
                                int32_t& index) const;

    // Banks the camera into the turns of the path; the strongest bank is
    // maximumAngle degrees.
    void CalculateAutoRoll(double maximumAngle);

private:
    // Lets the flight tests reach the sampling steps.
    friend struct C3DCurveFlightTestAccess;

    // Stored tangents of a channel, per control number: [1] leaves the
    // control, [2] arrives at the next one ([0] unused).
    using TangentTable = std::vector<std::array<std::array<double, 3>, 3>>;
    struct SegmentCoefficients {
        std::array<std::array<float, 3>, 4> c;  // c0 t^3 + c1 t^2 + c2 t + c3
    };

    int32_t SampleCurveChannels(std::vector<int32_t>& steps, SampleTable& positions,
                                SampleTable* angles, std::vector<double>* fovs,
                                std::vector<float>* timescales, std::vector<double>* times,
                                std::vector<int32_t>& segmentNumbers, bool limit,
                                bool positionsOnly, bool useGivenSteps);
    void HermiteSampleChannel(const CurveChannel& channel, const TangentTable& tangents,
                              const std::vector<double>& parameters,
                              const std::vector<int32_t>& steps, SampleTable& samples,
                              std::vector<int32_t>& segmentNumbers, bool collapse,
                              int components = 3) const;
    TangentTable GetAutoTangents(const CurveChannel& channel) const;
    TangentTable GetControlTangents() const;
    static std::vector<double> GetSegmentParameters(const std::vector<int32_t>& steps);
    std::vector<float> SampleTimescales(int32_t frames, const std::vector<int32_t>& steps) const;
    int32_t GetUniformStepCounts(int32_t wanted, std::vector<int32_t>& steps) const;
    static double MaxAbsValue(const std::vector<double>& values);

    int32_t BuildSampledControls(std::vector<ControlRecord>& records, bool pitchSign);

    float GetSamplingPitch(int32_t index);
    static SampleTable GetAnglesAimPoints(const SampleTable& positions, const SampleTable& angles,
                                          const SampleTable& aimDistances);
    void ResolveSampledAngles(const SampleTable& positions, SampleTable& angles,
                              const SampleTable& aimPoints, const SampleTable& targets,
                              const std::vector<int32_t>& segmentNumbers) const;

    void AfterControlAppended(bool updateTangents, bool setTime);
    void SetAppendedControlTime(int32_t index);
    void AfterControlInserted(int32_t index);
    void CheckRoomForControl(const char* source) const;
    SegmentCoefficients GetSegmentCoefficients(int32_t index) const;
    static std::array<float, 3> GetSegmentPoint(float t, const SegmentCoefficients& c);
    // ---- end of the flight block ----
};
