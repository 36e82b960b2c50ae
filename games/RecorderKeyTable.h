#pragma once

#include <QString>
#include <QStringList>

// The keys the recorder can bind, as its three key combos list them: 107
// rows, each with the text the user sees and, where it differs, the name
// the game's "bind" command takes. Groups of keys are parted by separator
// rows that name no key.
namespace RecorderKeys {

constexpr int kRowCount = 107;
inline const QString kSeparator = QStringLiteral("-----------");

// The texts of the rows, in order.
const QStringList& DisplayTexts();
// The bind name of each row where it differs from the row's text; empty
// where the text is the bind name (separators included).
const QStringList& KeyTable();
bool IsSeparator(int row);

// The row that shows a stored bind name: row 0 for an empty name; else the
// first row whose text equals the name without regard to case; else the
// first row whose bind name equals it exactly. -1 when none: a key the
// table does not list, shown as typed text.
int RowOfBind(const QString& bindName);

// The bind name of a combo's text: the bind name of the row whose text it
// is (without regard to case), or the text itself for an unlisted key;
// empty for an empty text.
QString BindOfText(const QString& text);

} // namespace RecorderKeys
