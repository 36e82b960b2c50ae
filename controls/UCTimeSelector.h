#pragma once

// A duration in milliseconds entered as hours, minutes, seconds and
// milliseconds: four digits-only boxes, each with an up-down scroll bar.
// Leaving a box or moving its bar recomputes the whole value, so that 60
// seconds carry into a minute; an entry that would take the value beyond
// 2147483647 ms is undone for that box alone. Hours are not wrapped at 24.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

class UCTimeSelector : public QWidget
{
    Q_OBJECT

public:
    static constexpr double MaxValue = 2147483647.0;

    explicit UCTimeSelector(QWidget* parent = nullptr);

    double Value() const { return m_value; }
    // A whole number of milliseconds, shown at once.
    void SetValue(double milliseconds);
    // A number in the user's form; no number counts as 0, the result is
    // kept within 0 and 2147483647 and its fraction dropped.
    void SetValueFromText(const QString& text);
    // Component 0 hours, 1 minutes, 2 seconds, 3 milliseconds of the value.
    std::int32_t Component(int index) const;
    // The part that scroll bar i stands at (the bars hold it negated).
    std::int32_t Bar(int index) const;

    QGroupBox* fraGAutoStartTime() const { return m_frame; }
    QLabel* lblSAStartTime() const { return m_label; }
    QLineEdit* txtSAStartTime(int index) const { return m_boxes.at(static_cast<size_t>(index)); }
    QScrollBar* vsbSAStartTime(int index) const { return m_bars.at(static_cast<size_t>(index)); }

private:
    void SetBar(int index, std::int32_t part);
    void ShowValue();
    void Recompute(int index);
    void txtSAStartTime_Validate(int index);
    void vsbSAStartTime_Change(int index);

    double m_value = 0;
    bool m_busy = false;
    QGroupBox* m_frame;
    QLabel* m_label;
    std::array<QLineEdit*, 4> m_boxes{};
    std::array<QScrollBar*, 4> m_bars{};
};
