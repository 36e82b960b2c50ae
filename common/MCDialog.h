#pragma once

#include <QString>
#include <QStringList>

// The filter text of the file dialogs.
namespace MCDialog {

// Pairs of (description, ";"-separated extensions), e.g. ("Scripts",
// "cfg;txt"), become "Scripts (*.cfg;*.txt)|*.cfg;*.txt|"; an odd last
// argument is dropped. Of an extension listed twice only the last stays.
QString BuildFilter(const QStringList& pairs);

template <typename... Texts>
QString BuildFilter(const Texts&... texts)
{
    return BuildFilter(QStringList{QString(texts)...});
}

} // namespace MCDialog
