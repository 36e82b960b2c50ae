#pragma once

// A label in a control of its own: twelve properties of the inner label
// passed through, stored with the form that holds it (ReadProperties and
// WriteProperties on a property map, defaults left out), and a size that
// can follow the caption. Colours are 0xBBGGRR values; 0x800000nn names a
// system colour.

#include <QFont>
#include <QLabel>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>

class LabelEx : public QWidget
{
    Q_OBJECT

public:
    static constexpr std::int32_t DefaultBackColor = static_cast<std::int32_t>(0x8000000Fu);
    static constexpr std::int32_t DefaultForeColor = static_cast<std::int32_t>(0x80000012u);

    explicit LabelEx(QWidget* parent = nullptr);

    QLabel* lblBase() const { return m_label; }

    bool WordWrap() const;
    void SetWordWrap(bool wordWrap);
    QString ToolTipText() const;
    void SetToolTipText(const QString& text);
    std::int32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(std::int32_t colour);
    bool FontBold() const;
    void SetFontBold(bool bold);
    QFont Font() const;
    void SetFont(const QFont& font);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    QString Caption() const;
    // Fits the control to the label when AutoSize is on.
    void SetCaption(const QString& caption);
    // 0 none, 1 fixed single.
    std::int16_t BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(std::int16_t style);
    std::int32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::int32_t colour);
    bool AutoSize() const { return m_autoSize; }
    // Switching it on fits the control to the label.
    void SetAutoSize(bool autoSize);
    // 0 flat, 1 3D.
    std::int16_t Appearance() const { return m_appearance; }
    void SetAppearance(std::int16_t appearance);
    // 0 left, 1 right, 2 centre.
    std::int16_t Alignment() const { return m_alignment; }
    void SetAlignment(std::int16_t alignment);

    // Loading: every property from the map, or its default when the map
    // holds none.
    void ReadProperties(const QVariantMap& properties);
    // Saving: the properties that differ from their defaults.
    QVariantMap WriteProperties() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QFont AmbientFont() const;
    void SizeLabel();
    void FitToLabel();
    void ApplyFrame();
    void ApplyColours();

    QLabel* m_label;
    bool m_fitting = false;
    bool m_autoSize = true;
    std::int32_t m_foreColor = DefaultForeColor;
    std::int32_t m_backColor = DefaultBackColor;
    std::int16_t m_borderStyle = 0;
    std::int16_t m_appearance = 1;
    std::int16_t m_alignment = 0;
};
