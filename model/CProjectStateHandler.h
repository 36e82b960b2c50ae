#pragma once

#include "C3DCurveController.h"

#include <array>
#include <cstdint>
#include <memory>

// The undo and redo history of a project's curves: up to 51 clones of the
// curve controller, numbered 1 (oldest) to StateCount, one of them current.
// The history owns its clones and never touches the live controller; the
// states it hands out are to be copied from (C3DCurveController::Load),
// never changed.
class CProjectStateHandler
{
public:
    static constexpr int32_t MAX_STATE = 51;

    CProjectStateHandler() = default;
    CProjectStateHandler(const CProjectStateHandler&) = delete;
    CProjectStateHandler& operator=(const CProjectStateHandler&) = delete;

    void Clear();
    // Stores a clone of controller after the current state (cutting off any
    // redo states) and makes it current; on a full history the oldest state
    // goes. When cloning fails the history is left as it was.
    void Save(const C3DCurveController& controller);
    int32_t CurrentStateNumber() const { return mCurrentState; }
    int32_t StateCount() const { return mStateCount; }
    // One state back / forward; the state then current, or null (and
    // nothing changed) when there is none.
    const C3DCurveController* Undo();
    const C3DCurveController* Redo();
    // Null while the history is empty.
    const C3DCurveController* CurrentState() const;

private:
    int32_t mStateCount = 0;
    int32_t mCurrentState = 0;
    std::array<std::unique_ptr<C3DCurveController>, MAX_STATE> mStates;
};
