#include "workbench/records_dialog.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <stdexcept>

#include "vector/download_lines.hpp"
#include "workbench/file_chooser.hpp"
#include "workbench/records_subset_box.hpp"

namespace el::workbench {
namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }
std::string utf8(const QString& text) { return text.trimmed().toStdString(); }
QString shown(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// A combo's choice: empty for its first entry.
std::string chosenColumn(const QComboBox* combo) {
    return combo->currentIndex() <= 0 ? std::string() : utf8(combo->currentText());
}

void chooseColumn(QComboBox* combo, const std::string& name) {
    if (name.empty()) {
        combo->setCurrentIndex(0);
        return;
    }
    int at = combo->findText(fromUtf8(name), Qt::MatchExactly);
    if (at < 0) {
        combo->addItem(fromUtf8(name));  // a column the table has not shown yet
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(at);
}

QComboBox* columnList(const char* name, const QString& first) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItem(first);
    combo->setMinimumContentsLength(16);
    return combo;
}

QWidget* fileRow(QLineEdit* field, const char* buttonName, const std::function<void()>& choose) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    browse->setObjectName(QString::fromLatin1(buttonName));
    QObject::connect(browse, &QPushButton::clicked, field, choose);
    layout->addWidget(browse);
    return row;
}

// Which columns the usual header names find, or why they find none.
QString foundColumnsNote(const std::vector<std::string>& headers) {
    vec::Table table;
    table.headers = headers;
    try {
        const vec::RecordColumns found = vec::resolveColumns(table, {});
        return QStringLiteral("Found by their headers: region \"%1\", species \"%2\", date \"%3\".")
            .arg(fromUtf8(found.region), fromUtf8(found.species), fromUtf8(found.date));
    } catch (const vec::RecordsError& e) {
        return fromUtf8(e.what());
    }
}

}  // namespace

RecordsDialog::RecordsDialog(HeaderReader headers, QWidget* parent) : QDialog(parent), headers_(std::move(headers)) {
    setObjectName(QStringLiteral("RecordsDialog"));
    setWindowTitle(QStringLiteral("Import a records table"));
    build();
}

QString RecordsDialog::foundByNameCaption() { return QStringLiteral("(found by its header)"); }

void RecordsDialog::setSheetReader(SheetReader sheets) { sheetReader_ = std::move(sheets); }

void RecordsDialog::build() {
    auto* layout = new QVBoxLayout(this);
    auto* files = new QFormLayout;
    files->addRow(QStringLiteral("Records table:"), tableRow());
    tableNote_ =
        new QLabel(QStringLiteral("One row per record: region, species and date (a year, an ISO date or a keyword)."));
    tableNote_->setObjectName(QStringLiteral("TableNote"));
    tableNote_->setWordWrap(true);
    files->addRow(QString(), tableNote_);
    sheet_ = columnList("SheetName", QStringLiteral("(the first with the three columns)"));
    sheet_->setEnabled(false);
    connect(sheet_, &QComboBox::currentIndexChanged, this,
            [this] { showHeaders(localPath(table_->text().trimmed())); });
    files->addRow(QStringLiteral("Sheet:"), sheet_);
    points_ =
        new QCheckBox(QStringLiteral("Occurrence points (species, longitude, latitude, date), placed in the regions"));
    points_->setObjectName(QStringLiteral("OccurrencePoints"));
    files->addRow(QString(), points_);
    files->addRow(QStringLiteral("Regions layer:"), regionsRow());
    layer_ = new QLineEdit;
    layer_->setObjectName(QStringLiteral("RegionsLayerName"));
    layer_->setPlaceholderText(QStringLiteral("the file's only layer"));
    files->addRow(QStringLiteral("Layer:"), layer_);
    layout->addLayout(files);
    layout->addWidget(columnsBox());
    layout->addWidget(joinBox());
    layout->addWidget(absenceBox());
    subsets_ = new RecordsSubsetBox;
    layout->addWidget(subsets_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Import"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ImportButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QWidget* RecordsDialog::tableRow() {
    table_ = new QLineEdit;
    table_->setObjectName(QStringLiteral("TableFile"));
    connect(table_, &QLineEdit::editingFinished, this, [this] { setTable(table_->text()); });
    QWidget* row = fileRow(table_, "BrowseTable", [this] { chooseTable(); });
    // A Darwin Core archive may come unpacked: a folder, which a file chooser cannot pick.
    auto* folder = new QPushButton(QStringLiteral("Archive folder..."));
    folder->setObjectName(QStringLiteral("BrowseArchiveFolder"));
    folder->setToolTip(QStringLiteral("An unpacked Darwin Core archive: a folder holding meta.xml"));
    connect(folder, &QPushButton::clicked, this, [this] { chooseArchiveFolder(); });
    row->layout()->addWidget(folder);
    return row;
}

QWidget* RecordsDialog::regionsRow() {
    regions_ = new QLineEdit;
    regions_->setObjectName(QStringLiteral("RegionsFile"));
    regions_->setPlaceholderText(QStringLiteral("none: regions without geometry"));
    return fileRow(regions_, "BrowseRegions", [this] { chooseRegions(); });
}

QWidget* RecordsDialog::columnsBox() {
    auto* box = new QGroupBox(QStringLiteral("Columns of the table"));
    auto* form = new QFormLayout(box);
    region_ = columnList("RegionColumn", foundByNameCaption());
    species_ = columnList("SpeciesColumn", foundByNameCaption());
    date_ = columnList("DateColumn", foundByNameCaption());
    form->addRow(QStringLiteral("Region:"), region_);
    form->addRow(QStringLiteral("Species:"), species_);
    form->addRow(QStringLiteral("Date:"), date_);
    return box;
}

QWidget* RecordsDialog::joinBox() {
    auto* box = new QGroupBox(QStringLiteral("Join: the table column and the layer field with the same keys"));
    auto* row = new QHBoxLayout(box);
    joinColumn_ = columnList("JoinColumn", QStringLiteral("(the region column)"));
    joinField_ = new QLineEdit;
    joinField_->setObjectName(QStringLiteral("JoinField"));
    joinField_->setPlaceholderText(QStringLiteral("the layer's name field"));
    row->addWidget(joinColumn_, 1);
    row->addWidget(new QLabel(QStringLiteral("=")));
    row->addWidget(joinField_, 1);
    return box;
}

QWidget* RecordsDialog::absenceBox() {
    auto* box = new QGroupBox(QStringLiteral("A region and species without any record"));
    auto* column = new QVBoxLayout(box);
    absent_ = new QButtonGroup(box);
    auto* notYet = new QRadioButton(QStringLiteral("has not arrived yet (NotYetArrived)"));
    notYet->setObjectName(QStringLiteral("AbsentNotYet"));
    auto* unknown = new QRadioButton(QStringLiteral("is unknown (Unknown)"));
    unknown->setObjectName(QStringLiteral("AbsentUnknown"));
    absent_->addButton(notYet, static_cast<int>(vec::Absence::NotYet));
    absent_->addButton(unknown, static_cast<int>(vec::Absence::Unknown));
    notYet->setChecked(true);
    dropUnmatched_ = new QCheckBox(QStringLiteral("Drop table regions the layer lacks (else they are refused)"));
    dropUnmatched_->setObjectName(QStringLiteral("DropUnmatched"));
    column->addWidget(notYet);
    column->addWidget(unknown);
    column->addWidget(dropUnmatched_);
    return box;
}

void RecordsDialog::setTable(const QString& path) {
    table_->setText(path);
    sheets_.clear();
    const std::filesystem::path table = localPath(path.trimmed());
    if (sheetReader_ && !path.trimmed().isEmpty() && vec::isSpreadsheet(table)) {
        try {
            sheets_ = sheetReader_(table);
        } catch (const std::runtime_error&) {
            // the header reader says why, below
        }
    }
    fillSheets();
    showHeaders(table);
}

// The headers of the table, of its chosen sheet when it is a spreadsheet whose sheets are known.
std::vector<std::string> RecordsDialog::headersOfTable(const std::filesystem::path& table) const {
    if (sheets_.empty()) return headers_(table);
    const std::string named = chosenColumn(sheet_);
    return sheets_[vec::chooseSheet(sheets_, {}, named, table.string()).index].headers;
}

void RecordsDialog::showHeaders(const std::filesystem::path& table) {
    std::vector<std::string> headers;
    if (!table.empty()) {
        try {
            headers = headersOfTable(table);
            tableNote_->setText(foundColumnsNote(headers));
        } catch (const std::runtime_error& e) {
            tableNote_->setText(QStringLiteral("The table cannot be read: %1").arg(fromUtf8(e.what())));
        }
    }
    fillColumns(headers);
}

void RecordsDialog::fillSheets() {
    const QSignalBlocker quiet(sheet_);
    const std::string kept = chosenColumn(sheet_);
    while (sheet_->count() > 1) sheet_->removeItem(1);
    for (const vec::SheetHeaders& sheet : sheets_) sheet_->addItem(fromUtf8(sheet.name));
    const int at = kept.empty() ? 0 : sheet_->findText(fromUtf8(kept), Qt::MatchExactly);
    sheet_->setCurrentIndex(at < 0 ? 0 : at);
    sheet_->setEnabled(!sheets_.empty());
}

void RecordsDialog::setRegions(const QString& path) { regions_->setText(path); }

void RecordsDialog::fillColumns(const std::vector<std::string>& headers) {
    for (QComboBox* combo : {region_, species_, date_, joinColumn_}) {
        const std::string kept = chosenColumn(combo);
        while (combo->count() > 1) combo->removeItem(1);
        for (const std::string& header : headers) combo->addItem(fromUtf8(header));
        const int at = kept.empty() ? 0 : combo->findText(fromUtf8(kept), Qt::MatchExactly);
        combo->setCurrentIndex(at < 0 ? 0 : at);
    }
}

void RecordsDialog::setSource(const vec::RecordsSource& source) {
    setTable(shown(source.input()));
    if (!sheets_.empty()) chooseColumn(sheet_, source.sheet);  // the column lists follow the sheet
    points_->setChecked(!source.occurrences.empty());
    chooseColumn(region_, source.columns.region);
    chooseColumn(species_, source.columns.species);
    chooseColumn(date_, source.columns.date);
    chooseColumn(joinColumn_, source.columns.key);
    regions_->setText(shown(source.regions));
    layer_->setText(fromUtf8(source.regionsLayer));
    joinField_->setText(fromUtf8(source.joinField));
    absent_->button(static_cast<int>(source.absent))->setChecked(true);
    dropUnmatched_->setChecked(source.dropUnmatched);
    subsets_->setSource(source);
}

vec::RecordsSource RecordsDialog::source() const {
    vec::RecordsSource source;
    (points_->isChecked() ? source.occurrences : source.table) = localPath(table_->text().trimmed());
    if (!points_->isChecked() && sheet_->isEnabled()) source.sheet = chosenColumn(sheet_);
    source.columns = {chosenColumn(region_), chosenColumn(species_), chosenColumn(date_), chosenColumn(joinColumn_)};
    if (!regions_->text().trimmed().isEmpty()) source.regions = localPath(regions_->text().trimmed());
    source.regionsLayer = utf8(layer_->text());
    source.joinField = utf8(joinField_->text());
    source.absent = static_cast<vec::Absence>(absent_->checkedId());
    source.dropUnmatched = dropUnmatched_->isChecked();
    subsets_->takeInto(source);
    return source;
}

void RecordsDialog::chooseTable() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Records table"), QFileInfo(table_->text()).absolutePath(),
        QStringLiteral("Tables and downloads (*.csv *.tsv *.txt *.xlsx *.ods *.zip);;All files (*)"));
    if (!file.isEmpty()) setTable(file);
}

void RecordsDialog::chooseArchiveFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Darwin Core archive folder"),
                                                             QFileInfo(table_->text()).absolutePath());
    if (!folder.isEmpty()) setArchiveFolder(folder);
}

void RecordsDialog::setArchiveFolder(const QString& folder) {
    if (vec::isArchiveFolder(localPath(folder))) {
        setTable(folder);
        return;
    }
    tableNote_->setText(QStringLiteral("%1 holds no meta.xml: it is no Darwin Core archive. Choose the folder that "
                                       "holds meta.xml, or a table or a zip.")
                            .arg(QDir::toNativeSeparators(folder)));
}

void RecordsDialog::chooseRegions() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Regions layer"), QFileInfo(table_->text()).absolutePath(),
        QStringLiteral("GIS layers (*.gpkg *.geojson *.json *.topojson *.shp);;All files (*)"));
    if (!file.isEmpty()) setRegions(file);
}

}  // namespace el::workbench
