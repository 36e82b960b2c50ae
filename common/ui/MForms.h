#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class QWidget;

// Helpers for the program's forms and for other programs' top-level windows.
// A window is named by its handle: for the program's own windows the
// top-level's native id (HandleOf), for other programs' windows (the game's)
// the X11 window id that FindWindows returns. Our own windows are served
// through Qt, the others through the X server; every call fails quietly
// (0, false, the empty text) when the window is gone or there is no display.
namespace MForms
{
using WindowHandle = std::uint64_t;

// Window states as GetPlacement numbers them (the system's show command
// minus 1). Callers elsewhere that compare with 2 to mean "minimized" are
// wrong: 2 is maximized, 1 minimized.
constexpr std::int32_t StateNormal = 0;
constexpr std::int32_t StateMinimized = 1;
constexpr std::int32_t StateMaximized = 2;

// Extended-style bits that our own windows act on.
constexpr std::int32_t ExStyleTopmost = 0x8;
constexpr std::int32_t ExStyleToolWindow = 0x80;
constexpr std::int32_t ExStyleClientEdge = 0x200;
constexpr std::int32_t ExStyleStaticEdge = 0x20000;

// The handle of the widget's top-level window (created on demand), 0 for none.
WindowHandle HandleOf(QWidget* widget);

// 0 normal, 1 minimized, 2 maximized; 0 too when the state cannot be read.
std::int32_t GetPlacement(WindowHandle window);
// The last window of the owner chain; the window itself when it has no owner.
WindowHandle GetRootOwner(WindowHandle window);
// The program's icon of that name (":/icons/<name>.png", ".ico", ".svg" or
// ":/<name>"), a null icon when there is none.
QIcon LoadIconResource(const QString& iconName);
// Sets the icon on one of our own windows and, with alsoOwner, on its root
// owner. An icon that does not load sets a null icon, as the system did.
void SetFormIcon(WindowHandle window, const QString& iconName, bool alsoOwner);
// Asks the window to close (our own: QWidget::close; others:
// WM_DELETE_WINDOW). The result is the close message's result, 0.
std::int32_t SendClose(WindowHandle window);
// Lets the window manager move the form as if its caption were dragged.
void DragForm(QWidget* form);
// The width a window needs for its whole title in the window manager's
// title bar: the title in the bar's bold font, and beside it the window's
// icon and three buttons (each about a square of the bar's height) with the
// bar's margins. Window managers draw their own bars, so this is an
// estimate on the generous side.
int TitleBarWidth(const QString& title);

// The extended-style bits after setting (on) or clearing them; clearing
// happens only when all of the bits are set.
std::int32_t ChangeExStyleBits(std::int32_t style, std::int32_t bits, bool on);
std::int32_t GetWindowExStyle(WindowHandle window);
// Our own windows only; other programs' windows are left alone.
void SetWindowExStyle(WindowHandle window, std::int32_t bits, bool on, bool redraw);
void SetFormStaticEdge(QWidget* form, bool on);

// Walks the top-level windows that are shown (bottom of the stacking order
// first) and keeps those whose title and class equal the given ones without
// regard to case; an empty title or class name skips that test. Owned
// windows are skipped unless includeOwned. True when any window was kept.
bool FindWindows(QList<WindowHandle>& handles, const QString& title, const QString& className,
                 bool includeOwned);
// The shown top-level windows that the process declares as its own.
bool FindWindowsOfProcess(QList<WindowHandle>& handles, std::int64_t processId);
bool IsTopLevelWindow(WindowHandle window);
QString GetWindowTitle(WindowHandle window);
QString GetWindowClass(WindowHandle window);

// State changes and activation; true when the request was made.
bool ActivateWindow(WindowHandle window);
bool MinimizeWindow(WindowHandle window);
bool RestoreWindow(WindowHandle window);
bool MaximizeWindow(WindowHandle window);
WindowHandle GetActiveWindow();

// Verbs: 0 (and any unknown index) and 4 "open", 1 "find", 2 "explore",
// 3 "properties", 5 "print". Opens a program by starting it, anything else
// through the desktop's opener. The result is the new process's id, 0 on
// failure or when no process could be named ("properties" has none here).
std::int64_t ShellExecuteVerb(QWidget* owner, std::int32_t verb, const QString& file,
                              const QString& folder, const QString& parameters,
                              std::int32_t showCommand);

// Starts the program with the command line split at blanks outside double
// quotes, the quotes kept (the engines join their arguments and read the
// quotes, which ShellExecuteVerb's parameters lose), in the working folder,
// without waiting: the new process's id; 0 and the reason when it was not
// started (RuvPlatform::ProgramStart).
std::int64_t StartProgram(const QString& program, const QString& commandLine, const QString& folder,
                          QString& reason);
// Calls `ended` once, from the event loop, when the process StartProgram
// started has ended, or when it cannot be watched; a later process given
// the same id is not taken for it (RuvPlatform::ProgramStart::EndWatch).
// Destroying the object returned stops the watch.
std::unique_ptr<QObject> WatchProgramEnd(std::int64_t process, std::function<void()> ended);

// Starts the program file with its arguments given one by one, so that a
// file name with blanks or quotes reaches it as one argument, in the
// working folder, without waiting: the new process's id; 0 when the file is
// no program or did not start.
std::int64_t StartWithArguments(const QString& program, const QStringList& arguments, const QString& folder);

// Terminates the subclass object that the member holds and empties the
// member; an empty member is left alone. Works on any owning or counted
// pointer to a type with Terminate().
template <class Pointer>
void ReleaseSubclass(Pointer& member)
{
    if (member) {
        member->Terminate();
        member = Pointer{};
    }
}
}
