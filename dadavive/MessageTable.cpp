#include "MessageTable.h"

namespace Dadavive {

void MessageTable::Add(int32_t message)
{
    if (message == ALL_MESSAGES) {
        m_count = ALL_MESSAGES;
        return;
    }
    if (m_count == ALL_MESSAGES) {
        // A table of every message becomes a table of this one message.
        m_slots.assign(1, message);
        m_count = 1;
        return;
    }
    for (int32_t i = 0; i < m_count; ++i) {
        int32_t& slot = m_slots[static_cast<size_t>(i)];
        if (slot == message)
            return;
        if (slot == ALL_MESSAGES) {
            slot = message;
            return;
        }
    }
    // Slots past the count are stale (left by emptying the table): they are
    // dropped rather than brought back to life by the growth.
    m_slots.resize(static_cast<size_t>(m_count));
    m_slots.push_back(message);
    m_count = static_cast<int32_t>(m_slots.size());
}

void MessageTable::Remove(int32_t message)
{
    if (message == ALL_MESSAGES) {
        m_count = 0;
        m_slots.clear();
        return;
    }
    if (m_count <= 0)
        return;
    for (int32_t i = 0; i < m_count; ++i) {
        int32_t& slot = m_slots[static_cast<size_t>(i)];
        if (slot == message) {
            slot = ALL_MESSAGES;
            return;
        }
    }
}

std::vector<int32_t> MessageTable::Slots() const
{
    if (m_count <= 0)
        return {};
    return std::vector<int32_t>(m_slots.begin(), m_slots.begin() + m_count);
}

}  // namespace Dadavive
