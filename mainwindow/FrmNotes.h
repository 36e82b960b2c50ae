#pragma once

#include <QWidget>

// The notes window of the project: a tool window beside the main window.
class FrmNotes : public QWidget
{
public:
    explicit FrmNotes(QWidget* owner);
    // True when the notes hold text.
    bool HasContent() const;
};
