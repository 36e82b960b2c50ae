#include "FrmDemos.h"

FrmDemos::FrmDemos(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmDemos"));
    setWindowTitle(QStringLiteral("Demos"));
    resize(300, 200);
}

void FrmDemos::Initialize(QWidget*)
{
}
