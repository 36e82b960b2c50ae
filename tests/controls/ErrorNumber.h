#pragma once

// The number of the RuvError a call raises (0 when it raises none), with
// its description and source when asked.

#include "RuvError.h"

#include <QString>

#include <cstdint>
#include <functional>

inline int32_t ErrorNumber(const std::function<void()>& f, QString* description = nullptr, QString* source = nullptr)
{
    try {
        f();
    } catch (const RuvError& e) {
        if (description)
            *description = e.description();
        if (source)
            *source = e.source();
        return e.number();
    }
    return 0;
}
