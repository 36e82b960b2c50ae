#pragma once

#include "DadaviveMessages.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Dadavive {

// One side (before or after) of the hook's message list. Count 0 means no
// message, ALL_MESSAGES (-1) every message; a slot holding -1 is a hole
// left by a removal, which the next added message fills.
class MessageTable
{
public:
    void Add(int32_t message);
    void Remove(int32_t message);

    int32_t Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    bool IsAll() const { return m_count == ALL_MESSAGES; }
    // The slots in use (1 to Count), holes included; empty for "all".
    std::vector<int32_t> Slots() const;

    bool Qualifies(int32_t message) const
    {
        if (m_count == 0)
            return false;
        if (m_count == ALL_MESSAGES)
            return true;
        if (message == ALL_MESSAGES)
            return false;  // a hole is no message
        for (int32_t i = 0; i < m_count; ++i)
            if (m_slots[static_cast<size_t>(i)] == message)
                return true;
        return false;
    }

private:
    std::vector<int32_t> m_slots;
    int32_t m_count = 0;
};

}  // namespace Dadavive
