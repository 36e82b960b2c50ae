#pragma once

#include "ComTypes.h"

#include <QString>

#include <cstdint>

namespace Dadavive {

// A global atom named after the moment of its creation, used as a hot-key
// identifier: created with the object, deleted with it. Atoms of the same
// name share one number and a count of users, as the platform's atom table
// did; numbers lie in the string-atom range 0xC000 to 0xFFFF.
class CGlobalAtom
{
public:
    static constexpr Com::Guid IID = Com::MakeGuid("{BC3F8DDD-DDEC-4D40-8806-AF6942FD86AC}");

    CGlobalAtom();
    // An atom of a given name (tests, and the same-second case).
    explicit CGlobalAtom(const QString& name);
    ~CGlobalAtom();
    CGlobalAtom(const CGlobalAtom&) = delete;
    CGlobalAtom& operator=(const CGlobalAtom&) = delete;

    // The atom number; 0 when the table is full.
    int32_t Value() const { return m_value; }
    const QString& Name() const { return m_name; }

    // The number of users of an atom number (0 when it is not in use).
    static int UseCount(int32_t value);

private:
    QString m_name;
    int32_t m_value = 0;
};

}  // namespace Dadavive
