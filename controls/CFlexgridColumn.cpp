#include "CFlexgridColumn.h"

void CFlexgridColumn::Initialize(const QString& caption, int32_t headerAlignment, int32_t cellAlignment,
                                 int16_t width, int32_t propertyId, bool readOnly, int16_t numberFormatDecimal,
                                 int32_t valueType)
{
    m_caption = caption;
    m_headerAlignment = headerAlignment;
    m_cellAlignment = cellAlignment;
    m_width = width;
    m_propertyId = propertyId;
    m_readOnly = readOnly;
    m_numberFormatDecimal = numberFormatDecimal;
    m_valueType = valueType;
}

std::shared_ptr<CFlexgridColumn> CFlexgridColumn::NewColumn(const QString& caption, int32_t headerAlignment,
                                                            int32_t cellAlignment, int16_t width,
                                                            int32_t propertyId, bool readOnly,
                                                            int16_t numberFormatDecimal, int32_t valueType)
{
    auto column = std::make_shared<CFlexgridColumn>();
    column->Initialize(caption, headerAlignment, cellAlignment, width, propertyId, readOnly, numberFormatDecimal,
                       valueType);
    return column;
}
