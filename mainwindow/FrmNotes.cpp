#include "FrmNotes.h"

#include "MControls.h"
#include "MForms.h"
#include "WindowSubclass.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString ToCrLf(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QString FromCrLf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

FrmNotes::FrmNotes(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmNotes"));
    setWindowTitle(QStringLiteral("Notes"));
    m_txtContent = new QPlainTextEdit(this);
    m_txtContent->setObjectName(QStringLiteral("txtContent"));
    m_txtContent->installEventFilter(this);
    connect(m_txtContent, &QPlainTextEdit::textChanged, this, &FrmNotes::ContentChanged);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_txtContent);
    // A fixed tool window.
    setFixedSize(320, 240);
    MForms::SetFormStaticEdge(this, true);

    m_events = Com::ComPtr<WindowEvents>::Attach(new WindowEvents);
    m_events->onMove = [this] { FormSc_Move(); };
    FormSc = HookWindow(this, m_events.Get());
    if (FormSc)
        FormSc->SetMove(true);
}

FrmNotes::~FrmNotes()
{
    MForms::ReleaseSubclass(FormSc);
}

void FrmNotes::SetPosition(float left, float top, bool moved)
{
    const bool movedBefore = m_moved;
    const QPoint to(static_cast<int>(std::lround(left / MControls::TwipsPerPixel(this, true))),
                    static_cast<int>(std::lround(top / MControls::TwipsPerPixel(this, false))));
    m_placedAt = to;
    m_placing = true;
    move(to);
    m_placing = false;
    if (!movedBefore)
        m_moved = moved;
}

void FrmNotes::ShowEx(bool modal, QWidget* owner)
{
    const bool movedBefore = m_moved;
    if (parentWidget() != owner)
        setParent(owner, Qt::Tool);
    if (!isVisible()) {
        // Shown where it stands (where it was put, or where the user left
        // it): asked for again, so that the window manager does not place
        // it anew.
        m_placedAt = pos();
        m_placing = true;
        move(m_placedAt);
        m_placing = false;
    }
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    show();
    raise();
    activateWindow();
    if (!movedBefore)
        m_moved = false;
}

void FrmNotes::ShowBeside(QWidget* mainWindow, Placement mode)
{
    if (mainWindow == nullptr)
        return;
    if (mode == PlaceAlways || (mode == PlaceUnlessMoved && !m_moved)) {
        const float twipsX = MControls::TwipsPerPixel(mainWindow, true);
        const float twipsY = MControls::TwipsPerPixel(mainWindow, false);
        const QRect main = mainWindow->frameGeometry();
        const float mainLeft = static_cast<float>(main.x()) * twipsX;
        const float mainTop = static_cast<float>(main.y()) * twipsY;
        const float width = static_cast<float>(frameGeometry().width()) * twipsX;
        if (mainLeft >= width + 75.0f)
            SetPosition(mainLeft - (width + 75.0f), mainTop, false);
        else
            SetPosition(mainLeft + 1050.0f, mainTop + 1425.0f, false);
    }
    ShowEx(false, mainWindow);
}

QString FrmNotes::Content() const
{
    return ToCrLf(m_txtContent->toPlainText());
}

void FrmNotes::SetContent(const QString& text)
{
    m_txtContent->setPlainText(FromCrLf(text));
}

bool FrmNotes::HasContent() const
{
    return !Content().remove(QLatin1String("\r\n")).isEmpty();
}

void FrmNotes::FormSc_Move()
{
    // X11 reports a move some time after it was asked for: the report of
    // the program's own placement is no move of the user.
    if (m_placing || !isVisible() || pos() == m_placedAt || geometry().topLeft() == m_placedAt)
        return;
    m_moved = true;
}

bool FrmNotes::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !m_txtContent->textCursor().hasSelection())
        m_txtContent->selectAll();
    return QWidget::event(e);
}

bool FrmNotes::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_txtContent && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_F2) {
            hide();
            return true;
        }
        if (key->key() == Qt::Key_A && key->modifiers() == Qt::ControlModifier) {
            // Select all, and nothing typed.
            m_txtContent->selectAll();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void FrmNotes::closeEvent(QCloseEvent* e)
{
    // The close box only hides the notes; they keep their text.
    e->ignore();
    hide();
}
