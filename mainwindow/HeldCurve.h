#pragma once

#include "C3DCurveController.h"

#include <QString>

// A curve that an edit holds from one pointer event to the next: the pick
// under the pointer, the curve a drag or a camera edit works on. It is held
// as the object itself, never found again by its name: a project file may
// give two curves one name, and an edit must reach the curve it was started
// on and no other. The object counts only while the controller still lists
// it (a removal, an opened project or an undo step drops or replaces the
// curve objects), and only under the name it had when taken, so that a newer
// curve that happens to get the freed address is not edited in its place.
class HeldCurve
{
public:
    HeldCurve() = default;
    explicit HeldCurve(C3DCurve& curve) : m_curve(&curve), m_name(curve.Name()) {}

    // The curve, when the controller still holds it; null otherwise.
    C3DCurve* Find(const C3DCurveController* controller) const
    {
        // The list is asked before the object is touched: a dropped curve
        // is freed.
        if (!controller || controller->GetCurveIndex(m_curve) < 0 || m_curve->Name() != m_name)
            return nullptr;
        return m_curve;
    }
    // The name the curve had when it was taken; empty when none is held.
    const QString& Name() const { return m_name; }
    void Clear() { *this = HeldCurve(); }

private:
    C3DCurve* m_curve = nullptr;
    QString m_name;
};
