#pragma once

#include <QDialog>

// A modal window the caller keeps and opens again: every way out (OK,
// Cancel, Escape, the close box) only hides it, and Canceled says which way
// it was left, for the caller to read afterwards.
class CancelableDialog : public QDialog
{
    Q_OBJECT

public:
    // True after Cancel, Escape or the close box; false after OK.
    bool Canceled() const { return m_canceled; }

protected:
    explicit CancelableDialog(QWidget* parent);

    void fCloseForm(bool canceled);
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_canceled = false;
};
