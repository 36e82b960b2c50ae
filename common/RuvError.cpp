#include "RuvError.h"

RuvError::RuvError(int32_t number, QString description, QString source)
    : std::runtime_error((source + QStringLiteral(": ") + description).toStdString()),
      m_number(number), m_description(std::move(description)), m_source(std::move(source))
{
}
