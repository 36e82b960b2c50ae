#include "CTextboxItem.h"

void CTextboxItem::Initialize(QLineEdit* textbox, bool autoValidationOnKeyPress, bool customCancellation)
{
    m_control = textbox;
    m_autoValidationOnKeyPress = autoValidationOnKeyPress;
    m_customCancellation = customCancellation;
}
