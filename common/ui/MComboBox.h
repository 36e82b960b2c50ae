#pragma once

#include <QString>

#include <cstdint>

class QComboBox;
class QLineEdit;

// What the program's windows do to drop-down combo boxes beyond their own
// properties: the edit part, the height and width of the dropped list,
// searches by text and a selection kept within the list.
namespace MComboBox
{
// The edit part of an editable combo box, nullptr otherwise.
QLineEdit* GetComboInfo(QComboBox* combo);
// Gives the dropped list that height (in twips, the unit of the program's
// forms), at least one row and no more than the screen holds, and makes it
// wide enough for its longest text.
void FitDropDown(QComboBox* combo, float listHeightTwips);
// Nothing to reserve in Qt's model; false only for a negative count.
bool InitStorage(QComboBox* combo, std::int32_t itemCount, std::uint8_t bytesPerItem);
// The first item whose whole text equals the text without regard to case,
// -1 when none.
std::int32_t FindExact(QComboBox* combo, const QString& text);
// The first item after startAfter (-1: from the first) whose text begins
// with the text without regard to case, the search going round the list
// once; -1 when none.
std::int32_t FindPrefix(QComboBox* combo, const QString& text, std::int32_t startAfter = -1);
// Selects the exact match, or item 0 when there is none; returns the match,
// -1 when none or when the list is empty (which is left unchanged).
std::int32_t SelectByText(QComboBox* combo, const QString& text);
// Selects the index clamped to the list and returns it; -1 for an empty list.
std::int32_t SetListIndexBounded(QComboBox* combo, std::int32_t index);
}
