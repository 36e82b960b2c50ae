#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

// The one exception type of the program: a number, a description and the
// source that names the class and member ("C3DCurve.Value"). Handlers that
// face the user turn it into a message box.
class RuvError : public std::runtime_error
{
public:
    // Numbers of the platform layer that the program keeps.
    static constexpr int32_t InvalidArgument = 5;
    static constexpr int32_t Overflow = 6;
    static constexpr int32_t IndexOutOfRange = 9;
    static constexpr int32_t DivisionByZero = 11;
    static constexpr int32_t TypeMismatch = 13;
    static constexpr int32_t InvalidUseOfNull = 94;
    // A keyed list already holds an element under the key.
    static constexpr int32_t DuplicateKey = 457;
    // The program's own errors count up from here.
    static constexpr int32_t ErrorBase = static_cast<int32_t>(0x80040000u);

    RuvError(int32_t number, QString description, QString source);

    // An error of the platform layer with its usual description
    // ("Overflow", "Division by zero", ...).
    static RuvError Platform(int32_t number, QString source);
    // The usual description of a platform error number; "Application-defined
    // or object-defined error" for numbers without one.
    static QString PlatformDescription(int32_t number);

    int32_t number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const QString& source() const noexcept { return m_source; }

private:
    int32_t m_number;
    QString m_description;
    QString m_source;
};
