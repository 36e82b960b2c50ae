#pragma once

// One editing protocol for a window's numeric text boxes. The text a box
// holds when it gets the focus is its kept text (the box's "Tag" property);
// Enter asks the owner to validate, Escape brings the kept text back, a
// refused validation keeps the focus and beeps, and an accepted one is
// reported once, with whether the text changed, and becomes the kept text.
// The handler validates nothing itself: the owner answers Validating.
//
// A single box is hooked: its focus, keys and validation (CFocusValidator)
// reach the handler, for at most 50 boxes. The boxes of a control array are
// only recorded, so that Cancel and CancelAll reach them; their owner
// forwards their events to OnFocusGot, OnFocusLost, Cancel and OnValidated.

#include "CTextboxItem.h"

#include <QHash>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CTextboxHandler : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxTextboxes = 50;
    static constexpr std::int32_t ErrorNumber = static_cast<std::int32_t>(0x80040001u);
    // The dynamic property of a box that holds its kept text.
    static constexpr const char* TagProperty = "Tag";

    explicit CTextboxHandler(QObject* owner = nullptr);
    ~CTextboxHandler() override;

    // Records the box and hooks it into the next of the 50 slots. A box
    // recorded before raises RuvError 457; a 51st hooked box raises
    // 0x80040001 "Maximum textbox limit reached" (it stays recorded).
    void RegisterTextbox(QLineEdit* textbox, bool autoValidationOnKeyPress, bool customCancellation);
    // Records every box of a control array, with automatic validation off;
    // nothing is hooked.
    void RegisterTextbox(const QList<QLineEdit*>& textboxes, bool autoValidationOnKeyPress,
                         bool customCancellation);

    void OnFocusGot(QLineEdit* textbox);
    void OnFocusLost(QLineEdit* textbox);
    void OnValidated(QLineEdit* textbox);
    void CancelAll();
    void Cancel(QLineEdit* textbox);

    // The kept text of a box ("" while it does not have the focus).
    static QString KeptText(const QLineEdit* textbox);

signals:
    void GotFocus(QLineEdit* textbox);
    void LostFocus(QLineEdit* textbox);
    // What the owner leaves in KeyAscii is what the box receives: 0
    // swallows the key, another code types that character.
    void KeyPressed(QLineEdit* textbox, std::int16_t& KeyAscii);
    void Validating(QLineEdit* textbox, bool& Cancel, bool& Handled);
    void Validated(QLineEdit* textbox, bool Changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QString TextboxKey(const QLineEdit* textbox);
    static void SetKeptText(QLineEdit* textbox, const QString& text);
    static bool IsTextModified(const QLineEdit* textbox);

    void RegisterItem(QLineEdit* textbox, bool autoValidationOnKeyPress, bool customCancellation);
    void fRegisterTextbox(QLineEdit* textbox);
    const CTextboxItem* GetItem(const QLineEdit* textbox) const;
    void HandleKeyPress(QLineEdit* textbox, std::int16_t& KeyAscii);
    void HandleValidate(QLineEdit* textbox, bool& Cancel);
    void Forget(const QString& key);

    // In registration order; the keys are the boxes' identities.
    std::vector<std::unique_ptr<CTextboxItem>> mItems;
    QHash<QString, CTextboxItem*> m_itemsByKey;
    std::int32_t mTextboxCount = 0;
    // The slots mtxt1 to mtxt50: the n-th hooked box is in mtxt[n - 1];
    // slots are never emptied or reused.
    std::array<QPointer<QLineEdit>, MaxTextboxes> mtxt;
    bool m_forwarding = false;
};
