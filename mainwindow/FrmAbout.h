#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

// The about box, shown first as the splash window: a frameless window
// with the program's picture. Armed (CloseAfterDelay(true)), it hides
// itself 2000 ms after it was shown or activated.
class FrmAbout : public QWidget
{
public:
    FrmAbout();

    void CloseAfterDelay(bool armed);
    bool IsArmed() const { return m_armed; }
    // The active game's name and version.
    void SetModInfos(const QString&, const QString&) {}
    // Shows the window modeless, owned by `owner` (nullptr for none).
    void ShowModeless(QWidget* owner);
    // The window's close timer (tmrClose).
    QTimer* CloseTimer() const { return m_tmrClose; }

protected:
    bool event(QEvent* e) override;

private:
    QLabel* m_picture;
    QTimer* m_tmrClose;
    bool m_armed = false;
};
