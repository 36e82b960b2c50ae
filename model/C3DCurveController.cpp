#include "C3DCurveController.h"

#include "MXml.h"
#include "RuvError.h"

#include <pugixml.hpp>

#include <algorithm>
#include <exception>
#include <vector>

namespace {

const int32_t kControllerError = RuvError::ErrorBase + 1;

} // namespace

// ---- Event forwarding ----------------------------------------------------------
// Each slot reads the curve it holds; the events carry the curve, never the
// slot number.

void C3DCurveController::SlotForwarder::StepCountChanged(C3DCurve& /*curve*/, int32_t value)
{
    C3DCurve* c = owner->m_slots[static_cast<size_t>(slot)].get();
    if (c && !owner->mLoading)
        owner->Raise([&](I3DCurveControllerEvents& l) { l.StepCountChanged(*c, value); });
}

void C3DCurveController::SlotForwarder::StepRateChanged(C3DCurve& /*curve*/)
{
    C3DCurve* c = owner->m_slots[static_cast<size_t>(slot)].get();
    if (c && !owner->mLoading && !owner->mFramerateChanging)
        owner->Raise([&](I3DCurveControllerEvents& l) { l.StepRateChanged(c); });
}

void C3DCurveController::SlotForwarder::DurationChanged(C3DCurve& /*curve*/)
{
    C3DCurve* c = owner->m_slots[static_cast<size_t>(slot)].get();
    if (c && !owner->mLoading)
        owner->Raise([&](I3DCurveControllerEvents& l) { l.DurationChanged(*c); });
}

void C3DCurveController::SlotForwarder::ControlsCountChanged(C3DCurve& /*curve*/)
{
    C3DCurve* c = owner->m_slots[static_cast<size_t>(slot)].get();
    if (c && !owner->mLoading)
        owner->Raise([&](I3DCurveControllerEvents& l) { l.ControlsCountChanged(*c); });
}

void C3DCurveController::SlotForwarder::CurveChanged(C3DCurve& /*curve*/)
{
    C3DCurve* c = owner->m_slots[static_cast<size_t>(slot)].get();
    if (c && !owner->mLoading)
        owner->Raise([&](I3DCurveControllerEvents& l) { l.CurveChanged(*c); });
}

void C3DCurveController::SlotForwarder::QuickRefreshStopped(C3DCurve& /*curve*/)
{
    C3DCurve* c = owner->m_slots[static_cast<size_t>(slot)].get();
    if (c)
        owner->Raise([&](I3DCurveControllerEvents& l) { l.QuickRefreshStopped(*c); });
}

// ---- Life cycle ------------------------------------------------------------------

C3DCurveController::C3DCurveController()
{
    for (int32_t i = 0; i < MAX_CURVE; ++i) {
        m_forwarders[static_cast<size_t>(i)].owner = this;
        m_forwarders[static_cast<size_t>(i)].slot = i;
    }
}

C3DCurveController::~C3DCurveController()
{
    m_listeners.clear();
    DropAllCurves();
}

void C3DCurveController::AddListener(I3DCurveControllerEvents* listener)
{
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void C3DCurveController::RemoveListener(I3DCurveControllerEvents* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void C3DCurveController::SetGameType(int32_t v)
{
    mGameType = v;
    for (int32_t i = 0; i < mCurveCount; ++i)
        mCurves[static_cast<size_t>(i)]->SetGameType(mGameType);
}

// ---- Slots and list ----------------------------------------------------------------

bool C3DCurveController::IsValidCurveIndex(int32_t index) const
{
    return index >= 0 && index <= mCurveCount - 1;
}

void C3DCurveController::CheckCurveIndex(int32_t index) const
{
    if (!IsValidCurveIndex(index))
        throw RuvError(kControllerError, QStringLiteral("Invalid index : %1").arg(index),
                       QStringLiteral("C3DCurveController.Curves"));
}

int32_t C3DCurveController::FirstEmptySlot() const
{
    for (int32_t i = 0; i < MAX_CURVE; ++i)
        if (!m_slots[static_cast<size_t>(i)])
            return i;
    return -1;
}

C3DCurve& C3DCurveController::AttachCurve(std::unique_ptr<C3DCurve> curve)
{
    const int32_t slot = FirstEmptySlot();
    C3DCurve& c = *curve;
    c.AddListener(&m_forwarders[static_cast<size_t>(slot)]);
    m_slots[static_cast<size_t>(slot)] = std::move(curve);
    // A curve that arrives while the curves-change bracket is open joins it,
    // so that EndCurvesChange closes it with the others.
    if (mCurvesChanging)
        c.BeginChange();
    mCurves[static_cast<size_t>(mCurveCount)] = &c;
    ++mCurveCount;
    return c;
}

std::unique_ptr<C3DCurve> C3DCurveController::TakeCurve(C3DCurve* curve)
{
    for (int32_t s = 0; s < MAX_CURVE; ++s) {
        auto& slot = m_slots[static_cast<size_t>(s)];
        if (slot.get() == curve) {
            slot->RemoveListener(&m_forwarders[static_cast<size_t>(s)]);
            return std::move(slot);
        }
    }
    return nullptr;
}

void C3DCurveController::DropAllCurves()
{
    for (int32_t i = 0; i < MAX_CURVE; ++i) {
        auto& slot = m_slots[static_cast<size_t>(i)];
        if (slot) {
            slot->RemoveListener(&m_forwarders[static_cast<size_t>(i)]);
            slot.reset();
        }
    }
    mCurves.fill(nullptr);
    mCurveCount = 0;
}

void C3DCurveController::RaiseCurveCountChanged()
{
    if (!mCurveCountChanging)
        Raise([](I3DCurveControllerEvents& l) { l.CurveCountChanged(); });
}

// ---- Brackets -------------------------------------------------------------------------

void C3DCurveController::BeginCurvesChange()
{
    if (mCurvesChanging)
        return;
    mCurvesChanging = true;
    for (int32_t i = 0; i < mCurveCount; ++i)
        mCurves[static_cast<size_t>(i)]->BeginChange();
}

void C3DCurveController::EndCurvesChange()
{
    if (!mCurvesChanging)
        return;
    mCurvesChanging = false;
    for (int32_t i = 0; i < mCurveCount; ++i)
        mCurves[static_cast<size_t>(i)]->EndChange();
    Raise([](I3DCurveControllerEvents& l) { l.CurvesChanged(); });
}

void C3DCurveController::BeginCurvesQuickRefresh(bool reload)
{
    if (mQuickRefreshing)
        return;
    mQuickRefreshing = true;
    for (int32_t i = 0; i < mCurveCount; ++i)
        mCurves[static_cast<size_t>(i)]->QuickRefreshStart(reload);
}

void C3DCurveController::EndCurvesQuickRefresh()
{
    if (!mQuickRefreshing)
        return;
    mQuickRefreshing = false;
    for (int32_t i = 0; i < mCurveCount; ++i)
        mCurves[static_cast<size_t>(i)]->QuickRefreshStop();
    Raise([](I3DCurveControllerEvents& l) { l.CurvesQuickRefreshStopped(); });
}

void C3DCurveController::BeginLoad()
{
    ++mLoadDepth;
    mLoading = true;
}

void C3DCurveController::EndLoad()
{
    // An unmatched EndLoad must not leave a negative depth that would keep
    // the next BeginLoad from holding anything back.
    if (mLoadDepth > 0)
        --mLoadDepth;
    mLoading = mLoadDepth > 0;
}

void C3DCurveController::BeginCurveCountChange()
{
    mCurveCountChanging = true;
    mSavedCurveCount = mCurveCount;
}

void C3DCurveController::EndCurveCountChange()
{
    if (!mCurveCountChanging)
        return;
    mCurveCountChanging = false;
    if (mCurveCount != mSavedCurveCount)
        RaiseCurveCountChanged();
}

void C3DCurveController::BeginFramerateChange()
{
    mFramerateChanging = true;
}

void C3DCurveController::EndFramerateChange(bool raise)
{
    if (!mFramerateChanging)
        return;
    mFramerateChanging = false;
    if (raise && !mLoading)
        Raise([](I3DCurveControllerEvents& l) { l.StepRateChanged(nullptr); });
}

// ---- Curves -------------------------------------------------------------------------------

int32_t C3DCurveController::GetCurveIndex(const C3DCurve* curve) const
{
    if (!curve)
        return -1;
    for (int32_t i = 0; i < mCurveCount; ++i)
        if (mCurves[static_cast<size_t>(i)] == curve)
            return i;
    return -1;
}

C3DCurve& C3DCurveController::Add(const QString& name)
{
    if (mCurveCount >= MAX_CURVE)
        throw RuvError(kControllerError,
                       QStringLiteral("No more curve slot available. Cannot add a new curve"),
                       QStringLiteral("C3DCurveController.Add"));
    C3DCurve& c = AttachCurve(std::make_unique<C3DCurve>());
    SetCurveName(mCurveCount - 1, name);
    if (mCurveCount > 1) {
        // Only the first curve shows its helpers by default.
        c.SetShowArrow(false);
        c.SetShowTimes(false);
        c.SetShowTangent(false);
    }
    c.SetGameType(mGameType);
    RaiseCurveCountChanged();
    return c;
}

void C3DCurveController::Remove(int32_t index)
{
    CheckCurveIndex(index);
    C3DCurve* curve = mCurves[static_cast<size_t>(index)];
    for (int32_t i = index; i < mCurveCount - 1; ++i)
        mCurves[static_cast<size_t>(i)] = mCurves[static_cast<size_t>(i + 1)];
    mCurves[static_cast<size_t>(mCurveCount - 1)] = nullptr;
    --mCurveCount;
    for (int32_t i = 0; i < MAX_CURVE; ++i) {
        auto& slot = m_slots[static_cast<size_t>(i)];
        if (slot.get() == curve) {
            slot->RemoveListener(&m_forwarders[static_cast<size_t>(i)]);
            slot.reset();
            break;
        }
    }
    RaiseCurveCountChanged();
}

void C3DCurveController::Clear()
{
    DropAllCurves();
    RaiseCurveCountChanged();
}

std::unique_ptr<C3DCurveController> C3DCurveController::Clone() const
{
    auto copy = std::make_unique<C3DCurveController>();
    copy->Load(*this);
    return copy;
}

template <class BringCurves>
void C3DCurveController::LoadCurves(int32_t gameType, BringCurves&& bring)
{
    BeginLoad();
    BeginCurveCountChange();
    try {
        Clear();
        bring();
        SetGameType(gameType);
    } catch (...) {
        // The brackets close whatever happened, or the events they hold
        // back would stay lost for good.
        EndCurveCountChange();
        EndLoad();
        throw;
    }
    // The count event comes while still loading: loading holds back only
    // the curves' own events.
    EndCurveCountChange();
    EndLoad();
}

void C3DCurveController::Load(const C3DCurveController& source)
{
    if (&source == this)
        return;
    LoadCurves(source.mGameType, [&] {
        for (int32_t i = 0; i < source.mCurveCount; ++i)
            Add(QString()).Load(*source.mCurves[static_cast<size_t>(i)]);
    });
}

void C3DCurveController::Load(C3DCurveController&& source)
{
    if (&source == this)
        return;
    try {
        LoadCurves(source.mGameType, [&] {
            for (int32_t i = 0; i < source.mCurveCount; ++i)
                if (auto curve = source.TakeCurve(source.mCurves[static_cast<size_t>(i)]))
                    AttachCurve(std::move(curve)).FinishLoad();
        });
    } catch (...) {
        source.DropAllCurves();
        throw;
    }
    source.DropAllCurves();
}

int32_t C3DCurveController::CurveControlCount(int32_t index) const
{
    if (!IsValidCurveIndex(index))
        return 0;
    return mCurves[static_cast<size_t>(index)]->ControlsCount();
}

void C3DCurveController::SetCurvesControlsSelection(bool selected)
{
    for (int32_t i = 0; i < mCurveCount; ++i)
        mCurves[static_cast<size_t>(i)]->SetControlsSelection(selected);
}

int32_t C3DCurveController::CurvesSelectedControlCount() const
{
    int32_t sum = 0;
    for (int32_t i = 0; i < mCurveCount; ++i)
        sum += mCurves[static_cast<size_t>(i)]->SelectedCount();
    return sum;
}

void C3DCurveController::SetCurveName(int32_t index, const QString& name)
{
    CheckCurveIndex(index);
    C3DCurve& curve = *mCurves[static_cast<size_t>(index)];
    curve.SetName(name);
    const QString base = curve.Name();
    QString candidate = base;
    auto clashes = [&](const QString& text) {
        const QString lower = text.toLower();
        for (int32_t i = 0; i < mCurveCount; ++i)
            if (i != index && mCurves[static_cast<size_t>(i)]->Name().toLower() == lower)
                return true;
        return false;
    };
    for (uint32_t counter = 1; clashes(candidate); ++counter)
        candidate = base + QString::number(counter, 16).toUpper();
    curve.SetName(candidate);
}

bool C3DCurveController::FindCurveByName(const QString& name, C3DCurve*& curve)
{
    for (int32_t i = 0; i < mCurveCount; ++i) {
        if (mCurves[static_cast<size_t>(i)]->Name() == name) {
            curve = mCurves[static_cast<size_t>(i)];
            return true;
        }
    }
    curve = nullptr;
    return false;
}

bool C3DCurveController::FindCurveByName(const QString& name, const C3DCurve*& curve) const
{
    C3DCurve* found = nullptr;
    const bool ok = const_cast<C3DCurveController*>(this)->FindCurveByName(name, found);
    curve = found;
    return ok;
}

C3DCurve& C3DCurveController::Curves(int32_t index)
{
    CheckCurveIndex(index);
    return *mCurves[static_cast<size_t>(index)];
}

const C3DCurve& C3DCurveController::Curves(int32_t index) const
{
    CheckCurveIndex(index);
    return *mCurves[static_cast<size_t>(index)];
}

bool C3DCurveController::HasControl() const
{
    for (int32_t i = 0; i < mCurveCount; ++i)
        if (mCurves[static_cast<size_t>(i)]->ControlsCount() > 0)
            return true;
    return false;
}

// ---- Frame rate -----------------------------------------------------------------------------

bool C3DCurveController::IsFramerateValid(int32_t framerate) const
{
    if (framerate < 1)
        return false;
    for (int32_t i = 0; i < mCurveCount; ++i)
        if (framerate > mCurves[static_cast<size_t>(i)]->MaxStepRate())
            return false;
    return true;
}

int32_t C3DCurveController::MaxFramerate() const
{
    int32_t best = 0;
    for (int32_t i = 0; i < mCurveCount; ++i)
        best = std::max(best, mCurves[static_cast<size_t>(i)]->MaxStepRate());
    return best;
}

bool C3DCurveController::SetFramerate(int32_t framerate)
{
    BeginFramerateChange();
    try {
        for (int32_t i = 0; i < mCurveCount; ++i) {
            C3DCurve& c = *mCurves[static_cast<size_t>(i)];
            if (c.StepRate() != framerate)
                c.SetStepRate(framerate);
        }
    } catch (...) {
        EndFramerateChange(false);
        throw;
    }
    EndFramerateChange(true);
    return true;
}

// ---- Project file -------------------------------------------------------------------------------

void C3DCurveController::Serialize(pugi::xml_document& doc, pugi::xml_node& parent) const
{
    pugi::xml_node curves = parent.append_child("Curves");
    try {
        for (int32_t i = 0; i < mCurveCount; ++i)
            mCurves[static_cast<size_t>(i)]->Serialize(doc, curves, QStringLiteral("Curve"));
    } catch (...) {
        parent.remove_child(curves);
        throw;
    }
}

bool C3DCurveController::Deserialize(const pugi::xml_node& node, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };

    MXml::XmlNodeList nodes;
    try {
        MXml::XmlTrySelectNodes(node, QStringLiteral("Curves/Curve"), nodes);
    } catch (const RuvError& e) {
        return fail(e.description());
    }
    // Everything is read into curves of our own first: a damaged file must
    // leave the user's curves exactly as they were.
    if (nodes.size() > static_cast<size_t>(MAX_CURVE))
        return fail(QStringLiteral("The project holds %1 curves; at most %2 are allowed.")
                        .arg(QString::number(nodes.size()), QString::number(MAX_CURVE)));
    std::array<std::unique_ptr<C3DCurve>, MAX_CURVE> read;
    try {
        for (size_t i = 0; i < nodes.size(); ++i) {
            QString curveError;
            read[i] = C3DCurve::FromElement(nodes[i], mGameType, &curveError);
            if (!read[i])
                return fail(curveError);
        }
    } catch (const RuvError& e) {
        return fail(e.description());
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }

    // Hand the curves over. The count bracket is ours only when the caller
    // has none open; then it always closes here.
    const bool ownBracket = !mCurveCountChanging;
    if (ownBracket)
        BeginCurveCountChange();
    Clear();
    for (size_t i = 0; i < nodes.size(); ++i)
        AttachCurve(std::move(read[i]));
    if (ownBracket)
        EndCurveCountChange();
    return true;
}
