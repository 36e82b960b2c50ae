#include "FrmDemos.h"

#include "MControls.h"
#include "MFileOp.h"
#include "MFileOpDialogs.h"
#include "MForms.h"
#include "MRuvResource.h"
#include "MainServices.h"
#include "PathHelper.h"
#include "WindowSubclass.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDirIterator>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>

namespace {

constexpr int ImageRole = Qt::UserRole;
constexpr int KeyRole = Qt::UserRole + 1;
// The entry's own name, which the node's text shows trimmed.
constexpr int NameRole = Qt::UserRole + 2;

// The copies of the last played demo that the main window makes.
const QString CopyMarker = QStringLiteral("__vava_last_demo_");

// Folder browser: an edit box, the new dialog style, status text and no
// new-folder button.
constexpr int32_t BrowseFlags = 0x10 | 0x40 | 0x200 | 0x4;

QString NodeText(const QString& name)
{
    QString text = name.trimmed();
    while (text.endsWith(QLatin1Char('\\')) || text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

// Gives the keyboard back to the browser once its chooser has closed. The
// window manager hands it to a window of its own choice (the main window as
// often as not), sometimes only after the browser asked for it: the first
// time the owner takes it before the user has done anything, the browser
// asks again. Any press or key of the user, or the browser's hiding, ends it.
class KeyboardBack final : public QObject
{
public:
    KeyboardBack(QWidget* window, QWidget* owner) : QObject(window), m_window(window), m_owner(owner)
    {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
            if (m_owner && focus != nullptr && focus == m_owner->window()->windowHandle())
                Activate(true);
        });
        Activate(false);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const bool userInput = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress;
        if (userInput || (watched == m_window && e->type() == QEvent::Hide))
            deleteLater();
        return false;
    }

private:
    void Activate(bool last)
    {
        if (!m_window || !m_window->isVisible()) {
            deleteLater();
            return;
        }
        m_window->raise();
        m_window->activateWindow();
        if (last)
            deleteLater();
    }

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_owner;
};

// Re-enables the owner however the folder browser ends, and gives the
// keyboard back to the window that opened the browser.
class OwnerDisabled
{
public:
    OwnerDisabled(QWidget* owner, QWidget* window)
        : m_owner(owner), m_window(window), m_focus(QApplication::focusWidget())
    {
        if (m_owner)
            m_owner->setEnabled(false);
    }
    ~OwnerDisabled()
    {
        if (m_owner)
            m_owner->setEnabled(true);
        if (m_window && m_window->isVisible()) {
            if (m_focus && m_focus->window() == m_window)
                m_focus->setFocus(Qt::OtherFocusReason);
            new KeyboardBack(m_window, m_owner);
        }
    }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;

private:
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
};

// A note is read as UTF-8 when it is valid UTF-8, else as the single-byte
// code page older notes were written in; line breaks become the box's own.
bool ReadNote(const QString& path, QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return true;
}

// A note is written whole or not at all, with CR LF line breaks, in the
// single-byte code page when every character fits it (as older versions
// and other tools read notes), else in UTF-8.
bool WriteNote(const QString& path, const QString& text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    bool latin1 = true;
    for (const QChar c : crlf)
        latin1 = latin1 && c.unicode() <= 0xFF;
    const QByteArray bytes = latin1 ? crlf.toLatin1() : crlf.toUtf8();
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

FrmDemos::FrmDemos(QWidget* owner, std::shared_ptr<IDialogs> dialogs, std::shared_ptr<IShell> shell)
    : QWidget(owner, Qt::Tool), m_dialogs(std::move(dialogs)), m_shell(std::move(shell)), m_owner(owner)
{
    setObjectName(QStringLiteral("FrmDemos"));
    setWindowTitle(QStringLiteral("Demos"));
    m_noDemoText = MRuvResource::GetResString(MRuvResource::LanguageEnglish, 81);
    m_browseTitle = MRuvResource::GetResString(MRuvResource::LanguageEnglish, 82);
    SetMessageTexts(MRuvResource::GetResString(MRuvResource::LanguageEnglish, 950),
                    MRuvResource::GetResString(MRuvResource::LanguageEnglish, 951));
    BuildControls();
    resize(520, 360);

    m_events = Com::ComPtr<WindowEvents>::Attach(new WindowEvents);
    m_events->onResizing = [](int16_t& minX, int16_t&, int16_t& minY, int16_t&) {
        minX = MinWidth;
        minY = MinHeight;
    };
    FormSc = HookWindow(this, m_events.Get());
    if (FormSc)
        FormSc->SetResizing(true);
}

FrmDemos::~FrmDemos()
{
    MForms::ReleaseSubclass(FormSc);
}

void FrmDemos::BuildControls()
{
    static const char* const pictures[] = {"", "folder", "folderOpen", "folderEmpty", "demo", "demoNote"};
    for (size_t i = 1; i < m_images.size(); ++i)
        m_images[i] = QIcon(QStringLiteral(":/ruvadir/pictures/ilsDemos_%1.png").arg(QLatin1String(pictures[i])));

    m_fraTop = new QFrame(this);
    m_fraTop->setObjectName(QStringLiteral("fraTop"));
    m_fraTop->setFixedHeight(34);
    m_lblDemoRootDir = new QLabel(m_fraTop);
    m_lblDemoRootDir->setObjectName(QStringLiteral("lblDemoRootDir"));
    m_txtDemoRootDir = new QLineEdit(m_fraTop);
    m_txtDemoRootDir->setObjectName(QStringLiteral("txtDemoRootDir"));
    MControls::SetReadOnly(m_txtDemoRootDir, true);
    m_cmdBrowseForDemoRootDir = new QPushButton(QStringLiteral("..."), m_fraTop);
    m_cmdBrowseForDemoRootDir->setObjectName(QStringLiteral("cmdBrowseForDemoRootDir"));
    m_cmdBrowseForDemoRootDir->setFixedWidth(28);
    connect(m_cmdBrowseForDemoRootDir, &QPushButton::clicked, this, [this] { cmdBrowseForDemoRootDir_Click(); });
    auto* top = new QHBoxLayout(m_fraTop);
    top->setContentsMargins(3, 4, 3, 4);
    top->addWidget(m_lblDemoRootDir);
    top->addWidget(m_txtDemoRootDir, 1);
    top->addWidget(m_cmdBrowseForDemoRootDir);

    m_tvwDemos = new QTreeWidget(this);
    m_tvwDemos->setObjectName(QStringLiteral("tvwDemos"));
    m_tvwDemos->setHeaderHidden(true);
    m_tvwDemos->setFrameShape(QFrame::NoFrame);
    m_tvwDemos->setRootIsDecorated(false);
    m_tvwDemos->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    m_tvwDemos->setSortingEnabled(false);
    m_tvwDemos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tvwDemos->setIndentation(12);
    m_tvwDemos->setUniformRowHeights(true);
    m_tvwDemos->viewport()->installEventFilter(this);
    // The note, its box and its image belong to the node the tree shows as
    // current, however it became so (a click, the arrow keys, typing a
    // name): a note is never saved to a node that is not highlighted.
    connect(m_tvwDemos, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current == m_currentNode)
            return;
        m_currentNode = current;
        fShowDemoInfo();
    });
    connect(m_tvwDemos, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) {
                if (!IsDemoNode(item) && item->childCount() > 0)
                    item->setIcon(0, m_images[ImageFolderExpanded]);
            });
    connect(m_tvwDemos, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { item->setIcon(0, m_images[static_cast<size_t>(NodeImage(item))]); });

    m_fraDemoInfo = new QFrame(this);
    m_fraDemoInfo->setObjectName(QStringLiteral("fraDemoInfo"));
    m_lblDemoInfo = new QLabel(m_fraDemoInfo);
    m_lblDemoInfo->setObjectName(QStringLiteral("lblDemoInfo"));
    m_txtDemoInfo = new QPlainTextEdit(m_fraDemoInfo);
    m_txtDemoInfo->setObjectName(QStringLiteral("txtDemoInfo"));
    m_cmdSaveDemoInfo = new QPushButton(m_fraDemoInfo);
    m_cmdSaveDemoInfo->setObjectName(QStringLiteral("cmdSaveDemoInfo"));
    connect(m_cmdSaveDemoInfo, &QPushButton::clicked, this, [this] { cmdSaveDemoInfo_Click(); });
    auto* info = new QVBoxLayout(m_fraDemoInfo);
    info->setContentsMargins(3, 0, 3, 3);
    info->addWidget(m_lblDemoInfo);
    info->addWidget(m_txtDemoInfo, 1);
    info->addWidget(m_cmdSaveDemoInfo, 0, Qt::AlignRight);

    m_fraBottom = new QFrame(this);
    m_fraBottom->setObjectName(QStringLiteral("fraBottom"));
    m_fraBottom->setFixedHeight(38);
    auto* separator = new QFrame(m_fraBottom);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    m_cmdRefresh = new QPushButton(m_fraBottom);
    m_cmdRefresh->setObjectName(QStringLiteral("cmdRefresh"));
    connect(m_cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    auto* bottom = new QVBoxLayout(m_fraBottom);
    bottom->setContentsMargins(3, 0, 3, 0);
    bottom->addWidget(separator);
    bottom->addStretch();
    bottom->addWidget(m_cmdRefresh, 0, Qt::AlignLeft);
    bottom->addStretch();

    m_mnuMain = new QMenu(this);
    m_mnuMain->setObjectName(QStringLiteral("mnuMain"));
    m_mnuExplore = m_mnuMain->addAction(QStringLiteral("Explore"));
    m_mnuExplore->setObjectName(QStringLiteral("mnuExplore"));
    m_mnuMain->setDefaultAction(m_mnuExplore);
    connect(m_mnuExplore, &QAction::triggered, this, [this] { mnuExplore_Click(); });

    // The window sees key presses before its controls.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void FrmDemos::Initialize(QWidget* owner)
{
    m_owner = owner;
}

void FrmDemos::SetGuiTexts(const QString& rootLabel, const QString& infoLabel, const QString& saveCaption,
                           const QString& refreshCaption, const QString& noDemoText, const QString& browseTitle)
{
    m_lblDemoRootDir->setText(rootLabel + QStringLiteral(" :"));
    m_lblDemoInfo->setText(infoLabel + QStringLiteral(" :"));
    m_cmdSaveDemoInfo->setText(saveCaption);
    m_cmdRefresh->setText(refreshCaption);
    m_noDemoText = noDemoText;
    m_browseTitle = browseTitle;
    fArrangeControls();
}

void FrmDemos::SetMessageTexts(const QString& cannotSave, const QString& cannotRemove)
{
    m_cannotSaveText = cannotSave;
    m_cannotRemoveText = cannotRemove;
}

void FrmDemos::SetRootDirectory(const QString& rootDirectory, const QString& pattern)
{
    m_rootDirectory = rootDirectory;
    m_demoPattern = pattern;
    m_demoPatternStem = QString(pattern).remove(QLatin1Char('?'));
    m_txtDemoRootDir->setText(rootDirectory);
    RefreshDemoList();
}

void FrmDemos::RefreshDemoList()
{
    m_currentNode = nullptr;
    m_tvwDemos->setVisible(false);
    m_tvwDemos->clear();
    m_nativeRoot = RuvPlatform::PathHelper::ToNative(m_rootDirectory);
    // Built apart from the view and handed to it at once: one change of
    // the tree instead of one a node.
    QList<QTreeWidgetItem*> topLevel;
    int32_t counter = 0;
    bool holdsAnything = false;
    if (!m_nativeRoot.isEmpty())
        fFillTree(m_nativeRoot, QFileInfo(m_nativeRoot).canonicalFilePath(), nullptr, counter, holdsAnything, topLevel);
    m_tvwDemos->addTopLevelItems(topLevel);
    m_tvwDemos->setVisible(true);
    m_txtDemoInfo->clear();
    emit DemoListUpdated();
}

void FrmDemos::fFillTree(const QString& folder, const QString& canonical, QTreeWidgetItem* parent,
                         int32_t& counter, bool& holdsAnything, QList<QTreeWidgetItem*>& topLevel)
{
    holdsAnything = false;
    if (canonical.isEmpty())
        return;
    QStringList demos;
    demos.reserve(64);
    // In the order the file system gives; nothing is sorted.
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        const QString name = entry.fileName();
        if (!entry.isDir()) {
            if (fAcceptsDemo(name))
                demos << name;
            continue;
        }
        // A link back to a folder above would fill the tree for ever.
        QString inner = canonical + QLatin1Char('/') + name;
        if (entry.isSymLink()) {
            inner = entry.canonicalFilePath();
            bool loop = inner.isEmpty();
            QString above = canonical;
            while (!loop && !above.isEmpty()) {
                loop = inner == above;
                const qsizetype cut = above.lastIndexOf(QLatin1Char('/'));
                above = cut > 0 ? above.left(cut) : QString();
            }
            if (loop || inner == QStringLiteral("/"))
                continue;
        }
        holdsAnything = true;
        ++counter;
        auto* node = new QTreeWidgetItem;
        node->setText(0, NodeText(name));
        node->setData(0, NameRole, name);
        node->setData(0, KeyRole, QString::number(counter, 16).toUpper() + QLatin1Char('k'));
        if (parent)
            parent->addChild(node);
        else
            topLevel << node;
        bool inside = false;
        fFillTree(folder + QLatin1Char('/') + name, inner, node, counter, inside, topLevel);
        SetNodeImage(node, inside ? ImageFolder : ImageFolderEmpty);
    }
    for (const QString& name : demos) {
        auto* node = new QTreeWidgetItem;
        node->setText(0, name);
        node->setData(0, NameRole, name);
        if (parent)
            parent->addChild(node);
        else
            topLevel << node;
        SetNodeImage(node, ImageDemo);
        fUpdateNodeImage(node);
    }
    if (!demos.isEmpty())
        holdsAnything = true;
}

bool FrmDemos::fAcceptsDemo(const QString& name) const
{
    if (name.contains(CopyMarker, Qt::CaseInsensitive))
        return false;
    if (m_demoPattern.isEmpty())
        return true;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QStringView extension = dot < 0 ? QStringView() : QStringView(name).mid(dot + 1);
    return extension.size() == m_demoPattern.size() && extension.startsWith(m_demoPatternStem);
}

QString FrmDemos::FullPath(const QTreeWidgetItem* node)
{
    QString path;
    for (const QTreeWidgetItem* n = node; n; n = n->parent())
        path = n == node ? n->text(0) : n->text(0) + QLatin1Char('\\') + path;
    return path;
}

int FrmDemos::NodeImage(const QTreeWidgetItem* node)
{
    return node ? node->data(0, ImageRole).toInt() : 0;
}

QString FrmDemos::NodeKey(const QTreeWidgetItem* node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

bool FrmDemos::IsDemoNode(const QTreeWidgetItem* node)
{
    const int image = NodeImage(node);
    return image == ImageDemo || image == ImageDemoNote;
}

void FrmDemos::SetNodeImage(QTreeWidgetItem* node, int image)
{
    node->setData(0, ImageRole, image);
    node->setIcon(0, node->isExpanded() ? m_images[ImageFolderExpanded] : m_images[static_cast<size_t>(image)]);
}

QString FrmDemos::fInfoFilePath(const QTreeWidgetItem* node) const
{
    QString path;
    for (const QTreeWidgetItem* n = node; n; n = n->parent())
        path = QLatin1Char('/') + n->data(0, NameRole).toString() + path;
    return m_nativeRoot + path + QStringLiteral(".txt");
}

void FrmDemos::fUpdateNodeImage(QTreeWidgetItem* node)
{
    const QFileInfo note(fInfoFilePath(node));
    int image = ImageDemo;
    if (note.isFile()) {
        if (note.size() == 0)
            MFileOp::MoveToTrash(note.filePath());  // no empty note is kept; a failure changes nothing
        else
            image = ImageDemoNote;
    }
    SetNodeImage(node, image);
}

void FrmDemos::fShowDemoInfo()
{
    m_txtDemoInfo->clear();
    if (IsDemoNode(m_currentNode)) {
        QString text;
        if (ReadNote(fInfoFilePath(m_currentNode), text))
            m_txtDemoInfo->setPlainText(text);
    }
    m_txtDemoInfo->document()->setModified(false);
}

bool FrmDemos::SelectItem(const QString& path)
{
    for (QTreeWidgetItemIterator it(m_tvwDemos); *it; ++it) {
        if (FullPath(*it).compare(path, Qt::CaseInsensitive) == 0) {
            m_tvwDemos->setCurrentItem(*it);
            m_tvwDemos->scrollToItem(*it);
            m_currentNode = *it;
            fShowDemoInfo();
            return true;
        }
    }
    return false;
}

void FrmDemos::SetPosition(const QWidget* anchor)
{
    if (anchor == nullptr)
        return;
    const QWidget* window = anchor->window();
    const float twipsX = MControls::TwipsPerPixel(anchor, true);
    const float twipsY = MControls::TwipsPerPixel(anchor, false);
    const float left = MControls::GetAbsolutePos(anchor, true) + static_cast<float>(window->frameGeometry().x()) * twipsX + 45;
    const float top = MControls::GetAbsolutePos(anchor, false) + static_cast<float>(window->frameGeometry().y()) * twipsY + 915;
    move(static_cast<int>(std::lround(left / twipsX)), static_cast<int>(std::lround(top / twipsY)));
}

void FrmDemos::ShowEx(QWidget* owner)
{
    if (owner && parentWidget() != owner)
        setParent(owner, Qt::Tool);
    show();
    raise();
    activateWindow();
}

void FrmDemos::fArrangeControls()
{
    const int w = width();
    const int h = height();
    const int t = m_fraTop->height();
    const int b = m_fraBottom->height();
    const int column = static_cast<int>(std::lround(w * 3.0 / 5.0));
    const int inset = static_cast<int>(std::lround(45.0f / MControls::TwipsPerPixel(this, true)));
    m_fraTop->setGeometry(0, 0, w, t);
    m_tvwDemos->setGeometry(inset, t, std::max(1, column - inset), std::max(1, h - t - b));
    m_fraBottom->setGeometry(0, h - b, column, b);
    m_fraDemoInfo->setGeometry(column, t, w - column, std::max(1, h - t));
}

void FrmDemos::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    fArrangeControls();
}

void FrmDemos::ShowMessage(const QString& prompt, int32_t style)
{
    if (m_dialogs)
        m_dialogs->MessageBox(this, QString(), prompt, style, QStringLiteral("IDI_A"), 0);
}

void FrmDemos::cmdSaveDemoInfo_Click()
{
    const QString text = m_txtDemoInfo->toPlainText();
    if (!IsDemoNode(m_currentNode)) {
        if (!text.isEmpty())
            ShowMessage(m_noDemoText, 64);
        return;
    }
    const QString path = fInfoFilePath(m_currentNode);
    if (!text.isEmpty()) {
        if (!WriteNote(path, text)) {
            // The text stays in the box, to be saved once the folder lets it.
            ShowMessage(MRuvResource::FormatResText(m_cannotSaveText, RuvPlatform::PathHelper::ToNative(path)), 48);
            return;
        }
    } else if (QFileInfo(path).isFile()) {
        if (!MFileOp::MoveToTrash(path)) {
            ShowMessage(MRuvResource::FormatResText(m_cannotRemoveText, RuvPlatform::PathHelper::ToNative(path)), 48);
            return;
        }
    } else {
        return;
    }
    m_txtDemoInfo->document()->setModified(false);
    fUpdateNodeImage(m_currentNode);
}

void FrmDemos::cmdBrowseForDemoRootDir_Click()
{
    if (!m_dialogs)
        return;
    QString start;
    MFileOp::GetExistingFolder(m_rootDirectory, start);
    QString folder;
    {
        OwnerDisabled disabled(m_owner, this);
        folder = m_dialogs->BrowseForFolder(this, m_browseTitle, start, MFileOp::CsidlDrives, BrowseFlags,
                                            QStringLiteral("IDI_A"));
    }
    if (folder != QLatin1String(MFileOp::CancelText) && folder.compare(m_rootDirectory, Qt::CaseInsensitive) != 0)
        emit NewDemoRootDirSelected(folder);
}

void FrmDemos::cmdRefresh_Click()
{
    bool cancel = false;
    emit RefreshRequested(cancel);
    if (!cancel)
        RefreshDemoList();
    m_tvwDemos->setFocus();
}

void FrmDemos::mnuExplore_Click()
{
    if (!m_shell || !m_currentNode)
        return;
    QString relative = FullPath(m_currentNode);
    const QString folder = RuvPlatform::PathHelper::Join(m_rootDirectory, relative.replace(
        QLatin1Char('\\'), RuvPlatform::PathHelper::SeparatorOf(m_rootDirectory)));
    m_shell->ShellExecuteVerb(this, 2, folder, QString(), QString(), 1);
}

void FrmDemos::tvwDemos_MouseDown(Qt::MouseButton button, const QPoint& position)
{
    m_lastButton = button;
    m_lastPosition = position;
}

void FrmDemos::tvwDemos_NodeClick(QTreeWidgetItem* node)
{
    m_currentNode = node;
    fShowDemoInfo();
    if (m_lastButton != Qt::RightButton)
        return;
    m_tvwDemos->setCurrentItem(node);
    if (IsDemoNode(node))
        return;
    m_mnuExplore->setVisible(true);
    const QPoint offset(static_cast<int>(std::lround(180.0f / MControls::TwipsPerPixel(this, true))),
                        static_cast<int>(std::lround(105.0f / MControls::TwipsPerPixel(this, false))));
    m_mnuMain->popup(m_tvwDemos->viewport()->mapToGlobal(m_lastPosition + offset), m_mnuExplore);
}

void FrmDemos::tvwDemos_DblClick()
{
    if (m_lastButton != Qt::LeftButton || m_tvwDemos->itemAt(m_lastPosition) == nullptr)
        return;
    if (IsDemoNode(m_currentNode)) {
        emit SelectedDemoChanged(FullPath(m_currentNode));
        hide();
    }
}

bool FrmDemos::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_tvwDemos->viewport()) {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(e);
            tvwDemos_MouseDown(mouse->button(), mouse->position().toPoint());
            if (e->type() == QEvent::MouseButtonPress) {
                if (QTreeWidgetItem* node = m_tvwDemos->itemAt(m_lastPosition))
                    tvwDemos_NodeClick(node);
            }
        }
        if (e->type() == QEvent::MouseButtonDblClick)
            tvwDemos_DblClick();
    }
    // Escape in the window hides it; in the window's Explore menu, a window
    // of its own, it is the menu's and closes only the menu.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && isVisible()
        && widget && widget->window() == this) {
        hide();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

bool FrmDemos::event(QEvent* e)
{
    // What changed in the note file meanwhile is seen; what the user typed
    // and did not save yet is kept.
    if (e->type() == QEvent::WindowActivate && IsDemoNode(m_currentNode)) {
        fUpdateNodeImage(m_currentNode);
        if (!m_txtDemoInfo->document()->isModified())
            fShowDemoInfo();
    }
    return QWidget::event(e);
}

void FrmDemos::closeEvent(QCloseEvent* e)
{
    // The close box only hides the window; the tree stays as it is.
    e->ignore();
    hide();
}
