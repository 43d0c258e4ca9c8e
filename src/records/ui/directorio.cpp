#include "records/ui/directorio.h"

#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "records/directory.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

namespace orvex {
namespace {

const QString kTitle = QStringLiteral("DIRECTORIO");

} // namespace

Directorio::Directorio(MessageService& messages, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("Directorio"));
    setWindowTitle(kTitle);
    setModal(true);
    m_cualDir = new QLineEdit(this);
    m_cualDir->setObjectName(QStringLiteral("CualDir"));
    m_cualDir->installEventFilter(this);
    m_drive1 = new QComboBox(this);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    m_tree = new QFileSystemModel(this);
    m_tree->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_tree->setReadOnly(true);
    m_dir1 = new QTreeView(this);
    m_dir1->setObjectName(QStringLiteral("Dir1"));
    m_dir1->setModel(m_tree);
    m_dir1->setHeaderHidden(true);
    for (int c = 1; c < m_tree->columnCount(); ++c)
        m_dir1->hideColumn(c);
    m_aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    m_aceptar->setObjectName(QStringLiteral("Boton0"));
    m_aceptar->setDefault(true);
    m_cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("Boton1"));
    m_cancelar->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_cualDir, 0, 0);
    layout->addWidget(m_dir1, 1, 0, 2, 1);
    layout->addWidget(m_drive1, 3, 0);
    layout->addWidget(m_aceptar, 0, 1);
    layout->addWidget(m_cancelar, 1, 1, Qt::AlignTop);
    layout->setRowStretch(2, 1);
    resize(twipsToPixels(6600, this), twipsToPixels(4800, this));

    fillDrives();
    // The tree reads folders in the background: show the target as its parents arrive.
    const auto reveal = [this] {
        if (!m_target.isEmpty())
            QTimer::singleShot(0, this, &Directorio::revealTarget);
    };
    connect(m_tree, &QFileSystemModel::directoryLoaded, this, reveal);
    connect(m_tree, &QFileSystemModel::rowsInserted, this, reveal);
    connect(m_tree, &QFileSystemModel::layoutChanged, this, reveal);
    connect(m_drive1, &QComboBox::activated, this, &Directorio::showDrive);
    connect(m_dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& index) { directoryChosen(index, false); });
    connect(m_dir1, &QTreeView::activated, this,
        [this](const QModelIndex& index) { directoryChosen(index, true); });
    connect(m_aceptar, &QPushButton::clicked, this, &Directorio::aceptar);
    connect(m_cancelar, &QPushButton::clicked, this, &Directorio::cancelar);
}

void Directorio::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    std::sort(roots.begin(), roots.end());
    for (const QString& root : roots)
        m_drive1->addItem(root, root);
}

void Directorio::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centerForm(this);
    const QString chosen = m_chosen.trimmed();
    m_cualDir->setText(chosen.isEmpty() ? QDir::currentPath() : chosen);
    if (!QFileInfo(m_cualDir->text()).isDir())
        pointListsAt(QDir::currentPath());
    pointListsAt(m_cualDir->text());
    m_cualDir->setFocus();
}

// A path that is not a directory leaves the lists where they were.
void Directorio::pointListsAt(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return;
    const QString directory = info.absoluteFilePath();
    const QString volume = QStorageInfo(directory).rootPath();
    m_following = true;
    if (const int drive = m_drive1->findData(volume); drive >= 0)
        m_drive1->setCurrentIndex(drive);
    m_dir1->setRootIndex(m_tree->setRootPath(volume));
    m_following = false;
    m_target = directory;
    revealTarget();
}

void Directorio::revealTarget()
{
    if (m_target.isEmpty())
        return;
    m_following = true;
    const QModelIndex index = m_tree->index(m_target);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_dir1->expand(parent);
    m_dir1->setCurrentIndex(index);
    m_dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_following = false;
}

void Directorio::showDrive(int index)
{
    const QString volume = m_drive1->itemData(index).toString();
    // The drive's current directory: ours when it lies on that volume, else its root.
    const QString current = QDir::currentPath();
    const bool here = QStorageInfo(current).rootPath() == volume;
    pointListsAt(volume);
    if (here)
        pointListsAt(current);
    m_cualDir->setText(here ? current : volume);
}

void Directorio::directoryChosen(const QModelIndex& index, bool focusPath)
{
    if (m_following || !index.isValid())
        return;
    m_target.clear();
    m_cualDir->setText(m_tree->filePath(index));
    if (focusPath)
        m_cualDir->setFocus();
}

void Directorio::aceptar()
{
    const QString path = m_cualDir->text();
    if (!directoryExists(us(path))) {
        const MsgAnswer create = m_messages.show(this,
            { QStringLiteral("Directorio NO existe, desea crearlo..."), kTitle, MsgIcon::Question,
                MsgButtons::YesNo });
        if (create != MsgAnswer::Yes) {
            m_cualDir->setFocus();
            return;
        }
        if (const std::string reason = crearDirectorio(us(path)); !reason.empty()) {
            m_messages.show(this,
                { QStringLiteral("No se pudo crear el directorio [%1]: %2...")
                        .arg(path, qs(reason)),
                    kTitle, MsgIcon::Exclamation, MsgButtons::Ok });
            m_cualDir->setFocus();
            return;
        }
    }
    m_chosen = path;
    accept();
}

void Directorio::cancelar()
{
    m_chosen.clear();
    QDialog::reject();
}

void Directorio::reject() { cancelar(); }

bool Directorio::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cualDir && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_cualDir, [this] { selectAllText(m_cualDir); });
    return QDialog::eventFilter(watched, event);
}

QString elegirDirectorio(const QString& initial, MessageService& messages, QWidget* parent)
{
    Directorio window(messages, parent);
    window.setChosen(initial);
    window.exec();
    return window.chosen();
}

} // namespace orvex
