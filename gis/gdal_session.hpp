#pragma once
// GDAL plumbing shared by the conversions: one-time driver registration, owning
// handles for data sets and features, and a guard that keeps GDAL's own chatter off
// the terminal while it works (its last error text is folded into ours instead).

#include <filesystem>
#include <memory>
#include <string>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace el::gis {

void registerGdalDrivers();

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

struct FeatureDeleter {
    void operator()(OGRFeature* feature) const { OGRFeature::DestroyFeature(feature); }
};
using FeaturePtr = std::unique_ptr<OGRFeature, FeatureDeleter>;

// While alive, GDAL errors and warnings are recorded but not printed.
class QuietGdal {
public:
    QuietGdal();
    ~QuietGdal();
    QuietGdal(const QuietGdal&) = delete;
    QuietGdal& operator=(const QuietGdal&) = delete;
};

// GDAL's last error text as a clause to append: " (text)", or "" when there is none.
std::string gdalReason();

// The path in the form GDAL expects (UTF-8).
std::string gdalPath(const std::filesystem::path& path);


}  // namespace el::gis
