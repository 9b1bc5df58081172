#pragma once
// Small GIS layers built through GDAL for the conversion tests, and a way to read one back.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include "gis/gdal_session.hpp"

namespace el::test {

struct FieldSpec {
    std::string name;
    OGRFieldType type;
};

struct FeatureSpec {
    std::string wkt;                                 // "" for no geometry
    std::vector<std::optional<std::string>> values;  // set as texts; GDAL converts them to the field type
};

struct LayerSpec {
    std::string name;
    std::vector<FieldSpec> fields;
    std::vector<FeatureSpec> features;
    int epsg = 0;
};

inline void writeGisFile(const std::filesystem::path& file, const std::string& driverName,
                         const std::vector<LayerSpec>& layers) {
    gis::registerGdalDrivers();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName.c_str());
    ASSERT_NE(driver, nullptr);
    gis::DatasetPtr dataset(driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    ASSERT_TRUE(dataset);
    for (const LayerSpec& wanted : layers) {
        OGRSpatialReference srs;
        if (wanted.epsg) srs.importFromEPSG(wanted.epsg);
        OGRLayer* layer = dataset->CreateLayer(wanted.name.c_str(), wanted.epsg ? &srs : nullptr, wkbUnknown, nullptr);
        ASSERT_NE(layer, nullptr);
        for (const FieldSpec& field : wanted.fields) {
            OGRFieldDefn definition(field.name.c_str(), field.type);
            ASSERT_EQ(layer->CreateField(&definition), OGRERR_NONE);
        }
        for (const FeatureSpec& featureSpec : wanted.features) {
            gis::FeaturePtr feature(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            for (std::size_t i = 0; i < featureSpec.values.size(); ++i) {
                if (featureSpec.values[i])
                    feature->SetField(static_cast<int>(i), featureSpec.values[i]->c_str());
                else
                    feature->SetFieldNull(static_cast<int>(i));
            }
            if (!featureSpec.wkt.empty()) {
                OGRGeometry* geometry = nullptr;
                ASSERT_EQ(OGRGeometryFactory::createFromWkt(featureSpec.wkt.c_str(), nullptr, &geometry), OGRERR_NONE);
                feature->SetGeometryDirectly(geometry);
            }
            ASSERT_EQ(layer->CreateFeature(feature.get()), OGRERR_NONE);
        }
    }
}

inline gis::DatasetPtr openGisFile(const std::filesystem::path& file) {
    gis::registerGdalDrivers();
    return gis::DatasetPtr(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

inline std::string wktOf(const OGRGeometry& geometry) {
    char* text = nullptr;
    geometry.exportToWkt(&text);
    std::string out = text ? text : "";
    CPLFree(text);
    return out;
}

}  // namespace el::test
