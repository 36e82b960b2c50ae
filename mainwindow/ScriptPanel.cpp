#include "ScriptPanel.h"

#include "CFocusValidator.h"
#include "DadaviveKeys.h"
#include "HandlerErrors.h"
#include "MCommon.h"
#include "MComboBox.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "RecorderKeyTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>

#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr int32_t kPauseKeyCount = RecorderKeys::kRowCount;
constexpr int32_t kLocalizedKeys = 10;
constexpr int32_t kFirstKeyText = 61;
constexpr int32_t kVirtualKeyUp = 38;
constexpr float kPauseKeyListTwips = 6345.0f;
constexpr double kMaxMinutes = 999;
enum DemoTimeBox : int32_t { Minutes = 0, Seconds = 1, Forward = 2 };

// The number a text holds, as the program reads the numbers of its boxes:
// the leading number, 0 for a text that is none.
double ValueOf(const QString& text)
{
    return MCommon::ReadLeadingNumber(text);
}

// Projects keep these values as 16-bit whole numbers.
bool FitsInteger(double value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

QString ShortestForm(const QString& text)
{
    return MCommon::FormatDouble(ValueOf(text));
}

// Tells the key codes pressed in a control before the control sees them.
class KeyDownWatcher : public QObject
{
public:
    KeyDownWatcher(QWidget* watched, std::function<void(int32_t)> keyDown)
        : QObject(watched), m_keyDown(std::move(keyDown))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            m_keyDown(Dadavive::VirtualKeyFromQt(key->key(), key->modifiers()));
        }
        return false;
    }

private:
    std::function<void(int32_t)> m_keyDown;
};

}  // namespace

ScriptPanel::ScriptPanel(MainContext& context) : m_c(context)
{
    MainWidgets& w = m_c.widgets;
    QObject* owner = &m_c.window;
    const auto handle = [this](std::function<void()> work) { RunHandler(m_c, work); };

    new KeyDownWatcher(w.cboSScriptPauseKey, [this](int32_t key) { cboSScriptPauseKey_KeyDown(key); });
    QObject::connect(w.cboSScriptPauseKey, &QComboBox::currentIndexChanged, owner, [this, handle](int index) {
        if (index >= 0)
            handle([this] { cboSScriptPauseKey_Click(); });
    });
    QObject::connect(w.chkSScriptPauseState, &QCheckBox::toggled, owner,
                     [this, handle] { handle([this] { chkSScriptPauseState_Click(); }); });
    QObject::connect(w.cmdDemoGoto, &QPushButton::clicked, owner,
                     [this, handle] { handle([this] { fSendDemoTimeCommand(false); }); });
    QObject::connect(w.cmdDemoFd, &QPushButton::clicked, owner,
                     [this, handle] { handle([this] { fSendDemoTimeCommand(true); }); });
    QObject::connect(w.chkSAutoStart, &QCheckBox::toggled, owner, [this] { fSetModifiedUnlessFilling(); });
    for (QComboBox* combo : {w.cboSCmdsBefore, w.cboSCmdsAfter})
        QObject::connect(combo, &QComboBox::currentIndexChanged, owner, [this] { fSetModifiedUnlessFilling(); });
    QObject::connect(w.cmdSCmdsBefore, &QPushButton::clicked, owner, [this, handle] {
        handle([this] { m_c.parts.gameConfigs->fManageConfigs(m_c.widgets.cboSCmdsBefore); });
    });
    QObject::connect(w.cmdSCmdsAfter, &QPushButton::clicked, owner, [this, handle] {
        handle([this] { m_c.parts.gameConfigs->fManageConfigs(m_c.widgets.cboSCmdsAfter); });
    });
    fConnectDemoTimes();
    // The pause controls follow the box from the start.
    fApplyPauseState(false);
}

void ScriptPanel::fConnectDemoTimes()
{
    // The boxes of the array are only recorded by the text-box handler:
    // their focus and validation are handed to it from here.
    for (int32_t i = 0; i < static_cast<int32_t>(m_c.widgets.txtGDemoTimes.size()); ++i) {
        QLineEdit* box = m_c.widgets.txtGDemoTimes[static_cast<size_t>(i)];
        auto* validator = new CFocusValidator(box, box);
        QObject::connect(validator, &CFocusValidator::GotFocus, &m_c.window, [this, box] {
            if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
                handler->OnFocusGot(box);
        });
        QObject::connect(validator, &CFocusValidator::LostFocus, &m_c.window, [this, box] {
            if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
                handler->OnFocusLost(box);
        });
        QObject::connect(validator, &CFocusValidator::Validate, &m_c.window, [this, i](bool& cancel) {
            RunHandler(m_c, [this, i, &cancel] { txtGDemoTimes_Validate(i, cancel); });
        });
    }
}

void ScriptPanel::fFillPauseKeys()
{
    QComboBox* combo = m_c.widgets.cboSScriptPauseKey;
    const QStringList& texts = RecorderKeys::DisplayTexts();
    const QStringList& binds = RecorderKeys::KeyTable();
    {
        const QSignalBlocker quiet(combo);
        combo->clear();
        MComboBox::InitStorage(combo, kPauseKeyCount, 13);
        m_pauseKeyBinds.clear();
        for (int32_t i = 0; i < kPauseKeyCount; ++i) {
            // The punctuation keys get the texts of the language; the game
            // binds them by their English names whatever they show.
            const bool localized = i < kLocalizedKeys;
            combo->addItem(localized ? QString() : texts.at(i));
            m_pauseKeyBinds << (localized && binds.at(i).isEmpty() ? texts.at(i) : binds.at(i));
        }
        combo->setCurrentIndex(0);
    }
    cboSScriptPauseKey_Click();
    MComboBox::FitDropDown(combo, kPauseKeyListTwips);
}

void ScriptPanel::fLocalizePauseKeyItems()
{
    QComboBox* combo = m_c.widgets.cboSScriptPauseKey;
    for (int32_t i = 0; i < kLocalizedKeys && i < combo->count(); ++i)
        combo->setItemText(i, m_c.texts.fGetText(kFirstKeyText + i));
}

void ScriptPanel::cboSScriptPauseKey_KeyDown(int32_t keyCode)
{
    m_pauseKeyLastKeyCode = keyCode;
}

void ScriptPanel::cboSScriptPauseKey_Click()
{
    QComboBox* combo = m_c.widgets.cboSScriptPauseKey;
    const int32_t index = combo->currentIndex();
    if (combo->itemText(index) == RecorderKeys::kSeparator) {
        const int32_t step = m_pauseKeyLastKeyCode == kVirtualKeyUp ? -1 : 1;
        m_pauseKeyLastKeyCode = 0;
        const int32_t neighbour = index + step;
        // Choosing the neighbour runs this handler again for it.
        if (neighbour >= 0 && neighbour < combo->count())
            combo->setCurrentIndex(neighbour);
    } else {
        m_pauseKeyLastKeyCode = 0;
    }
    fUpdatePauseKeyTag();
}

void ScriptPanel::fUpdatePauseKeyTag()
{
    QComboBox* combo = m_c.widgets.cboSScriptPauseKey;
    const int32_t index = combo->currentIndex();
    QString tag;
    if (index >= 0) {
        tag = index < m_pauseKeyBinds.size() ? m_pauseKeyBinds.at(index) : QString();
        if (tag.isEmpty())
            tag = combo->itemText(index);
    }
    combo->setProperty(TagProperty, tag);
}

void ScriptPanel::chkSScriptPauseState_Click()
{
    fApplyPauseState(true);
}

void ScriptPanel::fApplyPauseState(bool giveFocus)
{
    MainWidgets& w = m_c.widgets;
    const bool enabled = w.chkSScriptPauseState->isChecked();
    w.txtSScriptPauseInterval->setEnabled(enabled);
    w.lblSScriptPauseResumeKey->setEnabled(enabled);
    w.cboSScriptPauseKey->setEnabled(enabled);
    if (enabled && giveFocus) {
        w.txtSScriptPauseInterval->setFocus();
        w.txtSScriptPauseInterval->selectAll();
        fUpdatePauseKeyTag();
    }
}

void ScriptPanel::fValidatePauseInterval(bool& cancel)
{
    QLineEdit* box = m_c.widgets.txtSScriptPauseInterval;
    const double value = ValueOf(box->text());
    if (value == 0 || !FitsInteger(value)) {
        cancel = true;
        if (CTextboxHandler* handler = m_c.controls.m_textboxHandler.get())
            handler->Cancel(box);
    }
}

void ScriptPanel::txtGDemoTimes_Validate(int32_t index, bool& cancel)
{
    QLineEdit* box = m_c.widgets.txtGDemoTimes[static_cast<size_t>(index)];
    QLineEdit* minutesBox = m_c.widgets.txtGDemoTimes[Minutes];
    CTextboxHandler* handler = m_c.controls.m_textboxHandler.get();
    double value = MCommon::RoundHalfEven(ValueOf(box->text()));
    if ((index == Minutes && value > kMaxMinutes) || !FitsInteger(value)) {
        cancel = true;
        if (handler)
            handler->Cancel(box);
        return;
    }
    if (index == Seconds && value >= 60) {
        const double minutes = MCommon::RoundHalfEven(ValueOf(minutesBox->text())) + std::floor(value / 60);
        minutesBox->setText(MCommon::FormatInt(static_cast<int64_t>(std::min(minutes, kMaxMinutes))));
        value = std::fmod(value, 60);
    }
    box->setText(MCommon::FormatInt(static_cast<int64_t>(value)));
    if (handler)
        handler->OnValidated(box);
}

void ScriptPanel::fSendDemoTimeCommand(bool forward)
{
    const auto& boxes = m_c.widgets.txtGDemoTimes;
    const QString source = QStringLiteral("FrmMain.fSendDemoTimeCommand");
    int32_t seconds = 0;
    QString title;
    if (forward) {
        title = m_c.texts.fGetText(163);
        seconds = MCommon::CheckedRoundToInt32(ValueOf(boxes[Forward]->text()), source);
    } else {
        title = m_c.texts.fGetText(164);
        seconds = MCommon::CheckedRoundToInt32(
            -(ValueOf(boxes[Minutes]->text()) * 60 + ValueOf(boxes[Seconds]->text())), source);
    }
    if (seconds != 0)
        m_c.parts.consoleInput->fSendConsoleCommand(QStringLiteral("/DemoFF ") + MCommon::FormatInt(seconds), 0, true,
                                                    QString(), title);
}

void ScriptPanel::fSetModifiedUnlessFilling()
{
    if (!m_c.state.m_comboGuard)
        m_c.parts.editState->fSetProjectModified(false);
}

QString ScriptPanel::fComboConfigFile(const QComboBox* combo)
{
    const QString text = combo->currentText();
    const qsizetype separator = text.indexOf(QLatin1Char('\\'));
    if (combo->currentIndex() > 0 && separator >= 0)
        return text.mid(separator + 1);
    return {};
}

QString ScriptPanel::fCommandBeforeFile() const
{
    return fComboConfigFile(m_c.widgets.cboSCmdsBefore);
}

QString ScriptPanel::fCommandAfterFile() const
{
    return fComboConfigFile(m_c.widgets.cboSCmdsAfter);
}

QString ScriptPanel::fRecordFrameSettingsString() const
{
    const MainWidgets& w = m_c.widgets;
    return QStringList{ShortestForm(w.txtSRecordFrameWidth->text()), ShortestForm(w.txtSRecordFrameHeight->text()),
                       ShortestForm(w.txtSRecordFrameAA->text()),
                       w.chkSRecordFrameSettings->isChecked() ? QStringLiteral("1") : QStringLiteral("0")}
        .join(QLatin1Char(';'));
}

void ScriptPanel::fParseRecordFrameSettings(const QString& text)
{
    MainWidgets& w = m_c.widgets;
    const QStringList fields = text.split(QLatin1Char(';'));
    const auto field = [&fields](qsizetype i, const char* missing) {
        return i < fields.size() ? ShortestForm(fields.at(i)) : QString::fromLatin1(missing);
    };
    w.txtSRecordFrameWidth->setText(field(0, "0"));
    w.txtSRecordFrameHeight->setText(field(1, "0"));
    w.txtSRecordFrameAA->setText(field(2, "16"));
    w.chkSRecordFrameSettings->setChecked(fields.size() > 3 && ValueOf(fields.at(3)) > 0);
}
