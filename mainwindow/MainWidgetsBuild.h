#pragma once

// Small helpers that the two halves of MainWidgets share: a control made
// under its name with the English design caption.

#include "MRuvResource.h"

#include <QString>
#include <QWidget>

namespace MainWidgetsBuild {

// The English text of the string table (the design captions).
inline QString Text(int32_t id)
{
    return MRuvResource::GetResString(MRuvResource::LanguageEnglish, id);
}

// "name" or, for an element of a control array, "name(index)".
inline QString Name(const char* name, int index = -1)
{
    const QString base = QString::fromLatin1(name);
    return index < 0 ? base : base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

template <class W>
W* Make(QWidget* parent, const char* name, int index = -1)
{
    auto* w = new W(parent);
    w->setObjectName(Name(name, index));
    return w;
}

template <class W>
W* Make(QWidget* parent, const char* name, const QString& caption, int index = -1)
{
    W* w = Make<W>(parent, name, index);
    w->setText(caption);
    return w;
}

}  // namespace MainWidgetsBuild
