#pragma once

#include <QLineEdit>
#include <QPointer>

// The record of one text box registered with CTextboxHandler. Its three
// fields are set once by Initialize.
class CTextboxItem
{
public:
    void Initialize(QLineEdit* textbox, bool autoValidationOnKeyPress, bool customCancellation);

    // nullptr once the box is destroyed.
    QLineEdit* Control() const { return m_control; }
    // Enter validates and Escape cancels inside the handler's key handling.
    bool AutoValidationOnKeyPress() const { return m_autoValidationOnKeyPress; }
    // CancelAll leaves the box alone: its owner cancels it its own way.
    bool CustomCancellation() const { return m_customCancellation; }

private:
    QPointer<QLineEdit> m_control;
    bool m_autoValidationOnKeyPress = false;
    bool m_customCancellation = false;
};
