#include "UCCamPosGenerator.h"

#include "CCamPosSetting.h"
#include "CFocusValidator.h"
#include "CGameDefinition.h"
#include "CTooltip.h"
#include "MComboBox.h"
#include "MConsoleNames.h"
#include "MMsgBoxEx.h"
#include "MRecorderScripts.h"
#include "MRuvResource.h"
#include "RecorderKeyTable.h"
#include "RecorderNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// Measures of the layout, in pixels.
constexpr int kMargin = 8;     // inside the outer frame, and below the last block
constexpr int kGap = 4;        // between the buttons of the bottom row
constexpr int kRowHeight = 22;
constexpr int kRowStep = 28;
constexpr int kLabelWidth = 160;
constexpr int kInputLeft = 172;  // in the outer frame
constexpr int kComboWidth = 120;

// The texts the owner passes come from the string tables, with Windows line ends.
QString ForDisplay(const QString& text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* Label(const char* name, const char* text, QWidget* parent, int y)
{
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(0, y, kLabelWidth, kRowHeight);
    return l;
}

QLineEdit* Box(const char* name, QWidget* parent, QRect geometry, int index = -1)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    if (index >= 0)
        b->setProperty("index", index);
    b->setGeometry(geometry);
    return b;
}

QComboBox* KeyCombo(const char* name, QWidget* parent, int x, int y)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    // The typed text is a key name of its own: nothing is added to the list
    // and nothing completed from it.
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setGeometry(x, y, kComboWidth, kRowHeight);
    return c;
}

} // namespace

// The recorder's messages go to the user in information boxes.
class UCCamPosGenerator::InfoBox final : public MRecorderScripts::IInfoBox
{
public:
    explicit InfoBox(QWidget* owner) : m_owner(owner) {}
    void ShowInfo(const QString& title, const QString& message) override
    {
        MMsgBoxEx::MsgBoxEx(m_owner, title, message, MMsgBoxEx::MbOk | MMsgBoxEx::MbIconInformation, QString(), 0);
    }

private:
    QWidget* m_owner;
};

UCCamPosGenerator::UCCamPosGenerator(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UCCamPosGenerator"));
    m_messages = {QStringLiteral("This key is already bound. Please choose a different one."),
                  QStringLiteral("Error occured during the script creation."),
                  QStringLiteral("Scripts successfully created."),
                  QStringLiteral("Error occured while updating the %% script"),
                  QStringLiteral("cannot read the file"),
                  QStringLiteral("cannot backup the original file"),
                  QStringLiteral("cannot write the file"),
                  QStringLiteral("Please select valid game executable path and working directory."),
                  QStringLiteral("The %% folder could not be created."),
                  QStringLiteral("%% required."),
                  MRecorderScripts::Messages().badKey,
                  MRecorderScripts::Messages().badFolder};
    BuildControls();

    m_fields = {
        {&CCamPosSetting::RecordKey, m_lblRecordKey, m_cboRecordKey},
        {&CCamPosSetting::RecordKey2, m_lblRecordKey, m_cboRecordKey2},
        {&CCamPosSetting::ReinitializationKey, m_lblReinitializationKey, m_cboReinitializationKey},
        {&CCamPosSetting::SavingRelativeDir, m_lblSavingRelativeDir, m_txtSavingRelativeDir},
        {&CCamPosSetting::ScriptsRelativeDir, m_lblScriptsRelativeDir, m_txtScriptsRelativeDir},
        {&CCamPosSetting::InitializationScriptName, m_lblInitScriptName, m_txtInitScriptName},
        {&CCamPosSetting::ScriptNamePrefix, m_lblScriptsNamePrefix, m_txtScriptsNamePrefix[0]},
        {&CCamPosSetting::ScriptNamePrefix2, m_lblScriptsNamePrefix, m_txtScriptsNamePrefix[1]},
        {&CCamPosSetting::PositionFilenamePrefix, m_lblPosFilesNamePrefix, m_txtPosFilesNamePrefix[0]},
        {&CCamPosSetting::PositionFilenamePrefix2, m_lblPosFilesNamePrefix, m_txtPosFilesNamePrefix[1]},
        {&CCamPosSetting::CvarsPrefix, m_lblCVarsPrefix, m_txtCVarsPrefix[0]},
        {&CCamPosSetting::CvarsPrefix2, m_lblCVarsPrefix, m_txtCVarsPrefix[1]},
    };
    m_keyCombos = {m_cboRecordKey, m_cboRecordKey2, m_cboReinitializationKey};
    for (QComboBox* combo : m_keyCombos)
        FillKeyCombo(combo);

    WatchKeyCombo(m_cboRecordKey, &CCamPosSetting::SetRecordKey);
    WatchKeyCombo(m_cboRecordKey2, &CCamPosSetting::SetRecordKey2);
    WatchKeyCombo(m_cboReinitializationKey, &CCamPosSetting::SetReinitializationKey);
    WatchNameBox(m_txtSavingRelativeDir, true, &CCamPosSetting::SetSavingRelativeDir,
                 &CCamPosSetting::SavingRelativeDir);
    WatchNameBox(m_txtScriptsRelativeDir, true, &CCamPosSetting::SetScriptsRelativeDir,
                 &CCamPosSetting::ScriptsRelativeDir);
    WatchNameBox(m_txtInitScriptName, false, &CCamPosSetting::SetInitializationScriptName,
                 &CCamPosSetting::InitializationScriptName);
    WatchPrefixBox(m_txtScriptsNamePrefix[0], &CCamPosSetting::SetScriptNamePrefix);
    WatchPrefixBox(m_txtScriptsNamePrefix[1], &CCamPosSetting::SetScriptNamePrefix2);
    WatchPrefixBox(m_txtPosFilesNamePrefix[0], &CCamPosSetting::SetPositionFilenamePrefix);
    WatchPrefixBox(m_txtPosFilesNamePrefix[1], &CCamPosSetting::SetPositionFilenamePrefix2);
    WatchPrefixBox(m_txtCVarsPrefix[0], &CCamPosSetting::SetCvarsPrefix);
    WatchPrefixBox(m_txtCVarsPrefix[1], &CCamPosSetting::SetCvarsPrefix2);

    m_tooltip = new CTooltip(this);
    m_tooltip->SetStyle(CTooltip::StyleBalloon);
    m_tooltip->Create(m_fraMain, QString(), QString(), 500, 20000);
    SetTooltips({QStringLiteral("Rozuro Zuvarazu Zizavuva' defines a set of scripts that allows\nto record camera "
                                "positions that you can then import into Ruvadir.\nTo activate RZZ, just click on "
                                "Apply (you must activate RZZ for each game you want to use)."),
                 QStringLiteral("The key that will save the active view position"),
                 QStringLiteral("Freecam or first-person view"), QStringLiteral("First-person view in MULTIVIEW demo"),
                 QStringLiteral("The key that will reinitialize the positions count."),
                 QStringLiteral("The folder in which the position files will be saved."),
                 QStringLiteral("The folder in which the RZZ scripts will be stored."),
                 QStringLiteral("The name of the RZZ initialization script (executed when the game starts)."),
                 QStringLiteral("The prefix of the RZZ scripts name (ex.: 'pos' will give 'pos01.cfg')."),
                 QStringLiteral("The prefix of the position files (ex.: 'pos' will give 'pos01.epcp')."),
                 QStringLiteral("The name prefix of the cvars used internally by the RZZ.")});

    connect(m_chkAdvancedSettings, &QCheckBox::toggled, this, [this] {
        fUpdateAdvancedCaption();
        fArrangeControls();
    });
    connect(m_cmdCreate, &QPushButton::clicked, this, &UCCamPosGenerator::cmdCreate_Click);
    connect(m_cmdRestoreDefaultValues, &QPushButton::clicked, this, &UCCamPosGenerator::cmdRestoreDefaultValues_Click);

    fUpdateAdvancedCaption();
    fArrangeControls();
}

UCCamPosGenerator::~UCCamPosGenerator() = default;

void UCCamPosGenerator::BuildControls()
{
    m_fraMain = new QGroupBox(QStringLiteral("Rozuro Zuvarazu Zizavuva (RZZ)"), this);
    m_fraMain->setObjectName(QStringLiteral("fraMain"));

    m_lblRecordKey = Label("lblRecordKey", "Record key", m_fraMain, 24);
    m_lblRecordKey->move(kMargin, 24);
    m_cboRecordKey = KeyCombo("cboRecordKey", m_fraMain, kInputLeft, 24);
    m_cboRecordKey2 = KeyCombo("cboRecordKey2", m_fraMain, kInputLeft + kComboWidth + 6, 24);
    m_lblReinitializationKey = Label("lblReinitializationKey", "Reinitialization key", m_fraMain, 52);
    m_lblReinitializationKey->move(kMargin, 52);
    m_cboReinitializationKey = KeyCombo("cboReinitializationKey", m_fraMain, kInputLeft, 52);

    // A plain container that shows or hides the advanced fields together.
    m_fraAdvancedSettings = new QFrame(m_fraMain);
    m_fraAdvancedSettings->setObjectName(QStringLiteral("fraAdvancedSettings"));
    m_fraAdvancedSettings->setFrameShape(QFrame::NoFrame);
    m_fraAdvancedSettings->setGeometry(kMargin, 82, 600, 5 * kRowStep + kRowHeight);
    QFrame* adv = m_fraAdvancedSettings;
    const int left = kInputLeft - kMargin;
    m_lblSavingRelativeDir = Label("lblSavingRelativeDir", "Saving folder", adv, 0);
    m_txtSavingRelativeDir = Box("txtSavingRelativeDir", adv, QRect(left, 0, 220, kRowHeight));
    m_lblScriptsRelativeDir = Label("lblScriptsRelativeDir", "Scripts folder", adv, kRowStep);
    m_txtScriptsRelativeDir = Box("txtScriptsRelativeDir", adv, QRect(left, kRowStep, 220, kRowHeight));
    m_lblInitScriptName = Label("lblInitScriptName", "Start script name", adv, 2 * kRowStep);
    m_txtInitScriptName = Box("txtInitScriptName", adv, QRect(left, 2 * kRowStep, 220, kRowHeight));
    const auto pair = [&](const char* label, const char* text, const char* box, QLabel*& l, QLineEdit* (&b)[2],
                          int row) {
        l = Label(label, text, adv, row * kRowStep);
        for (int i = 0; i < 2; ++i)
            b[i] = Box(box, adv, QRect(left + i * 86, row * kRowStep, 80, kRowHeight), i);
    };
    pair("lblScriptsNamePrefix", "Script name prefix", "txtScriptsNamePrefix", m_lblScriptsNamePrefix,
         m_txtScriptsNamePrefix, 3);
    pair("lblPosFilesNamePrefix", "Position filename prefix", "txtPosFilesNamePrefix", m_lblPosFilesNamePrefix,
         m_txtPosFilesNamePrefix, 4);
    pair("lblCVarsPrefix", "cvars prefix", "txtCVarsPrefix", m_lblCVarsPrefix, m_txtCVarsPrefix, 5);

    // The bottom row stands beside the last block, over the advanced frame.
    m_chkAdvancedSettings = new QCheckBox(m_fraMain);
    m_chkAdvancedSettings->setObjectName(QStringLiteral("chkAdvancedSettings"));
    m_cmdRestoreDefaultValues = new QPushButton(QStringLiteral("Restore default"), m_fraMain);
    m_cmdRestoreDefaultValues->setObjectName(QStringLiteral("cmdRestoreDefaultValues"));
    m_cmdCreate = new QPushButton(QStringLiteral("Apply"), m_fraMain);
    m_cmdCreate->setObjectName(QStringLiteral("cmdCreate"));
    // There is nothing to apply before a game is set.
    m_cmdCreate->setEnabled(false);
    m_cmdRestoreDefaultValues->setEnabled(false);
    m_fraAdvancedSettings->setVisible(false);
    resize(660, 82);
}

void UCCamPosGenerator::FillKeyCombo(QComboBox* combo)
{
    MComboBox::InitStorage(combo, RecorderKeys::kRowCount, 13);
    combo->addItems(RecorderKeys::DisplayTexts());
    combo->setCurrentIndex(0);
    MComboBox::FitDropDown(combo, 3500);
}

void UCCamPosGenerator::WatchKeyCombo(QComboBox* combo, void (CCamPosSetting::*store)(const QString&))
{
    // The combo's Tag keeps its text from the moment it got the focus: only
    // a change since then is stored. (The setters are called through
    // std::invoke: GCC 12's undefined-behaviour checker breaks "->*" calls
    // inside lambdas.)
    auto* validator = new CFocusValidator(combo, this);
    connect(validator, &CFocusValidator::GotFocus, combo,
            [combo] { combo->setProperty("Tag", combo->currentText()); });
    connect(validator, &CFocusValidator::LostFocus, combo, [combo] { combo->setProperty("Tag", QString()); });
    connect(validator, &CFocusValidator::Validate, this, [this, combo, store](bool& cancel) {
        if (m_settings == nullptr || combo->currentText() == combo->property("Tag").toString())
            return;
        // The key goes into "bind" commands as it is: what is no key name
        // would add commands of its own.
        const QString key = fGetKey(combo);
        if (!MConsoleNames::IsKeyName(key)) {
            cancel = true;
            Info(MRuvResource::FormatResText(m_messages[10], {key}));
            return;
        }
        std::invoke(store, *m_settings, key);
    });
    connect(combo, &QComboBox::activated, this, [this, combo](int index) { fKeyComboClick(combo, index); });
    // Editable: the presses and keys land in its line edit as often as in it.
    combo->installEventFilter(this);
    if (QLineEdit* edit = MComboBox::GetComboInfo(combo))
        edit->installEventFilter(this);
}

void UCCamPosGenerator::WatchNameBox(QLineEdit* box, bool separators, void (CCamPosSetting::*store)(const QString&),
                                     const QString& (CCamPosSetting::*read)() const)
{
    auto* validator = new CFocusValidator(box, this);
    connect(validator, &CFocusValidator::Validate, this, [this, box, separators, store, read](bool& cancel) {
        if (m_settings == nullptr)
            return;
        const QString name = RecorderNames::fSanitizeName(box->text(), separators);
        // The folders are made and written below the mod folder, never
        // beside or above it.
        if (separators && !RecorderNames::IsFolderInside(name)) {
            cancel = true;
            Info(MRuvResource::FormatResText(m_messages[11], {name}));
            return;
        }
        std::invoke(store, *m_settings, name);
        box->setText(std::invoke(read, *m_settings));
    });
}

void UCCamPosGenerator::WatchPrefixBox(QLineEdit* box, void (CCamPosSetting::*store)(const QString&))
{
    auto* validator = new CFocusValidator(box, this);
    connect(validator, &CFocusValidator::Validate, this, [this, box, store](bool&) {
        if (m_settings == nullptr)
            return;
        box->setText(RecorderNames::fSanitizeName(box->text(), false));
        std::invoke(store, *m_settings, box->text());
    });
}

bool UCCamPosGenerator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        m_lastKey = static_cast<QKeyEvent*>(event)->key();
    } else if (event->type() == QEvent::Wheel && qobject_cast<QComboBox*>(watched) != nullptr) {
        // The wheel steps like the arrow keys, so a separator is passed the same way.
        m_lastKey = static_cast<QWheelEvent*>(event)->angleDelta().y() > 0 ? Qt::Key_Up : Qt::Key_Down;
    }
    return QWidget::eventFilter(watched, event);
}

void UCCamPosGenerator::fKeyComboClick(QComboBox* combo, int index)
{
    if (RecorderKeys::IsSeparator(index))
        combo->setCurrentIndex(m_lastKey == Qt::Key_Up ? index - 1 : index + 1);
    m_lastKey = 0;
}

void UCCamPosGenerator::SetGame(CGameDefinition* game)
{
    m_game = game;
    m_settings = game != nullptr ? &game->ScriptSetting() : nullptr;
    m_cmdCreate->setEnabled(game != nullptr);
    m_cmdRestoreDefaultValues->setEnabled(game != nullptr);
    fShowSettings();
    fArrangeControls();
}

void UCCamPosGenerator::SetControlsText(const QStringList& texts)
{
    if (texts.size() != 12)
        return;
    m_fraMain->setTitle(texts[0]);
    QLabel* labels[] = {m_lblRecordKey,        m_lblReinitializationKey, m_lblSavingRelativeDir,
                        m_lblScriptsRelativeDir, m_lblInitScriptName,    m_lblScriptsNamePrefix,
                        m_lblPosFilesNamePrefix, m_lblCVarsPrefix};
    for (int i = 0; i < 8; ++i)
        labels[i]->setText(texts[i + 1]);
    m_advancedText = texts[9];
    m_cmdRestoreDefaultValues->setText(texts[10]);
    m_cmdCreate->setText(texts[11]);
    fUpdateAdvancedCaption();
    fPlaceColumns();
    fArrangeControls();
}

void UCCamPosGenerator::fPlaceColumns()
{
    QLabel* labels[] = {m_lblRecordKey,         m_lblReinitializationKey, m_lblSavingRelativeDir,
                        m_lblScriptsRelativeDir, m_lblInitScriptName,     m_lblScriptsNamePrefix,
                        m_lblPosFilesNamePrefix, m_lblCVarsPrefix};
    int labelWidth = kLabelWidth;
    for (QLabel* l : labels)
        labelWidth = std::max(labelWidth, l->sizeHint().width());
    for (QLabel* l : labels)
        l->resize(labelWidth, kRowHeight);
    // The inputs keep the gap they had beside the labels' least width.
    const int inputLeft = kInputLeft + labelWidth - kLabelWidth;
    m_cboRecordKey->move(inputLeft, m_cboRecordKey->y());
    m_cboRecordKey2->move(inputLeft + kComboWidth + 6, m_cboRecordKey2->y());
    m_cboReinitializationKey->move(inputLeft, m_cboReinitializationKey->y());
    const int left = inputLeft - kMargin;
    for (QLineEdit* box : {m_txtSavingRelativeDir, m_txtScriptsRelativeDir, m_txtInitScriptName})
        box->move(left, box->y());
    for (QLineEdit** pair : {m_txtScriptsNamePrefix, m_txtPosFilesNamePrefix, m_txtCVarsPrefix}) {
        for (int i = 0; i < 2; ++i)
            pair[i]->move(left + i * 86, pair[i]->y());
    }
}

void UCCamPosGenerator::SetMessages(const QStringList& texts)
{
    if (texts.size() == 12)
        m_messages = texts;
}

void UCCamPosGenerator::SetTooltips(const QStringList& texts)
{
    if (texts.size() != 11)
        return;
    QStringList t;
    for (const QString& text : texts)
        t << ForDisplay(text);
    m_tooltip->SetText(t[0]);
    m_lblRecordKey->setToolTip(t[1]);
    m_cboRecordKey->setToolTip(t[1] + QStringLiteral(" (") + t[2] + QStringLiteral(")."));
    m_cboRecordKey2->setToolTip(t[1] + QStringLiteral(" (") + t[3] + QStringLiteral(")."));
    for (QWidget* w : {static_cast<QWidget*>(m_lblReinitializationKey), static_cast<QWidget*>(m_cboReinitializationKey)})
        w->setToolTip(t[4]);
    const std::pair<QLabel*, QLineEdit*> single[] = {{m_lblSavingRelativeDir, m_txtSavingRelativeDir},
                                                     {m_lblScriptsRelativeDir, m_txtScriptsRelativeDir},
                                                     {m_lblInitScriptName, m_txtInitScriptName}};
    for (int i = 0; i < 3; ++i) {
        single[i].first->setToolTip(t[5 + i]);
        single[i].second->setToolTip(t[5 + i]);
    }
    const std::pair<QLabel*, QLineEdit**> pairs[] = {{m_lblScriptsNamePrefix, m_txtScriptsNamePrefix},
                                                     {m_lblPosFilesNamePrefix, m_txtPosFilesNamePrefix},
                                                     {m_lblCVarsPrefix, m_txtCVarsPrefix}};
    for (int i = 0; i < 3; ++i) {
        pairs[i].first->setToolTip(t[8 + i]);
        pairs[i].second[0]->setToolTip(t[8 + i]);
        pairs[i].second[1]->setToolTip(t[8 + i]);
    }
}

void UCCamPosGenerator::resizeEvent(QResizeEvent* event)
{
    m_fraMain->setGeometry(0, 0, event->size().width(), event->size().height());
    m_tooltip->UpdateToolRectangleSize();
}

bool UCCamPosGenerator::fIsEtPro() const
{
    return m_game != nullptr && m_game->GType() == 0;
}

void UCCamPosGenerator::fShowSettings()
{
    if (m_settings == nullptr)
        return;
    fSelectKey(m_cboRecordKey, m_settings->RecordKey());
    fSelectKey(m_cboRecordKey2, m_settings->RecordKey2());
    fSelectKey(m_cboReinitializationKey, m_settings->ReinitializationKey());
    m_cboRecordKey2->setVisible(fIsEtPro());
    m_txtSavingRelativeDir->setText(m_settings->SavingRelativeDir());
    m_txtScriptsRelativeDir->setText(m_settings->ScriptsRelativeDir());
    m_txtInitScriptName->setText(m_settings->InitializationScriptName());
    m_txtScriptsNamePrefix[0]->setText(m_settings->ScriptNamePrefix());
    m_txtScriptsNamePrefix[1]->setText(m_settings->ScriptNamePrefix2());
    m_txtPosFilesNamePrefix[0]->setText(m_settings->PositionFilenamePrefix());
    m_txtPosFilesNamePrefix[1]->setText(m_settings->PositionFilenamePrefix2());
    m_txtCVarsPrefix[0]->setText(m_settings->CvarsPrefix());
    m_txtCVarsPrefix[1]->setText(m_settings->CvarsPrefix2());
    for (QLineEdit* second : {m_txtScriptsNamePrefix[1], m_txtPosFilesNamePrefix[1], m_txtCVarsPrefix[1]})
        second->setVisible(fIsEtPro());
}

void UCCamPosGenerator::fSelectKey(QComboBox* combo, const QString& bindName)
{
    const int row = RecorderKeys::RowOfBind(bindName);
    if (row >= 0) {
        combo->setCurrentIndex(row);
        // The row may be current already under a typed text.
        combo->setEditText(combo->itemText(row));
    } else {
        combo->setEditText(bindName);
    }
}

QString UCCamPosGenerator::fGetKey(const QComboBox* combo) const
{
    return RecorderKeys::BindOfText(combo->currentText());
}

bool UCCamPosGenerator::fCheckSettings()
{
    for (const Field& f : m_fields) {
        // The control's own flag: a field inside the folded advanced frame counts.
        if (!f.input->isVisibleTo(f.input->parentWidget()) || !std::invoke(f.read, *m_settings).isEmpty())
            continue;
        // Unfold the advanced fields so that the one named can be reached.
        if (f.input->parentWidget() == m_fraAdvancedSettings)
            m_chkAdvancedSettings->setChecked(true);
        f.input->setFocus();
        Info(MRuvResource::FormatResText(m_messages[9], {QString(f.label->text()).remove(QLatin1Char(':'))}));
        return false;
    }
    QList<QComboBox*> combos{m_cboRecordKey};
    QStringList keys{m_settings->RecordKey()};
    if (fIsEtPro()) {
        combos << m_cboRecordKey2;
        keys << m_settings->RecordKey2();
    }
    combos << m_cboReinitializationKey;
    keys << m_settings->ReinitializationKey();
    for (int i = 0; i < keys.size(); ++i) {
        for (int j = 0; j < keys.size(); ++j) {
            if (i != j && keys[i] == keys[j]) {
                combos[j]->setFocus();
                Info(m_messages[0]);
                return false;
            }
        }
    }
    return true;
}

void UCCamPosGenerator::cmdCreate_Click()
{
    if (m_game == nullptr || !fCheckSettings())
        return;
    MRecorderScripts::Messages messages;
    messages.updateError = m_messages[3];
    messages.cannotRead = m_messages[4];
    messages.cannotBackup = m_messages[5];
    messages.cannotWrite = m_messages[6];
    messages.invalidLocation = m_messages[7];
    messages.folderNotCreated = m_messages[8];
    messages.badKey = m_messages[10];
    messages.badFolder = m_messages[11];
    InfoBox box(window());
    if (!MRecorderScripts::WriteRecorderScripts(*m_game, *m_settings, messages, box)) {
        Info(m_messages[1]);
        return;
    }
    // A failed autoexec edit has told the user itself.
    if (MRecorderScripts::PatchAutoexec(*m_game, *m_settings, messages, box))
        Info(m_messages[2]);
}

void UCCamPosGenerator::cmdRestoreDefaultValues_Click()
{
    if (m_settings == nullptr)
        return;
    m_settings->SetDefaultValues();
    fShowSettings();
}

void UCCamPosGenerator::Info(const QString& message)
{
    InfoBox(window()).ShowInfo(MRecorderScripts::kBoxTitle, message);
}

void UCCamPosGenerator::fUpdateAdvancedCaption()
{
    m_chkAdvancedSettings->setText(m_chkAdvancedSettings->isChecked() ? QStringLiteral("<< ") + m_advancedText
                                                                      : m_advancedText + QStringLiteral(" >>"));
}

void UCCamPosGenerator::fArrangeControls()
{
    const bool advanced = m_chkAdvancedSettings->isChecked();
    m_fraAdvancedSettings->setVisible(advanced);
    m_fraAdvancedSettings->resize(width() - 2 * kMargin, m_fraAdvancedSettings->height());
    const QWidget* last = advanced ? static_cast<QWidget*>(m_fraAdvancedSettings) : m_cboReinitializationKey;
    const int blockBottom = last->y() + last->height();

    // The bottom row's lower edge lines up with that of the last block,
    // unless labels made wide by their language push that block's inputs
    // under the row: then the row goes below the block.
    const auto fit = [](QWidget* w, int least) { w->resize(std::max(least, w->sizeHint().width()), 24); };
    fit(m_cmdCreate, 80);
    fit(m_cmdRestoreDefaultValues, 110);
    fit(m_chkAdvancedSettings, 100);
    const int rowHeight = m_cmdRestoreDefaultValues->height();
    const int rowLeft = width() - kMargin - m_cmdCreate->width() - kGap - m_cmdRestoreDefaultValues->width() - kGap
                        - m_chkAdvancedSettings->width();
    const int inputsRight = advanced ? m_fraAdvancedSettings->x() + m_txtCVarsPrefix[1]->geometry().right()
                                     : m_cboReinitializationKey->geometry().right();
    int height = blockBottom + kMargin;
    int top = height - rowHeight - kMargin;
    if (rowLeft <= inputsRight + kGap) {
        top = blockBottom + kGap;
        height = top + rowHeight + kMargin;
    }
    resize(width(), height);
    // The resize event of a hidden control comes only when it is shown.
    m_fraMain->setGeometry(rect());
    emit LayoutChanged();

    m_cmdCreate->move(m_fraMain->width() - kMargin - m_cmdCreate->width(), top);
    m_cmdRestoreDefaultValues->move(m_cmdCreate->x() - kGap - m_cmdRestoreDefaultValues->width(), top);
    m_chkAdvancedSettings->move(m_cmdRestoreDefaultValues->x() - kGap - m_chkAdvancedSettings->width(), top);
}
