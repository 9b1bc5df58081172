#pragma once
// What the records import does between reading the records and building the data set, once
// the regions layer is known: country names turned into the layer's ISO codes, the species
// of too few regions left out, and the table's regions that the layer lacks refused with the
// names the user may have meant.

#include <string>
#include <vector>

#include "gis/regions_layer.hpp"
#include "vector/records_source.hpp"

namespace el::gis {

// The records as `source` asks them joined to `layer` (null: no layer); the notes for the
// summary. Throws RecordsError or GisError naming the names at fault.
std::vector<std::string> joinRecords(std::vector<vec::Record>& records, const vec::RecordsSource& source,
                                     const RegionsLayer* layer);

}  // namespace el::gis
