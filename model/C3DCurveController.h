#pragma once

#include "C3DCurve.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace pugi {
class xml_document;
class xml_node;
}

class C3DCurveController;

// The events of a controller. The six curve events come with the curve that
// raised them as first argument; the other three speak for the whole set.
// Raised synchronously from inside the changing operation; the listener sees
// the state after the change. Override what you need.
class I3DCurveControllerEvents
{
public:
    virtual ~I3DCurveControllerEvents() = default;
    virtual void CurveCountChanged() {}
    virtual void StepCountChanged(C3DCurve& /*curve*/, int32_t /*value*/) {}
    // curve is null when it comes from EndFramerateChange (all curves).
    virtual void StepRateChanged(C3DCurve* /*curve*/) {}
    virtual void DurationChanged(C3DCurve& /*curve*/) {}
    virtual void ControlsCountChanged(C3DCurve& /*curve*/) {}
    virtual void CurvesChanged() {}
    virtual void CurveChanged(C3DCurve& /*curve*/) {}
    virtual void CurvesQuickRefreshStopped() {}
    virtual void QuickRefreshStopped(C3DCurve& /*curve*/) {}
};

// The camera paths of one project: an ordered list of at most 20 curves,
// named uniquely (without regard to case), all of the project's game type.
// It owns its curves. Not copyable: Clone makes an independent copy (own
// curves, no listeners), Load copies another controller's curves in.
class C3DCurveController
{
public:
    static constexpr int32_t MAX_CURVE = 20;

    C3DCurveController();
    ~C3DCurveController();
    C3DCurveController(const C3DCurveController&) = delete;
    C3DCurveController& operator=(const C3DCurveController&) = delete;

    void AddListener(I3DCurveControllerEvents* listener);
    void RemoveListener(I3DCurveControllerEvents* listener);

    int32_t GameType() const { return mGameType; }
    // Stores the value and gives it to every curve, in list order.
    void SetGameType(int32_t v);

    // Appends the element Curves (one Curve element per curve, in list
    // order; empty without curves) as the last child of parent.
    void Serialize(pugi::xml_document& doc, pugi::xml_node& parent) const;
    // Replaces all curves by those of "Curves/Curve" under node (the node
    // Serialize was given), with the controller's game type. Everything is
    // read and checked first: a damaged curve or more than 20 curves gives
    // false, a message in `error`, and leaves the curves exactly as they
    // were, without any event. Names are taken as the file has them. Raises
    // CurveCountChanged once when the count differs, unless the caller holds
    // the curve-count bracket open (it stays open then).
    bool Deserialize(const pugi::xml_node& node, QString* error = nullptr);

    void BeginCurvesChange();
    void EndCurvesChange();
    bool CurvesChanging() const { return mCurvesChanging; }
    void BeginCurvesQuickRefresh(bool reload);
    void EndCurvesQuickRefresh();

    // The index of that very object in the list; -1 when null or absent.
    int32_t GetCurveIndex(const C3DCurve* curve) const;
    // A new curve at the end of the list, named uniquely from name. With 20
    // curves raises 0x80040001 "No more curve slot available. Cannot add a
    // new curve" and changes nothing.
    C3DCurve& Add(const QString& name);
    // Index errors (0x80040001 "Invalid index : <index>", source
    // "C3DCurveController.Curves") are raised before anything changes.
    void Remove(int32_t index);
    void Clear();
    std::unique_ptr<C3DCurveController> Clone() const;
    // Load depth: never goes below zero.
    void BeginLoad();
    void EndLoad();
    bool IsLoading() const { return mLoading; }
    // Replaces all curves by copies of the source's (names, flags and data
    // as they are) and takes its game type; raises at most one
    // CurveCountChanged and none of the curves' events. Always closes the
    // curve-count bracket, also one the caller had open.
    void Load(const C3DCurveController& source);
    // The same, taking the source's curves themselves: the curves, values
    // and events are those of a copy, and the source is left empty.
    void Load(C3DCurveController&& source);
    static int32_t MaxCurveCount() { return MAX_CURVE; }
    bool CanAddCurve() const { return mCurveCount < MAX_CURVE; }
    void BeginCurveCountChange();
    void EndCurveCountChange();
    bool CurveCountChanging() const { return mCurveCountChanging; }
    // 0 for an invalid index.
    int32_t CurveControlCount(int32_t index) const;
    void SetCurvesControlsSelection(bool selected);
    int32_t CurvesSelectedControlCount() const;
    // Renames keeping names unique: a clash (case ignored) with another
    // curve appends 1, 2, ... 9, A, ... F, 10 ... in upper-case hex.
    void SetCurveName(int32_t index, const QString& name);
    // The first curve whose name equals name exactly (case counts); curve
    // is null and the result false when there is none.
    bool FindCurveByName(const QString& name, C3DCurve*& curve);
    bool FindCurveByName(const QString& name, const C3DCurve*& curve) const;
    C3DCurve& Curves(int32_t index);
    const C3DCurve& Curves(int32_t index) const;
    int32_t CurveCount() const { return mCurveCount; }
    bool HasControl() const;
    void BeginFramerateChange();
    void EndFramerateChange(bool raise);
    bool IsFramerateValid(int32_t framerate) const;
    int32_t MaxFramerate() const;
    bool SetFramerate(int32_t framerate);

private:
    // Forwards the six events of the curve held in one slot.
    class SlotForwarder : public I3DCurveEvents
    {
    public:
        C3DCurveController* owner = nullptr;
        int32_t slot = 0;
        void StepCountChanged(C3DCurve& curve, int32_t value) override;
        void StepRateChanged(C3DCurve& curve) override;
        void DurationChanged(C3DCurve& curve) override;
        void ControlsCountChanged(C3DCurve& curve) override;
        void CurveChanged(C3DCurve& curve) override;
        void QuickRefreshStopped(C3DCurve& curve) override;
    };

    bool IsValidCurveIndex(int32_t index) const;
    void CheckCurveIndex(int32_t index) const;
    int32_t FirstEmptySlot() const;
    // Puts an owned curve into the lowest empty slot and at the end of the
    // list, subscribed; the common step of Add and of handing read curves
    // over.
    C3DCurve& AttachCurve(std::unique_ptr<C3DCurve> curve);
    // Empties every slot and the list, raising nothing.
    void DropAllCurves();
    // Out of its slot and free of the slot's forwarder; null for a curve
    // this controller does not hold.
    std::unique_ptr<C3DCurve> TakeCurve(C3DCurve* curve);
    // Both Loads: the brackets around replacing every curve with what
    // `bring` attaches, and the game type.
    template <class BringCurves>
    void LoadCurves(int32_t gameType, BringCurves&& bring);
    void RaiseCurveCountChanged();

    template <class F>
    void Raise(F&& f)
    {
        if (m_listeners.empty())
            return;
        const std::vector<I3DCurveControllerEvents*> snapshot = m_listeners;
        for (I3DCurveControllerEvents* l : snapshot)
            f(*l);
    }

    int32_t mCurveCount = 0;
    bool mCurvesChanging = false;
    bool mQuickRefreshing = false;
    std::array<C3DCurve*, MAX_CURVE> mCurves{};
    bool mCurveCountChanging = false;
    int32_t mSavedCurveCount = 0;
    bool mFramerateChanging = false;
    int32_t mLoadDepth = 0;
    bool mLoading = false;
    int32_t mGameType = 0;
    // The event slots: each owns its curve and listens to it.
    std::array<std::unique_ptr<C3DCurve>, MAX_CURVE> m_slots;
    std::array<SlotForwarder, MAX_CURVE> m_forwarders;
    std::vector<I3DCurveControllerEvents*> m_listeners;
};
