#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// One column of a point grid: its header, alignments, width, the
// control-point property it shows, whether it may be edited, its decimals
// and the value type of its cells. A plain record; the wrapper keeps the
// very objects its caller made, so they are shared, not copied.
class CFlexgridColumn
{
public:
    CFlexgridColumn() = default;

    // propertyId: a control-point property (1 to 25); -1 marks the
    // row-number column and anything below 1 a column without a property.
    // numberFormatDecimal -1: not a formatted number. valueType: the
    // tagged value type of the cells (1 none, 4 single, 8 text, ...).
    void Initialize(const QString& caption, int32_t headerAlignment, int32_t cellAlignment, int16_t width,
                    int32_t propertyId, bool readOnly, int16_t numberFormatDecimal, int32_t valueType);
    // A new column with these fields; callable on any column, which it
    // leaves as it is.
    static std::shared_ptr<CFlexgridColumn> NewColumn(const QString& caption, int32_t headerAlignment,
                                                      int32_t cellAlignment, int16_t width, int32_t propertyId,
                                                      bool readOnly, int16_t numberFormatDecimal,
                                                      int32_t valueType);

    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption) { m_caption = caption; }
    int32_t HeaderAlignment() const { return m_headerAlignment; }
    void SetHeaderAlignment(int32_t alignment) { m_headerAlignment = alignment; }
    int32_t CellAlignment() const { return m_cellAlignment; }
    void SetCellAlignment(int32_t alignment) { m_cellAlignment = alignment; }
    // In pixels.
    int16_t Width() const { return m_width; }
    void SetWidth(int16_t width) { m_width = width; }
    int32_t PropertyId() const { return m_propertyId; }
    void SetPropertyId(int32_t id) { m_propertyId = id; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    int16_t NumberFormatDecimal() const { return m_numberFormatDecimal; }
    void SetNumberFormatDecimal(int16_t decimals) { m_numberFormatDecimal = decimals; }
    int32_t ValueType() const { return m_valueType; }
    void SetValueType(int32_t type) { m_valueType = type; }

private:
    QString m_caption;
    int32_t m_headerAlignment = 0;
    int32_t m_cellAlignment = 0;
    int16_t m_width = 0;
    int32_t m_propertyId = 0;
    bool m_readOnly = false;
    int16_t m_numberFormatDecimal = 0;
    int32_t m_valueType = 0;
};
