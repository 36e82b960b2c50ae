#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class CCamPosSetting;
class CGameDefinition;
class CTooltip;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Rozuro Zuvarazu Zizavuva settings of one game (the keys the in-game
// recorder binds, its folders and name prefixes) and the command that
// writes the recorder's scripts and hooks them into autoexec.cfg. The
// control edits the game's own recorder settings in place, field by field
// as each is validated; the owner decides whether the game is kept.
class UCCamPosGenerator : public QWidget
{
    Q_OBJECT

public:
    explicit UCCamPosGenerator(QWidget* parent = nullptr);
    ~UCCamPosGenerator() override;

    // Not owned: the caller keeps the game alive while the control shows it.
    // Until a game is set the commands are disabled.
    void SetGame(CGameDefinition* game);
    // Twelve captions: the frame, the eight labels, the advanced text and
    // the two buttons. Any other count changes nothing.
    void SetControlsText(const QStringList& texts);
    // Ten messages, in the order of their numbers.
    void SetMessages(const QStringList& texts);
    // Eleven tooltips: the balloon's text, then the fields' ones.
    void SetTooltips(const QStringList& texts);

signals:
    // The control has arranged itself and set its own height.
    void LayoutChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class InfoBox;
    struct Field
    {
        const QString& (CCamPosSetting::*read)() const;
        QLabel* label;
        QWidget* input;
    };

    void BuildControls();
    void WatchKeyCombo(QComboBox* combo, void (CCamPosSetting::*store)(const QString&));
    void WatchNameBox(QLineEdit* box, bool separators, void (CCamPosSetting::*store)(const QString&),
                      const QString& (CCamPosSetting::*read)() const);
    void WatchPrefixBox(QLineEdit* box, void (CCamPosSetting::*store)(const QString&));

    void fShowSettings();
    bool fIsEtPro() const;
    bool fCheckSettings();
    void fSelectKey(QComboBox* combo, const QString& bindName);
    QString fGetKey(const QComboBox* combo) const;
    void fUpdateAdvancedCaption();
    void fArrangeControls();
    // The labels as wide as their texts, the inputs beside the widest.
    void fPlaceColumns();
    void FillKeyCombo(QComboBox* combo);
    void fKeyComboClick(QComboBox* combo, int index);
    void Info(const QString& message);

    void cmdCreate_Click();
    void cmdRestoreDefaultValues_Click();

    CGameDefinition* m_game = nullptr;
    CCamPosSetting* m_settings = nullptr;
    QStringList m_messages;
    QString m_advancedText = QStringLiteral("Advanced");
    QList<Field> m_fields;
    QList<QComboBox*> m_keyCombos;
    // The last key pressed in a key combo; a separator picked after the Up
    // key gives the row above.
    int m_lastKey = 0;
    CTooltip* m_tooltip = nullptr;

    QGroupBox* m_fraMain = nullptr;
    QLabel* m_lblRecordKey = nullptr;
    QComboBox* m_cboRecordKey = nullptr;
    QComboBox* m_cboRecordKey2 = nullptr;
    QLabel* m_lblReinitializationKey = nullptr;
    QComboBox* m_cboReinitializationKey = nullptr;
    QCheckBox* m_chkAdvancedSettings = nullptr;
    QFrame* m_fraAdvancedSettings = nullptr;
    QLabel* m_lblSavingRelativeDir = nullptr;
    QLineEdit* m_txtSavingRelativeDir = nullptr;
    QLabel* m_lblScriptsRelativeDir = nullptr;
    QLineEdit* m_txtScriptsRelativeDir = nullptr;
    QLabel* m_lblInitScriptName = nullptr;
    QLineEdit* m_txtInitScriptName = nullptr;
    QLabel* m_lblScriptsNamePrefix = nullptr;
    QLineEdit* m_txtScriptsNamePrefix[2] = {};
    QLabel* m_lblPosFilesNamePrefix = nullptr;
    QLineEdit* m_txtPosFilesNamePrefix[2] = {};
    QLabel* m_lblCVarsPrefix = nullptr;
    QLineEdit* m_txtCVarsPrefix[2] = {};
    QPushButton* m_cmdRestoreDefaultValues = nullptr;
    QPushButton* m_cmdCreate = nullptr;
};
