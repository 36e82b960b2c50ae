#include "ScriptCreation.h"

#include "C3DCameraScriptOption.h"
#include "CGameDefinition.h"
#include "GameLinuxNames.h"
#include "HandlerErrors.h"
#include "MCDialog.h"
#include "MCommon.h"
#include "MConsoleNames.h"
#include "MDisplayNumber.h"
#include "MFileOp.h"
#include "MRuvScriptGenerator.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PathHelper.h"
#include "RuvError.h"
#include "StatusMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QPushButton>
#include <QRegularExpression>

#include <limits>

namespace {

constexpr int32_t kInformationStyle = 64;
constexpr int32_t kYesNoQuestionStyle = 36;
constexpr int32_t kExclamationStyle = 48;
constexpr int32_t kAnswerYes = 6;
constexpr int32_t kShowNormal = 1;
constexpr int32_t kResultTimeoutMs = 3000;
constexpr int32_t kCreateText = 73;
constexpr int32_t kTransSpeedLabelText = 44;
constexpr int32_t kConsoleScriptNameText = 904;
constexpr int32_t kNumberOutOfFieldText = 920;
constexpr int32_t kRecordFrameWidthText = 960;
constexpr int32_t kRecordFrameHeightText = 961;
constexpr int32_t kRecordFrameAAText = 962;
const QString kSource = QStringLiteral("FrmMain.cmdCreateScript_Click");

// The parts of a path, whichever separator it is written with.
QStringList PartsOf(const QString& path)
{
    const QString native = RuvPlatform::PathHelper::ToNative(path);
    return (native.isEmpty() ? path : native).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
}

QString FolderOfParts(const QStringList& parts, qsizetype count)
{
    return QLatin1Char('/') + parts.mid(0, count).join(QLatin1Char('/'));
}

// True when the folder holds a file of one of the names, in any case.
bool HoldsFileNamed(const QString& nativeFolder, const QStringList& names)
{
    const QStringList files = QDir(nativeFolder).entryList(QDir::Files);
    for (const QString& file : files)
        for (const QString& name : names)
            if (file.compare(name, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

int32_t Rounded(const QString& text)
{
    return MCommon::CheckedRoundToInt32(MCommon::ReadLeadingNumber(text), kSource);
}

// The generator's messages in message boxes over the window.
class WindowGeneratorUi final : public IScriptGeneratorUi
{
public:
    explicit WindowGeneratorUi(MainContext& c) : m_c(c) {}
    int32_t ShowScriptFileError(const QString& title, const QString& prompt, int32_t style) override
    {
        return m_c.services.dialogs->MessageBox(&m_c.window, title, prompt, style, QStringLiteral("IDI_A"), 0);
    }
    void ShowInputError(const QString& title, const QString& message) override
    {
        m_c.services.dialogs->MessageBox(&m_c.window, title, message, kExclamationStyle, QStringLiteral("IDI_A"), 0);
    }
    int32_t LanguageOffset() const override { return m_c.texts.LanguageBase(); }

private:
    MainContext& m_c;
};

// The busy state for as long as it lives.
class BusyState
{
public:
    explicit BusyState(IViewInput& view) : m_view(view) { m_view.fSetBusy(true); }
    ~BusyState() { m_view.fSetBusy(false); }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

private:
    IViewInput& m_view;
};

}  // namespace

ScriptCreation::ScriptCreation(MainContext& context) : m_c(context)
{
    QObject::connect(m_c.widgets.cmdCreateScript, &QPushButton::clicked, &m_c.window,
                     [this] { RunHandler(m_c, [this] { cmdCreateScript_Click(); }); });
    QObject::connect(m_c.widgets.cmdExploreScriptDir, &QPushButton::clicked, &m_c.window,
                     [this] { RunHandler(m_c, [this] { cmdExploreScriptDir_Click(); }); });
}

void ScriptCreation::cmdCreateScript_Click()
{
    if (!m_c.state.m_activeGame)
        return;
    QString basename;
    QString folder;
    QString relativeDir;
    int32_t filterIndex = 1;
    if (!fCheckScriptNumbers() || !fChooseScriptFile(basename, folder, relativeDir, filterIndex))
        return;
    C3DCameraScriptOption options;
    fGatherScriptOptions(options, basename, folder, relativeDir);
    WindowGeneratorUi ui(m_c);
    int32_t elapsedMs = 0;
    int32_t points = 0;
    bool written = false;
    {
        BusyState busy(*m_c.parts.viewInput);
        written = MRuvScriptGenerator::GenerateCameraScripts(ui, QStringLiteral("Ruvadir"), m_c.texts.fGetText(186),
                                                             m_c.texts.fGetText(kCreateText), options, elapsedMs,
                                                             points);
    }
    if (!written)
        return;
    m_lastScriptName = basename;
    fShowScriptResult(elapsedMs, points);
}

void ScriptCreation::fShowScriptResult(int32_t elapsedMs, int32_t points)
{
    const QString seconds = MDisplayNumber::Format(elapsedMs / 1000.0, 1, QLocale::system());
    const QString title = m_c.texts.fGetText(187, seconds);
    const QString prompt = m_c.texts.fGetText(188) + QStringLiteral("\r\n\r\n") + m_c.texts.fGetText(189)
                           + QString::number(points);
    m_c.services.dialogs->MessageBox(nullptr, title, prompt, kInformationStyle, QStringLiteral("IDI_A"),
                                     kResultTimeoutMs);
}

bool ScriptCreation::fChooseScriptFile(QString& basename, QString& folder, QString& relativeDir,
                                       int32_t& filterIndex)
{
    CGameDefinition& game = *m_c.state.m_activeGame;
    const QString filter = MCDialog::BuildFilter(m_c.texts.fGetText(191, game.FriendlyName()), QStringLiteral("cfg"));
    QString fileName = m_lastScriptName;
    QString fileTitle;
    if (!m_c.services.dialogs->ShowSaveDialog(&m_c.window, m_c.texts.fGetText(190), fileName, fileTitle,
                                              m_c.parts.gameSelection->fGetScriptOutDir(), filter, filterIndex,
                                              QStringLiteral("cfg"), IDialogs::HideReadOnly))
        return false;
    basename = MFileOp::RemoveExtension(MFileOp::GetFileName(fileName));
    // A name the game cannot be given is refused before the folder is kept
    // or anything is written.
    const QString refusal =
        MConsoleNames::ConsoleNameRefusal(basename, m_c.texts.LanguageBase(), kConsoleScriptNameText);
    if (!refusal.isEmpty()) {
        m_c.status.fShowMessageBox(refusal, kExclamationStyle, m_c.texts.fGetText(kCreateText));
        return false;
    }
    folder = MFileOp::GetFolderPart(fileName);
    game.SetScriptOutDir(folder);
    if (fGetScriptRelativeDir(folder, relativeDir))
        return true;
    const QString prompt = m_c.texts.fGetText(192) + QStringLiteral("\r\n") + m_c.texts.fGetText(193, game.FriendlyName())
                           + QStringLiteral("\r\n") + m_c.texts.fGetText(194);
    return m_c.status.fShowMessageBox(prompt, kYesNoQuestionStyle, m_c.texts.fGetText(195)) == kAnswerYes;
}

bool ScriptCreation::fGetScriptRelativeDir(const QString& folder, QString& relativeDir) const
{
    return RelativeScriptDir(*m_c.state.m_activeGame, folder, relativeDir);
}

bool ScriptCreation::RelativeScriptDir(const CGameDefinition& game, const QString& folder, QString& relativeDir)
{
    const QStringList parts = PartsOf(folder);
    const QStringList modParts = game.ModFullDir().isEmpty() ? QStringList() : PartsOf(game.ModFullDir());
    const QStringList modParent = modParts.mid(0, modParts.size() - 1);
    QStringList executables = LinuxNamesOfGame(game.GType()).executables;
    executables.prepend(game.GameExe());

    // The folder itself is no candidate: the nearest root is its parent.
    for (qsizetype count = parts.size() - 1; count >= 1; --count) {
        const QStringList ancestor = parts.mid(0, count);
        const bool holdsMod = !modParts.isEmpty() && ancestor == modParent;
        if (holdsMod || (!game.UseAbsoluteWorkingDir() && HoldsFileNamed(FolderOfParts(parts, count), executables))) {
            // Below the root only the mod folder's own name is left out.
            const QStringList below = parts.mid(count + 1);
            relativeDir = below.join(QLatin1Char('\\'));
            return true;
        }
    }
    const qsizetype last = RuvPlatform::PathHelper::LastSeparator(folder);
    relativeDir = last >= 3 ? folder.mid(last + 1) : QString();
    return false;
}

void ScriptCreation::fGatherScriptOptions(C3DCameraScriptOption& options, const QString& basename,
                                          const QString& folder, const QString& relativeDir) const
{
    const MainWidgets& w = m_c.widgets;
    const bool freecam = m_c.parts.gameSelection->fGameSupportsFreecam();
    const CFramerateHandler* rates = m_c.controls.mFramerateHandler.get();
    options.Initialize(
        m_c.state.m_activeGame, m_c.state.m_mainCurve, basename, folder, relativeDir, QStringLiteral(".cfg"),
        w.chkSWarsowCamLimitation->isChecked(), Rounded(w.txtTransSpeed->text()), w.chkSIncFov->isChecked(),
        w.chkSIncTS->isChecked(), w.chkSIncConMsg->isChecked(), w.chkSIncFreecam->isChecked() && freecam,
        w.cboCamMode->currentIndex(), Rounded(w.cboCamModeOption->currentText()), w.chkSIncFPSLimit->isChecked(),
        Rounded(rates ? rates->SelectedValueString() : QString()), w.chkSIncOneFrameDelay->isChecked(),
        w.chkSAutoStart->isChecked() && freecam, m_c.parts.scriptPanel->fCommandBeforeFile(),
        m_c.parts.scriptPanel->fCommandAfterFile(), w.chkSRecordFrameSettings->isChecked(),
        Rounded(w.txtSRecordFrameWidth->text()), Rounded(w.txtSRecordFrameHeight->text()),
        Rounded(w.txtSRecordFrameAA->text()), w.chkSScriptPauseState->isChecked(),
        Rounded(w.txtSScriptPauseInterval->text()), w.cboSScriptPauseKey->property("Tag").toString());
}

void ScriptCreation::cmdExploreScriptDir_Click()
{
    QString folder;
    if (MFileOp::GetExistingFolder(m_c.parts.gameSelection->fGetScriptOutDir(), folder)) {
        m_c.services.shell->ShellExecuteVerb(&m_c.window, 0, folder, QString(), QString(), kShowNormal);
        return;
    }
    m_c.status.fShowMessageBox(m_c.texts.fGetText(228), kInformationStyle, m_c.texts.fGetText(227));
}

bool ScriptCreation::fCheckScriptNumbers()
{
    // Read as the options read them: what fails here would fail there, once
    // the file is chosen and the folder kept. The record-frame boxes are
    // named by texts of their own, as their labels ("w", "h") name nothing.
    const MainWidgets& w = m_c.widgets;
    const std::pair<QLineEdit*, int32_t> fields[] = {
        {w.txtTransSpeed, kTransSpeedLabelText},
        {w.txtSRecordFrameWidth, kRecordFrameWidthText},
        {w.txtSRecordFrameHeight, kRecordFrameHeightText},
        {w.txtSRecordFrameAA, kRecordFrameAAText},
    };
    for (const auto& [box, label] : fields) {
        try {
            Rounded(box->text());
            continue;
        } catch (const RuvError&) {
        }
        // The field by its label, without the colon the label ends in.
        QString field = m_c.texts.fGetText(label).trimmed();
        if (field.endsWith(QLatin1Char(':')))
            field = field.chopped(1).trimmed();
        const QString prompt = m_c.texts.fGetText(
            kNumberOutOfFieldText, field, box->text(),
            MDisplayNumber::Format(std::numeric_limits<int32_t>::min(), 0),
            MDisplayNumber::Format(std::numeric_limits<int32_t>::max(), 0));
        m_c.status.fShowMessageBox(prompt, kExclamationStyle, m_c.texts.fGetText(kCreateText));
        return false;
    }
    return true;
}

void ScriptCreation::fValidateTransSpeed(bool& cancel)
{
    cancel = false;
    QLineEdit* box = m_c.widgets.txtTransSpeed;
    const double value = MCommon::RoundHalfEven(MCommon::ReadLeadingNumber(box->text()));
    box->setText(MCommon::FormatNumber(value, 17));
}
