#pragma once
// "Records table...": the choices of an import of a first-record table with its regions
// layer. The column lists fill from the table's headers as soon as a table is named; the
// first entry of each leaves the column to be found by its usual header names.

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "gis/read_source.hpp"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace el::workbench {

// The headers of a table file; throws std::runtime_error with the reason it cannot be read.
using HeaderReader = std::function<std::vector<std::string>(const std::filesystem::path&)>;
// Every sheet's name and headers of a spreadsheet; throws std::runtime_error the same way.
using SheetReader = std::function<std::vector<vec::SheetHeaders>(const std::filesystem::path&)>;

class RecordsDialog : public QDialog {
    Q_OBJECT
public:
    RecordsDialog(HeaderReader headers, QWidget* parent = nullptr);

    // With a sheet reader, a spreadsheet's sheets are offered: by default the first with a
    // region, a species and a date column, whose headers fill the column lists.
    void setSheetReader(SheetReader sheets);

    // Shows `source` (a table file name alone fills its column lists).
    void setSource(const vec::RecordsSource& source);
    vec::RecordsSource source() const;

    // Names the table and fills the column lists from its headers (the reason in the dialog
    // when it cannot be read).
    void setTable(const QString& path);
    void setRegions(const QString& path);
    // Names an unpacked Darwin Core archive, a folder that holds meta.xml, as the table; a
    // folder without one is refused in the dialog's note and changes nothing.
    void setArchiveFolder(const QString& folder);

    // The caption of the first entry of every column list.
    static QString foundByNameCaption();

private:
    void build();
    QWidget* tableRow();
    QWidget* regionsRow();
    QWidget* columnsBox();
    QWidget* joinBox();
    QWidget* absenceBox();
    void fillColumns(const std::vector<std::string>& headers);
    void fillSheets();
    std::vector<std::string> headersOfTable(const std::filesystem::path& table) const;
    void showHeaders(const std::filesystem::path& table);
    void chooseTable();
    void chooseArchiveFolder();
    void chooseRegions();

    HeaderReader headers_;
    SheetReader sheetReader_;
    std::vector<vec::SheetHeaders> sheets_;  // of the table, when it is a spreadsheet
    QLineEdit* table_ = nullptr;
    QComboBox* sheet_ = nullptr;
    QLabel* tableNote_ = nullptr;
    QComboBox* region_ = nullptr;
    QComboBox* species_ = nullptr;
    QComboBox* date_ = nullptr;
    QLineEdit* regions_ = nullptr;
    QLineEdit* layer_ = nullptr;
    QComboBox* joinColumn_ = nullptr;
    QLineEdit* joinField_ = nullptr;
    QButtonGroup* absent_ = nullptr;
    QCheckBox* dropUnmatched_ = nullptr;
    QCheckBox* points_ = nullptr;  // the table holds occurrence points, placed in the regions
    class RecordsSubsetBox* subsets_ = nullptr;
};

}  // namespace el::workbench
