#pragma once
// A table of typed columns: what the run's prediction table is made of, kept here so the
// writers of its CSV text and of its GIS layer need nothing but the table.

#include <string>
#include <vector>

namespace el {

enum class ColumnType { Text, Integer, Number };

struct TableColumn {
    std::string name;
    ColumnType type = ColumnType::Text;
};

// One value: a text in a Text column, a number in an Integer or Number column, or nothing.
struct TableCell {
    bool empty = true;
    std::string text;
    double number = 0;

    static TableCell ofText(std::string value) { return {value.empty(), std::move(value), 0}; }
    static TableCell ofNumber(double value) { return {false, {}, value}; }
};

struct PredictionTable {
    std::vector<TableColumn> columns;
    std::vector<std::vector<TableCell>> rows;  // one per region, in file order
};

}  // namespace el
