#pragma once

// The options of exporting the camera path to an outside 3D tool: the
// target and the number of animation frames. The program has no exporter
// behind it, so no command opens it; it stands ready for one. Shown modal;
// the caller reads the three results once it returns.

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;
class QRadioButton;

class FrmExport : public QDialog
{
    Q_OBJECT

public:
    // At most 9 digits: every count fits the 32-bit result.
    static constexpr int MaxFrameDigits = 9;

    explicit FrmExport(QWidget* owner = nullptr);

    // The frame count typed (0 when the box is empty).
    int32_t AnimationFrames() const;
    // True only when the dialog was closed with OK.
    bool Validated() const { return m_validated; }
    // The index of the last target clicked; 0 until one is.
    int32_t ExportTo() const { return m_exportTo; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void cmdValid_Click();
    void cmdCancel_Click();

    QRadioButton* m_optExportTo;
    QLineEdit* m_txtAnimationFrames;
    QPushButton* m_cmdValid;
    QPushButton* m_cmdCancel;
    bool m_validated = false;
    int32_t m_exportTo = 0;
};
