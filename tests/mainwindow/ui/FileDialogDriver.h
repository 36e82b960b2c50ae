#pragma once

// Drives the program's own file dialogs (those of the dialogs service) as a
// user would: waits for the dialog, fills in its name box and presses its
// accept button.

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace Harness {

inline QFileDialog* OpenFileDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

// Runs the steps on the file dialog once it is shown.
inline void OnFileDialog(std::function<void(QFileDialog*)> steps)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        if (QFileDialog* d = OpenFileDialog()) {
            poll->stop();
            poll->deleteLater();
            steps(d);
        }
    });
    poll->start(20);
}

// Fills in the name; the dialog's accept button, or null when it is
// disabled for that name.
inline QPushButton* TypeFileName(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!edit || !buttons)
        return nullptr;
    // Set, not typed: the name completer's list would open over the dialog.
    edit->setText(name);
    QPushButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                           : QDialogButtonBox::Open);
    return accept && accept->isEnabled() ? accept : nullptr;
}

// Fills in the name and presses the accept button; the dialog is left when
// that cannot be done, so that the test goes on to its checks.
inline void ChooseFileName(QFileDialog* dialog, const QString& name)
{
    if (QPushButton* accept = TypeFileName(dialog, name))
        accept->click();
    else
        dialog->reject();
}

// Types the name key by key into the focused name box, as the user does
// (the dialog then leaves the text as typed), and presses the accept
// button.
inline void TypeAndChooseFileName(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit || !QTest::qWaitForWindowActive(dialog)) {
        dialog->reject();
        return;
    }
    edit->setFocus();
    if (!QTest::qWaitFor([edit] { return edit->hasFocus(); })) {
        dialog->reject();
        return;
    }
    edit->clear();
    QTest::keyClicks(edit, name);
    ChooseFileName(dialog, edit->text());
}

}  // namespace Harness
