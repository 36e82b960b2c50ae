#include "CTextboxHandler.h"

#include "CFocusValidator.h"
#include "MControls.h"
#include "RuvError.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVariant>

#include <algorithm>

namespace
{
constexpr std::int16_t KeyBackspace = 8;
constexpr std::int16_t KeyEnter = 13;
constexpr std::int16_t KeyEscape = 27;

int QtKeyOf(std::int16_t keyAscii)
{
    switch (keyAscii) {
    case KeyBackspace: return Qt::Key_Backspace;
    case KeyEnter: return Qt::Key_Return;
    case KeyEscape: return Qt::Key_Escape;
    default: return Qt::Key_unknown;
    }
}
}

CTextboxHandler::CTextboxHandler(QObject* owner) : QObject(owner)
{
}

CTextboxHandler::~CTextboxHandler() = default;

QString CTextboxHandler::TextboxKey(const QLineEdit* textbox)
{
    return QString::number(reinterpret_cast<quintptr>(textbox), 16).toUpper();
}

QString CTextboxHandler::KeptText(const QLineEdit* textbox)
{
    return textbox != nullptr ? textbox->property(TagProperty).toString() : QString();
}

void CTextboxHandler::SetKeptText(QLineEdit* textbox, const QString& text)
{
    textbox->setProperty(TagProperty, text);
}

bool CTextboxHandler::IsTextModified(const QLineEdit* textbox)
{
    return textbox->text() != KeptText(textbox);
}

void CTextboxHandler::RegisterTextbox(QLineEdit* textbox, bool autoValidationOnKeyPress, bool customCancellation)
{
    if (textbox == nullptr)
        return;
    RegisterItem(textbox, autoValidationOnKeyPress, customCancellation);
    fRegisterTextbox(textbox);
}

void CTextboxHandler::RegisterTextbox(const QList<QLineEdit*>& textboxes, bool /*autoValidationOnKeyPress*/,
                                      bool customCancellation)
{
    for (QLineEdit* box : textboxes) {
        if (box != nullptr)
            RegisterItem(box, false, customCancellation);
    }
}

void CTextboxHandler::RegisterItem(QLineEdit* textbox, bool autoValidationOnKeyPress, bool customCancellation)
{
    const QString key = TextboxKey(textbox);
    if (m_itemsByKey.contains(key))
        throw RuvError::Platform(RuvError::DuplicateKey, QStringLiteral("CTextboxHandler.RegisterTextbox"));
    auto item = std::make_unique<CTextboxItem>();
    item->Initialize(textbox, autoValidationOnKeyPress, customCancellation);
    m_itemsByKey.insert(key, item.get());
    mItems.push_back(std::move(item));
    // A destroyed box leaves the list, so that a new box at its address is
    // not taken for it.
    connect(textbox, &QObject::destroyed, this, [this, key] { Forget(key); });
}

void CTextboxHandler::Forget(const QString& key)
{
    CTextboxItem* item = m_itemsByKey.take(key);
    mItems.erase(std::remove_if(mItems.begin(), mItems.end(),
                                 [item](const std::unique_ptr<CTextboxItem>& p) { return p.get() == item; }),
                  mItems.end());
}

void CTextboxHandler::fRegisterTextbox(QLineEdit* textbox)
{
    ++mTextboxCount;
    if (mTextboxCount > MaxTextboxes)
        throw RuvError(ErrorNumber, QStringLiteral("Maximum textbox limit reached"),
                       QStringLiteral("CTextboxCancellationHandler.fRegisterTextbox"));
    mtxt[static_cast<size_t>(mTextboxCount - 1)] = textbox;

    auto* validator = new CFocusValidator(textbox, this);
    const QPointer<QLineEdit> box(textbox);
    connect(validator, &CFocusValidator::GotFocus, this, [this, box] {
        if (box)
            OnFocusGot(box);
    });
    connect(validator, &CFocusValidator::LostFocus, this, [this, box] {
        if (box)
            OnFocusLost(box);
    });
    connect(validator, &CFocusValidator::Validate, this, [this, box](bool& cancel) {
        if (box)
            HandleValidate(box, cancel);
    });
    textbox->installEventFilter(this);
}

const CTextboxItem* CTextboxHandler::GetItem(const QLineEdit* textbox) const
{
    return m_itemsByKey.value(TextboxKey(textbox), nullptr);
}

bool CTextboxHandler::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || m_forwarding)
        return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr || std::find(mtxt.begin(), mtxt.end(), box) == mtxt.end())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const std::int16_t typed = MControls::KeyAsciiOf(key);
    if (typed == 0)
        return false;
    std::int16_t keyAscii = typed;
    const QPointer<QLineEdit> alive(box);
    HandleKeyPress(box, keyAscii);
    if (keyAscii == typed)
        return false;
    if (keyAscii != 0 && alive) {
        // The owner asked for another character: the box types that one.
        QKeyEvent replaced(QEvent::KeyPress, QtKeyOf(keyAscii), Qt::NoModifier,
                           QString(QChar(static_cast<char16_t>(keyAscii))));
        m_forwarding = true;
        QCoreApplication::sendEvent(box, &replaced);
        m_forwarding = false;
    }
    return true;
}

void CTextboxHandler::HandleKeyPress(QLineEdit* textbox, std::int16_t& KeyAscii)
{
    const CTextboxItem* item = GetItem(textbox);
    if (item != nullptr && item->AutoValidationOnKeyPress()) {
        if (KeyAscii == KeyEnter) {
            KeyAscii = 0;
            bool cancel = false;
            HandleValidate(textbox, cancel);
        } else if (KeyAscii == KeyEscape) {
            KeyAscii = 0;
            Cancel(textbox);
            MControls::SelectAllText(textbox);
        }
    }
    emit KeyPressed(textbox, KeyAscii);
}

void CTextboxHandler::HandleValidate(QLineEdit* textbox, bool& Cancel)
{
    bool handled = false;
    emit Validating(textbox, Cancel, handled);
    if (!handled)
        return;
    MControls::SelectAllText(textbox);
    if (Cancel) {
        MControls::Beep();
        return;
    }
    OnValidated(textbox);
}

void CTextboxHandler::OnFocusGot(QLineEdit* textbox)
{
    if (textbox == nullptr)
        return;
    MControls::SelectAllText(textbox);
    SetKeptText(textbox, textbox->text());
    emit GotFocus(textbox);
}

void CTextboxHandler::OnFocusLost(QLineEdit* textbox)
{
    if (textbox == nullptr)
        return;
    SetKeptText(textbox, QString());
    emit LostFocus(textbox);
}

void CTextboxHandler::OnValidated(QLineEdit* textbox)
{
    if (textbox == nullptr)
        return;
    const bool changed = IsTextModified(textbox);
    emit Validated(textbox, changed);
    SetKeptText(textbox, textbox->text());
}

void CTextboxHandler::Cancel(QLineEdit* textbox)
{
    if (textbox == nullptr)
        return;
    const QString kept = KeptText(textbox);
    if (!kept.isEmpty() && kept != textbox->text())
        textbox->setText(kept);
}

void CTextboxHandler::CancelAll()
{
    // Cancel may run the owner's code (the boxes' change signals), which may
    // register or destroy boxes: walk a copy.
    std::vector<QPointer<QLineEdit>> boxes;
    for (const auto& item : mItems) {
        if (!item->CustomCancellation())
            boxes.emplace_back(item->Control());
    }
    for (const QPointer<QLineEdit>& box : boxes)
        Cancel(box);
}
