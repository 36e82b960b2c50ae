#include "UCGameLocation.h"

#include "CGameDefinition.h"
#include "ComClient.h"
#include "Dadavive.h"
#include "GameDetection.h"
#include "GameLinuxNames.h"
#include "MControls.h"
#include "MFileOp.h"
#include "MFileOpDialogs.h"
#include "MForms.h"
#include "MMsgBoxEx.h"
#include "MRuvResource.h"
#include "PathHelper.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

namespace PathHelper = RuvPlatform::PathHelper;

namespace {

// Measures of the layout, in pixels.
constexpr int kMargin = 8;       // inside the outer frame, and below the last block
constexpr int kBlockGap = 3;     // between the base-folder block and the demo frame
constexpr int kFrameInset = 2;   // the inner frames' right edge, and their text's left edge
constexpr int kTextLeft = 172;
constexpr int kButtonWidth = 80;
constexpr int kCheckWidth = 300;
constexpr int kRowHeight = 24;
// Between a label and the check box beside it.
constexpr int kLabelGap = 6;

QPushButton* Button(const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(QStringLiteral("Browse"), parent);
    b->setObjectName(name);
    b->resize(kButtonWidth, kRowHeight);
    return b;
}

QLineEdit* TextBox(const QString& name, QWidget* parent)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    return t;
}

QLabel* Label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QFrame* Frame(const QString& name, QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::NoFrame);
    return f;
}

QString ProposedExecutable(const QString& folder, const QStringList& names)
{
    const QStringList present = QDir(PathHelper::ToNative(folder)).entryList(QDir::Files);
    for (const QString& name : names) {
        if (present.contains(name))
            return name;
        for (const QString& file : present)
            if (file.compare(name, Qt::CaseInsensitive) == 0)
                return file;
    }
    return names.value(0);
}

} // namespace

// The read-only path boxes ignore the right button, so they never show the
// text box's own menu.
class UCGameLocation::PathBoxSink final : public Dadavive::SubclassEventsBase
{
public:
    void MouseDown(int32_t& Button, int32_t&, int32_t, int32_t, bool& bHandled) override
    {
        if (Button == 2)
            bHandled = true;
    }
};

UCGameLocation::UCGameLocation(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UCGameLocation"));
    m_fraMain = new QGroupBox(QStringLiteral("Locations"), this);
    m_fraMain->setObjectName(QStringLiteral("fraMain"));

    m_lblGameExePath = Label(QStringLiteral("lblGameExePath"), QStringLiteral("EXE path :"), m_fraMain);
    m_lblGameExePath->setGeometry(kMargin, 24, kTextLeft - kMargin, kRowHeight);
    m_txtGameExePath = TextBox(QStringLiteral("txtGameExePath"), m_fraMain);
    m_txtGameExePath->setGeometry(kTextLeft, 24, 360, kRowHeight);
    m_cmdBrowseForGameExePath = Button(QStringLiteral("cmdBrowseForGameExePath"), m_fraMain);
    m_cmdBrowseForGameExePath->move(kTextLeft + 368, 24);

    m_lblWorkingDirectory =
        Label(QStringLiteral("lblWorkingDirectory"), QStringLiteral("Base directory :"), m_fraMain);
    m_lblWorkingDirectory->setGeometry(kMargin, 56, kTextLeft - kMargin, kRowHeight);
    m_lstWorkingDirectory = new QListWidget(m_fraMain);
    m_lstWorkingDirectory->setObjectName(QStringLiteral("lstWorkingDirectory"));
    m_lstWorkingDirectory->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstWorkingDirectory->setGeometry(kTextLeft, 56, 360, 96);

    m_fraAbsoluteWorkingDirectory = Frame(QStringLiteral("fraAbsoluteWorkingDirectory"), m_fraMain);
    m_fraAbsoluteWorkingDirectory->setGeometry(kTextLeft - kFrameInset, 54, 460, kRowHeight + 4);
    m_txtAbsoluteWorkingDirectory =
        TextBox(QStringLiteral("txtAbsoluteWorkingDirectory"), m_fraAbsoluteWorkingDirectory);
    m_txtAbsoluteWorkingDirectory->setGeometry(kFrameInset, 2, 360, kRowHeight);
    m_cmdBrowseForAbsoluteWorkingDirectory =
        Button(QStringLiteral("cmdBrowseForAbsoluteWorkingDirectory"), m_fraAbsoluteWorkingDirectory);
    m_cmdBrowseForAbsoluteWorkingDirectory->move(370, 2);

    m_fraDemoDefaultRootDir = Frame(QStringLiteral("fraDemoDefaultRootDir"), m_fraMain);
    m_fraDemoDefaultRootDir->setGeometry(kMargin - kFrameInset, 155, 500, 2 * kRowHeight + 8);
    m_lblDemoDefaultRootDir = Label(QStringLiteral("lblDemoDefaultRootDir"), QStringLiteral("Demo default directory :"),
                                    m_fraDemoDefaultRootDir);
    m_lblDemoDefaultRootDir->setGeometry(kFrameInset, 2, kTextLeft - kMargin, kRowHeight);
    const int demoTextLeft = kTextLeft - (kMargin - kFrameInset);
    m_chkDemoDefaultRootDirUseDefault = new QCheckBox(QStringLiteral("Use default directory"), m_fraDemoDefaultRootDir);
    m_chkDemoDefaultRootDirUseDefault->setObjectName(QStringLiteral("chkDemoDefaultRootDirUseDefault"));
    m_chkDemoDefaultRootDirUseDefault->setGeometry(demoTextLeft, 2, kCheckWidth, kRowHeight);
    m_txtDemoDefaultRootDir = TextBox(QStringLiteral("txtDemoDefaultRootDir"), m_fraDemoDefaultRootDir);
    m_txtDemoDefaultRootDir->setGeometry(demoTextLeft, kRowHeight + 6, 360, kRowHeight);
    m_cmdBrowseForDemoDefaultRootDir = Button(QStringLiteral("cmdBrowseForDemoDefaultRootDir"), m_fraDemoDefaultRootDir);
    m_cmdBrowseForDemoDefaultRootDir->move(demoTextLeft + 368, kRowHeight + 6);
    // The demo folder is chosen with its browser; a typed path would go nowhere.
    MControls::SetReadOnly(m_txtDemoDefaultRootDir, true);

    resize(660, m_fraDemoDefaultRootDir->geometry().bottom() + 1 + kMargin);

    WatchPathBox(m_txtGameExePath, m_txtGameExePathSc);
    WatchPathBox(m_txtAbsoluteWorkingDirectory, m_txtAbsoluteWorkingDirectorySc);

    connect(m_lstWorkingDirectory, &QListWidget::itemSelectionChanged, this, &UCGameLocation::OnModListSelection);
    connect(m_chkDemoDefaultRootDirUseDefault, &QCheckBox::toggled, this, &UCGameLocation::OnUseDefaultToggled);
    connect(m_cmdBrowseForGameExePath, &QPushButton::clicked, this, &UCGameLocation::OnBrowseExe);
    connect(m_cmdBrowseForAbsoluteWorkingDirectory, &QPushButton::clicked, this,
            &UCGameLocation::OnBrowseAbsoluteWorkingDirectory);
    connect(m_cmdBrowseForDemoDefaultRootDir, &QPushButton::clicked, this, &UCGameLocation::OnBrowseDemoDir);
}

UCGameLocation::~UCGameLocation()
{
    MForms::ReleaseSubclass(m_txtGameExePathSc);
    MForms::ReleaseSubclass(m_txtAbsoluteWorkingDirectorySc);
}

void UCGameLocation::WatchPathBox(QLineEdit* box, Com::ComPtr<Dadavive::ICSubclass>& member)
{
    MControls::SetReadOnly(box, true);
    // Without the subclassing library the box must still show no menu.
    box->setContextMenuPolicy(Qt::NoContextMenu);
    if (!m_pathBoxSink)
        m_pathBoxSink = Com::ComPtr<Dadavive::ICSubclassEvents>::Attach(new PathBoxSink);
    Com::ComPtr<Dadavive::ICSubclass> sc;
    if (!Com::Succeeded(Com::CreateInstance(Dadavive::CLSID_CSubclass, sc)) || !sc)
        return;
    sc->SetEvents(m_pathBoxSink.Get());
    if (Com::Succeeded(sc->Init(box))) {
        sc->SetMouseDown(true);
        member = sc;
    } else {
        sc->Terminate();
    }
}

void UCGameLocation::SetGame(CGameDefinition* game)
{
    m_game = game;
    fRefresh();
}

void UCGameLocation::SetControlsText(const QStringList& texts)
{
    if (texts.size() != 11)
        return;
    m_fraMain->setTitle(texts[0]);
    for (QPushButton* b : {m_cmdBrowseForGameExePath, m_cmdBrowseForAbsoluteWorkingDirectory,
                           m_cmdBrowseForDemoDefaultRootDir})
        b->setText(texts[1]);
    m_lblGameExePath->setText(texts[2]);
    m_lblWorkingDirectory->setText(texts[3]);
    m_lblDemoDefaultRootDir->setText(texts[4]);
    m_chkDemoDefaultRootDirUseDefault->setText(texts[5]);
    m_exeFilterDescription = texts[6];
    m_wrongExeTitle = texts[7];
    m_baseDirTitle = texts[8];
    m_demoDirTitle = texts[9];
    m_exeDialogTitle = texts[10];
    fFitCaptions();
}

void UCGameLocation::fFitCaptions()
{
    // The labels keep the width of the column before the text boxes; a
    // longer text widens its label.
    for (QLabel* label : {m_lblGameExePath, m_lblWorkingDirectory, m_lblDemoDefaultRootDir})
        label->resize(std::max(kTextLeft - kMargin, label->sizeHint().width()), label->height());
    // The browse buttons widen to their caption; the layout keeps them at
    // the right edge.
    for (QPushButton* b : {m_cmdBrowseForGameExePath, m_cmdBrowseForAbsoluteWorkingDirectory,
                           m_cmdBrowseForDemoDefaultRootDir})
        b->resize(MControls::ButtonWidthFor(b, kButtonWidth), b->height());
    // The check box beside the demo label stands at the text column, or
    // right of a label that reaches beyond it.
    QCheckBox* check = m_chkDemoDefaultRootDirUseDefault;
    const int left = std::max(kTextLeft - (kMargin - kFrameInset),
                              m_lblDemoDefaultRootDir->geometry().right() + 1 + kLabelGap);
    check->setGeometry(left, check->y(), std::max(kCheckWidth, check->sizeHint().width()), check->height());
    if (m_game != nullptr)
        fArrangeControls();
}

bool UCGameLocation::IsLocationValid() const
{
    return m_game != nullptr && m_game->IsLocationValid();
}

void UCGameLocation::resizeEvent(QResizeEvent* event)
{
    m_fraMain->setGeometry(0, 0, event->size().width(), event->size().height());
}

void UCGameLocation::fRefresh()
{
    fShowLocation();
    fArrangeControls();
}

void UCGameLocation::fShowLocation()
{
    if (m_game == nullptr)
        return;
    m_txtGameExePath->setText(m_game->ExeFullPath());
    if (m_game->UseAbsoluteWorkingDir())
        m_txtAbsoluteWorkingDirectory->setText(m_game->ModFullDir());
    else
        fFillModList();
    fShowDemoDir();
}

void UCGameLocation::fFillModList()
{
    m_lstWorkingDirectory->setUpdatesEnabled(false);
    m_lstWorkingDirectory->clear();
    // The engine's home folders of the user running the program, read now.
    m_modEntries = ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), *m_game);
    for (const ModFolderList::Entry& e : m_modEntries) {
        // Folders of the engine's home folder show where they lie.
        auto* item = new QListWidgetItem(
            e.besideExecutable ? e.name : PathHelper::ToNative(ModFolderList::FullPath(e)), m_lstWorkingDirectory);
        item->setToolTip(ModFolderList::FullPath(e));
    }
    const int current = ModFolderList::CurrentEntry(m_modEntries, *m_game);
    if (current >= 0)
        m_lstWorkingDirectory->setCurrentRow(current);
    m_lstWorkingDirectory->setUpdatesEnabled(true);
}

void UCGameLocation::OnModListSelection()
{
    const QList<QListWidgetItem*> selected = m_lstWorkingDirectory->selectedItems();
    if (m_game == nullptr || selected.isEmpty())
        return;
    const int row = m_lstWorkingDirectory->row(selected.front());
    if (row < 0 || row >= m_modEntries.size())
        return;
    m_game->SetModFullDir(ModFolderList::FullPath(m_modEntries.at(row)));
    fShowDemoDir();
}

void UCGameLocation::fShowDemoDir()
{
    m_chkDemoDefaultRootDirUseDefault->setChecked(m_game->IsDefaultDemoDefaultRootDir());
    m_txtDemoDefaultRootDir->setText(m_game->DemoDefaultRootDir());
}

void UCGameLocation::OnUseDefaultToggled(bool checked)
{
    if (m_game != nullptr && checked && !m_game->IsDefaultDemoDefaultRootDir()) {
        // The definition falls back to its default folder and creates it.
        m_game->SetDemoDefaultRootDir(QString());
        fShowDemoDir();
    }
    fEnableDemoDirControls(m_chkDemoDefaultRootDirUseDefault->isChecked());
}

void UCGameLocation::fEnableDemoDirControls(bool useDefault)
{
    m_txtDemoDefaultRootDir->setEnabled(!useDefault);
    m_cmdBrowseForDemoDefaultRootDir->setEnabled(!useDefault);
}

void UCGameLocation::OnBrowseExe()
{
    if (m_game == nullptr)
        return;
    // Every name the location test accepts, the Linux engines' first: the
    // Windows name alone would send a Linux user looking for a file that
    // is not there.
    QStringList names = LinuxNamesOfGame(m_game->GType()).executables;
    names << m_game->GameExe();
    const QString title = MRuvResource::FormatResText(m_exeDialogTitle, {names.join(QStringLiteral(", "))});
    // Proposed: the first Linux engine found in the folder (its name in
    // any case), else the first Linux name, so that Open is ready at once.
    QString file = MFileOp::GetFolderPart(m_game->ExeFullPath());
    if (!file.isEmpty())
        file = PathHelper::Join(file, ProposedExecutable(file, LinuxNamesOfGame(m_game->GType()).executables));
    for (;;) {
        if (!fShowOpenDialog(file, title, m_exeFilterDescription, names))
            return;
        if (m_game->IsExePathValid(file))
            break;
        MMsgBoxEx::MsgBoxEx(window(), m_wrongExeTitle, title, MMsgBoxEx::MbOk | MMsgBoxEx::MbIconInformation,
                            QString(), 0);
    }
    m_game->SetExeFullPath(file);
    fShowLocation();
}

bool UCGameLocation::fShowOpenDialog(QString& path, const QString& title, const QString& filterDescription,
                                     const QStringList& names)
{
    QFileDialog dialog(window(), title);
    dialog.setObjectName(QStringLiteral("dlgDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The engines' names differ in case between builds.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setNameFilter(filterDescription + QStringLiteral(" (") + names.join(QLatin1Char(' ')) + QLatin1Char(')'));
    QString folder;
    if (!path.isEmpty() && MFileOp::GetExistingFolder(path, folder))
        dialog.setDirectory(PathHelper::ToNative(folder));
    if (!path.isEmpty())
        dialog.selectFile(MFileOp::GetFileName(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().front();
    return true;
}

void UCGameLocation::OnBrowseAbsoluteWorkingDirectory()
{
    if (m_game == nullptr)
        return;
    const QString folder = MFileOp::GetSpecialFolder(m_baseDirTitle, m_game->ModFullDir(), MFileOp::CsidlDrives, 80,
                                                     window());
    if (folder != QLatin1String(MFileOp::CancelText) && MFileOp::FolderExists(folder)) {
        m_game->SetModFullDir(folder);
        fShowLocation();
    }
}

void UCGameLocation::OnBrowseDemoDir()
{
    if (m_game == nullptr)
        return;
    const QString folder = MFileOp::GetSpecialFolder(m_demoDirTitle, m_game->DemoDefaultRootDir(),
                                                     MFileOp::CsidlDrives, 80, window());
    if (folder != QLatin1String(MFileOp::CancelText) && MFileOp::FolderExists(folder)) {
        m_game->SetDemoDefaultRootDir(folder);
        fShowLocation();
    }
}

void UCGameLocation::fArrangeControls()
{
    const bool absolute = m_game != nullptr && m_game->UseAbsoluteWorkingDir();
    m_fraAbsoluteWorkingDirectory->setVisible(absolute);
    m_lstWorkingDirectory->setVisible(!absolute);
    const QWidget* block = absolute ? static_cast<QWidget*>(m_fraAbsoluteWorkingDirectory) : m_lstWorkingDirectory;
    m_fraDemoDefaultRootDir->move(m_fraDemoDefaultRootDir->x(), block->y() + block->height() + kBlockGap);
    resize(width(), m_fraDemoDefaultRootDir->y() + m_fraDemoDefaultRootDir->height() + kMargin);
    // The resize event of a hidden control comes only when it is shown.
    m_fraMain->setGeometry(rect());
    emit LayoutChanged();

    const int mainWidth = m_fraMain->width();
    m_cmdBrowseForGameExePath->move(mainWidth - kMargin - m_cmdBrowseForGameExePath->width(),
                                    m_cmdBrowseForGameExePath->y());
    const int textWidth = m_cmdBrowseForGameExePath->x() - m_txtGameExePath->x() - kMargin;
    for (QFrame* frame : {m_fraAbsoluteWorkingDirectory, m_fraDemoDefaultRootDir}) {
        frame->resize(mainWidth - frame->x() - kFrameInset, frame->height());
        QPushButton* browse = frame == m_fraDemoDefaultRootDir ? m_cmdBrowseForDemoDefaultRootDir
                                                               : m_cmdBrowseForAbsoluteWorkingDirectory;
        browse->move(frame->width() - kMargin - browse->width() + kFrameInset, browse->y());
    }
    for (QWidget* box : {static_cast<QWidget*>(m_txtGameExePath), static_cast<QWidget*>(m_txtAbsoluteWorkingDirectory),
                         static_cast<QWidget*>(m_txtDemoDefaultRootDir), static_cast<QWidget*>(m_lstWorkingDirectory)})
        box->resize(textWidth, box->height());
}
