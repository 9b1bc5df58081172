#pragma once
// Which sheet of a workbook holds the records: the one the user names, else the first whose
// header row gives a region, a species and a date column, found as a delimited table's are
// (by the usual header names, or the columns named). Only the sheets' names and header rows
// are needed, so every front end that opens a workbook its own way chooses alike.

#include <cstddef>
#include <string>
#include <vector>

#include "vector/records.hpp"

namespace el::vec {

struct SheetHeaders {
    std::string name;
    std::vector<std::string> headers;  // the sheet's first row
};

struct SheetChoice {
    std::size_t index = 0;  // into the sheets
    std::string note;       // what the user is told of a sheet found past the first; else ""
};

// The sheet to read of `file`'s `sheets` (in workbook order): the one called `named` (its
// exact name, else the only one equal ignoring ASCII case) when `named` is not empty, else
// the first whose headers give the columns `wanted` asks for. Throws RecordsError for a name
// no sheet has (listing the sheets), and when no sheet gives the columns (listing each sheet
// with what it lacks and its columns).
SheetChoice chooseSheet(const std::vector<SheetHeaders>& sheets, const RecordColumns& wanted, const std::string& named,
                        const std::string& file);

}  // namespace el::vec
