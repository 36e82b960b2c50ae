// Change notification of a curve: the two brackets, the six events, the
// timing members and the selection.
#include "C3DCurve.h"

#include "C3DCurveRound.h"
#include "RuvError.h"

#include <algorithm>


// ---- Count bracket ---------------------------------------------------------

void C3DCurve::BeginControlsCountChange()
{
    mControlsCountChanging = true;
    mDurationPending = false;
}

void C3DCurve::EndControlsCountChange()
{
    if (!mControlsCountChanging)
        return;
    mControlsCountChanging = false;
    AfterControlsCountChange(true);
}

void C3DCurve::AfterControlsCountChange(bool raiseCountEvent)
{
    if (mControlsCountChanging)
        return;
    ClearDrawSamples();
    UpdateDuration();
    // The script generator reads StepCount as the frame count of the flight,
    // so it follows every change of the controls; its event stays with the
    // step-rate change.
    m_stepCount = GetSampleCount();
    if (mDurationPending) {
        mDurationPending = false;
        m_listeners.Raise([this](I3DCurveEvents& l) { l.DurationChanged(*this); });
    }
    if (raiseCountEvent)
        m_listeners.Raise([this](I3DCurveEvents& l) { l.ControlsCountChanged(*this); });
}

// ---- Change bracket --------------------------------------------------------

void C3DCurve::BeginChange()
{
    mCurveChanging = true;
    mLastTimeSet = false;
    ++mChangeDepth;
}

void C3DCurve::EndChange()
{
    --mChangeDepth;
    if (mChangeDepth < 1) {
        // An unmatched End must not leave a negative depth that would swallow
        // the next bracket's event.
        mChangeDepth = 0;
        mCurveChanging = false;
        RaiseCurveChanged();
    }
}

void C3DCurve::RaiseCurveChanged()
{
    if (mCurveChanging)
        return;
    const bool inPlace = SnapControlTimes();
    if (inPlace && mLastTimeSet)
        UpdateDuration();
    m_stepCount = GetSampleCount();
    m_listeners.Raise([this](I3DCurveEvents& l) { l.CurveChanged(*this); });
}

// ---- Duration --------------------------------------------------------------

void C3DCurve::UpdateDuration()
{
    const double v = mControls[static_cast<size_t>(m_controlsCount)].Time;
    if (v == mDuration)
        return;
    mDuration = v;
    RaiseDurationChanged();
}

void C3DCurve::RaiseDurationChanged()
{
    if (mControlsCountChanging) {
        mDurationPending = true;
        return;
    }
    if (mCurveChanging)
        return;
    m_listeners.Raise([this](I3DCurveEvents& l) { l.DurationChanged(*this); });
}

double C3DCurve::MinDuration() const
{
    return m_controlsCount / 1000.0;
}

double C3DCurve::MaxDuration() const
{
    if (m_stepRate >= 1) {
        const double d = 200000.0 / m_stepRate;
        if (d <= 36000.0)
            return d;
    }
    return 36000.0;
}

void C3DCurve::SetDuration(double v)
{
    const int32_t n = m_controlsCount;
    if (n < 2) {
        UpdateDuration();
        return;
    }
    v = std::clamp(v, MinDuration(), MaxDuration());
    const double last = mControls[static_cast<size_t>(n)].Time;
    if (v == last) {
        UpdateDuration();
        return;
    }
    if (last == 0.0)
        throw RuvError::Platform(RuvError::DivisionByZero, QStringLiteral("C3DCurve.Duration"));
    const double factor = v / last;
    for (int32_t i = 1; i <= n; ++i)
        mControls[static_cast<size_t>(i)].Time *= factor;
    if (SnapControlTimes())
        UpdateDuration();
    m_stepCount = GetSampleCount();
}

// ---- Step rate -------------------------------------------------------------

void C3DCurve::SetStepRate(int32_t v)
{
    if (v > 1) {
        const int32_t maxRate = MaxStepRate();
        if (v > maxRate)
            v = maxRate;
    } else {
        v = 1;
    }
    if (v == m_stepRate)
        return;
    m_stepRate = v;
    OnStepRateChanged();
}

void C3DCurve::OnStepRateChanged()
{
    m_listeners.Raise([this](I3DCurveEvents& l) { l.StepRateChanged(*this); });
    UpdateStepCount();
}

void C3DCurve::UpdateStepCount()
{
    SnapControlTimes();
    const int32_t previous = m_stepCount;
    m_stepCount = GetSampleCount();
    RaiseStepCountChanged(previous);
}

void C3DCurve::RaiseStepCountChanged(int32_t previous)
{
    if (previous == m_stepCount || mCurveChanging)
        return;
    const int32_t value = previous < 2 ? 2 : previous;
    m_listeners.Raise([this, value](I3DCurveEvents& l) { l.StepCountChanged(*this, value); });
}

int32_t C3DCurve::MaxStepRate() const
{
    constexpr double kMaxFrames = 200000.0;
    const int32_t n = m_controlsCount;
    if (n < 2)
        return 200000;
    if (m_stepRate < 1)
        return std::max<int32_t>(1, CurveRound::ToInt32(kMaxFrames / (n - 1)));

    std::vector<int32_t> steps;
    const int32_t frames = GetSegmentStepCounts(steps, false);
    size_t k = 0;
    int32_t m = 0;
    for (size_t s = 0; s < steps.size(); ++s) {
        if (steps[s] > m) {
            m = steps[s];
            k = s;
        }
    }
    // A curve whose segments take no frames at all has no rate to limit, and
    // a zero time span would divide by zero: neither bounds the rate.
    const auto seg = static_cast<int32_t>(k) + 1;
    const double span = mControls[static_cast<size_t>(seg + 1)].Time -
                        mControls[static_cast<size_t>(seg)].Time;
    if (m <= 0 || frames <= 1 || !(span > 0.0))
        return 200000;
    const double target = static_cast<double>(CurveRound::ToInt32(kMaxFrames / (frames - 1) * m));
    const double tsSum = static_cast<double>(mControls[static_cast<size_t>(seg)].Timescale) +
                         static_cast<double>(mControls[static_cast<size_t>(seg + 1)].Timescale);
    const double rate = target / 2.0 / span * tsSum;
    return std::max<int32_t>(1, CurveRound::ToInt32(rate));
}

// ---- Selection -------------------------------------------------------------

int32_t C3DCurve::SelectedCount() const
{
    int32_t count = 0;
    for (int32_t i = 1; i <= m_controlsCount; ++i)
        if (mControls[static_cast<size_t>(i)].IsSelected)
            ++count;
    return count;
}

bool C3DCurve::GetSelectedNumbers(std::vector<int32_t>& numbers) const
{
    numbers.clear();
    for (int32_t i = 1; i <= m_controlsCount; ++i)
        if (mControls[static_cast<size_t>(i)].IsSelected)
            numbers.push_back(i);
    return !numbers.empty();
}

void C3DCurve::SetControlsSelection(bool selected)
{
    for (int32_t i = 1; i <= m_controlsCount; ++i)
        mControls[static_cast<size_t>(i)].IsSelected = selected;
}

void C3DCurve::SelectAllControls()
{
    SetControlsSelection(true);
}

void C3DCurve::UnselectAllControls()
{
    SetControlsSelection(false);
}

void C3DCurve::SelectVisibleControls()
{
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        ControlRecord& r = mControls[static_cast<size_t>(i)];
        r.IsSelected = r.Hide == 0;
    }
}

void C3DCurve::UnselectHiddenControls()
{
    for (int32_t i = 1; i <= m_controlsCount; ++i) {
        ControlRecord& r = mControls[static_cast<size_t>(i)];
        if (r.Hide != 0)
            r.IsSelected = false;
    }
}

// ---- Quick refresh ---------------------------------------------------------

void C3DCurve::QuickRefreshStart(bool reload)
{
    mQuickRefreshing = true;
    m_reloadCurveWhenDrawing = reload;
    ClearDrawSamples();
}

void C3DCurve::QuickRefreshStop()
{
    if (!mQuickRefreshing)
        return;
    mQuickRefreshing = false;
    m_reloadCurveWhenDrawing = false;
    ClearDrawSamples();
    m_listeners.Raise([this](I3DCurveEvents& l) { l.QuickRefreshStopped(*this); });
}

void C3DCurve::ClearDrawSamples()
{
    m_drawPositions.clear();
    m_drawSegments.clear();
    m_drawArrays.SamplesChanged();
}
