#include "CurveImport.h"

#include "C3DCurve.h"
#include "HandlerErrors.h"
#include "MCDialog.h"
#include "MDisplayNumber.h"
#include "MFileOp.h"
#include "MFileOpDialogs.h"
#include "MMsgBoxEx.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "PositionFiles.h"
#include "StatusMessages.h"
#include "UC3DCurveManager.h"

#include <QMainWindow>

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t TextLimitReached = 157;
constexpr int32_t TextReadError = 171;
constexpr int32_t TextTitle = 174;
constexpr int32_t TextSelectFolder = 175;
constexpr int32_t TextRemoveSources = 176;
constexpr int32_t TextFilesNotFound = 177;
constexpr int32_t TextNoFolder = 178;
constexpr int32_t TextPickFile = 179;
constexpr int32_t TextMakeRoom = 180;
constexpr int32_t TextNoPoint = 181;
constexpr int32_t TextNotTrashed = 953;

// The folder browser: an edit box, the new dialog style, no new-folder
// button.
constexpr int32_t BrowseFlags = 592;
// The open dialog: the file must exist; no read-only box.
constexpr int32_t OpenFlags = IDialogs::FileMustExist | IDialogs::HideReadOnly;

enum GameType : int32_t { EtPro = 0, DeFrag = 1, Warsow = 2, Rtcw = 3, EtQw = 4 };

// The curve's control count changes once, for all the points of an import,
// however the import ends.
class ControlsCountBracket
{
public:
    explicit ControlsCountBracket(C3DCurve& curve) : m_curve(curve) { m_curve.BeginControlsCountChange(); }
    ~ControlsCountBracket() { m_curve.EndControlsCountChange(); }
    ControlsCountBracket(const ControlsCountBracket&) = delete;
    ControlsCountBracket& operator=(const ControlsCountBracket&) = delete;

private:
    C3DCurve& m_curve;
};

}  // namespace

CurveImport::CurveImport(MainContext& context) : m_c(context)
{
    if (UC3DCurveManager* manager = m_c.widgets.cmCurveManager)
        QObject::connect(manager, &UC3DCurveManager::ImportClicked, &m_c.window,
                         [this] { cmCurveManager_ImportClicked(); });
}

int32_t CurveImport::fShowImportMessage(const QString& prompt, int32_t style)
{
    return m_c.status.fShowMessageBox(prompt, style, m_c.texts.fGetText(TextTitle));
}

void CurveImport::cmCurveManager_ImportClicked()
{
    RunHandler(m_c, [this] {
        C3DCurve* curve = m_c.widgets.cmCurveManager ? m_c.widgets.cmCurveManager->SelectedCurve() : nullptr;
        const CGameDefinition* game = m_c.state.m_activeGame;
        if (!game || !fCanImportIntoCurve(curve))
            return;
        switch (game->GType()) {
        case EtPro:
        case Rtcw:
        case EtQw: fImportPositionFolder(*curve); break;
        case DeFrag: fImportDefragPositions(*curve); break;
        case Warsow: fImportWarsowPositions(*curve); break;
        default: break;
        }
        m_c.widgets.cmCurveManager->RefreshCurveList(false);
    });
    m_c.parts.sceneDrawing->fRefreshView();
}

bool CurveImport::fCanImportIntoCurve(const C3DCurve* curve)
{
    // Without a selected curve there is nothing to import into, even while
    // no curve has a point.
    if (curve == nullptr)
        return false;
    if (!m_c.state.m_curveController || !m_c.state.m_curveController->HasControl())
        return true;
    if (curve->CanAddControl(1))
        return true;
    fShowImportMessage(m_c.texts.fGetText(TextLimitReached));
    return false;
}

bool CurveImport::fImportPositionFolder(C3DCurve& curve)
{
    CGameDefinition& game = *m_c.state.m_activeGame;
    const QString pattern = QStringLiteral("*.") + game.ImportFileExtension();

    QString start = m_c.parts.gameSelection->fGetImportDir();
    if (!start.isEmpty()) {
        QString existing;
        MFileOp::GetExistingFolder(start, existing);
        start = existing;
    }
    QString prompt = m_c.texts.fGetText(TextSelectFolder, game.FriendlyName());
    prompt.chop(1);
    prompt += QStringLiteral(" (") + pattern + QStringLiteral(").");

    const QString folder = m_c.services.dialogs->BrowseForFolder(&m_c.window, prompt, start, MFileOp::CsidlDrives,
                                                                 BrowseFlags, QStringLiteral("IDI_A"));
    if (folder == QLatin1String(MFileOp::CancelText))
        return false;
    if (!MFileOp::FolderExists(folder)) {
        fShowImportMessage(m_c.texts.fGetText(TextNoFolder));
        return false;
    }
    game.SetImportDir(folder);

    QStringList files;
    if (!MFileOp::FindFilesRecursive(files, folder, false, {pattern}) || files.isEmpty() || files.first().isEmpty()) {
        fShowImportMessage(m_c.texts.fGetText(TextFilesNotFound, pattern));
        return false;
    }
    // Unreadable files, and files too large to be position files, give no
    // entry and are never offered for removal.
    QStringList entries;
    QStringList read;
    PositionFiles::ReadEntryFiles(files, entries, read);
    if (entries.isEmpty()) {
        fShowImportMessage(m_c.texts.fGetText(TextReadError));
        return true;
    }
    if (!fAddImportedPoints(curve, entries))
        return true;
    if (fShowImportMessage(m_c.texts.fGetText(TextRemoveSources), MMsgBoxEx::MbYesNo | MMsgBoxEx::MbIconQuestion)
        != MMsgBoxEx::IdYes)
        return true;
    // One file at a time, by its own name: a name holding "*" or "?" must
    // not take other files with it.
    int32_t kept = 0;
    for (const QString& file : read) {
        if (!MFileOp::MoveToTrash(RuvPlatform::PathHelper::ToNative(file)))
            ++kept;
    }
    if (kept > 0)
        fShowImportMessage(m_c.texts.fGetText(TextNotTrashed, MDisplayNumber::Format(kept, 0),
                                                    RuvPlatform::PathHelper::ToNative(folder)), MMsgBoxEx::MbIconExclamation);
    return true;
}

bool CurveImport::fReadPositionFile(const QString& description, QString& path, QStringList& lines)
{
    CGameDefinition& game = *m_c.state.m_activeGame;
    const QString extension = game.ImportFileExtension();
    QString fileName;
    QString fileTitle;
    int32_t filterIndex = 1;
    if (!m_c.services.dialogs->ShowOpenDialog(&m_c.window, m_c.texts.fGetText(TextPickFile), fileName, fileTitle,
                                              m_c.parts.gameSelection->fGetImportDir(),
                                              MCDialog::BuildFilter(description, extension), filterIndex, QString(),
                                              OpenFlags))
        return false;
    QString parent;
    if (MFileOp::GetParentFolder(fileName, parent))
        game.SetImportDir(parent);
    if (!PositionFiles::ReadLineFile(RuvPlatform::PathHelper::ToNative(fileName), lines)) {
        fShowImportMessage(m_c.texts.fGetText(TextReadError));
        return false;
    }
    path = fileName;
    return true;
}

bool CurveImport::fImportDefragPositions(C3DCurve& curve)
{
    return fImportPositionLines(curve, QStringLiteral("Defrag Camera Positions"), PositionFiles::DefragEntries);
}

bool CurveImport::fImportWarsowPositions(C3DCurve& curve)
{
    return fImportPositionLines(curve, QStringLiteral("Warsow Camera Positions"), PositionFiles::WarsowEntries);
}

bool CurveImport::fImportPositionLines(C3DCurve& curve, const QString& description,
                                       QStringList (*entriesOf)(const QStringList& lines))
{
    QString path;
    QStringList lines;
    if (!fReadPositionFile(description, path, lines))
        return false;
    return fAddImportedPoints(curve, entriesOf(lines));
}

bool CurveImport::fAddImportedPoints(C3DCurve& curve, const QStringList& entries)
{
    const auto count = static_cast<int32_t>(std::min<qsizetype>(entries.size(), std::numeric_limits<int32_t>::max()));
    if (count == 0) {
        fShowImportMessage(m_c.texts.fGetText(TextNoPoint));
        return false;
    }
    if (!curve.CanAddControl(count)) {
        fShowImportMessage(m_c.texts.fGetText(TextLimitReached) + QStringLiteral("\r\n")
                           + m_c.texts.fGetText(TextMakeRoom));
        return false;
    }
    // A game without a parser (Warsow) gives no point: the curve and the
    // modified mark stay as they were.
    const std::vector<ControlRecord> records = PositionFiles::ParseEntries(m_c.state.m_activeGame->GType(), entries);
    if (records.empty()) {
        fShowImportMessage(m_c.texts.fGetText(TextNoPoint));
        return false;
    }
    m_c.parts.editState->fSetProjectModified(true);
    const int32_t oldCount = curve.ControlsCount();
    {
        ControlsCountBracket bracket(curve);
        for (const ControlRecord& record : records)
            curve.AddControlRecord(record);
        if (oldCount == 0)
            curve.SetStartTime(curve.GetControlRecord(1).Time * 1000.0);
        curve.NormalizeGameTimes(oldCount + 1);
    }
    m_c.parts.viewZoom->fZoomToFit(false);
    return true;
}
