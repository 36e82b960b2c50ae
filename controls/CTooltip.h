#pragma once

// One tooltip for one window of the program (a control or a grid): a plain
// box or (style 1) a balloon with a stem and an optional bold title, with
// its own colours, margins and delay times, all changeable after creation.
// The tip's tool is the parent's whole client rectangle: the pointer
// resting on the parent or on any of its child widgets (a grid's headers
// and viewport) shows it.
//
// Until Create succeeds every setter only stores its value; Create applies
// them. Colours are 0xBBGGRR values; 0x800000nn names a system colour.

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>

class CTooltip : public QObject
{
    Q_OBJECT

public:
    // The tool flags of the tool record: the parent's events drive the tip,
    // and the tip stands centred below the tool.
    static constexpr std::uint32_t TTF_SUBCLASS = 0x10;
    static constexpr std::uint32_t TTF_CENTERTIP = 0x02;
    // The delay kinds of DelayTime.
    static constexpr std::int32_t TTDT_AUTOMATIC = 0;
    static constexpr std::int32_t TTDT_RESHOW = 1;
    static constexpr std::int32_t TTDT_AUTOPOP = 2;
    static constexpr std::int32_t TTDT_INITIAL = 3;
    static constexpr std::int32_t StyleBox = 0;
    static constexpr std::int32_t StyleBalloon = 1;
    static constexpr std::int32_t SysColorInfoText = static_cast<std::int32_t>(0x80000017u);
    static constexpr std::int32_t SysColorInfoBackground = static_cast<std::int32_t>(0x80000018u);

    explicit CTooltip(QObject* owner = nullptr);
    ~CTooltip() override;

    // Creates the tip window for the parent (nullptr: a tip that covers
    // nothing). False when this object already has a window, or when no
    // widget application runs; nothing changes then, and a later call may
    // try again.
    bool Create(QWidget* parentHwnd, const QString& text, const QString& title, std::int32_t initialDelay,
                std::int32_t visibleTime);
    // The tip window, nullptr before Create.
    QWidget* handle() const;

    QWidget* ParentHwnd() const { return m_parent; }
    void SetParentHwnd(QWidget* parentHwnd);
    const QString& Text() const { return m_text; }
    void SetText(const QString& text);
    std::int32_t Style() const { return m_style; }
    void SetStyle(std::int32_t style);
    bool Centered() const { return m_centered; }
    void SetCentered(bool centered);
    void ResetForeColor();
    std::int32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(std::int32_t colour);
    void ResetBackColor();
    std::int32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::int32_t colour);
    const QString& Title() const { return m_title; }
    // Stored trimmed; empty removes the title.
    void SetTitle(const QString& title);
    // Pixels between the tip's border and its text.
    void SetMargin(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom);
    void RemoveMargin();
    // The delay of that kind in milliseconds; 0 without a window.
    std::int32_t DelayTime(std::int32_t which) const;
    // -1 (any negative time) restores the default: the initial delay is
    // the double-click time, the visible time ten times and the reshow
    // delay a fifth of it. A time for TTDT_AUTOMATIC sets all three that
    // way from it.
    void SetDelayTime(std::int32_t which, std::int32_t milliseconds);
    void SetDefaultDelayTime(std::int32_t which);
    void SetDefaultDelayTimes();
    void Redraw();
    // The tool becomes the parent's current client rectangle; call it after
    // the parent changed size.
    void UpdateToolRectangleSize();

    // A 0x800000nn value becomes that system colour, anything else stays.
    static std::int32_t GetSysColor(std::int32_t colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TipWindow;
    enum class Phase { Idle, Waiting, Shown, Popped };

    void SendToolInfo();
    void Watch(QObject* object);
    void Unwatch();
    void Pointer(const QPoint& globalPos);
    void ShowTip();
    void HideTip(Phase next);
    void ApplyLook();
    std::int32_t Effective(std::int32_t which) const;

    QPointer<QWidget> m_parent;
    QString m_text;
    QString m_title;
    std::int32_t m_style = StyleBox;
    bool m_centered = false;
    std::int32_t m_foreColor = SysColorInfoText;
    std::int32_t m_backColor = SysColorInfoBackground;
    std::uint32_t m_toolFlags = TTF_SUBCLASS;
    QRect m_toolRect;
    QMargins m_margins;
    // -1: the default of that kind.
    std::int32_t m_initialDelay = -1;
    std::int32_t m_autopopDelay = -1;
    std::int32_t m_reshowDelay = -1;

    QPointer<TipWindow> m_window;
    // The parent as the tool record holds it (its events drive the tip).
    QPointer<QWidget> m_toolWindow;
    bool m_trackingWasOn = false;
    Phase m_phase = Phase::Idle;
    QPoint m_anchor;
    QTimer m_showTimer;
    QTimer m_popTimer;
    QElapsedTimer m_hiddenAt;
};
