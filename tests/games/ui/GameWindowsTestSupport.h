#pragma once

#include "FocusTestWindow.h"
#include "GamesTempTree.h"
#include "MMsgBoxEx.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

// Types the path into a file dialog's name box and presses Enter, as a user
// would; an empty path presses Escape.
inline void AnswerFileDialog(QFileDialog* dialog, const QString& path)
{
    if (path.isEmpty()) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        return;
    }
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    // A dialog left open would hold the test for ever.
    const auto fail = [&](const char* why) {
        dialog->reject();
        QFAIL(why);
    };
    if (name == nullptr || view == nullptr)
        return fail("not the dialog's own widgets");
    // The folder is read in the background, and its arrival selects the
    // dialog's file name again: let it come before typing.
    if (!QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }, 5000))
        return fail("the dialog's folder never came");
    // The user types into the dialog once it is active, and clicks into it
    // when the window manager has given the focus back to the owner just as
    // the dialog came. While the name box has no focus, the dialog writes the
    // list's selection into it.
    const bool active = QTest::qWaitFor(
        [dialog] {
            if (!dialog->isActiveWindow()) {
                dialog->activateWindow();
                return false;
            }
            QTest::qWait(50);
            return dialog->isActiveWindow();
        },
        5000);
    if (!active)
        return fail("the dialog never became active");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, path);
    // The completion list would take the Enter.
    if (QCompleter* completer = name->completer(); completer && completer->popup()->isVisible())
        QTest::keyClick(completer->popup(), Qt::Key_Escape);
    if (name->text() != path)
        return fail("the typed name did not stay");
    QTest::keyClick(name, Qt::Key_Return);
}

// Answers the modal windows a control opens while a test waits inside
// their event loop: every message box is read and closed with a real click
// on its button; each file dialog is answered with the next pick.
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::Look);
        m_timer.start();
    }

    // "title|text" of every box in the order they came.
    QStringList boxes;
    // What each file dialog came up with.
    struct FileDialog
    {
        QString title;
        QString folder;
        QString file;
        QStringList filters;
    };
    QList<FileDialog> fileDialogs;
    // The answers to the file dialogs, one each, in turn: a path typed into
    // the dialog, or an empty text for Escape (also when none is left).
    std::deque<QString> picks;

private:
    void Look()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w == m_busy)
                continue;
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == MMsgBoxEx::BoxObjectName) {
                m_busy = box;
                // A box still shown after its click (a busy machine) is
                // clicked again, not counted again.
                if (!m_answered.contains(box)) {
                    m_answered << box;
                    boxes << box->windowTitle() + QLatin1Char('|') + box->text();
                }
                QAbstractButton* ok = box->buttons().value(0);
                if (ok != nullptr)
                    QTest::mouseClick(ok, Qt::LeftButton);
                m_busy = nullptr;
                return;
            }
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                m_busy = dialog;
                fileDialogs.append({dialog->windowTitle(), dialog->directory().absolutePath(),
                                    dialog->selectedFiles().value(0), dialog->nameFilters()});
                QString pick;
                if (!picks.empty()) {
                    pick = picks.front();
                    picks.pop_front();
                }
                AnswerFileDialog(dialog, pick);
                m_busy = nullptr;
                return;
            }
        }
    }

    QTimer m_timer;
    QPointer<QWidget> m_busy;
    QList<QPointer<QMessageBox>> m_answered;
};

// The member of a control array: object name plus its "index" property.
template <class T>
T* Member(QWidget* parent, const char* name, int index)
{
    for (T* w : parent->findChildren<T*>(QString::fromLatin1(name)))
        if (w->property("index").toInt() == index)
            return w;
    return nullptr;
}

// Opens a modal window as its caller does (exec(), or `open` when given),
// runs the test's steps inside its event loop and gives its result.
inline int RunModal(QDialog& dialog, const std::function<void()>& steps, const std::function<void()>& open = {})
{
    QTimer::singleShot(0, &dialog, [&] {
        if (!FocusTest::ShowActive(dialog, dialog.pos()))
            return dialog.done(-1);
        steps();
    });
    // A failed step must not leave the test waiting for ever.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&] { dialog.done(-1); });
    guard.start(20000);
    if (!open)
        return dialog.exec();
    open();
    return dialog.result();
}

// Picks a row of a combo box in its dropped list with the mouse.
inline void PickComboRow(QComboBox* combo, int row)
{
    FocusTest::Click(combo, Qt::LeftButton, QPoint(combo->width() - 6, combo->height() / 2));
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    // The list takes no release that comes within a double click of its opening.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    view->scrollTo(view->model()->index(row, 0));
    const QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_VERIFY(!view->isVisible());
}

// A settings store of the test's own while the object lives.
class PrivateRegistry
{
public:
    PrivateRegistry() { qputenv("RUVADIR_REGISTRY", m_dir.path().toUtf8()); }
    bool IsValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};
