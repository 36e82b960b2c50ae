#include "CProjectStateHandler.h"

#include <utility>

void CProjectStateHandler::Clear()
{
    for (auto& state : mStates)
        state.reset();
    mStateCount = 0;
    mCurrentState = 0;
}

void CProjectStateHandler::Save(const C3DCurveController& controller)
{
    // Clone first: when it fails the history stays as it was.
    std::unique_ptr<C3DCurveController> clone = controller.Clone();

    int32_t n = mCurrentState + 1;
    for (int32_t i = n; i <= mStateCount; ++i)
        mStates[static_cast<size_t>(i - 1)].reset();
    if (n > MAX_STATE) {
        mStates[0].reset();
        for (int32_t i = 1; i < MAX_STATE; ++i)
            mStates[static_cast<size_t>(i - 1)] = std::move(mStates[static_cast<size_t>(i)]);
        n = MAX_STATE;
    }
    mStateCount = n;
    mCurrentState = n;
    mStates[static_cast<size_t>(n - 1)] = std::move(clone);
}

const C3DCurveController* CProjectStateHandler::Undo()
{
    if (mCurrentState < 2)
        return nullptr;
    --mCurrentState;
    return mStates[static_cast<size_t>(mCurrentState - 1)].get();
}

const C3DCurveController* CProjectStateHandler::Redo()
{
    if (mCurrentState >= mStateCount)
        return nullptr;
    ++mCurrentState;
    return mStates[static_cast<size_t>(mCurrentState - 1)].get();
}

const C3DCurveController* CProjectStateHandler::CurrentState() const
{
    if (mCurrentState < 1)
        return nullptr;
    return mStates[static_cast<size_t>(mCurrentState - 1)].get();
}
