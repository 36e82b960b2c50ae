#include "FrmExport.h"

#include "MControls.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FrmExport::FrmExport(QWidget* owner) : QDialog(owner, Qt::Tool)
{
    // The window's texts are fixed, in every language.
    setObjectName(QStringLiteral("FrmExport"));
    setWindowTitle(QStringLiteral("Export dialog"));

    auto* fraExportTarget = new QGroupBox(this);
    fraExportTarget->setObjectName(QStringLiteral("fraExportTarget"));
    m_optExportTo = new QRadioButton(QStringLiteral("3D tool"), fraExportTarget);
    m_optExportTo->setObjectName(QStringLiteral("optExportTo(0)"));
    m_optExportTo->setChecked(true);
    connect(m_optExportTo, &QRadioButton::clicked, this, [this] { m_exportTo = 0; });
    auto* lblAnimationFrames = new QLabel(QStringLiteral("Animation frames"), fraExportTarget);
    lblAnimationFrames->setObjectName(QStringLiteral("lblAnimationFrames"));
    m_txtAnimationFrames = new QLineEdit(QStringLiteral("100"), fraExportTarget);
    m_txtAnimationFrames->setObjectName(QStringLiteral("txtAnimationFrames"));
    m_txtAnimationFrames->setMaxLength(MaxFrameDigits);
    MControls::SetNumbersOnly(m_txtAnimationFrames);
    m_txtAnimationFrames->installEventFilter(this);
    connect(m_txtAnimationFrames, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_cmdValid->setEnabled(!text.isEmpty()); });

    auto* frame = new QGridLayout(fraExportTarget);
    frame->addWidget(m_optExportTo, 0, 0, 1, 2);
    frame->addWidget(lblAnimationFrames, 1, 0);
    frame->addWidget(m_txtAnimationFrames, 1, 1);

    m_cmdValid = new QPushButton(QStringLiteral("Ok"), this);
    m_cmdValid->setObjectName(QStringLiteral("cmdValid"));
    m_cmdValid->setDefault(true);
    connect(m_cmdValid, &QPushButton::clicked, this, [this] { cmdValid_Click(); });
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdValid);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraExportTarget);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int32_t FrmExport::AnimationFrames() const
{
    // Digits only and at most nine of them: the conversion cannot fail.
    return m_txtAnimationFrames->text().toInt();
}

bool FrmExport::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_txtAnimationFrames && e->type() == QEvent::FocusIn)
        MControls::SelectAllText(m_txtAnimationFrames);
    return QDialog::eventFilter(watched, e);
}

void FrmExport::cmdValid_Click()
{
    m_validated = true;
    hide();
    done(Accepted);
}

void FrmExport::cmdCancel_Click()
{
    m_validated = false;
    hide();
    done(Rejected);
}

void FrmExport::reject()
{
    // Escape.
    cmdCancel_Click();
}

void FrmExport::closeEvent(QCloseEvent* e)
{
    // The close box acts as Cancel and only hides the window.
    e->ignore();
    cmdCancel_Click();
}
