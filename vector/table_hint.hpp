#pragma once
// A file given as a vector file that is really a table (a records table or a wide one): the
// description that tells the user what the file looks like, after the scan refused it.

#include <optional>
#include <string>
#include <string_view>

namespace el::vec {

// "This file looks like a table (semicolon-separated, 5 columns: region, species, ...)." when
// the text's first line is a header of several columns split by semicolons or tabs, or by
// commas with the next lines split alike or a header that names a region, species or date;
// nothing otherwise. `text` is the decoded source.
std::optional<std::string> tableLook(std::string_view text);

}  // namespace el::vec
