#include "ScreenshotTools.h"

#include "HandlerErrors.h"
#include "MFileOp.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "StatusMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>

namespace {

constexpr int32_t kStyleInformation = 64;
constexpr int32_t kStyleYesNoQuestion = 36;
constexpr int32_t kAnswerYes = 6;
constexpr int32_t kShowNormal = 1;
constexpr int32_t kVerbOpen = 0;

constexpr int32_t kLoadTitleText = 210;
constexpr int32_t kNoScreenshotText = 211;
constexpr int32_t kLocalizeLoaderText = 212;
constexpr int32_t kDeleteTitleText = 213;
constexpr int32_t kDeleteQuestionText = 214;
constexpr int32_t kNoFolderText = 215;
constexpr int32_t kExploreTitleText = 216;
constexpr int32_t kExampleText = 277;
constexpr int32_t kLoaderNotStartedText = 936;
constexpr int32_t kNotDeletedText = 938;
constexpr int32_t kAllFilesText = 939;

// A Linux video program that takes an image series from its first file.
constexpr const char* kLoaderExample = "/usr/bin/avidemux3_qt5";
// Where programs are, when no loader was chosen yet.
constexpr const char* kProgramFolder = "/usr/bin";

bool IsProgramFile(const QString& path)
{
    const QFileInfo file(RuvPlatform::PathHelper::ToNative(path));
    return !path.isEmpty() && file.isFile() && file.isExecutable();
}

}  // namespace

ScreenshotTools::ScreenshotTools(MainContext& context) : m_c(context)
{
    const MainWidgets& w = m_c.widgets;
    const auto handler = [this](void (ScreenshotTools::*click)()) {
        return [this, click] { RunHandler(m_c, [this, click] { (this->*click)(); }); };
    };
    connect(w.cmdGSShotLoad, &QPushButton::clicked, this, handler(&ScreenshotTools::cmdGSShotLoad_Click));
    connect(w.cmdGSShotsDelete, &QPushButton::clicked, this, handler(&ScreenshotTools::cmdGSShotsDelete_Click));
    connect(w.cmdGSShotExploreFolder, &QPushButton::clicked, this,
            handler(&ScreenshotTools::cmdGSShotExploreFolder_Click));
    w.cmdGSShotLoad->installEventFilter(this);
}

bool ScreenshotTools::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_c.widgets.cmdGSShotLoad && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            const QPoint at = press->position().toPoint();
            RunHandler(m_c, [this, at] { cmdGSShotLoad_MouseDown(2, 0, at.x(), at.y()); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QStringList ScreenshotTools::fFindScreenshots(const QString& folder, const QString& extension)
{
    QStringList found;
    if (folder.isEmpty() || !MFileOp::FindFilesRecursive(found, folder, false, {QStringLiteral("shot*.") + extension}))
        return {};
    found.removeAll(QString());
    return found;
}

void ScreenshotTools::cmdGSShotLoad_Click()
{
    const QString title = m_c.texts.fGetText(kLoadTitleText);
    const QString folder = m_c.parts.gameSelection->fGetScreenshotDir();
    QStringList shots = fFindScreenshots(folder, QStringLiteral("tga"));
    if (shots.isEmpty())
        shots = fFindScreenshots(folder, QStringLiteral("jpg"));
    if (shots.isEmpty()) {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(kNoScreenshotText), kStyleInformation, title);
        return;
    }
    if (!IsProgramFile(m_c.state.m_sShotLoader) && !fChooseScreenshotLoader())
        return;
    const QString shot = RuvPlatform::PathHelper::ToNative(shots.constFirst());
    const QString& loader = m_c.state.m_sShotLoader;
    // The name as one argument: quoted into a command line, a name holding
    // quotes would be split into several.
    if (m_c.services.shell->StartWithArguments(RuvPlatform::PathHelper::ToNative(loader), {shot}, QString()) == 0)
        m_c.status.fShowMessageBox(m_c.texts.fGetText(kLoaderNotStartedText, TaggedValue(loader)), kStyleInformation,
                                   title);
}

void ScreenshotTools::cmdGSShotLoad_MouseDown(int32_t button, int32_t, int32_t, int32_t)
{
    if (button == 2)
        fChooseScreenshotLoader();
}

bool ScreenshotTools::fChooseScreenshotLoader()
{
    QString file;
    QString folder = QString::fromLatin1(kProgramFolder);
    if (IsProgramFile(m_c.state.m_sShotLoader)) {
        file = m_c.state.m_sShotLoader;
        folder = MFileOp::GetFolderPart(file);
    }
    const QString title = m_c.texts.fGetText(kLocalizeLoaderText) + QStringLiteral("  ")
                          + m_c.texts.fGetText(kExampleText) + QStringLiteral(" : ")
                          + QString::fromLatin1(kLoaderExample);
    const QString allFiles = m_c.texts.fGetText(kAllFilesText);
    const QString filter = allFiles + QStringLiteral(" (*)|*|");
    int32_t filterIndex = 1;
    QString fileTitle;
    // Anything else than a program file asks again.
    while (m_c.services.dialogs->ShowOpenDialog(&m_c.window, title, file, fileTitle, folder, filter, filterIndex,
                                                QString(), IDialogs::FileMustExist | IDialogs::HideReadOnly)) {
        if (IsProgramFile(file)) {
            m_c.state.m_sShotLoader = file;
            return true;
        }
        folder = MFileOp::GetFolderPart(file);
    }
    return false;
}

void ScreenshotTools::cmdGSShotsDelete_Click()
{
    const QString title = m_c.texts.fGetText(kDeleteTitleText);
    const QString folder = m_c.parts.gameSelection->fGetScreenshotDir();
    // Only the game's screenshots: the folder and whatever else the user
    // keeps in it stay.
    const QStringList shots = fFindScreenshots(folder, QStringLiteral("tga")) + fFindScreenshots(folder, QStringLiteral("jpg"));
    if (shots.isEmpty()) {
        m_c.status.fShowMessageBox(m_c.texts.fGetText(kNoScreenshotText), kStyleInformation, title);
        return;
    }
    if (m_c.services.dialogs->MessageBox(&m_c.window, title, m_c.texts.fGetText(kDeleteQuestionText),
                                         kStyleYesNoQuestion, QString(), 0)
        != kAnswerYes)
        return;
    QStringList kept;
    for (const QString& shot : shots) {
        if (!QFile::remove(RuvPlatform::PathHelper::ToNative(shot)))
            kept << shot;
    }
    if (!kept.isEmpty())
        m_c.status.fShowMessageBox(m_c.texts.fGetText(kNotDeletedText, TaggedValue(kept.join(QStringLiteral("\r\n")))),
                                   kStyleInformation, title);
}

void ScreenshotTools::cmdGSShotExploreFolder_Click()
{
    QString folder;
    const QString wanted = m_c.parts.gameSelection->fGetScreenshotDir();
    if (!wanted.isEmpty() && MFileOp::GetExistingFolder(wanted, folder)) {
        m_c.services.shell->ShellExecuteVerb(nullptr, kVerbOpen, folder, QString(), QString(), kShowNormal);
        return;
    }
    m_c.status.fShowMessageBox(m_c.texts.fGetText(kNoFolderText), kStyleInformation,
                               m_c.texts.fGetText(kExploreTitleText));
}
