#include "vector/vector_data.hpp"

namespace el::vec {

bool VectorData::consistent() const {
    if (sizes.valn < 1 || sizes.objn < 0) return false;
    if (static_cast<int>(valname.size()) != sizes.valn + sizes.maxline) return false;
    if (static_cast<int>(objects.size()) != sizes.objn) return false;
    for (const auto& object : objects)
        if (static_cast<int>(object.values.size()) != sizes.valn) return false;
    return true;
}

}  // namespace el::vec
