#pragma once

// What the tests of the real main window share: a settings store of their
// own, the two component libraries registered in it, fakes for the parts
// of the window that later work fills in (project commands, preview, edit
// state), a recording dialogs service, and helpers that answer the real
// message boxes.

#include "ComClient.h"
#include "MArrayConvert.h"
#include "FrmMain.h"
#include "MMsgBoxEx.h"
#include "MainServicesReal.h"
#include "PreviewPlayback.h"
#include "ProgramStart.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace Harness {

// A settings store in a temporary folder for as long as it lives.
class TempStore
{
public:
    TempStore() : m_old(qgetenv("RUVADIR_REGISTRY"))
    {
        qputenv("RUVADIR_REGISTRY", m_dir.path().toLocal8Bit());
    }
    ~TempStore()
    {
        if (m_old.isNull())
            qunsetenv("RUVADIR_REGISTRY");
        else
            qputenv("RUVADIR_REGISTRY", m_old);
    }
    QString Path() const { return m_dir.path(); }
    QString File() const { return m_dir.filePath(QStringLiteral("registry.xml")); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};

inline void RegisterLibraries()
{
    Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH));
    Com::RegisterServerFile(QStringLiteral(RUV_DORADO_PATH));
}

// What the fakes record and answer.
struct FakeState
{
    QStringList calls;           // "New", "Open:<path>", "Save", "ReleaseLock", "StopPlayback"
    bool saveSucceeds = false;
    bool nothingToSave = true;
    bool loopActive = false;
    bool playing = false;
};

class FakeProjectCommands final : public IProjectCommands
{
public:
    FakeProjectCommands(MainContext& c, FakeState& s) : m_real(c), m_s(s) {}
    bool fNewProject(bool unloadMap) override
    {
        m_s.calls << QStringLiteral("New");
        return m_real.fNewProject(unloadMap);
    }
    bool fOpenProject(const QString& path) override
    {
        m_s.calls << QStringLiteral("Open:") + path;
        return true;
    }
    bool fSaveProject() override
    {
        m_s.calls << QStringLiteral("Save");
        return m_s.saveSucceeds;
    }

private:
    ProjectCommands m_real;
    FakeState& m_s;
};

class FakePreview final : public IPreviewPlayback
{
public:
    explicit FakePreview(FakeState& s) : m_s(s) {}
    void fReleasePreviewLock() override { m_s.calls << QStringLiteral("ReleaseLock"); }
    bool fIsPlaying() const override { return m_s.playing; }
    void fStopPlayback() override
    {
        m_s.calls << QStringLiteral("StopPlayback");
        m_s.playing = false;
    }
    bool LoopActive() const override { return m_s.loopActive; }

private:
    FakeState& m_s;
};

// The real edit state, whose save question the test answers.
class FakeEditState final : public EditState
{
public:
    FakeEditState(MainContext& c, FakeState& s) : EditState(c), m_s(s) {}
    bool fNothingToSave() const override { return m_s.nothingToSave; }

private:
    FakeState& m_s;
};

class FakeFactory : public MainPartsFactory
{
public:
    explicit FakeFactory(FakeState& s) : m_s(s) {}
    std::unique_ptr<IProjectCommands> MakeProjectCommands(MainContext& c) override
    {
        return std::make_unique<FakeProjectCommands>(c, m_s);
    }
    std::unique_ptr<IPreviewPlayback> MakePreview(MainContext&) override
    {
        return std::make_unique<FakePreview>(m_s);
    }
    std::unique_ptr<IEditState> MakeEditState(MainContext& c) override
    {
        return std::make_unique<FakeEditState>(c, m_s);
    }

private:
    FakeState& m_s;
};

// The fakes with the real preview, for the tests of the preview's keys and
// buttons.
class PreviewFactory final : public FakeFactory
{
public:
    using FakeFactory::FakeFactory;
    std::unique_ptr<IPreviewPlayback> MakePreview(MainContext& c) override
    {
        return std::make_unique<PreviewPlayback>(c);
    }
};

// Records message boxes and answers them from a list (then with OK), or,
// with `shown`, shows them for real for the user's answer; the file dialogs
// and the folder browser stay real.
class RecordingDialogs final : public IDialogs
{
public:
    struct Box
    {
        QWidget* owner;
        QString title;
        QString prompt;
        int32_t style;
        QString icon;
    };
    QList<Box> boxes;
    QList<int32_t> answers;
    bool shown = false;

    bool ShowOpenDialog(QWidget* o, const QString& t, QString& n, QString& ft, const QString& f, const QString& fl,
                        int32_t& i, const QString& e, int32_t fg) override
    {
        return m_real->ShowOpenDialog(o, t, n, ft, f, fl, i, e, fg);
    }
    bool ShowSaveDialog(QWidget* o, const QString& t, QString& n, QString& ft, const QString& f, const QString& fl,
                        int32_t& i, const QString& e, int32_t fg) override
    {
        return m_real->ShowSaveDialog(o, t, n, ft, f, fl, i, e, fg);
    }
    QString BrowseForFolder(QWidget* o, const QString& t, const QString& f, int32_t r, int32_t fl,
                            const QString& i) override
    {
        return m_real->BrowseForFolder(o, t, f, r, fl, i);
    }
    int32_t MessageBox(QWidget* owner, const QString& title, const QString& prompt, int32_t style,
                       const QString& icon, int32_t timeoutMs) override
    {
        boxes << Box{owner, title, prompt, style, icon};
        if (shown)
            return m_real->MessageBox(owner, title, prompt, style, icon, timeoutMs);
        return answers.isEmpty() ? MMsgBoxEx::IdOk : answers.takeFirst();
    }

private:
    std::shared_ptr<IDialogs> m_real = MakeRealServices().dialogs;
};

// Real services with recording boxes.
inline MainServices Services(std::shared_ptr<RecordingDialogs> dialogs)
{
    MainServices s = MakeRealServices();
    s.dialogs = std::move(dialogs);
    // The game settings find no game of the machine.
    s.gameSearch = {};
    return s;
}

// The message box of MMsgBoxEx that is open, if any.
inline QMessageBox* OpenBox()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box && box->isVisible() && box->objectName() == QLatin1String(MMsgBoxEx::BoxObjectName))
            return box;
    }
    return nullptr;
}

// Runs the action on the next message box once it is shown.
inline void OnBox(std::function<void(QMessageBox*)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QMessageBox* box = OpenBox()) {
            poll->stop();
            poll->deleteLater();
            action(box);
        }
    });
    poll->start(10);
}

// Makes the window the active one and waits until it stays so (without a
// window manager, a window mapped late can take the focus once more).
inline bool Activate(QWidget* window)
{
    return QTest::qWaitFor(
        [window] {
            if (!window->isActiveWindow()) {
                window->activateWindow();
                return false;
            }
            QTest::qWait(60);
            return window->isActiveWindow();
        },
        3000);
}

// Starts the window with the fakes and no command line, shown, its splash
// hidden and itself active: where the tests of menus and keys begin. The
// store must be the test's own already.
// Starts the window as the program does, without a command line, and
// waits until it is shown; the splash is hidden so that it covers nothing.
inline bool StartShown(std::unique_ptr<FrmMain>& window, MainServices services, FakeState& fake)
{
    window.reset();
    RegisterLibraries();
    MArrayConvert::SetCommandLineText(QString());
    if (ProgramStart::StartMainWindow(std::move(services), window, std::make_unique<FakeFactory>(fake)) != 0
        || !window || !QTest::qWaitForWindowExposed(window.get()))
        return false;
    window->Controls().m_aboutForm->hide();
    return true;
}

inline bool StartActive(std::unique_ptr<FrmMain>& window, MainServices services, FakeState& fake)
{
    return StartShown(window, std::move(services), fake) && Activate(window.get());
}

inline QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text().remove(QLatin1Char('&')) == text)
            return b;
    return nullptr;
}

}  // namespace Harness
