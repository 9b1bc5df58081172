#pragma once
// The converter's records mode: a records table (or occurrence points), joined to a regions
// layer, written as a vector file or a GIS layer.
//   earlylate-convert --records TABLE [--regions LAYER ...] OUT.csv|OUT.gpkg|OUT.shp|OUT.geojson

#include <ostream>
#include <string>
#include <vector>

namespace el::gis {

// True when the arguments ask for the records mode (--records or --occurrences).
bool asksForRecords(const std::vector<std::string>& args);

std::string recordsConvertHelp();

// Exit status 0 done, 1 failed, 2 usage error, as the converter's.
int runRecordsConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace el::gis
