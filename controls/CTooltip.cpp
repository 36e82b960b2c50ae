#include "CTooltip.h"

#include "MGDI.h"

#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace
{
// The balloon's rounded corners and its stem.
constexpr int kBalloonRadius = 8;
constexpr int kBalloonPadding = 6;
constexpr int kStemHeight = 14;
constexpr int kStemWidth = 14;
constexpr int kStemInset = 18;
// A plain tip stands this far below the pointer's hot spot, clear of the
// pointer's picture.
constexpr int kBelowPointer = 20;
constexpr int kBoxPadding = 2;
constexpr int kTitleGap = 4;

// Line breaks in the program's texts are CR LF.
QStringList Lines(const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain.split(QLatin1Char('\n'));
}
}

// The tip's own window: a tooltip-type top-level that takes no input, so
// that it never comes between the pointer and the tool.
class CTooltip::TipWindow final : public QWidget
{
public:
    TipWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setObjectName(QStringLiteral("CTooltipWindow"));
        setFont(QToolTip::font());
    }

    QString text;
    QString title;
    bool balloon = false;
    bool stemUp = true;   // the stem on top (tip below the point) or at the bottom
    int stemX = 0;        // the stem's point, from the window's left edge
    QMargins margins;
    QColor fore;
    QColor back;

    QFont TitleFont() const
    {
        QFont bold = font();
        bold.setBold(true);
        return bold;
    }

    // The size of the text block, title included.
    QSize ContentSize() const
    {
        int w = 0;
        int h = 0;
        if (!title.isEmpty()) {
            const QFontMetrics tm(TitleFont());
            w = tm.horizontalAdvance(title);
            h = tm.height() + kTitleGap;
        }
        const QFontMetrics fm(font());
        const QStringList lines = Lines(text);
        for (const QString& line : lines)
            w = std::max(w, fm.horizontalAdvance(line));
        h += fm.height() * static_cast<int>(lines.size());
        return {w, h};
    }

    int Padding() const { return balloon ? kBalloonPadding : kBoxPadding; }

    // The body (without the stem) in window coordinates.
    QRect Body() const
    {
        const QSize content = ContentSize();
        const int pad = Padding();
        const QSize body(content.width() + 2 * pad + margins.left() + margins.right() + 2,
                         content.height() + 2 * pad + margins.top() + margins.bottom() + 2);
        const int top = balloon && stemUp ? kStemHeight : 0;
        return {QPoint(0, top), body};
    }

    QSize WindowSize() const
    {
        const QRect body = Body();
        return {body.width(), body.height() + (balloon ? kStemHeight : 0)};
    }

    QPainterPath Outline() const
    {
        const QRectF body = QRectF(Body()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath path;
        path.addRoundedRect(body, kBalloonRadius, kBalloonRadius);
        const double x = std::clamp(stemX, kBalloonRadius, std::max(kBalloonRadius, width() - kBalloonRadius));
        const double baseLeft = std::clamp(x - kStemWidth / 2.0, body.left() + kBalloonRadius,
                                           body.right() - kBalloonRadius - kStemWidth);
        QPolygonF stem;
        if (stemUp)
            stem << QPointF(baseLeft, body.top() + 1) << QPointF(x, 0.5) << QPointF(baseLeft + kStemWidth, body.top() + 1);
        else
            stem << QPointF(baseLeft, body.bottom() - 1) << QPointF(x, height() - 0.5)
                 << QPointF(baseLeft + kStemWidth, body.bottom() - 1);
        QPainterPath stemPath;
        stemPath.addPolygon(stem);
        stemPath.closeSubpath();
        return path.united(stemPath);
    }

    void Arrange()
    {
        resize(WindowSize());
        if (balloon) {
            QBitmap shape(size());
            shape.fill(Qt::color0);
            QPainter p(&shape);
            p.setPen(Qt::color1);
            p.setBrush(Qt::color1);
            p.drawPath(Outline());
            p.end();
            setMask(shape);
        } else {
            clearMask();
        }
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (balloon) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(fore, 1));
            p.setBrush(back);
            p.drawPath(Outline());
        } else {
            p.fillRect(rect(), back);
            p.setPen(fore);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        const QRect body = Body();
        const int pad = Padding();
        QPoint at(body.left() + 1 + pad + margins.left(), body.top() + 1 + pad + margins.top());
        p.setPen(fore);
        if (!title.isEmpty()) {
            p.setFont(TitleFont());
            const QFontMetrics tm(p.font());
            p.drawText(at.x(), at.y() + tm.ascent(), title);
            at.ry() += tm.height() + kTitleGap;
        }
        p.setFont(font());
        const QFontMetrics fm(font());
        for (const QString& line : Lines(text)) {
            p.drawText(at.x(), at.y() + fm.ascent(), line);
            at.ry() += fm.height();
        }
    }
};

CTooltip::CTooltip(QObject* owner) : QObject(owner)
{
    m_showTimer.setSingleShot(true);
    m_showTimer.setTimerType(Qt::PreciseTimer);
    m_popTimer.setSingleShot(true);
    m_popTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_showTimer, &QTimer::timeout, this, &CTooltip::ShowTip);
    connect(&m_popTimer, &QTimer::timeout, this, [this] { HideTip(Phase::Popped); });
}

CTooltip::~CTooltip()
{
    Unwatch();
    delete m_window.data();
}

bool CTooltip::Create(QWidget* parentHwnd, const QString& text, const QString& title, std::int32_t initialDelay,
                      std::int32_t visibleTime)
{
    // A second window for the same object, or a window without a widget
    // application to show it: nothing is created and nothing changes.
    if (m_window || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    SetParentHwnd(parentHwnd);
    m_text = text;
    m_window = new TipWindow;
    m_toolRect = m_parent ? m_parent->rect() : QRect();
    SendToolInfo();
    SetDelayTime(TTDT_INITIAL, initialDelay);
    SetDelayTime(TTDT_AUTOPOP, visibleTime);
    if (!title.isEmpty())
        SetTitle(title);
    ApplyLook();
    return true;
}

QWidget* CTooltip::handle() const
{
    return m_window;
}

void CTooltip::SetParentHwnd(QWidget* parentHwnd)
{
    if (parentHwnd == m_parent)
        return;
    m_parent = parentHwnd;
    if (m_window)
        SendToolInfo();
}

void CTooltip::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (!m_window)
        return;
    if (m_phase != Phase::Shown)
        return;
    // A text changed while the tip is up shows at once; an empty one hides it.
    if (m_text.isEmpty())
        m_window->hide();
    else
        ShowTip();
}

void CTooltip::SetStyle(std::int32_t style)
{
    if (style == m_style)
        return;
    m_style = style;
    if (m_window)
        Redraw();
}

void CTooltip::SetCentered(bool centered)
{
    if (centered == m_centered)
        return;
    m_centered = centered;
    m_toolFlags = centered ? (TTF_SUBCLASS | TTF_CENTERTIP) : TTF_SUBCLASS;
    SendToolInfo();
}

void CTooltip::ResetForeColor()
{
    SetForeColor(SysColorInfoText);
}

void CTooltip::SetForeColor(std::int32_t colour)
{
    if (colour == m_foreColor)
        return;
    m_foreColor = colour;
    if (m_window)
        Redraw();
}

void CTooltip::ResetBackColor()
{
    SetBackColor(SysColorInfoBackground);
}

void CTooltip::SetBackColor(std::int32_t colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    if (m_window)
        Redraw();
}

void CTooltip::SetTitle(const QString& title)
{
    const QString trimmed = title.trimmed();
    if (trimmed == m_title)
        return;
    m_title = trimmed;
    if (m_window)
        Redraw();
}

void CTooltip::SetMargin(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom)
{
    if (!m_window)
        return;
    m_margins = QMargins(std::max<int>(0, left), std::max<int>(0, top), std::max<int>(0, right),
                         std::max<int>(0, bottom));
    Redraw();
}

void CTooltip::RemoveMargin()
{
    SetMargin(0, 0, 0, 0);
}

std::int32_t CTooltip::Effective(std::int32_t which) const
{
    const int base = std::max(1, QApplication::doubleClickInterval());
    switch (which) {
    case TTDT_RESHOW: return m_reshowDelay >= 0 ? m_reshowDelay : base / 5;
    case TTDT_AUTOPOP: return m_autopopDelay >= 0 ? m_autopopDelay : base * 10;
    default: return m_initialDelay >= 0 ? m_initialDelay : base;
    }
}

std::int32_t CTooltip::DelayTime(std::int32_t which) const
{
    if (!m_window)
        return 0;
    return Effective(which);
}

void CTooltip::SetDelayTime(std::int32_t which, std::int32_t milliseconds)
{
    if (!m_window)
        return;
    const std::int32_t ms = milliseconds < 0 ? -1 : milliseconds;
    switch (which) {
    case TTDT_AUTOMATIC:
        m_initialDelay = ms;
        m_autopopDelay = ms < 0 ? -1 : ms * 10;
        m_reshowDelay = ms < 0 ? -1 : ms / 5;
        break;
    case TTDT_RESHOW: m_reshowDelay = ms; break;
    case TTDT_AUTOPOP: m_autopopDelay = ms; break;
    case TTDT_INITIAL: m_initialDelay = ms; break;
    default: break;
    }
}

void CTooltip::SetDefaultDelayTime(std::int32_t which)
{
    SetDelayTime(which, -1);
}

void CTooltip::SetDefaultDelayTimes()
{
    SetDelayTime(TTDT_AUTOMATIC, -1);
    SetDelayTime(TTDT_AUTOPOP, -1);
    SetDelayTime(TTDT_RESHOW, -1);
}

void CTooltip::Redraw()
{
    if (!m_window)
        return;
    ApplyLook();
    if (m_window->isVisible())
        ShowTip();
}

void CTooltip::UpdateToolRectangleSize()
{
    if (!m_window)
        return;
    m_toolRect = m_parent ? m_parent->rect() : QRect();
    SendToolInfo();
}

std::int32_t CTooltip::GetSysColor(std::int32_t colour)
{
    return MGDI::GetSysColor(colour);
}

void CTooltip::ApplyLook()
{
    if (!m_window)
        return;
    m_window->text = m_text;
    m_window->title = m_title;
    m_window->balloon = m_style == StyleBalloon;
    m_window->margins = m_margins;
    m_window->fore = MGDI::ToQColor(m_foreColor);
    m_window->back = MGDI::ToQColor(m_backColor);
    m_window->Arrange();
}

// The tool record goes to the tip again: the tip now follows the events of
// the record's window.
void CTooltip::SendToolInfo()
{
    if (!m_window)
        return;
    if (m_toolWindow != m_parent) {
        HideTip(Phase::Idle);
        Unwatch();
        m_toolWindow = m_parent;
        if (m_toolWindow) {
            // Moves over child widgets that do not track the pointer come
            // to the parent; the parent must track them.
            m_trackingWasOn = m_toolWindow->hasMouseTracking();
            m_toolWindow->setMouseTracking(true);
            Watch(m_toolWindow);
        }
    }
}

void CTooltip::Watch(QObject* object)
{
    object->installEventFilter(this);
    for (QObject* child : object->children()) {
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            Watch(child);
    }
}

void CTooltip::Unwatch()
{
    if (!m_toolWindow)
        return;
    m_toolWindow->removeEventFilter(this);
    for (QWidget* child : m_toolWindow->findChildren<QWidget*>())
        child->removeEventFilter(this);
    if (!m_trackingWasOn)
        m_toolWindow->setMouseTracking(false);
    m_toolWindow = nullptr;
}

bool CTooltip::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_window || !m_toolWindow)
        return false;
    switch (event->type()) {
    case QEvent::ChildAdded: {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            Watch(child);
        break;
    }
    case QEvent::Enter:
        Pointer(static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::MouseMove:
        Pointer(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
        if (watched == m_toolWindow) {
            if (m_phase == Phase::Shown)
                m_hiddenAt.start();
            HideTip(Phase::Idle);
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        // A click or a key puts the tip away until the pointer comes again.
        if (m_phase == Phase::Waiting || m_phase == Phase::Shown)
            HideTip(Phase::Popped);
        break;
    case QEvent::Hide:
        if (watched == m_toolWindow)
            HideTip(Phase::Idle);
        break;
    default:
        break;
    }
    return false;
}

void CTooltip::Pointer(const QPoint& globalPos)
{
    const QPoint local = m_toolWindow->mapFromGlobal(globalPos);
    if (!m_toolRect.contains(local)) {
        HideTip(Phase::Idle);
        return;
    }
    m_anchor = globalPos;
    if (m_phase != Phase::Idle)
        return;
    const bool again = m_hiddenAt.isValid() && m_hiddenAt.elapsed() < Effective(TTDT_RESHOW);
    m_phase = Phase::Waiting;
    m_showTimer.start(Effective(again ? TTDT_RESHOW : TTDT_INITIAL));
}

void CTooltip::ShowTip()
{
    if (!m_window || !m_toolWindow)
        return;
    // The visible time counts from the moment the tip is up.
    const bool appearing = m_phase == Phase::Waiting;
    if (appearing) {
        m_phase = Phase::Shown;
        m_popTimer.start(Effective(TTDT_AUTOPOP));
    }
    if (m_phase != Phase::Shown)
        return;
    if (m_text.isEmpty()) {
        m_window->hide();
        return;
    }
    TipWindow& tip = *m_window;
    // The point the tip stands below, and the one it stands above when the
    // screen has no room below.
    QPoint anchor = m_anchor;
    QPoint above = m_anchor;
    if (m_centered) {
        const QRect tool(m_toolWindow->mapToGlobal(m_toolRect.topLeft()), m_toolRect.size());
        anchor = QPoint(tool.center().x(), tool.bottom() + 1);
        above = QPoint(tool.center().x(), tool.top());
    }
    tip.stemUp = true;
    ApplyLook();
    QSize size = tip.size();
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    const QRect area = screen ? screen->availableGeometry() : QRect(anchor - QPoint(5000, 5000), QSize(10000, 10000));
    QPoint topLeft;
    if (tip.balloon) {
        // The stem points at the anchor; the balloon goes above it when it
        // does not fit below.
        if (anchor.y() + size.height() > area.bottom() + 1) {
            tip.stemUp = false;
            tip.Arrange();
            size = tip.size();
            anchor = above;
        }
        const int stemAt = m_centered ? size.width() / 2 : kStemInset;
        topLeft = QPoint(anchor.x() - stemAt, tip.stemUp ? anchor.y() : anchor.y() - size.height());
    } else {
        topLeft = m_centered ? QPoint(anchor.x() - size.width() / 2, anchor.y())
                             : QPoint(anchor.x(), anchor.y() + kBelowPointer);
        if (topLeft.y() + size.height() > area.bottom() + 1)
            topLeft.setY(above.y() - size.height());
    }
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    if (tip.balloon) {
        tip.stemX = anchor.x() - topLeft.x();
        tip.Arrange();
    }
    tip.move(topLeft);
    tip.show();
    tip.raise();
    if (appearing)
        m_popTimer.start(Effective(TTDT_AUTOPOP));
}

void CTooltip::HideTip(Phase next)
{
    m_showTimer.stop();
    m_popTimer.stop();
    if (m_window)
        m_window->hide();
    m_phase = next;
}
