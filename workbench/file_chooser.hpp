#pragma once
// The drive, folder and file lists of Step 1. Drives are the mounted volumes; the folder
// list shows the current folder, ".." and its subfolders; the file list shows the files of
// the current folder the tool can read: vector files, GIS layers and records tables.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <filesystem>

class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace el::workbench {

// Root paths of the mounted volumes, sorted, without repeats.
QStringList driveRoots();

// One entry of the folder list: the text shown and the folder it leads to (empty for the
// line that names the current folder itself).
struct FolderEntry {
    QString text;
    QString target;
};
QList<FolderEntry> folderEntries(const QString& folder);

// The name patterns of the files the tool reads: vector files and tables (*.csv, *.tsv, *.txt,
// *.xlsx, *.ods) and GIS layers (*.gpkg, *.geojson, *.json, *.topojson, *.shp).
QStringList readableFilePatterns();

// Names of the files of a folder that match readableFilePatterns (any letter case), sorted by name.
QStringList readableFileNames(const QString& folder);

// True for a name a records table may have (*.csv, *.tsv, *.txt, *.xlsx, *.ods).
bool isTableFileName(const QString& name);

// The folder joined with a file name by the platform's separator, the name exactly as typed.
QString joinFolderAndName(const QString& folder, const QString& name);

// A path of the user's as the file system spells it.
std::filesystem::path localPath(const QString& path);

class FileChooser : public QObject {
    Q_OBJECT
public:
    FileChooser(QComboBox* drives, QListWidget* folders, QListWidget* files, QObject* parent = nullptr);

    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    // Lists the files of the folder anew.
    void refresh();

signals:
    void fileChosen(const QString& name);

private:
    void onDriveActivated(int index);
    void onFolderClicked(QListWidgetItem* item);

    QComboBox* drives_;
    QListWidget* folders_;
    QListWidget* files_;
    QString folder_;
    QHash<QString, QString> lastFolderOnDrive_;
    QElapsedTimer sinceClickMove_;
};

}  // namespace el::workbench
