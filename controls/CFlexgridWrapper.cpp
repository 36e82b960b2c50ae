#include "CFlexgridWrapper.h"

#include "C3DCurve.h"
#include "CTooltip.h"
#include "MCommon.h"
#include "MDisplayNumber.h"
#include "RuvError.h"

#include <algorithm>

namespace {

const QString kSource = QStringLiteral("CFlexgridWrapper.");

// Decimals enough to show the value exactly as its type holds it.
int ShortestDecimals(const TaggedValue& v)
{
    const double x = v.Number();
    for (int d = 0; d < 15; ++d) {
        const double rounded = MCommon::RoundToDecimals(x, d);
        if (v.type() == TaggedValue::Single ? static_cast<float>(rounded) == static_cast<float>(x) : rounded == x)
            return d;
    }
    return 15;
}

// The grid's own text of a value: texts unchanged, numbers in the user's
// form with the decimals they need.
QString GridText(const TaggedValue& v)
{
    if (v.IsText())
        return v.TextValue();
    if (v.IsBoolean())
        return v.BoolValue() ? QStringLiteral("True") : QStringLiteral("False");
    if (v.IsNumber())
        return MDisplayNumber::Format(v.Number(), ShortestDecimals(v));
    return QString();
}

} // namespace

// Holds the grid's Redraw off; the outermost bracket gives it back.
class CFlexgridWrapper::UpdateBracket
{
public:
    explicit UpdateBracket(CFlexgridWrapper& wrapper) : m_wrapper(wrapper) { m_wrapper.BeginUpdate(); }
    ~UpdateBracket() { m_wrapper.EndUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    CFlexgridWrapper& m_wrapper;
};

namespace {

// Holds the grid's drawing off and turns it on at the end, error or not.
class DrawingOff
{
public:
    explicit DrawingOff(IFlexgrid& grid) : m_grid(grid) { m_grid.SetDrawingEnabled(false); }
    ~DrawingOff() { m_grid.SetDrawingEnabled(true); }
    DrawingOff(const DrawingOff&) = delete;
    DrawingOff& operator=(const DrawingOff&) = delete;

private:
    IFlexgrid& m_grid;
};

} // namespace

CFlexgridWrapper::CFlexgridWrapper() = default;
CFlexgridWrapper::~CFlexgridWrapper() = default;

IFlexgrid* CFlexgridWrapper::LiveGrid() const
{
    return m_gridHasWindow && m_gridWindow.isNull() ? nullptr : m_grid;
}

IFlexgrid* CFlexgridWrapper::Grid() const
{
    return LiveGrid();
}

void CFlexgridWrapper::Initialize(IFlexgrid* grid, const Columns& columns)
{
    if (grid == nullptr)
        throw RuvError::Platform(RuvError::InvalidArgument, kSource + QStringLiteral("Initialize"));
    m_grid = grid;
    m_gridWindow = grid->hWnd();
    m_gridHasWindow = !m_gridWindow.isNull();
    m_columns.clear();
    m_columnIndexByProperty.clear();

    // The widest decimals of the columns, -1 once a column is no number.
    int16_t decimals = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::shared_ptr<CFlexgridColumn>& column = columns[i];
        if (!column)
            throw RuvError::Platform(RuvError::InvalidArgument, kSource + QStringLiteral("Initialize"));
        m_columns.push_back(column);
        const QString key = QString::number(column->PropertyId());
        if (m_columnIndexByProperty.contains(key))
            throw RuvError::Platform(RuvError::DuplicateKey, kSource + QStringLiteral("Initialize"));
        m_columnIndexByProperty.insert(key, static_cast<int32_t>(i));
        const int16_t d = column->NumberFormatDecimal();
        if (d == -1)
            decimals = -1;
        else if (decimals >= 0 && d > decimals)
            decimals = d;
    }
    m_headerTooltips = QStringList(static_cast<qsizetype>(columns.size()), QString());

    grid->SetFillStyle(1);
    grid->SetForeColor(GridForeColour);
    if (decimals >= 0)
        grid->SetEditDecimals(decimals);
    grid->SetEditNumericOnly(decimals >= 0);

    fInitializeFlexgridColumns();
    ClearSelection();
    SetColumnWidths();
    CreateHeaderTooltip();
}

void CFlexgridWrapper::fInitializeFlexgridColumns()
{
    if (m_columns.size() < 2)
        throw RuvError(static_cast<int32_t>(0x80040001u),
                       QStringLiteral("Invalid columns definition. The number of columns must be greater than "
                                      "the number of header columns."),
                       kSource + QStringLiteral("fInitializeFlexgridColumns"));
    IFlexgrid& g = *m_grid;
    g.Clear();
    g.SetCols(static_cast<int32_t>(m_columns.size()));
    g.SetFixedCols(1);
    // The fixed row is made while a second row exists.
    g.SetRows(2);
    g.SetFixedRows(1);
    g.SetRows(1);
    for (size_t k = 0; k < m_columns.size(); ++k) {
        const CFlexgridColumn& column = *m_columns[k];
        const auto col = static_cast<int32_t>(k);
        g.SetTextMatrix(0, col, column.Caption());
        g.SetFixedAlignment(col, column.HeaderAlignment());
        g.SetColAlignment(col, column.CellAlignment());
    }
}

void CFlexgridWrapper::SetColumnWidths()
{
    IFlexgrid* g = LiveGrid();
    if (g == nullptr)
        return;
    const int32_t cols = std::min<int32_t>(g->Cols(), static_cast<int32_t>(m_columns.size()));
    for (int32_t k = 0; k < cols; ++k)
        g->SetColWidth(k, m_columns[static_cast<size_t>(k)]->Width() * 15);
}

void CFlexgridWrapper::CreateHeaderTooltip()
{
    m_tooltip = std::make_unique<CTooltip>();
    m_tooltip->Create(m_grid->hWnd(), QString(), QString(), 300, 20000);
    m_tooltip->SetMargin(3, 3, 3, 3);
}

// ---- Selection ----------------------------------------------------------------

void CFlexgridWrapper::SetSelection(IFlexgrid::SelectionRange selection)
{
    IFlexgrid* g = LiveGrid();
    if (g == nullptr || g->Rows() < 1)
        return;
    const int32_t last = g->Rows() - 1;
    if (selection.FirstRow <= last)
        selection.LastRow = std::min(selection.LastRow, last);
    else
        selection.FirstRow = selection.LastRow = last;
    try {
        g->SetSelection(selection);
    } catch (const RuvError&) {
        // A block the grid cannot take leaves its selection as it is.
    }
}

void CFlexgridWrapper::ClearSelection()
{
    if (IFlexgrid* g = LiveGrid()) {
        g->SetCol(0);
        g->SetRow(0);
    }
}

void CFlexgridWrapper::SelectAllDataCells()
{
    IFlexgrid& g = *m_grid;
    if (g.Cols() <= g.FixedCols() || g.Rows() <= g.FixedRows())
        return;
    UpdateBracket bracket(*this);
    g.SetCol(g.FixedCols());
    g.SetRow(g.FixedRows());
    g.SetColSel(g.Cols() - 1);
    g.SetRowSel(g.Rows() - 1);
}

// ---- Columns ------------------------------------------------------------------

bool CFlexgridWrapper::HasProperty(int32_t property) const
{
    return MCommon::CollectionKeyExists(m_columnIndexByProperty, QString::number(property));
}

int32_t CFlexgridWrapper::PointProperty(int32_t column) const
{
    if (column < 0 || static_cast<size_t>(column) >= m_columns.size())
        throw RuvError::Platform(RuvError::IndexOutOfRange, kSource + QStringLiteral("PointProperty"));
    return m_columns[static_cast<size_t>(column)]->PropertyId();
}

int32_t CFlexgridWrapper::ColumnIndex(int32_t property) const
{
    return m_columnIndexByProperty.value(QString::number(property), -1);
}

int32_t CFlexgridWrapper::ColumnCount() const
{
    const IFlexgrid* g = LiveGrid();
    return g ? g->Cols() : 0;
}

bool CFlexgridWrapper::IsValidColumn(int32_t column) const
{
    return column >= 0 && column < ColumnCount() && static_cast<size_t>(column) < m_columns.size();
}

int32_t CFlexgridWrapper::ColumnDataType(int32_t column) const
{
    return IsValidColumn(column) ? m_columns[static_cast<size_t>(column)]->ValueType()
                                 : static_cast<int32_t>(TaggedValue::Null);
}

bool CFlexgridWrapper::IsColumnNumeric(int32_t column) const
{
    if (!IsValidColumn(column))
        return false;
    switch (m_columns[static_cast<size_t>(column)]->ValueType()) {
    case 2: case 3: case 4: case 5: case 6: case 14: case 17:
        return true;
    default:
        return false;
    }
}

// ---- Contents -----------------------------------------------------------------

QString CFlexgridWrapper::RowNumberText(int32_t row)
{
    return (QStringLiteral("  ") + MDisplayNumber::Format(row, 0)).right(3);
}

bool CFlexgridWrapper::IsPointRow(const C3DCurve& curve, int32_t row) const
{
    return row >= m_grid->FixedRows() && row < m_grid->Rows() && row <= curve.ControlsCount();
}

QString CFlexgridWrapper::CellText(const C3DCurve& curve, int32_t row, int32_t column) const
{
    const CFlexgridColumn& def = *m_columns[static_cast<size_t>(column)];
    const TaggedValue v = curve.value(row, def.PropertyId());
    if (IsColumnNumeric(column) && def.NumberFormatDecimal() >= 0 && v.IsNumber())
        return MDisplayNumber::Format(v.Number(), def.NumberFormatDecimal());
    return GridText(v);
}

void CFlexgridWrapper::Reload(const C3DCurve* curve)
{
    IFlexgrid* g = LiveGrid();
    if (g == nullptr)
        return;
    DrawingOff drawing(*g);
    const IFlexgrid::SelectionRange selection = g->Selection();
    const int32_t n = curve ? curve->ControlsCount() : 0;
    g->SetRows(g->FixedRows() + n);
    if (n > 0) {
        for (int32_t r = 1; r <= n; ++r)
            UpdateRow(curve, r);
        {
            UpdateBracket bracket(*this);
            ColourDataCells();
            ColourAlternateRows();
            ColourReadOnlyColumns();
        }
        SetSelection(selection);
    }
    SetColumnWidths();
    if (g->Rows() == g->FixedRows())
        ClearSelection();
}

void CFlexgridWrapper::UpdateRow(const C3DCurve* curve, int32_t row)
{
    IFlexgrid* g = LiveGrid();
    if (g == nullptr || curve == nullptr || !IsPointRow(*curve, row))
        return;
    g->SetTextMatrix(row, 0, RowNumberText(row));
    const int32_t cols = g->Cols();
    for (int32_t k = 1; k < cols; ++k) {
        const bool shown = static_cast<size_t>(k) < m_columns.size() && m_columns[static_cast<size_t>(k)]->PropertyId() >= 1;
        g->SetTextMatrix(row, k, shown ? CellText(*curve, row, k) : QString());
    }
}

void CFlexgridWrapper::UpdateCell(const C3DCurve* curve, int32_t row, int32_t property)
{
    IFlexgrid* g = LiveGrid();
    const int32_t k = ColumnIndex(property);
    if (g == nullptr || curve == nullptr || property < 1 || k < 0 || k >= g->Cols() || !IsPointRow(*curve, row))
        return;
    g->SetTextMatrix(row, k, CellText(*curve, row, k));
}

void CFlexgridWrapper::UpdateCells(const C3DCurve* curve, int32_t row, std::span<const int32_t> properties)
{
    for (const int32_t property : properties)
        if (property >= 0)
            UpdateCell(curve, row, property);
}

void CFlexgridWrapper::UpdateColumn(const C3DCurve* curve, int32_t property)
{
    IFlexgrid* g = LiveGrid();
    const int32_t k = ColumnIndex(property);
    if (g == nullptr || curve == nullptr || property < 1 || k < 0 || k >= g->Cols())
        return;
    const int32_t n = std::min(curve->ControlsCount(), g->Rows() - 1);
    DrawingOff drawing(*g);
    for (int32_t r = g->FixedRows(); r <= n; ++r)
        g->SetTextMatrix(r, k, CellText(*curve, r, k));
}

// ---- Colours ------------------------------------------------------------------

void CFlexgridWrapper::BeginUpdate()
{
    if (m_updateDepth == 0) {
        m_savedRedraw = m_grid->Redraw();
        m_grid->SetRedraw(false);
    }
    ++m_updateDepth;
}

void CFlexgridWrapper::EndUpdate()
{
    if (--m_updateDepth == 0)
        m_grid->SetRedraw(m_savedRedraw);
}

void CFlexgridWrapper::ColourDataCells()
{
    IFlexgrid& g = *m_grid;
    if (g.Rows() <= g.FixedRows())
        return;
    SelectAllDataCells();
    g.SetCellForeColor(TextColour);
}

void CFlexgridWrapper::ColourAlternateRows()
{
    // Each row gets its background once: a reload that keeps the colours
    // changes no cell, and the grid repaints none for them.
    IFlexgrid& g = *m_grid;
    for (int32_t r = g.FixedRows(); r < g.Rows(); ++r) {
        g.SelectRow(r, false);
        g.SetCellBackColor(r % 2 == 1 ? AlternateBackColour : BackColour);
    }
}

void CFlexgridWrapper::ColourReadOnlyColumns()
{
    UpdateBracket bracket(*this);
    const int32_t cols = std::min<int32_t>(m_grid->Cols(), static_cast<int32_t>(m_columns.size()));
    for (int32_t k = m_grid->FixedCols(); k < cols; ++k)
        if (m_columns[static_cast<size_t>(k)]->ReadOnly())
            ColourColumn(k, ReadOnlyTextColour);
}

void CFlexgridWrapper::ColourColumn(int32_t column, int32_t colour)
{
    IFlexgrid& g = *m_grid;
    if (g.Rows() <= g.FixedRows())
        return;
    g.SetCol(column);
    g.SetRow(1);
    g.SetRowSel(g.Rows() - 1);
    g.SetCellForeColor(colour);
}

// ---- Notifications ------------------------------------------------------------

void CFlexgridWrapper::SetHeaderTooltips(const QStringList& texts)
{
    if (texts.isEmpty())
        return;
    const qsizetype count = std::min(texts.size(), m_headerTooltips.size());
    for (qsizetype i = 0; i < count; ++i)
        m_headerTooltips[i] = texts[i];
    m_hoverColumn = -1;
    if (m_tooltip)
        m_tooltip->UpdateToolRectangleSize();
}

int32_t CFlexgridWrapper::FindHeaderColumn(float X, float Y) const
{
    const IFlexgrid* g = LiveGrid();
    if (g == nullptr || g->Rows() < 1 || Y > static_cast<float>(g->RowHeight(0)))
        return -1;
    for (int32_t k = 0; k < g->Cols(); ++k) {
        const auto left = static_cast<float>(g->ColPos(k));
        if (left <= X && X < left + static_cast<float>(g->ColWidth(k)))
            return k;
    }
    return -1;
}

void CFlexgridWrapper::Flexgrid_MouseMove(int32_t, int32_t, float X, float Y)
{
    if (!m_tooltip)
        return;
    const int32_t column = FindHeaderColumn(X, Y);
    if (column == -1) {
        if (m_hoverColumn != -1) {
            m_hoverColumn = -1;
            m_tooltip->SetText(QString());
        }
    } else if (column != m_hoverColumn) {
        m_hoverColumn = column;
        m_tooltip->SetText(column < m_headerTooltips.size() ? m_headerTooltips[column] : QString());
    }
}

void CFlexgridWrapper::Flexgrid_EditBeforeEnter(bool& Cancel)
{
    const IFlexgrid* g = LiveGrid();
    if (g == nullptr)
        return;
    const IFlexgrid::SelectionRange selection = g->Selection();
    for (int32_t k = selection.FirstColumn; k <= selection.LastColumn; ++k) {
        if (k >= 0 && static_cast<size_t>(k) < m_columns.size() && m_columns[static_cast<size_t>(k)]->ReadOnly()) {
            Cancel = true;
            return;
        }
    }
}
