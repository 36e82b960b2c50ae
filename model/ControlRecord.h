#pragma once

#include <QString>

#include <cstdint>

// One control point of a camera path, and also one frame of a sampled path.
// A default-constructed record is the "empty" record: every field 0 or empty
// (what the spare slots of a curve's control array hold). A fresh control
// starts from NewControlRecord() instead.
struct ControlRecord
{
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    // Tangent 1 leaves this control towards the next one.
    float Tan1X = 0.0f;
    float Tan1Y = 0.0f;
    float Tan1Z = 0.0f;
    int32_t Tan1C = 0;  // bits of the 2D views (1, 2, 4) in which it was dragged
    // Tangent 2 arrives at the next control.
    float Tan2X = 0.0f;
    float Tan2Y = 0.0f;
    float Tan2Z = 0.0f;
    int32_t Tan2C = 0;
    // 0 in controls; in sampled frames the control that starts the frame's segment.
    int32_t SegmentNumber = 0;
    float Pitch = 0.0f;
    float Yaw = 0.0f;
    float Roll = 0.0f;
    // Look-at target; (0, 0, 0) means the control has none.
    double TargetX = 0.0;
    double TargetY = 0.0;
    double TargetZ = 0.0;
    float Timescale = 0.0f;
    float Fov = 0.0f;
    uint8_t Hide = 0;  // 0 or 1
    float WglAmp = 0.0f;
    int32_t WglFreq = 0;
    bool IsSelected = false;
    double Time = 0.0;  // seconds of game time
    QString Command;

    bool operator==(const ControlRecord&) const = default;
};

// A control as the editing operations create it: all zero but a timescale
// of 1 and a field of view of 90 degrees.
inline ControlRecord NewControlRecord()
{
    ControlRecord r;
    r.Timescale = 1.0f;
    r.Fov = 90.0f;
    return r;
}

// The numbers by which the tagged value getter and setter, the point grid
// and the editing tools address the fields of a control.
enum class ControlPropertyId : int32_t {
    X = 1,
    Y = 2,
    Z = 3,
    Pitch = 4,
    Yaw = 5,
    Roll = 6,
    Fov = 7,
    Timescale = 8,
    Hide = 9,
    WglAmp = 10,
    WglFreq = 11,
    Tan1X = 12,
    Tan1Y = 13,
    Tan1Z = 14,
    Tan1C = 15,
    None = 16,
    Tan2X = 17,
    Tan2Y = 18,
    Tan2Z = 19,
    Tan2C = 20,
    Time = 21,
    TargetX = 22,
    TargetY = 23,
    TargetZ = 24,
    Command = 25,
};
