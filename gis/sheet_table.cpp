#include "gis/sheet_table.hpp"

#include <cstdio>

#include <cpl_conv.h>
#include <cpl_vsi.h>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_source.hpp"

namespace el::gis {
namespace {

DatasetPtr openSheets(const std::filesystem::path& source) {
    VSIStatBufL stat;
    if (VSIStatL(gdalPath(source).c_str(), &stat) != 0) throw GisError("cannot open " + gdalPath(source) + ": no such file");
    const std::string extension = asciiLower(source.extension().string());
    const char* driver = extension == ".ods" ? "ODS" : extension == ".xlsx" ? "XLSX" : nullptr;
    if (driver == nullptr) throw GisError(gdalPath(source) + " is not a spreadsheet this tool reads (.xlsx or .ods)");
    const char* const drivers[] = {driver, nullptr};
    DatasetPtr dataset(GDALDataset::Open(gdalPath(source).c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
    if (!dataset) throw GisError(gdalPath(source) + " could not be read as a spreadsheet" + gdalReason());
    if (dataset->GetLayerCount() < 1) throw GisError(gdalPath(source) + " has no sheet with cells");
    return dataset;
}

// Dates as ISO dates, so they read as the dates they show; numbers in their plain form.
std::string cellText(OGRFeature& feature, int field) {
    if (!feature.IsFieldSetAndNotNull(field)) return "";
    const OGRFieldType type = feature.GetFieldDefnRef(field)->GetType();
    if (type == OFTReal) return plainnum(feature.GetFieldAsDouble(field));
    if (type == OFTDate || type == OFTDateTime) {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, zone = 0;
        float second = 0.0f;
        feature.GetFieldAsDateTime(field, &year, &month, &day, &hour, &minute, &second, &zone);
        char text[40];
        if (type == OFTDate)
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
        else
            std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute,
                          static_cast<int>(second));
        return text;
    }
    return feature.GetFieldAsString(field);
}

vec::Table tableOf(OGRLayer& layer) {
    const OGRFeatureDefn& definition = *layer.GetLayerDefn();
    vec::Table table;
    for (int i = 0; i < definition.GetFieldCount(); ++i) table.headers.push_back(definition.GetFieldDefn(i)->GetNameRef());
    layer.ResetReading();
    std::int64_t position = 1;
    while (FeaturePtr feature{layer.GetNextFeature()}) {
        ++position;
        std::vector<std::string> row;
        bool blank = true;
        for (int i = 0; i < definition.GetFieldCount(); ++i) {
            row.push_back(cellText(*feature, i));
            blank = blank && row.back().empty();
        }
        if (blank) continue;  // rows left empty between or after the records
        table.rows.push_back(std::move(row));
        table.rowNumbers.push_back(feature->GetFID() == OGRNullFID ? position : feature->GetFID());
    }
    return table;
}

std::vector<vec::SheetHeaders> sheetHeaders(GDALDataset& dataset) {
    std::vector<vec::SheetHeaders> sheets;
    for (int k = 0; k < dataset.GetLayerCount(); ++k) {
        OGRLayer& layer = *dataset.GetLayer(k);
        const OGRFeatureDefn& definition = *layer.GetLayerDefn();
        vec::SheetHeaders sheet{layer.GetName(), {}};
        for (int i = 0; i < definition.GetFieldCount(); ++i)
            sheet.headers.push_back(definition.GetFieldDefn(i)->GetNameRef());
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

// `read` with the workbook open. The drivers guess whether the first row is a header, sheet
// by sheet, and read them lazily: the first row is always the header here, for as long as
// the sheets are read.
template <typename Read>
auto withWorkbook(const std::filesystem::path& source, const Read& read) {
    registerGdalDrivers();
    QuietGdal quiet;
    const CPLConfigOptionSetter xlsxHeaders("OGR_XLSX_HEADERS", "FORCE", false);
    const CPLConfigOptionSetter odsHeaders("OGR_ODS_HEADERS", "FORCE", false);
    DatasetPtr dataset = openSheets(source);
    return read(*dataset);
}

}  // namespace

vec::Table readSheetTable(const std::filesystem::path& source, const std::string& sheet) {
    return withWorkbook(source, [&](GDALDataset& dataset) {
        OGRLayer* chosen = sheet.empty() ? dataset.GetLayer(0) : dataset.GetLayerByName(sheet.c_str());
        if (chosen == nullptr)
            throw GisError(gdalPath(source) + " has no sheet named " + quotedText(sheet) +
                           " (sheets with cells: " + layerList(dataset) + ")");
        return tableOf(*chosen);
    });
}

std::vector<vec::SheetHeaders> readSheetHeaders(const std::filesystem::path& source) {
    return withWorkbook(source, [](GDALDataset& dataset) { return sheetHeaders(dataset); });
}

RecordsSheet readRecordsSheet(const std::filesystem::path& source, const std::string& sheet,
                              const vec::RecordColumns& wanted) {
    return withWorkbook(source, [&](GDALDataset& dataset) {
        const vec::SheetChoice choice = vec::chooseSheet(sheetHeaders(dataset), wanted, sheet, gdalPath(source));
        return RecordsSheet{tableOf(*dataset.GetLayer(static_cast<int>(choice.index))), choice.note};
    });
}

}  // namespace el::gis
