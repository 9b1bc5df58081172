#include "frame_input.hpp"

#include <cmath>
#include <stdexcept>

#include "base/numtext.hpp"
#include "vector/field_text.hpp"
#include "vector/record_layout.hpp"
#include "wkb.hpp"

namespace el::rpkg {
namespace {

std::string utf8(SEXP text) { return Rf_translateCharUTF8(text); }

std::string cellText(SEXP column, R_xlen_t row) {
    if (TYPEOF(column) == STRSXP) {
        const SEXP text = STRING_ELT(column, row);
        return text == NA_STRING ? std::string() : vec::vectorFieldText(utf8(text));
    }
    return plainCellText(column, row);
}

void checkColumn(SEXP column, const std::string& name, R_xlen_t rows) {
    const int type = TYPEOF(column);
    if (type != REALSXP && type != INTSXP && type != LGLSXP && type != STRSXP)
        throw std::runtime_error("the column \"" + name + "\" holds neither numbers nor texts");
    if (Rf_xlength(column) != rows)
        throw std::runtime_error("the column \"" + name + "\" has not one value per region");
}

vec::VectorObject objectAt(const Rcpp::List& columns, const std::string& name, SEXP geometry, R_xlen_t row) {
    vec::VectorObject object;
    for (R_xlen_t j = 0; j < columns.size(); ++j) object.values.push_back(cellText(columns[j], row));
    object.name = name;
    if (Rf_isNull(geometry)) {
        object.type = "point";
        object.parts.push_back(vec::VectorPart{"", {0.0}, {0.0}});
    } else {
        WkbShape shape = shapeOfRegion(VECTOR_ELT(geometry, row), name);
        object.type = shape.type;
        object.parts = std::move(shape.parts);
    }
    return object;
}

}  // namespace

std::string plainCellText(SEXP column, R_xlen_t row) {
    switch (TYPEOF(column)) {
        case REALSXP: {
            const double value = REAL(column)[row];
            return std::isfinite(value) ? plainnum(value) : std::string();
        }
        case INTSXP: {
            const int value = INTEGER(column)[row];
            return value == NA_INTEGER ? std::string() : std::to_string(value);
        }
        case LGLSXP: {
            const int value = LOGICAL(column)[row];
            return value == NA_LOGICAL ? std::string() : std::string(value ? "TRUE" : "FALSE");
        }
        case STRSXP: {
            const SEXP text = STRING_ELT(column, row);
            return text == NA_STRING ? std::string() : utf8(text);
        }
        default: throw std::runtime_error("a column holds neither numbers nor texts");
    }
}

WkbShape shapeOfRegion(SEXP wkb, const std::string& region) {
    if (TYPEOF(wkb) != RAWSXP) throw std::runtime_error("the geometry of region \"" + region + "\" is not WKB");
    try {
        return shapeOfWkb({RAW(wkb), static_cast<std::size_t>(Rf_xlength(wkb))});
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("region \"" + region + "\": " + e.what());
    }
}

vec::VectorData dataFromFrame(const Rcpp::CharacterVector& names, const Rcpp::List& columns, SEXP geometry) {
    const R_xlen_t rows = names.size();
    if (rows == 0) throw std::runtime_error("the data frame has no region");
    if (!Rf_isNull(geometry) && (TYPEOF(geometry) != VECSXP || Rf_xlength(geometry) != rows))
        throw std::runtime_error("the geometry has not one entry per region");
    const Rcpp::CharacterVector columnNames = columns.names();
    vec::VectorData data;
    data.filetype = "vector";
    data.comment = "From an R data frame";
    data.sizes.valn = static_cast<int>(columns.size());
    for (R_xlen_t j = 0; j < columns.size(); ++j) {
        const std::string name = vec::vectorFieldText(utf8(columnNames[j]));
        checkColumn(columns[j], name, rows);
        data.valname.push_back(name);
    }
    for (R_xlen_t row = 0; row < rows; ++row) {
        const SEXP text = STRING_ELT(names, row);
        const std::string name = text == NA_STRING ? std::string() : vec::vectorFieldText(utf8(text));
        data.objects.push_back(objectAt(columns, name, geometry, row));
    }
    vec::completeLayout(data);
    return data;
}

}  // namespace el::rpkg
