#include "DemoSelection.h"

#include "FrmDemos.h"
#include "HandlerErrors.h"
#include "MControls.h"
#include "MFileOp.h"
#include "MFileOpDialogs.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "RuvError.h"
#include "StatusMessages.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int32_t TextDemoNotFound = 208;
constexpr int32_t TextListReloading = 209;
constexpr int32_t RightButton = 2;

// The copies of the chosen demo in the game's demo folder; the demo
// browser never lists them.
const QString CopyPrefix = QStringLiteral("__vava_last_demo_");

using RuvPlatform::PathHelper::Join;
using RuvPlatform::PathHelper::ToNative;

// The text after the last "." behind the last separator; empty when there
// is none.
QString DemoExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > RuvPlatform::PathHelper::LastSeparator(path) ? path.mid(dot + 1) : QString();
}

// The width the box gives its text: inside its frame and Qt's margin of
// 2 pixels at either side, so that the whole shortened path shows.
int TextWidth(const QLineEdit* box)
{
    const QMargins margins = box->textMargins();
    const int frame = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
    return std::max(0, box->contentsRect().width() - margins.left() - margins.right() - 2 * frame - 4);
}

}  // namespace

DemoSelection::DemoSelection(MainContext& context) : m_c(context)
{
    if (QPushButton* pick = m_c.widgets.cmdGDemoPick)
        connect(pick, &QPushButton::clicked, this, [this] { RunHandler(m_c, [this] { cmdGDemoPick_Click(); }); });
    if (QLineEdit* box = m_c.widgets.txtDemo) {
        box->installEventFilter(this);
        // A right click clears the demo; no edit menu comes after it.
        box->setContextMenuPolicy(Qt::PreventContextMenu);
    }
}

void DemoSelection::fConnectDemoBrowser(FrmDemos& browser)
{
    connect(&browser, &FrmDemos::NewDemoRootDirSelected, this, [this](const QString& folder) {
        RunHandler(m_c, [&] { mDemosForm_NewDemoRootDirSelected(folder); });
    });
    connect(&browser, &FrmDemos::RefreshRequested, this,
            [this](bool& cancel) { RunHandler(m_c, [&] { mDemosForm_RefreshRequested(cancel); }); });
    connect(&browser, &FrmDemos::SelectedDemoChanged, this,
            [this](const QString& path) { RunHandler(m_c, [&] { mDemosForm_SelectedDemoChanged(path); }); });
    connect(&browser, &FrmDemos::DemoListUpdated, this,
            [this] { RunHandler(m_c, [this] { mDemosForm_DemoListUpdated(); }); });
}

// ---- The project's demo root folder and the chosen demo -------------------

void DemoSelection::SetProjectDemoRootDir(QString& folder)
{
    if (!MFileOp::FolderExists(folder) && m_c.state.m_activeGame)
        folder = m_c.state.m_activeGame->DemoDefaultRootDir();
    const bool changed = folder != m_projectDemoRootDir;
    m_projectDemoRootDir = folder;
    if (changed)
        fRefreshDemoBrowser();
}

void DemoSelection::fRefreshDemoBrowser()
{
    FrmDemos* browser = m_c.controls.mDemosForm.get();
    if (!browser)
        return;
    const CGameDefinition* game = m_c.state.m_activeGame;
    browser->SetRootDirectory(m_projectDemoRootDir, game ? game->DemoFileExtension() : QString());
}

bool IDemoSelection::fIsBelowDemoRoot(const QString& path)
{
    // The demo is copied into the game's folder and handed to the game: a
    // project file must not make that any file of the machine.
    return RuvPlatform::PathHelper::StaysInside(path.trimmed());
}

void DemoSelection::fSetDemo(const QString& path)
{
    fClearDemo();
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || !fIsBelowDemoRoot(trimmed))
        return;
    m_demoTag = trimmed;
    fShowDemo();
}

void DemoSelection::fShowDemo()
{
    QLineEdit* box = m_c.widgets.txtDemo;
    box->setText(MFileOp::CompactPath(m_demoTag, TextWidth(box), box->fontMetrics()));
    box->setCursorPosition(0);
}

void DemoSelection::fClearDemo()
{
    m_c.widgets.txtDemo->clear();
    m_demoTag.clear();
}

QString DemoSelection::fDemoFullPath() const
{
    QString relative = m_demoTag;
    relative.replace(QLatin1Char('\\'), RuvPlatform::PathHelper::SeparatorOf(m_projectDemoRootDir));
    return Join(m_projectDemoRootDir, relative);
}

bool DemoSelection::fDemoExists() const
{
    // Without a root the path would be taken from the program's own folder.
    if (!fHasDemo() || m_projectDemoRootDir.isEmpty())
        return false;
    const QString path = ToNative(fDemoFullPath());
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool DemoSelection::fIsDemoInDefaultRoot() const
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    return game && game->IsDefaultDemoRootDir(m_projectDemoRootDir);
}

// ---- The demo argument and its copy ------------------------------------------

QString DemoSelection::fDemoCopyStamp(const QDateTime& when) const
{
    const uint32_t tick = m_c.services.clock ? m_c.services.clock->GetTickMs() : 0;
    return when.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral("%1").arg(tick % 1000, 3, 10, QLatin1Char('0'));
}

QString DemoSelection::fGetGameDemoPath()
{
    const CGameDefinition* game = m_c.state.m_activeGame;
    if (!game)
        return {};
    const QString demoFolder = game->GetDefaultDemoRootDir();
    // The copies of earlier starts go, whatever follows; without a mod
    // folder the demo folder would be relative to wherever the program runs,
    // and nothing is deleted.
    if (!game->ModFullDir().isEmpty()) {
        try {
            MFileOp::ShellDelete(Join(demoFolder, CopyPrefix + QLatin1Char('*')),
                                 MFileOp::FofSilent | MFileOp::FofNoConfirmation | MFileOp::FofFilesOnly);
        } catch (const RuvError&) {
            // A copy that stays is listed by no one and replaced next time.
        }
    }
    if (!fDemoExists())
        return {};
    if (fIsDemoInDefaultRoot())
        return fRelativeDemoPath();
    if (game->ModFullDir().isEmpty())
        return {};

    const QString name = CopyPrefix + fDemoCopyStamp(QDateTime::currentDateTime()) + QLatin1Char('.')
                         + DemoExtension(m_demoTag);
    const QString target = ToNative(Join(demoFolder, name));
    if (target.isEmpty())
        return {};
    if (!MFileOp::FolderExists(demoFolder) && !MFileOp::CreateFolderPath(demoFolder))
        return {};
    // A plain copy: the shell's copy would refuse the name of a demo without
    // extension, which ends in a dot, as Windows names may not.
    QFile::remove(target);
    if (!QFile::copy(ToNative(fDemoFullPath()), target))
        return {};
    return name;
}

// ---- Handlers ------------------------------------------------------------------

void DemoSelection::cmdGDemoPick_Click()
{
    FrmDemos* browser = m_c.controls.mDemosForm.get();
    if (!browser)
        return;
    browser->SetPosition(m_c.widgets.cmdGDemoPick);
    browser->ShowEx(&m_c.window);
}

void DemoSelection::txtDemo_DblClick()
{
    cmdGDemoPick_Click();
}

void DemoSelection::txtDemo_GotFocus()
{
    // A read-only line edit draws no caret.
    MControls::SetReadOnly(m_c.widgets.txtDemo, true);
}

void DemoSelection::txtDemoSc_MouseDown(int32_t& button, int32_t&, int32_t, int32_t, bool& handled)
{
    if (button != RightButton)
        return;
    fClearDemo();
    handled = true;
}

void DemoSelection::mDemosForm_NewDemoRootDirSelected(const QString& folder)
{
    QString root = folder;
    SetProjectDemoRootDir(root);
}

void DemoSelection::mDemosForm_RefreshRequested(bool& cancel)
{
    cancel = !m_c.parts.gameSelection->fCheckGameLocation();
}

void DemoSelection::mDemosForm_SelectedDemoChanged(const QString& path)
{
    fSetDemo(path);
}

void DemoSelection::mDemosForm_DemoListUpdated()
{
    FrmDemos* browser = m_c.controls.mDemosForm.get();
    if (!browser || !fHasDemo())
        return;
    if (!browser->SelectItem(m_demoTag))
        m_c.status.fShowMessageBox(m_c.texts.fGetText(TextDemoNotFound, m_demoTag), 64,
                                   m_c.texts.fGetText(TextListReloading));
}

bool DemoSelection::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_c.widgets.txtDemo) {
        if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
            RunHandler(m_c, [this] { txtDemo_DblClick(); });
        else if (e->type() == QEvent::FocusIn)
            txtDemo_GotFocus();
        // The box gets its width when its page is first shown, and the
        // layout changes it: the demo is shortened to the width it has.
        else if (e->type() == QEvent::Resize && fHasDemo())
            fShowDemo();
    }
    return QObject::eventFilter(watched, e);
}
