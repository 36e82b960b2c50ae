#pragma once

// The notes of the project: a small fixed tool window with one text box,
// whose text is the project's comment. The main window makes it once,
// sets and reads its Content with the project, and shows it beside itself
// from File > Notes, F2, a project that has notes, and its first paint.

#include "ComTypes.h"

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class WindowEvents;

namespace Dadavive {
class ICSubclass;
}

class FrmNotes : public QWidget
{
    Q_OBJECT

public:
    // Where ShowBeside places the window.
    enum Placement { PlaceAlways, PlaceUnlessMoved, PlaceNever };

    explicit FrmNotes(QWidget* owner);
    ~FrmNotes() override;

    // True once the user has moved the window; it stays so.
    bool Moved() const { return m_moved; }
    // Moves the window's frame to left, top (twips). When the user had not
    // moved it before, Moved afterwards equals `moved`: this move alone is
    // no user move unless the caller says so.
    void SetPosition(float left, float top, bool moved);
    // Shows the window with the modality and owner; a window the user had
    // not moved stays not moved.
    void ShowEx(bool modal, QWidget* owner);
    // The notes with CR LF line breaks; setting it replaces the text and
    // raises ContentChanged, as typing does.
    QString Content() const;
    void SetContent(const QString& text);
    // True when the notes hold a character besides their CR LF pairs.
    bool HasContent() const;

    // Places the window beside the main window (to its left when there is
    // room, else over its top-left part) unless the mode says not to, and
    // shows it modeless with the main window as owner.
    void ShowBeside(QWidget* mainWindow, Placement mode);

    QPlainTextEdit* TextBox() const { return m_txtContent; }

signals:
    void ContentChanged();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormSc_Move();

    QPlainTextEdit* m_txtContent;
    Com::ComPtr<WindowEvents> m_events;
    Com::ComPtr<Dadavive::ICSubclass> FormSc;
    // The frame position the program last put the window at.
    QPoint m_placedAt;
    bool m_placing = false;
    bool m_moved = false;
};
