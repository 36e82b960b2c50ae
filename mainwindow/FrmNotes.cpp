#include "FrmNotes.h"

FrmNotes::FrmNotes(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmNotes"));
    setWindowTitle(QStringLiteral("Notes"));
    resize(320, 240);
}

bool FrmNotes::HasContent() const
{
    return false;
}
