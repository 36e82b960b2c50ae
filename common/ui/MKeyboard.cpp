#include "MKeyboard.h"

#include "RuvError.h"
#include "X11Keys.h"

#include <limits>

namespace MKeyboard
{
std::vector<KeyInput> BuildKeyInputs(std::int16_t scanCode, std::int32_t virtualKey,
                                     std::int32_t flags, std::int32_t action)
{
    if (virtualKey < std::numeric_limits<std::int16_t>::min() ||
        virtualKey > std::numeric_limits<std::uint16_t>::max())
        throw RuvError(RuvError::Overflow, QStringLiteral("Overflow"),
                       QStringLiteral("MKeyboard.SendKey"));
    KeyInput down;
    down.virtualKey = static_cast<std::uint16_t>(virtualKey);
    down.scanCode = static_cast<std::uint16_t>(scanCode);
    down.flags = static_cast<std::uint32_t>(flags);
    KeyInput up = down;
    up.flags |= FlagKeyUp;
    switch (action) {
    case ActionDown: return {down};
    case ActionUp: return {up};
    case ActionPress: return {down, up};
    default: return {};
    }
}

std::int32_t SendInputs(const std::vector<KeyInput>& inputs)
{
    std::int32_t taken = 0;
    for (const KeyInput& input : inputs) {
        if (input.type != InputKeyboard)
            continue;
        const bool press = (input.flags & FlagKeyUp) == 0;
        const bool extended = (input.flags & FlagExtendedKey) != 0;
        bool ok = false;
        if ((input.flags & FlagUnicode) != 0)
            ok = X11Keys::SendKeysym(X11Keys::KeysymForCharacter(input.scanCode), press, true);
        else if ((input.flags & FlagScanCode) != 0)
            ok = X11Keys::SendKeycode(X11Keys::KeycodeForScanCode(input.scanCode, extended), press);
        else
            ok = X11Keys::SendKeysym(X11Keys::KeysymForVirtualKey(input.virtualKey, extended), press);
        if (ok)
            ++taken;
    }
    return taken;
}

bool SendKey(std::int16_t scanCode, std::int32_t virtualKey, std::int32_t flags, std::int32_t action)
{
    return SendInputs(BuildKeyInputs(scanCode, virtualKey, flags, action)) > 0;
}
}
