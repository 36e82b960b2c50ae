#include "CancelableDialog.h"

#include <QCloseEvent>

CancelableDialog::CancelableDialog(QWidget* parent) : QDialog(parent)
{
    setModal(true);
}

void CancelableDialog::fCloseForm(bool canceled)
{
    m_canceled = canceled;
    done(canceled ? QDialog::Rejected : QDialog::Accepted);
}

void CancelableDialog::reject()
{
    fCloseForm(true);
}

void CancelableDialog::closeEvent(QCloseEvent* event)
{
    // The close box cancels; the window stays for the caller to read.
    event->ignore();
    fCloseForm(true);
}
