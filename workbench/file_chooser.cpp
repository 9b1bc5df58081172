#include "workbench/file_chooser.hpp"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStorageInfo>

#include <algorithm>

namespace el::workbench {

QStringList driveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        // Containers bind-mount single files as volumes; only folders can be drives.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(QDir::toNativeSeparators(volume.rootPath()));
    const QString systemRoot = QDir::toNativeSeparators(QDir::rootPath());
    if (!roots.contains(systemRoot)) roots.append(systemRoot);
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    return roots;
}

QList<FolderEntry> folderEntries(const QString& folder) {
    QList<FolderEntry> entries;
    QDir dir(folder);
    entries.append({QDir::toNativeSeparators(dir.absolutePath()), QString()});
    QDir parent = dir;
    if (parent.cdUp() && parent.absolutePath() != dir.absolutePath())
        entries.append({QStringLiteral(".."), parent.absolutePath()});
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) entries.append({name, dir.absoluteFilePath(name)});
    return entries;
}

QStringList readableFilePatterns() {
    return {QStringLiteral("*.csv"),  QStringLiteral("*.tsv"),     QStringLiteral("*.txt"),
            QStringLiteral("*.xlsx"), QStringLiteral("*.ods"),     QStringLiteral("*.gpkg"),
            QStringLiteral("*.geojson"), QStringLiteral("*.json"), QStringLiteral("*.topojson"),
            QStringLiteral("*.shp")};
}

QStringList readableFileNames(const QString& folder) {
    // Without QDir::CaseSensitive the patterns match names in any letter case.
    return QDir(folder).entryList(readableFilePatterns(), QDir::Files, QDir::Name | QDir::IgnoreCase);
}

bool isTableFileName(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    return QStringList({"csv", "tsv", "txt", "xlsx", "ods"}).contains(suffix);
}

QString joinFolderAndName(const QString& folder, const QString& name) {
    QString joined = QDir::toNativeSeparators(folder);
    if (!joined.endsWith(QDir::separator())) joined += QDir::separator();
    return joined + name;
}

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

FileChooser::FileChooser(QComboBox* drives, QListWidget* folders, QListWidget* files, QObject* parent)
    : QObject(parent), drives_(drives), folders_(folders), files_(files) {
    drives_->addItems(driveRoots());
    connect(drives_, &QComboBox::activated, this, &FileChooser::onDriveActivated);
    connect(folders_, &QListWidget::itemClicked, this, &FileChooser::onFolderClicked);
    connect(folders_, &QListWidget::itemActivated, this, &FileChooser::onFolderClicked);
    connect(files_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileChosen(item->text()); });
    // Moving through the list with the keyboard chooses the file it lands on, as a click does.
    connect(files_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item != nullptr && files_->hasFocus()) emit fileChosen(item->text());
    });
    connect(files_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { emit fileChosen(item->text()); });
}

void FileChooser::setFolder(const QString& folder) {
    const QFileInfo info(folder);
    folder_ = QDir::cleanPath(info.absoluteFilePath());

    const QString root = QDir::toNativeSeparators(QStorageInfo(folder_).rootPath());
    lastFolderOnDrive_.insert(root, folder_);
    int index = drives_->findText(root);
    if (index < 0) {
        drives_->addItem(root);
        index = drives_->count() - 1;
    }
    drives_->setCurrentIndex(index);

    folders_->clear();
    for (const FolderEntry& entry : folderEntries(folder_)) {
        auto* item = new QListWidgetItem(entry.text, folders_);
        item->setData(Qt::UserRole, entry.target);
        item->setToolTip(entry.target.isEmpty() ? entry.text : QDir::toNativeSeparators(entry.target));
    }
    refresh();
}

void FileChooser::onDriveActivated(int index) {
    const QString root = drives_->itemText(index);
    setFolder(lastFolderOnDrive_.value(root, root));
}

void FileChooser::onFolderClicked(QListWidgetItem* item) {
    const QString target = item->data(Qt::UserRole).toString();
    if (target.isEmpty()) return;
    // A double-click arrives as a click on the rebuilt list as well; one move per gesture.
    if (sinceClickMove_.isValid() && sinceClickMove_.elapsed() < QApplication::doubleClickInterval()) return;
    sinceClickMove_.start();
    setFolder(target);
}

void FileChooser::refresh() {
    files_->clear();
    files_->addItems(readableFileNames(folder_));
}

}  // namespace el::workbench
