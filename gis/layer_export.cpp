#include "gis/layer_export.hpp"

#include <sstream>

#include "base/file_replace.hpp"
#include "base/numtext.hpp"
#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/geometry_shape.hpp"
#include "gis/gis_error.hpp"

namespace el::gis {
namespace {

bool isMissing(const std::string& value, const std::string& missvalue) {
    return value.empty() || value == missvalue || asciiLower(value) == "null";
}

// True when at least one value is present and every present value reads as a number.
bool numericColumn(const vec::VectorData& data, int variable, const std::string& missvalue) {
    bool any = false;
    for (const vec::VectorObject& object : data.objects) {
        const std::string& value = object.values[static_cast<std::size_t>(variable)];
        if (isMissing(value, missvalue)) continue;
        if (!parseNumber(value)) return false;
        any = true;
    }
    return any;
}

std::string nameAttribute(const vec::VectorData& data) {
    for (int j = 0; j < data.valn(); ++j)
        if (asciiLower(data.valname[static_cast<std::size_t>(j)]) == "name") return "object_name";
    return "name";
}

GDALDriver* driverByName(const std::string& name) {
    return name.empty() ? nullptr : GetGDALDriverManager()->GetDriverByName(name.c_str());
}

bool listsExtension(GDALDriver& driver, const std::string& extension) {
    const char* vector = driver.GetMetadataItem(GDAL_DCAP_VECTOR);
    const char* create = driver.GetMetadataItem(GDAL_DCAP_CREATE);
    const char* extensions = driver.GetMetadataItem(GDAL_DMD_EXTENSIONS);
    if (vector == nullptr || create == nullptr || extensions == nullptr) return false;
    std::istringstream words(extensions);
    for (std::string word; words >> word;)
        if (asciiLower(word) == extension) return true;
    return false;
}

void removeOutput(GDALDriver& driver, const std::filesystem::path& output) {
    std::error_code ec;
    if (!std::filesystem::exists(output, ec)) return;
    driver.Delete(gdalPath(output).c_str());  // also removes the side files of a format
    std::filesystem::remove(output, ec);
}

OGRwkbGeometryType flatType(const OGRGeometry& geometry) { return wkbFlatten(geometry.getGeometryType()); }

void writeLayer(GDALDataset& dataset, const vec::VectorData& data, const std::string& missvalue,
                const std::filesystem::path& output) {
    std::vector<bool> numeric;
    const auto addFields = [&](OGRLayer& layer) {
        for (int j = 0; j < data.valn(); ++j) {
            numeric.push_back(numericColumn(data, j, missvalue));
            OGRFieldDefn field(data.valname[static_cast<std::size_t>(j)].c_str(), numeric.back() ? OFTReal : OFTString);
            if (layer.CreateField(&field) != OGRERR_NONE)
                throw GisError("cannot create the attribute \"" + data.valname[static_cast<std::size_t>(j)] + "\" in " +
                               gdalPath(output) + gdalReason());
        }
        OGRFieldDefn nameField(nameAttribute(data).c_str(), OFTString);
        if (layer.CreateField(&nameField) != OGRERR_NONE)
            throw GisError("cannot create the name attribute in " + gdalPath(output) + gdalReason());
    };
    const auto setAttributes = [&](OGRFeature& feature, std::size_t i) {
        const vec::VectorObject& object = data.objects[i];
        for (int j = 0; j < data.valn(); ++j) {
            const std::string& value = object.values[static_cast<std::size_t>(j)];
            if (isMissing(value, missvalue))
                feature.SetFieldNull(j);
            else if (numeric[static_cast<std::size_t>(j)])
                feature.SetField(j, *parseNumber(value));
            else
                feature.SetField(j, value.c_str());
        }
        feature.SetField(data.valn(), object.name.c_str());
    };
    writeFeatureLayer(dataset, data.objects, output, addFields, setAttributes, "object");
}

}  // namespace

std::string driverForOutput(const std::filesystem::path& output) {
    registerGdalDrivers();
    const std::string extension = asciiLower(gdalPath(output.extension()));
    if (extension.size() < 2) return {};
    if (extension == ".csv") return {};  // reserved for vector files
    if (extension == ".gpkg") return "GPKG";
    if (extension == ".shp") return "ESRI Shapefile";
    if (extension == ".geojson" || extension == ".json") return "GeoJSON";
    GDALDriverManager& drivers = *GetGDALDriverManager();
    for (int i = 0; i < drivers.GetDriverCount(); ++i) {
        GDALDriver& driver = *drivers.GetDriver(i);
        if (listsExtension(driver, extension.substr(1))) return driver.GetDescription();
    }
    return {};
}

namespace {

// A format that keeps a layer in one file (no side files), which can be made at a temporary
// name and put in place whole.
bool writesOneFile(GDALDriver& driver) {
    const std::string name = driver.GetDescription();
    return name == "GPKG" || name == "GeoJSON";
}

// Creates the dataset at `file`, fills and closes it; throws GisError naming `output`.
void createAndFill(GDALDriver& driver, const std::filesystem::path& file, const std::filesystem::path& output,
                   const std::function<void(GDALDataset&)>& fill) {
    DatasetPtr dataset(driver.Create(gdalPath(file).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) throw GisError("cannot create " + gdalPath(output) + gdalReason());
    fill(*dataset);
    CPLErrorReset();
    dataset.reset();  // closing writes what the driver still holds
    if (CPLGetLastErrorType() == CE_Failure) throw GisError("cannot write " + gdalPath(output) + gdalReason());
}

}  // namespace

void writeNewDataset(const std::filesystem::path& output, const std::function<void(GDALDataset&)>& fill) {
    registerGdalDrivers();
    QuietGdal quiet;
    GDALDriver* driver = driverByName(driverForOutput(output));
    if (driver == nullptr)
        throw GisError("no GIS format is known for the extension of " + gdalPath(output) +
                       " (use .gpkg, .shp or .geojson)");
    if (writesOneFile(*driver)) {
        // Made beside the output and put in its place whole: a failure leaves the old file.
        try {
            NamedReplacement replacement(output, output.extension().string());
            createAndFill(*driver, replacement.temporary(), output, fill);
            replacement.commit();
        } catch (const FileReplaceError& error) {
            throw GisError("cannot write " + gdalPath(output) + ": " + error.what());
        }
        return;
    }
    removeOutput(*driver, output);
    try {
        createAndFill(*driver, output, output, fill);
    } catch (const GisError&) {
        removeOutput(*driver, output);
        throw;
    }
}

void writeFeatureLayer(GDALDataset& dataset, std::span<const vec::VectorObject> objects,
                       const std::filesystem::path& output, const std::function<void(OGRLayer&)>& addFields,
                       const std::function<void(OGRFeature&, std::size_t)>& setAttributes, const std::string& noun) {
    std::vector<std::unique_ptr<OGRGeometry>> geometries;
    std::vector<OGRwkbGeometryType> types;
    for (const vec::VectorObject& object : objects) {
        geometries.push_back(geometryOf(object));
        types.push_back(flatType(*geometries.back()));
    }
    const OGRwkbGeometryType layerType = commonLayerType(types);

    OGRLayer* layer = dataset.CreateLayer(gdalPath(output.stem()).c_str(), nullptr, layerType, nullptr);
    if (layer == nullptr) throw GisError("cannot create a layer in " + gdalPath(output) + gdalReason());
    addFields(*layer);

    const bool transaction = dataset.StartTransaction() == OGRERR_NONE;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        FeaturePtr feature(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        setAttributes(*feature, i);
        std::unique_ptr<OGRGeometry> geometry = std::move(geometries[i]);
        if (layerType != wkbUnknown && flatType(*geometry) != layerType)
            geometry.reset(OGRGeometryFactory::forceTo(geometry.release(), layerType));
        feature->SetGeometryDirectly(geometry.release());
        if (layer->CreateFeature(feature.get()) != OGRERR_NONE)
            throw GisError("cannot write " + noun + " \"" + objects[i].name + "\" to " + gdalPath(output) + gdalReason());
    }
    if (transaction && dataset.CommitTransaction() != OGRERR_NONE)
        throw GisError("cannot complete " + gdalPath(output) + gdalReason());
}

void exportVectorData(const vec::VectorData& data, const std::string& missvalue, const std::filesystem::path& output) {
    writeNewDataset(output, [&](GDALDataset& dataset) { writeLayer(dataset, data, missvalue, output); });
}

}  // namespace el::gis
