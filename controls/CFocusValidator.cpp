#include "CFocusValidator.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>

namespace
{
bool g_restoring = false;
bool g_validating = false;

bool IsNoChange(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

// While the focus is put back, the widget that took it for a moment must not
// hear that it lost it (it never heard that it got it).
class SwallowFocusOut final : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        return e->type() == QEvent::FocusOut || e->type() == QEvent::FocusAboutToChange;
    }
};

// The click that moved the focus is on its way to the clicked widget when
// the focus comes back: that press, its release and its context menu are
// dropped. The press comes at once or not at all (the focus moved by a key
// or by code), so the filter stops waiting for it when the events queued
// now have been handled.
class SwallowClick final : public QObject
{
public:
    static void Arm()
    {
        static QPointer<SwallowClick> instance;
        if (!instance) {
            instance = new SwallowClick;
            instance->setParent(qApp);
            qApp->installEventFilter(instance);
        }
        SwallowClick* filter = instance;
        filter->m_waitForPress = true;
        QTimer::singleShot(0, filter, [filter] { filter->m_waitForPress = false; });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (!watched->isWidgetType())
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            if (!m_waitForPress) {
                // A new click: the release of a dropped press that never
                // came (it went to a message box) must not eat this one's.
                m_dropRelease = false;
                m_dropMenu = false;
                return false;
            }
            m_waitForPress = false;
            m_dropRelease = e->type() != QEvent::Wheel;
            m_dropMenu = m_dropRelease;
            return true;
        case QEvent::MouseButtonRelease:
            if (!m_dropRelease)
                return false;
            m_dropRelease = false;
            QTimer::singleShot(0, this, [this] { m_dropMenu = false; });
            return true;
        case QEvent::ContextMenu:
            return m_dropMenu;
        default:
            return false;
        }
    }

private:
    bool m_waitForPress = false;
    bool m_dropRelease = false;
    bool m_dropMenu = false;
};
}

CFocusValidator::CFocusValidator(QWidget* widget, QObject* owner)
    : QObject(owner != nullptr ? owner : widget), m_widget(widget)
{
    if (m_widget) {
        m_widget->installEventFilter(this);
        m_focused = m_widget->hasFocus();
    }
    // The focus can change while the window is inactive (by code) and come
    // back elsewhere with the window: the widget then hears no FocusOut.
    if (qApp != nullptr)
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            // A window manager may give the window back its focus widget
            // while a refusal's message is still closing: that is the
            // validation's business, not a focus change.
            if (m_focused && !g_restoring && !g_validating && m_widget && now != nullptr && now != m_widget &&
                now->window() == m_widget->window()) {
                m_focused = false;
                emit LostFocus();
            }
        });
}

CFocusValidator::~CFocusValidator()
{
    if (m_widget)
        m_widget->removeEventFilter(this);
}

bool CFocusValidator::Restoring()
{
    return g_restoring;
}

bool CFocusValidator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
        return false;
    if (event->type() == QEvent::FocusIn) {
        // A window switch or a pop-up gives back the focus the widget never
        // lost as far as the program is concerned; the first focus of a
        // window being shown comes the same way and counts.
        if (!g_restoring && !m_focused) {
            m_focused = true;
            emit GotFocus();
        }
        return false;
    }
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (g_restoring)
        return true;
    if (IsNoChange(reason))
        return false;

    // The focus has already gone to its new widget when the widget hears it
    // lost it. A widget of another window is a pop-up's (a drop-down list
    // takes the focus with an ordinary reason).
    QWidget* next = QApplication::focusWidget();
    if (next != nullptr && next->window() != m_widget->window())
        return false;
    if (next != nullptr && next != m_widget && !g_validating && m_widget->isVisible() && m_widget->isEnabled()) {
        bool cancel = false;
        g_validating = true;
        const QPointer<CFocusValidator> alive(this);
        emit Validate(cancel);
        g_validating = false;
        if (!alive || !m_widget)
            return false;
        if (cancel) {
            PutFocusBack(reason);
            return true;
        }
    }
    if (m_focused) {
        m_focused = false;
        emit LostFocus();
    }
    return false;
}

void CFocusValidator::PutFocusBack(Qt::FocusReason reason)
{
    SwallowFocusOut swallow;
    qApp->installEventFilter(&swallow);
    g_restoring = true;
    m_widget->setFocus(Qt::OtherFocusReason);
    g_restoring = false;
    qApp->removeEventFilter(&swallow);
    if (reason == Qt::MouseFocusReason)
        SwallowClick::Arm();
}
