#pragma once
// The "Table" tab: the latest completed run as its predictions table, one row per region,
// and "Export table..." to write it as CSV or, where the GDAL part is built, as a GIS layer
// (GeoPackage, GeoJSON, Shapefile) by the file's extension.

#include <QWidget>

#include <memory>

#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"
#include "outputs/prediction_table.hpp"
#include "vector/vector_data.hpp"

class QLabel;
class QPushButton;
class QTableView;

namespace el::workbench {

class TableModel;

class TablePage : public QWidget {
    Q_OBJECT
public:
    explicit TablePage(QWidget* parent = nullptr);
    ~TablePage() override;

    // No completed run: an empty table and `why` above it.
    void clear(const QString& why);
    // With the target's risk, when one was made, as the column `risk`; `riskNote` says why
    // there is none when one was asked for.
    void showRun(std::shared_ptr<const vec::VectorData> shown, const engine::RunResult& run,
                 const engine::RiskResult* risk = nullptr, const QString& riskNote = {});

    // Writes the table to `file` (.csv, .gpkg, .geojson, .shp); an error text or "".
    QString exportTo(const QString& file) const;
    const engine::PredictionTable& table() const { return table_; }
    QPushButton* exportButton() const { return export_; }

private:
    void exportWithDialog();

    std::shared_ptr<const vec::VectorData> data_;
    engine::PredictionTable table_;
    TableModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* export_ = nullptr;
};

}  // namespace el::workbench
