#pragma once

// Enables or disables a frame (a QGroupBox) of a form together with every
// control inside it, nested frames included, and remembers each control's
// own state, so that enabling the frame again leaves alone the controls that
// were disabled on their own. A control's frame is its nearest group box
// above it; layout widgets in between do not count.
//
// A control is remembered under its object name, followed by its "index"
// property for the members of a control array; an unnamed control under its
// identity, forgotten when it is destroyed.

#include <QGroupBox>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

class CVbFrameHandler : public QObject
{
    Q_OBJECT

public:
    explicit CVbFrameHandler(QObject* owner = nullptr);

    void Initialize(QWidget* form);
    void Enable(QGroupBox* frame);
    void Disable(QGroupBox* frame);
    void SetState(QGroupBox* frame, bool enabled);
    // Sets one control's state; while its frame is disabled the control
    // stays disabled and takes the state when the frame is enabled.
    void SetControlState(QWidget* control, bool enabled);

private:
    QList<QWidget*> Controls(QWidget* frame) const;
    QGroupBox* fGetContainerFrame(QWidget* control) const;
    QGroupBox* fGetCachedContainer(QWidget* control);
    void fSetContainer(const QString& key, QGroupBox* frame);
    bool fHasContainer(const QString& key) const;
    void fSetState(const QString& key, bool enabled);
    bool fHasState(const QString& key) const;
    QString fControlKey(QWidget* control);

    QPointer<QWidget> m_form;
    QHash<QString, bool> m_states;
    QHash<QString, QPointer<QGroupBox>> m_containers;
    QSet<QString> m_identityKeys;
};
