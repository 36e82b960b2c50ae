#pragma once

#include <QString>

#include <cstdint>

// The state of one editor view: which view it is (its bit), which world
// axes it shows, its zoom step and size limits, the origin of a 2D view and
// three display options. The main window keeps one for each of its four
// views; project files and view presets store its text form.
//
// Axis indices are 0 for x, 1 for y and 2 for z. The view bits are 1, 2
// and 4 for the 2D views (x/y, x/z and y/z) and 8 for the 3D view. Origin
// components are addressed by 1 (horizontal) and 2 (vertical).
class CView
{
public:
    static constexpr int32_t ViewXY = 1;
    static constexpr int32_t ViewXZ = 2;
    static constexpr int32_t ViewYZ = 4;
    static constexpr int32_t View3D = 8;

    // Holds 0 and false everywhere until Initialize, Load or Deserialize.
    CView() = default;

    void Initialize(int32_t viewFlag, int32_t hAxis, int32_t vAxis, int32_t dAxis,
                    int32_t scaleIndex, int32_t minSize, int32_t maxSize,
                    bool showRuler, bool showGrid, bool enableAA);

    int32_t ScaleIndex() const { return m_scaleIndex; }
    void SetScaleIndex(int32_t value) { m_scaleIndex = value; }
    int32_t MinSize() const { return m_minSize; }
    int32_t MAXSIZE() const { return m_maxSize; }

    // Index 1 or 2; any other raises RuvError 9.
    float OnclickOrigin(int32_t index) const;
    void SetOnclickOrigin(int32_t index, float value);
    float CurrentOrigin(int32_t index) const;
    void SetCurrentOrigin(int32_t index, float value);

    bool ShowRuler() const { return m_showRuler; }
    void SetShowRuler(bool value) { m_showRuler = value; }
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool value) { m_showGrid = value; }
    bool EnableAA() const { return m_enableAA; }
    void SetEnableAA(bool value) { m_enableAA = value; }

    // Set only by Initialize, Load and the text form.
    int32_t HAxis() const { return m_hAxis; }
    int32_t VAxis() const { return m_vAxis; }
    int32_t DAxis() const { return m_dAxis; }
    int32_t ViewFlag() const { return m_viewFlag; }
    bool Is3D() const { return m_viewFlag == View3D; }

    void Load(const CView& source) { *this = source; }
    CView Clone() const { return *this; }

    // "v1;flag;h;v;d;scale;min;max;origin1;origin2;ruler;grid;aa", numbers
    // locale-free, Booleans -1 and 0.
    QString Serialize() const;
    // Reads the current ("v1;...") or the older six-field form. The older
    // form's numbers are read locale-free when invariantNumbers is true and
    // with the user's locale otherwise. False, with nothing changed, for a
    // text too short to be either, and for a current-form text whose view
    // bit, axes or sizes could not belong to any view.
    bool Deserialize(const QString& text, bool invariantNumbers = true);

    bool operator==(const CView&) const = default;

private:
    bool DeserializeCurrent(const QString& text);
    bool DeserializeOlder(const QString& text, bool invariantNumbers);
    void Normalize();

    int32_t m_hAxis = 0;
    int32_t m_vAxis = 0;
    int32_t m_dAxis = 0;
    int32_t m_viewFlag = 0;
    float m_onclickOrigin[2] = {0.0f, 0.0f};   // indices 1 and 2
    float m_currentOrigin[2] = {0.0f, 0.0f};   // indices 1 and 2
    int32_t m_scaleIndex = 0;
    int32_t m_minSize = 0;
    int32_t m_maxSize = 0;
    bool m_showRuler = false;
    bool m_showGrid = false;
    bool m_enableAA = false;
};
