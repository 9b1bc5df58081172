#pragma once
// The in-memory contents of one vector file: the data set that the scan sizes, the
// reader fills, the engine analyses and the writer writes.

#include <string>
#include <vector>

namespace el::vec {

// The five sizes a sound scan reports.
struct VectorSizes {
    int valn = 0;        // ordinal variables (species)
    int objn = 0;        // objects (regions)
    int maxline = 3;     // most fields after the ordinal values in any record
    int maxpolygon = 0;  // most parts in any object
    int maxnode = 0;     // most nodes in any part
};

// One part of an object: a ring of an area or tree, the node list of a polygon or line,
// or the single node of a point.
struct VectorPart {
    std::string mergin;     // part label: the file's label, "out" (polygon), "root" (line), "" (point)
    std::vector<double> x;  // node coordinates; Polygonnode is x.size()
    std::vector<double> y;
    int polygonnode() const { return static_cast<int>(x.size()); }
};

struct VectorObject {
    std::vector<std::string> values;  // one text per ordinal variable; missing values hold missvalue
    std::string type;                 // "area", "tree", "polygon", "line" or "point"
    std::string name;
    std::vector<VectorPart> parts;    // noden is parts.size()
    int noden() const { return static_cast<int>(parts.size()); }
};

// The text encoding a vector file was read in, so that it can be written back the same way.
// Inside the tool every text is UTF-8.
struct TextEncoding {
    std::string name = "UTF-8";  // an iconv name, e.g. "UTF-8" or "CP932"
    bool bom = false;            // the file began with a UTF-8 byte order mark
    bool guessed = false;        // not UTF-8, and chosen by the automatic choice: the user is told
};

struct VectorData {
    std::string filetype;
    std::string comment;
    VectorSizes sizes;
    std::vector<std::string> valname;  // valn + maxline names, as written
    std::vector<VectorObject> objects; // objn objects in file order
    TextEncoding encoding;             // of the source file

    int valn() const { return sizes.valn; }
    int objn() const { return sizes.objn; }
    int maxline() const { return sizes.maxline; }

    // val(variable, object), 0-based.
    const std::string& val(int variable, int object) const {
        return objects[static_cast<std::size_t>(object)].values[static_cast<std::size_t>(variable)];
    }

    // True when the arrays hold exactly what the sizes promise (a complete Read).
    bool consistent() const;
};

}  // namespace el::vec
