#include "frame_output.hpp"

#include <cstring>
#include <optional>
#include <stdexcept>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "wkb.hpp"

namespace el::rpkg {
namespace {

SEXP utf8(const std::string& text) { return Rf_mkCharLenCE(text.data(), static_cast<int>(text.size()), CE_UTF8); }

// A species column: numbers when every value present reads as one.
SEXP speciesColumn(const vec::VectorData& data, int variable, const std::string& missvalue) {
    const int n = data.objn();
    std::vector<std::optional<double>> numbers(static_cast<std::size_t>(n));
    bool allNumbers = true;
    for (int i = 0; i < n && allNumbers; ++i) {
        const std::string& value = data.val(variable, i);
        if (equalsIgnoringAsciiCase(value, missvalue)) continue;
        numbers[static_cast<std::size_t>(i)] = parseNumber(value);
        allNumbers = numbers[static_cast<std::size_t>(i)].has_value();
    }
    if (allNumbers) {
        Rcpp::NumericVector column(n);
        for (int i = 0; i < n; ++i) column[i] = numbers[static_cast<std::size_t>(i)].value_or(NA_REAL);
        return column;
    }
    Rcpp::CharacterVector column(n);
    for (int i = 0; i < n; ++i) {
        const std::string& value = data.val(variable, i);
        SET_STRING_ELT(column, i, equalsIgnoringAsciiCase(value, missvalue) ? NA_STRING : utf8(value));
    }
    return column;
}

SEXP wkbOf(const vec::VectorObject& object) {
    const std::vector<std::uint8_t> bytes = wkbOfObject(object);
    Rcpp::RawVector wkb(static_cast<R_xlen_t>(bytes.size()));
    if (!bytes.empty()) std::memcpy(RAW(wkb), bytes.data(), bytes.size());
    return wkb;
}

SEXP tableColumn(const engine::PredictionTable& table, std::size_t c) {
    const std::size_t n = table.rows.size();
    const engine::ColumnType type = table.columns[c].type;
    if (type == engine::ColumnType::Text) {
        Rcpp::CharacterVector column(n);
        for (std::size_t r = 0; r < n; ++r) {
            const engine::TableCell& cell = table.rows[r][c];
            SET_STRING_ELT(column, static_cast<R_xlen_t>(r), cell.empty ? NA_STRING : utf8(cell.text));
        }
        return column;
    }
    if (type == engine::ColumnType::Integer) {
        Rcpp::IntegerVector column(n);
        for (std::size_t r = 0; r < n; ++r) {
            const engine::TableCell& cell = table.rows[r][c];
            column[static_cast<R_xlen_t>(r)] = cell.empty ? NA_INTEGER : static_cast<int>(cell.number);
        }
        return column;
    }
    Rcpp::NumericVector column(n);
    for (std::size_t r = 0; r < n; ++r) {
        const engine::TableCell& cell = table.rows[r][c];
        column[static_cast<R_xlen_t>(r)] = cell.empty ? NA_REAL : cell.number;
    }
    return column;
}

}  // namespace

Rcpp::CharacterVector utf8Vector(const std::vector<std::string>& texts) {
    Rcpp::CharacterVector out(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) SET_STRING_ELT(out, static_cast<R_xlen_t>(i), utf8(texts[i]));
    return out;
}

Rcpp::CharacterVector diagnosticVector(const ops::Diagnostics& diagnostics) {
    std::vector<std::string> texts;
    Rcpp::CharacterVector kinds(diagnostics.size());
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        texts.push_back(diagnostics[i].text);
        kinds[static_cast<R_xlen_t>(i)] = std::string(ops::kindName(diagnostics[i].kind));
    }
    Rcpp::CharacterVector out = utf8Vector(texts);
    out.names() = kinds;
    return out;
}

Rcpp::List frameOfData(const vec::VectorData& data, const std::string& missvalue) {
    std::vector<std::string> names;
    Rcpp::List geometry(data.objn());
    for (int i = 0; i < data.objn(); ++i) {
        names.push_back(data.objects[static_cast<std::size_t>(i)].name);
        geometry[i] = wkbOf(data.objects[static_cast<std::size_t>(i)]);
    }
    Rcpp::List values(data.valn());
    std::vector<std::string> variables(data.valname.begin(), data.valname.begin() + data.valn());
    for (int j = 0; j < data.valn(); ++j) values[j] = speciesColumn(data, j, missvalue);
    values.attr("names") = utf8Vector(variables);
    return Rcpp::List::create(Rcpp::Named("name") = utf8Vector(names), Rcpp::Named("values") = values,
                              Rcpp::Named("geometry") = geometry);
}

Rcpp::List listOfTable(const engine::PredictionTable& table) {
    Rcpp::List columns(table.columns.size());
    std::vector<std::string> names;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        columns[static_cast<R_xlen_t>(c)] = tableColumn(table, c);
        names.push_back(table.columns[c].name);
    }
    columns.attr("names") = utf8Vector(names);
    return columns;
}

}  // namespace el::rpkg
