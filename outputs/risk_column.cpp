#include "outputs/risk_column.hpp"

namespace el::engine {

void addRiskColumn(el::PredictionTable& table, const RiskResult& risk) {
    table.columns.push_back({"risk", el::ColumnType::Number});
    for (auto& row : table.rows) row.emplace_back();
    for (const RiskRegion& region : risk.regions) {
        const auto at = static_cast<std::size_t>(region.region);
        if (region.region >= 0 && at < table.rows.size()) table.rows[at].back() = el::TableCell::ofNumber(region.risk);
    }
}

}  // namespace el::engine
