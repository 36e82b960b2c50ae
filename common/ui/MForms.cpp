#include "MForms.h"

#include "ProgramStart.h"
#include "X11Windows.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QProcess>
#include <QStandardPaths>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace MForms
{
namespace
{
constexpr const char* ExStyleProperty = "ruvExStyle";

// One of our own top-level widgets, nullptr for other programs' windows.
QWidget* OwnWindow(WindowHandle window)
{
    if (window == 0 || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    QWidget* widget = QWidget::find(static_cast<WId>(window));
    return widget != nullptr ? widget->window() : nullptr;
}

// The owner of one of our windows: the window its parent widget lies in.
QWidget* OwnOwner(QWidget* window)
{
    QWidget* parent = window->parentWidget();
    return parent != nullptr ? parent->window() : nullptr;
}

// The extended style as the window was made: a window never given one keeps
// the tool and topmost kinds of its flags (a tool window given an edge stays
// a tool window, above its owner).
std::int32_t ExStyleOf(const QWidget* window)
{
    const QVariant stored = window->property(ExStyleProperty);
    if (stored.isValid())
        return stored.toInt();
    std::int32_t style = 0;
    const Qt::WindowFlags flags = window->windowFlags();
    if ((flags & Qt::WindowType_Mask) == Qt::Tool)
        style |= ExStyleToolWindow;
    if (flags.testFlag(Qt::WindowStaysOnTopHint))
        style |= ExStyleTopmost;
    return style;
}

void ApplyExStyle(QWidget* window, std::int32_t style, bool redraw)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, (style & ExStyleTopmost) != 0);
    if ((style & ExStyleToolWindow) != 0)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
    else if ((flags & Qt::WindowType_Mask) == Qt::Tool)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Window;
    if (flags != window->windowFlags()) {
        // Changing the flags of a shown window hides it.
        const bool shown = window->isVisible();
        window->setWindowFlags(flags);
        if (shown)
            window->show();
    }
    if (auto* frame = qobject_cast<QFrame*>(window)) {
        if ((style & (ExStyleStaticEdge | ExStyleClientEdge)) != 0)
            frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        else
            frame->setFrameStyle(QFrame::NoFrame);
    }
    if (redraw)
        window->update();
}

bool StartDetached(const QString& program, const QStringList& arguments, const QString& folder,
                   std::int64_t& pid)
{
    qint64 started = 0;
    if (!QProcess::startDetached(program, arguments, folder, &started))
        return false;
    pid = started;
    return pid != 0;
}

// The desktop's opener for documents and folders.
bool OpenWithDesktop(const QString& target, const QString& folder, std::int64_t& pid)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !opener.isEmpty() && StartDetached(opener, {target}, folder, pid);
}
}

WindowHandle HandleOf(QWidget* widget)
{
    if (widget == nullptr)
        return 0;
    return static_cast<WindowHandle>(widget->window()->winId());
}

std::int32_t GetPlacement(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window)) {
        if (own->isMinimized())
            return StateMinimized;
        return own->isMaximized() ? StateMaximized : StateNormal;
    }
    X11Windows::State state = X11Windows::State::Normal;
    if (!X11Windows::GetState(window, state))
        return 0;
    return static_cast<std::int32_t>(state);
}

WindowHandle GetRootOwner(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window)) {
        while (QWidget* owner = OwnOwner(own))
            own = owner;
        return static_cast<WindowHandle>(own->winId());
    }
    // The chain is short; the bound stops a loop that a broken client made.
    for (int i = 0; i < 64; ++i) {
        const WindowHandle owner = X11Windows::Owner(window);
        if (owner == 0)
            break;
        window = owner;
    }
    return window;
}

QIcon LoadIconResource(const QString& iconName)
{
    if (iconName.isEmpty())
        return {};
    for (const QString& path :
         {QStringLiteral(":/icons/%1.png"), QStringLiteral(":/icons/%1.ico"),
          QStringLiteral(":/icons/%1.svg"), QStringLiteral(":/%1")}) {
        const QString name = path.arg(iconName);
        if (QFile::exists(name))
            return QIcon(name);
    }
    return {};
}

void SetFormIcon(WindowHandle window, const QString& iconName, bool alsoOwner)
{
    QWidget* own = OwnWindow(window);
    if (own == nullptr)
        return;
    const QIcon icon = LoadIconResource(iconName);
    if (alsoOwner) {
        if (QWidget* root = OwnWindow(GetRootOwner(window)))
            root->setWindowIcon(icon);
    }
    own->setWindowIcon(icon);
}

std::int32_t SendClose(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window))
        own->close();
    else
        X11Windows::RequestClose(window);
    return 0;
}

void DragForm(QWidget* form)
{
    if (form == nullptr)
        return;
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWindow* handle = form->window()->windowHandle())
        handle->startSystemMove();
}

int TitleBarWidth(const QString& title)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = metrics.height() + 8;
    return metrics.horizontalAdvance(title) + 4 * bar + 2 * 8;
}

std::int32_t ChangeExStyleBits(std::int32_t style, std::int32_t bits, bool on)
{
    if (on)
        return style | bits;
    if ((style & bits) == bits)
        return style & ~bits;
    return style;
}

std::int32_t GetWindowExStyle(WindowHandle window)
{
    QWidget* own = OwnWindow(window);
    return own != nullptr ? ExStyleOf(own) : 0;
}

void SetWindowExStyle(WindowHandle window, std::int32_t bits, bool on, bool redraw)
{
    QWidget* own = OwnWindow(window);
    if (own == nullptr)
        return;
    const std::int32_t before = ExStyleOf(own);
    const std::int32_t after = ChangeExStyleBits(before, bits, on);
    own->setProperty(ExStyleProperty, after);
    if (after != before)
        ApplyExStyle(own, after, redraw);
}

void SetFormStaticEdge(QWidget* form, bool on)
{
    if (form != nullptr)
        SetWindowExStyle(HandleOf(form), ExStyleStaticEdge, on, true);
}

bool FindWindows(QList<WindowHandle>& handles, const QString& title, const QString& className,
                 bool includeOwned)
{
    handles.clear();
    const QString wantedTitle = title.toLower();
    const QString wantedClass = className.toLower();
    for (const X11Windows::Handle w : X11Windows::TopLevelWindows(false)) {
        if (!includeOwned && X11Windows::Owner(w) != 0)
            continue;
        if (!wantedTitle.isEmpty() && X11Windows::Title(w).toLower() != wantedTitle)
            continue;
        if (!wantedClass.isEmpty() && X11Windows::ClassName(w).toLower() != wantedClass)
            continue;
        handles.append(w);
    }
    return !handles.isEmpty();
}

bool FindWindowsOfProcess(QList<WindowHandle>& handles, std::int64_t processId)
{
    handles.clear();
    if (processId <= 0)
        return false;
    for (const X11Windows::Handle w : X11Windows::TopLevelWindows(false)) {
        if (X11Windows::ProcessId(w) == processId)
            handles.append(w);
    }
    return !handles.isEmpty();
}

bool IsTopLevelWindow(WindowHandle window)
{
    if (OwnWindow(window) != nullptr) {
        QWidget* widget = QWidget::find(static_cast<WId>(window));
        return widget->isWindow() && OwnOwner(widget) == nullptr;
    }
    return X11Windows::Exists(window) && X11Windows::Owner(window) == 0;
}

QString GetWindowTitle(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window))
        return own->windowTitle();
    return X11Windows::Title(window);
}

QString GetWindowClass(WindowHandle window)
{
    return X11Windows::ClassName(window);
}

bool ActivateWindow(WindowHandle window)
{
    return X11Windows::Activate(window);
}

bool MinimizeWindow(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window)) {
        own->showMinimized();
        return true;
    }
    return X11Windows::Minimize(window);
}

bool RestoreWindow(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window)) {
        own->showNormal();
        return true;
    }
    return X11Windows::Restore(window);
}

bool MaximizeWindow(WindowHandle window)
{
    if (QWidget* own = OwnWindow(window)) {
        own->showMaximized();
        return true;
    }
    return X11Windows::Maximize(window);
}

WindowHandle GetActiveWindow()
{
    return X11Windows::ActiveWindow();
}

std::int64_t ShellExecuteVerb(QWidget* /*owner*/, std::int32_t verb, const QString& file,
                              const QString& folder, const QString& parameters,
                              std::int32_t /*showCommand*/)
{
    std::int64_t pid = 0;
    const QFileInfo info(file);
    switch (verb) {
    case 1:  // find
    case 2:  // explore
        return OpenWithDesktop(info.isDir() || file.isEmpty() ? (file.isEmpty() ? folder : file)
                                                              : info.absolutePath(),
                               folder, pid)
                   ? pid
                   : 0;
    case 3:  // properties: no desktop-neutral dialog exists
        return 0;
    case 5: {  // print
        const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
        return !lp.isEmpty() && info.isFile() && StartDetached(lp, {file}, folder, pid) ? pid : 0;
    }
    default:  // open
        if (file.isEmpty())
            return 0;
        if (info.isFile() && info.isExecutable())
            return StartDetached(info.absoluteFilePath(), QProcess::splitCommand(parameters), folder,
                                 pid)
                       ? pid
                       : 0;
        return OpenWithDesktop(file, folder, pid) ? pid : 0;
    }
}

std::int64_t StartProgram(const QString& program, const QString& commandLine, const QString& folder,
                          QString& reason)
{
    return RuvPlatform::ProgramStart::Start(program, commandLine, folder, reason);
}

std::int64_t StartWithArguments(const QString& program, const QStringList& arguments, const QString& folder)
{
    const QFileInfo info(program);
    std::int64_t pid = 0;
    return info.isFile() && info.isExecutable() && StartDetached(info.absoluteFilePath(), arguments, folder, pid)
               ? pid
               : 0;
}

std::unique_ptr<QObject> WatchProgramEnd(std::int64_t process, std::function<void()> ended)
{
    return std::make_unique<RuvPlatform::ProgramStart::EndWatch>(process, std::move(ended));
}
}
