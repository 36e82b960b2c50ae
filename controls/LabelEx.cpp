#include "LabelEx.h"

#include "MGDI.h"

#include <QApplication>
#include <QPalette>

namespace
{
const QString kDefaultCaption = QStringLiteral("<lstBase>");

Qt::Alignment QtAlignment(std::int16_t alignment)
{
    switch (alignment) {
    case 1: return Qt::AlignRight | Qt::AlignTop;
    case 2: return Qt::AlignHCenter | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
    }
}
}

LabelEx::LabelEx(QWidget* parent) : QWidget(parent), m_label(new QLabel(this))
{
    m_label->setObjectName(QStringLiteral("lblBase"));
    m_label->setGeometry(rect());
    m_label->setText(objectName().isEmpty() ? QStringLiteral("LabelEx") : objectName());
    // A control placed on a form is loaded at once; with nothing stored it
    // shows the defaults.
    ReadProperties(QVariantMap());
}

QFont LabelEx::AmbientFont() const
{
    return parentWidget() != nullptr ? parentWidget()->font() : QApplication::font();
}

bool LabelEx::WordWrap() const
{
    return m_label->wordWrap();
}

void LabelEx::SetWordWrap(bool wordWrap)
{
    m_label->setWordWrap(wordWrap);
    SizeLabel();
}

QString LabelEx::ToolTipText() const
{
    return m_label->toolTip();
}

void LabelEx::SetToolTipText(const QString& text)
{
    m_label->setToolTip(text);
}

void LabelEx::SetForeColor(std::int32_t colour)
{
    m_foreColor = colour;
    ApplyColours();
}

bool LabelEx::FontBold() const
{
    return m_label->font().bold();
}

void LabelEx::SetFontBold(bool bold)
{
    QFont font = m_label->font();
    font.setBold(bold);
    m_label->setFont(font);
    SizeLabel();
}

QFont LabelEx::Font() const
{
    return m_label->font();
}

void LabelEx::SetFont(const QFont& font)
{
    m_label->setFont(font);
    SizeLabel();
}

bool LabelEx::Enabled() const
{
    return m_label->isEnabled();
}

void LabelEx::SetEnabled(bool enabled)
{
    m_label->setEnabled(enabled);
}

QString LabelEx::Caption() const
{
    return m_label->text();
}

void LabelEx::SetCaption(const QString& caption)
{
    m_label->setText(caption);
    SizeLabel();
    if (m_autoSize)
        FitToLabel();
}

void LabelEx::SetBorderStyle(std::int16_t style)
{
    m_borderStyle = style;
    ApplyFrame();
}

void LabelEx::SetBackColor(std::int32_t colour)
{
    m_backColor = colour;
    ApplyColours();
}

void LabelEx::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize) {
        SizeLabel();
        FitToLabel();
    }
}

void LabelEx::SetAppearance(std::int16_t appearance)
{
    m_appearance = appearance;
    ApplyFrame();
}

void LabelEx::SetAlignment(std::int16_t alignment)
{
    m_alignment = alignment;
    m_label->setAlignment(QtAlignment(alignment));
}

void LabelEx::ReadProperties(const QVariantMap& p)
{
    SetWordWrap(p.value(QStringLiteral("WordWrap"), false).toBool());
    SetToolTipText(p.value(QStringLiteral("ToolTipText"), QString()).toString());
    SetFontBold(p.value(QStringLiteral("FontBold"), 0).toInt() != 0);
    const QVariant font = p.value(QStringLiteral("Font"));
    SetFont(font.canConvert<QFont>() ? font.value<QFont>() : AmbientFont());
    SetEnabled(p.value(QStringLiteral("Enabled"), true).toBool());
    SetCaption(p.value(QStringLiteral("Caption"), kDefaultCaption).toString());
    SetBorderStyle(static_cast<std::int16_t>(p.value(QStringLiteral("BorderStyle"), 0).toInt()));
    SetBackColor(p.value(QStringLiteral("BackColor"), DefaultBackColor).toInt());
    SetAutoSize(p.value(QStringLiteral("AutoSize"), true).toBool());
    SetAppearance(static_cast<std::int16_t>(p.value(QStringLiteral("Appearance"), 1).toInt()));
    SetAlignment(static_cast<std::int16_t>(p.value(QStringLiteral("Alignment"), 0).toInt()));
    SetForeColor(p.value(QStringLiteral("ForeColor"), DefaultForeColor).toInt());
}

QVariantMap LabelEx::WriteProperties() const
{
    QVariantMap p;
    const auto put = [&p](const char* name, const QVariant& value, const QVariant& fallback) {
        if (value != fallback)
            p.insert(QString::fromLatin1(name), value);
    };
    put("WordWrap", WordWrap(), false);
    put("ToolTipText", ToolTipText(), QString());
    put("FontBold", static_cast<qint16>(FontBold() ? -1 : 0), static_cast<qint16>(0));
    put("Font", Font(), AmbientFont());
    put("Enabled", Enabled(), true);
    put("Caption", Caption(), kDefaultCaption);
    put("BorderStyle", static_cast<qint16>(m_borderStyle), static_cast<qint16>(0));
    put("BackColor", m_backColor, DefaultBackColor);
    put("AutoSize", m_autoSize, true);
    put("Appearance", static_cast<qint16>(m_appearance), static_cast<qint16>(1));
    put("Alignment", static_cast<qint16>(m_alignment), static_cast<qint16>(0));
    put("ForeColor", m_foreColor, DefaultForeColor);
    return p;
}

void LabelEx::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_fitting)
        m_label->setGeometry(rect());
}

// The inner label of an auto-sized caption takes the size of its text; with
// word wrap it keeps its width and takes the height the lines need.
void LabelEx::SizeLabel()
{
    if (!m_autoSize)
        return;
    if (m_label->wordWrap() && m_label->width() > 0)
        m_label->resize(m_label->width(), m_label->heightForWidth(m_label->width()));
    else
        m_label->resize(m_label->sizeHint());
}

void LabelEx::FitToLabel()
{
    m_fitting = true;
    resize(m_label->size());
    m_fitting = false;
}

void LabelEx::ApplyFrame()
{
    if (m_borderStyle == 0)
        m_label->setFrameStyle(QFrame::NoFrame);
    else if (m_appearance == 0)
        m_label->setFrameStyle(QFrame::Box | QFrame::Plain);
    else
        m_label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    SizeLabel();
}

void LabelEx::ApplyColours()
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::Window, MGDI::ToQColor(m_backColor));
    palette.setColor(QPalette::WindowText, MGDI::ToQColor(m_foreColor));
    m_label->setPalette(palette);
    m_label->setAutoFillBackground(true);
}
