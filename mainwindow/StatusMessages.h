#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class IDialogs;
class QLabel;
class QTimer;
class QWidget;
struct MainState;

// The two status fields at the bottom of the main window, the number form
// of the window's values, and the one wrapper through which every message
// box of the window and its features is shown: with the program's icon,
// the window as owner and a blank before the title.
class StatusMessages : public QObject
{
public:
    StatusMessages(QLabel* middle, QLabel* right, QTimer* autoClear, IDialogs& dialogs, QWidget* owner,
                   const MainState& state);

    // With autoClear the text goes 1000 ms after the last such call.
    void fSetMiddleStatus(const QString& text, bool autoClear);
    void tmrMiddleStatusAutoClear_Timer();
    void fSetRightStatus(const QString& text);

    // The 3D camera's values in the middle field, cleared after 1000 ms.
    void fShowFovStatus();
    void fShowZFarStatus();
    void fShowMoveSpeedStatus();
    void fShowRollStatus();

    // Buttons + icon as the system's style values; the button pressed.
    int32_t fShowMessageBox(const QString& prompt, int32_t style, const QString& title);

    // Exactly `decimals` decimals, the user's decimal separator, a leading
    // zero, "-" for negatives, no grouping.
    static QString fFormatStatusNumber(double value, int16_t decimals);
    // Two decimals, a half to the even neighbour.
    static double fRound2(double value);

private:
    QLabel* m_middle;
    QLabel* m_right;
    QTimer* m_autoClear;
    IDialogs& m_dialogs;
    QWidget* m_owner;
    const MainState& m_state;
};
