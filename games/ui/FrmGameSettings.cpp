#include "FrmGameSettings.h"

#include "CGameDefinition.h"
#include "MFileOp.h"
#include "MForms.h"
#include "PathHelper.h"
#include "UCCamPosGenerator.h"
#include "UCGameLocation.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

// Measures of the layout, in pixels.
constexpr int kMargin = 12;
constexpr int kGap = 12;  // between the blocks, and below the buttons
constexpr int kControlWidth = 660;

void CreateMissingFolder(const QString& folder)
{
    // A folder that cannot be made is reported when the scripts are created.
    if (!MFileOp::FolderExists(folder))
        MFileOp::CreateFolderPath(folder);
}

} // namespace

FrmGameSettings::FrmGameSettings(QWidget* parent) : CancelableDialog(parent)
{
    setObjectName(QStringLiteral("FrmGameSettings"));
    setWindowTitle(QStringLiteral(" Games settings"));

    m_lblGameMod = new QLabel(QStringLiteral("Game/MOD"), this);
    m_lblGameMod->setObjectName(QStringLiteral("lblGameMod"));
    m_lblGameMod->setGeometry(kMargin, kMargin, 100, 24);
    m_cboGameType = new QComboBox(this);
    m_cboGameType->setObjectName(QStringLiteral("cboGameType"));
    m_cboGameType->setGeometry(kMargin + 104, kMargin, 220, 24);

    m_ucGameLocation1 = new UCGameLocation(this);
    m_ucGameLocation1->setObjectName(QStringLiteral("ucGameLocation1"));
    m_ucGameLocation1->setGeometry(kMargin, kMargin + 24 + kGap, kControlWidth, m_ucGameLocation1->height());
    m_ucCamPosGenerator1 = new UCCamPosGenerator(this);
    m_ucCamPosGenerator1->setObjectName(QStringLiteral("ucCamPosGenerator1"));
    m_ucCamPosGenerator1->setGeometry(kMargin, 0, kControlWidth, m_ucCamPosGenerator1->height());

    m_cmdOk = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(kMargin + kControlWidth - 90, 0, 90, 26);
    m_cmdOk->setGeometry(m_cmdCancel->x() - 6 - 90, 0, 90, 26);
    m_cmdOk->setDefault(true);

    connect(m_cboGameType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            fSelectGame();
    });
    connect(m_ucGameLocation1, &UCGameLocation::LayoutChanged, this, &FrmGameSettings::fArrangeControls);
    connect(m_ucCamPosGenerator1, &UCCamPosGenerator::LayoutChanged, this, &FrmGameSettings::fArrangeControls);
    connect(m_cmdOk, &QPushButton::clicked, this, &FrmGameSettings::cmdOk_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { fCloseForm(true); });
    fArrangeControls();
}

FrmGameSettings::~FrmGameSettings() = default;

void FrmGameSettings::ShowForm(QWidget* owner, std::int32_t gameIndex, std::span<CGameDefinition> games)
{
    if (games.empty())
        return;
    m_gameIndex = std::clamp<std::int32_t>(gameIndex, 0, static_cast<std::int32_t>(games.size()) - 1);
    m_games = games;
    std::vector<std::unique_ptr<CGameDefinition>> shownBefore = std::move(m_gameCopies);
    m_currentGame = nullptr;
    // The recorder is handed a copy only for the games that have it: it must
    // not keep one of the copies freed below.
    m_ucCamPosGenerator1->SetGame(nullptr);
    fCopyGames();
    fFillGameList();
    shownBefore.clear();

    if (owner != parentWidget())
        setParent(owner, windowFlags());
    MForms::SetFormIcon(MForms::HandleOf(this), QStringLiteral("IDI_A"), true);
    exec();
}

void FrmGameSettings::SetControlsText(const QStringList& texts)
{
    if (texts.size() != 4)
        return;
    setWindowTitle(QLatin1Char(' ') + texts[0]);
    m_lblGameMod->setText(texts[1]);
    m_cmdCancel->setText(texts[2]);
    m_cmdOk->setText(texts[3]);
}

void FrmGameSettings::SetGameLocationControlsText(const QStringList& texts)
{
    m_ucGameLocation1->SetControlsText(texts);
}

void FrmGameSettings::SetCamPosGeneratorControlsText(const QStringList& texts)
{
    m_ucCamPosGenerator1->SetControlsText(texts);
}

void FrmGameSettings::SetCamPosGeneratorMessages(const QStringList& texts)
{
    m_ucCamPosGenerator1->SetMessages(texts);
}

void FrmGameSettings::SetCamPosGeneratorTooltips(const QStringList& texts)
{
    m_ucCamPosGenerator1->SetTooltips(texts);
}

void FrmGameSettings::fCopyGames()
{
    m_gameCopies.clear();
    for (const CGameDefinition& game : m_games)
        m_gameCopies.push_back(std::make_unique<CGameDefinition>(game.Clone()));
}

void FrmGameSettings::fFillGameList()
{
    // Only the game asked for is loaded into the controls.
    QSignalBlocker quiet(m_cboGameType);
    m_cboGameType->clear();
    for (const auto& copy : m_gameCopies)
        m_cboGameType->addItem(copy->FriendlyName());
    m_cboGameType->setCurrentIndex(-1);
    quiet.unblock();
    m_cboGameType->setCurrentIndex(m_gameIndex);
}

void FrmGameSettings::fSelectGame()
{
    const int index = m_cboGameType->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_gameCopies.size()))
        return;
    m_currentGame = m_gameCopies[static_cast<size_t>(index)].get();
    m_ucGameLocation1->SetGame(m_currentGame);
    // A game without the recorder leaves the control as it was; it is hidden.
    if (fIsRecorderSupported())
        m_ucCamPosGenerator1->SetGame(m_currentGame);
}

bool FrmGameSettings::fIsRecorderSupported() const
{
    return m_currentGame != nullptr && m_currentGame->GType() != 1 && m_currentGame->GType() != 2;
}

void FrmGameSettings::fArrangeControls()
{
    const bool recorder = fIsRecorderSupported();
    m_ucCamPosGenerator1->setVisible(recorder);
    const QWidget* above = m_ucGameLocation1;
    if (recorder) {
        m_ucCamPosGenerator1->move(m_ucCamPosGenerator1->x(), above->y() + above->height() + kGap);
        above = m_ucCamPosGenerator1;
    }
    m_cmdCancel->move(m_cmdCancel->x(), above->y() + above->height() + kGap);
    m_cmdOk->move(m_cmdOk->x(), m_cmdCancel->y());
    setFixedSize(kMargin + kControlWidth + kMargin, m_cmdCancel->y() + m_cmdCancel->height() + kGap);
}

void FrmGameSettings::cmdOk_Click()
{
    // Enter on the default button moves no focus, so the box being edited
    // has not been validated yet: move the focus, which validates it; a
    // refused value keeps it and the window stays.
    QWidget* focused = QApplication::focusWidget();
    if (focused != nullptr && focused != m_cmdOk && isAncestorOf(focused)) {
        m_cmdOk->setFocus(Qt::OtherFocusReason);
        if (!m_cmdOk->hasFocus())
            return;
    }
    fApplyGameCopies();
    fCloseForm(false);
}

void FrmGameSettings::fApplyGameCopies()
{
    namespace PathHelper = RuvPlatform::PathHelper;
    for (size_t i = 0; i < m_games.size() && i < m_gameCopies.size(); ++i) {
        CGameDefinition& game = m_games[i];
        game.Load(*m_gameCopies[i]);
        // Games without a valid location get no default folders.
        if (!game.IsLocationValid())
            continue;
        if (game.ImportDir().isEmpty()) {
            game.SetImportDir(PathHelper::Join(game.ModFullDir(), game.ScriptSetting().SavingRelativeDir()));
            CreateMissingFolder(game.ImportDir());
        }
        if (game.ScriptOutDir().isEmpty()) {
            game.SetScriptOutDir(PathHelper::Join(game.ModFullDir(), QStringLiteral("cameras")));
            CreateMissingFolder(game.ScriptOutDir());
        }
    }
}
