#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

// A row of toggle pictures, one per display option of a curve (0 visible,
// 1 arrows, 2 control times, 3 tangents; the strip does not know what they
// mean). The options divide the whole strip into equal cells. A click on an
// enabled cell flips its option and reports it; a disabled cell looks the
// same and ignores clicks. A new strip has every option unchecked and
// disabled, so it ignores clicks until its owner enables options.
class UC3DCurveOption : public QWidget
{
    Q_OBJECT

public:
    static constexpr int32_t DesignOptionCount = 4;
    // The pictures' size in pixels.
    static constexpr int PictureSize = 14;

    explicit UC3DCurveOption(QWidget* parent = nullptr);

    int32_t OptionCount() const { return static_cast<int32_t>(m_checked.size()); }
    // Entry i sets option i; an empty entry leaves it as it is. More
    // entries than options set the options before the first bad index and
    // then raise "Invalid index". No event.
    void SetCheckedStates(const std::vector<std::optional<bool>>& states);
    // Both check the last index first and change nothing when it is bad.
    void SetEnabledStates(const std::vector<bool>& states);
    void SetTooltips(const QStringList& tooltips);
    // An index outside 0 .. OptionCount() - 1 raises RuvError 0x80040001
    // "Invalid index", source "UC3DCurveOption".
    bool IsChecked(int32_t index) const;
    // No event.
    void SetIsChecked(int32_t index, bool checked);

    QSize sizeHint() const override;

signals:
    // The user clicked the enabled option index; it already shows its new
    // state.
    void CheckedChanged(int32_t index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CheckIndex(int64_t index) const;
    // The cell under a point of the strip; -1 outside.
    int32_t CellAt(const QPoint& pos) const;
    QRect CellRect(int32_t index) const;
    // "eye" for a checked option 0, "round" for another checked option,
    // "unchecked" otherwise.
    const QPixmap& Picture(int32_t index) const;

    std::vector<bool> m_checked;
    std::vector<bool> m_enabled;
    QStringList m_tooltips;
    QPixmap m_unchecked;
    QPixmap m_round;
    QPixmap m_eye;
    int32_t m_pressedCell = -1;
};
