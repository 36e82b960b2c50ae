#include "MainControls.h"

#include "Dadavive.h"
#include "MainServices.h"

MainControls::MainControls() = default;
MainControls::~MainControls() = default;

void MainControls::CancelPendingEdits()
{
    if (m_textboxHandler)
        m_textboxHandler->CancelAll();
    if (mFramerateHandler)
        mFramerateHandler->CancelEditing();
}
