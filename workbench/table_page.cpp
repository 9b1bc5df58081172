#include "workbench/table_page.hpp"

#include <QAbstractTableModel>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "base/numtext.hpp"
#include "ops/table_files.hpp"
#include "outputs/risk_column.hpp"

namespace el::workbench {

// The prediction table as Qt's views read it; numbers as the CSV file writes them.
class TableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setTable(const engine::PredictionTable* table) {
        beginResetModel();
        table_ = table;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!table_ || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) return {};
        const auto c = static_cast<std::size_t>(index.column());
        const bool text = table_->columns[c].type == engine::ColumnType::Text;
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(text ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        const engine::TableCell& cell = table_->rows[static_cast<std::size_t>(index.row())][c];
        if (cell.empty) return QString();
        return QString::fromStdString(text ? cell.text : decimalnum(cell.number));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (!table_ || role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return QString::fromStdString(table_->columns[static_cast<std::size_t>(section)].name);
    }

private:
    const engine::PredictionTable* table_ = nullptr;
};

TablePage::TablePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TablePage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    auto* bar = new QHBoxLayout;
    note_ = new QLabel(this);
    bar->addWidget(note_, 1);
    export_ = new QPushButton(QStringLiteral("Export table..."), this);
    export_->setObjectName(QStringLiteral("ExportTable"));
    bar->addWidget(export_);
    layout->addLayout(bar);
    model_ = new TableModel(this);
    view_ = new QTableView(this);
    view_->setModel(model_);
    view_->verticalHeader()->setVisible(false);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(view_, 1);
    connect(export_, &QPushButton::clicked, this, &TablePage::exportWithDialog);
    clear(QStringLiteral("No run has completed yet."));
}

TablePage::~TablePage() = default;

void TablePage::clear(const QString& why) {
    data_.reset();
    model_->setTable(nullptr);
    table_ = {};
    note_->setText(why);
    export_->setEnabled(false);
}

void TablePage::showRun(std::shared_ptr<const vec::VectorData> shown, const engine::RunResult& run,
                        const engine::RiskResult* risk, const QString& riskNote) {
    model_->setTable(nullptr);
    table_ = engine::predictionTable(*shown, run, "null");
    if (risk != nullptr) engine::addRiskColumn(table_, *risk);
    data_ = std::move(shown);
    model_->setTable(&table_);
    view_->resizeColumnsToContents();
    QString note = QStringLiteral("One row per region of the latest completed run.");
    if (risk != nullptr && !risk->riskReason.empty())
        note += QStringLiteral(" No risk for %1: %2.")
                    .arg(QString::fromStdString(risk->target), QString::fromStdString(risk->riskReason));
    if (!riskNote.isEmpty()) note += QLatin1Char(' ') + riskNote;
    note_->setText(note);
    export_->setEnabled(true);
}

QString TablePage::exportTo(const QString& file) const {
    if (!data_) return QStringLiteral("No run has completed: there is no table to export.");
    const auto failure = ops::writePredictionsFile(file.toStdString(), table_, *data_, ops::kWindowRegionsWords);
    return failure ? QString::fromStdString(*failure) : QString();
}

void TablePage::exportWithDialog() {
    QString filters = QStringLiteral("CSV table (*.csv)");
#ifdef EARLYLATE_HAVE_GIS
    filters += QStringLiteral(";;GeoPackage (*.gpkg);;GeoJSON (*.geojson);;Shapefile (*.shp)");
#endif
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export table"), QStringLiteral("predictions.csv"), filters);
    if (file.isEmpty()) return;
    const QString error = exportTo(file);
    if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("Export table"), error);
}

}  // namespace el::workbench
