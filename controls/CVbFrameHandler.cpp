#include "CVbFrameHandler.h"

#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>

namespace
{
// The control's own flag: a control inside a disabled frame is disabled on
// screen, but its own state is what is kept.
bool OwnEnabled(const QWidget* w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

// Widgets that only hold and lay out other controls; the insides of any
// other widget (a combo box's edit, a spin box's buttons) are its own.
bool HoldsControls(const QWidget* w)
{
    const QMetaObject* type = w->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(w) != nullptr || qobject_cast<const QStackedWidget*>(w) != nullptr ||
           qobject_cast<const QTabWidget*>(w) != nullptr || qobject_cast<const QSplitter*>(w) != nullptr ||
           qobject_cast<const QScrollArea*>(w) != nullptr;
}

void Collect(const QWidget* container, QList<QWidget*>& out)
{
    for (QObject* child : container->children()) {
        if (!child->isWidgetType())
            continue;
        auto* w = static_cast<QWidget*>(child);
        if (w->isWindow())
            continue;
        out << w;
        if (HoldsControls(w))
            Collect(w, out);
    }
}
}

CVbFrameHandler::CVbFrameHandler(QObject* owner) : QObject(owner)
{
}

void CVbFrameHandler::Initialize(QWidget* form)
{
    m_form = form;
}

void CVbFrameHandler::Enable(QGroupBox* frame)
{
    SetState(frame, true);
}

void CVbFrameHandler::Disable(QGroupBox* frame)
{
    SetState(frame, false);
}

QList<QWidget*> CVbFrameHandler::Controls(QWidget* frame) const
{
    QList<QWidget*> controls;
    QWidget* form = m_form ? m_form.data() : frame->window();
    Collect(form, controls);
    return controls;
}

void CVbFrameHandler::SetState(QGroupBox* frame, bool enabled)
{
    if (frame == nullptr || OwnEnabled(frame) == enabled)
        return;
    // Controls destroyed by the owner's code while this runs are skipped.
    QList<QPointer<QWidget>> controls;
    for (QWidget* w : Controls(frame))
        controls << w;
    for (const QPointer<QWidget>& control : controls) {
        if (!control || fGetContainerFrame(control) != frame)
            continue;
        if (auto* nested = qobject_cast<QGroupBox*>(control.data())) {
            SetState(nested, enabled);
            continue;
        }
        const QString key = fControlKey(control);
        fSetContainer(key, frame);
        if (enabled) {
            if (fHasState(key))
                control->setEnabled(m_states.value(key));
            else
                fSetState(key, OwnEnabled(control));
        } else {
            fSetState(key, OwnEnabled(control));
            control->setEnabled(false);
        }
    }
    if (frame)
        frame->setEnabled(enabled);
}

void CVbFrameHandler::SetControlState(QWidget* control, bool enabled)
{
    if (control == nullptr)
        return;
    QGroupBox* frame = fGetCachedContainer(control);
    control->setEnabled(frame != nullptr && !OwnEnabled(frame) ? false : enabled);
    fSetState(fControlKey(control), enabled);
}

QGroupBox* CVbFrameHandler::fGetContainerFrame(QWidget* control) const
{
    for (QWidget* up = control->parentWidget(); up != nullptr && up != m_form && !up->isWindow();
         up = up->parentWidget()) {
        if (auto* frame = qobject_cast<QGroupBox*>(up))
            return frame;
    }
    return nullptr;
}

QGroupBox* CVbFrameHandler::fGetCachedContainer(QWidget* control)
{
    const QString key = fControlKey(control);
    if (fHasContainer(key))
        return m_containers.value(key);
    QGroupBox* frame = fGetContainerFrame(control);
    if (frame != nullptr)
        fSetContainer(key, frame);
    return frame;
}

void CVbFrameHandler::fSetContainer(const QString& key, QGroupBox* frame)
{
    m_containers.insert(key, frame);
}

bool CVbFrameHandler::fHasContainer(const QString& key) const
{
    const auto found = m_containers.constFind(key);
    return found != m_containers.constEnd() && !found.value().isNull();
}

void CVbFrameHandler::fSetState(const QString& key, bool enabled)
{
    m_states.insert(key, enabled);
}

bool CVbFrameHandler::fHasState(const QString& key) const
{
    return m_states.contains(key);
}

QString CVbFrameHandler::fControlKey(QWidget* control)
{
    const QString name = control->objectName();
    if (name.isEmpty()) {
        // Unnamed controls would all share one key: each is itself.
        const QString key = QStringLiteral("#%1").arg(reinterpret_cast<quintptr>(control), 0, 16);
        if (!m_identityKeys.contains(key)) {
            m_identityKeys.insert(key);
            connect(control, &QObject::destroyed, this, [this, key] {
                m_states.remove(key);
                m_containers.remove(key);
                m_identityKeys.remove(key);
            });
        }
        return key;
    }
    bool isMember = false;
    const int index = control->property("index").toInt(&isMember);
    return isMember ? name + QString::number(index) : name;
}
