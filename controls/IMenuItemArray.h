#pragma once

#include <QString>

#include <cstdint>

// An array of menu items that can be loaded and unloaded at run time, by
// index, as the recent-files list keeps its entries in. Indexes may have
// gaps. Reading or writing an element that is not loaded raises RuvError
// 340; loading one that is, 360; the bounds of an array without elements
// raise 340 too.
class IMenuItemArray
{
public:
    virtual ~IMenuItemArray() = default;

    virtual int32_t LBound() const = 0;
    virtual int32_t UBound() const = 0;
    virtual int32_t Count() const = 0;
    virtual bool IsLoaded(int32_t index) const = 0;
    // A new element: empty caption and tag, enabled, unchecked, visible.
    virtual void Load(int32_t index) = 0;
    virtual void Unload(int32_t index) = 0;

    // "-" makes the element a separator.
    virtual QString Caption(int32_t index) const = 0;
    virtual void SetCaption(int32_t index, const QString& caption) = 0;
    virtual QString Tag(int32_t index) const = 0;
    virtual void SetTag(int32_t index, const QString& tag) = 0;
    virtual bool Enabled(int32_t index) const = 0;
    virtual void SetEnabled(int32_t index, bool enabled) = 0;
    virtual bool Checked(int32_t index) const = 0;
    virtual void SetChecked(int32_t index, bool checked) = 0;
    virtual bool Visible(int32_t index) const = 0;
    virtual void SetVisible(int32_t index, bool visible) = 0;
};
