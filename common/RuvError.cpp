#include "RuvError.h"

RuvError::RuvError(int32_t number, QString description, QString source)
    : std::runtime_error((source + QStringLiteral(": ") + description).toStdString()),
      m_number(number), m_description(std::move(description)), m_source(std::move(source))
{
}

RuvError RuvError::Platform(int32_t number, QString source)
{
    return RuvError(number, PlatformDescription(number), std::move(source));
}

QString RuvError::PlatformDescription(int32_t number)
{
    switch (number) {
    case InvalidArgument: return QStringLiteral("Invalid procedure call or argument");
    case Overflow: return QStringLiteral("Overflow");
    case IndexOutOfRange: return QStringLiteral("Subscript out of range");
    case DivisionByZero: return QStringLiteral("Division by zero");
    case TypeMismatch: return QStringLiteral("Type mismatch");
    case InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case DuplicateKey: return QStringLiteral("This key is already associated with an element of this collection");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}
