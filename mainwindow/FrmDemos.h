#pragma once

#include <QWidget>

// The demo browser: the demos of a folder, their notes, the chosen demo.
class FrmDemos : public QWidget
{
public:
    explicit FrmDemos(QWidget* owner);
    // Binds the browser to the main window.
    void Initialize(QWidget* mainWindow);
};
