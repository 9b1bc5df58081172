#include "engine/status_ranks.hpp"

#include <algorithm>
#include <cstddef>

namespace el::engine {

SpeciesCodes speciesCodes(const StatusMatrix& status) {
    SpeciesCodes codes;
    codes.regions = status.regions;
    codes.species = status.species;
    const std::size_t cells = static_cast<std::size_t>(status.regions) * status.species;
    codes.key.assign(cells, 0);
    codes.kind.assign(cells, 0);
    codes.partners.assign(cells, 0);

    std::vector<double> dates;
    for (int s = 0; s < status.species; ++s) {
        dates.clear();
        for (int i = 0; i < status.regions; ++i)
            if (status.statusAt(i, s).kind == StatusKind::Date) dates.push_back(status.statusAt(i, s).date);
        std::sort(dates.begin(), dates.end());
        dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
        const auto afterEveryDate = static_cast<std::int32_t>(dates.size()) + 1;

        const std::size_t base = static_cast<std::size_t>(s) * status.regions;
        for (int i = 0; i < status.regions; ++i) {
            const Status& st = status.statusAt(i, s);
            std::int32_t key = 0;
            std::uint8_t kind = 0, partners = 0;
            switch (st.kind) {
                case StatusKind::Date:
                    key = static_cast<std::int32_t>(std::lower_bound(dates.begin(), dates.end(), st.date) -
                                                    dates.begin()) + 1;
                    kind = kKindDate;
                    partners = kKindDate | kKindNotYet;
                    break;
                case StatusKind::Arrived:  // only ever compared with "NotYetArrived"
                    kind = kKindArrived;
                    partners = kKindNotYet;
                    break;
                case StatusKind::NotYetArrived:
                    key = afterEveryDate;
                    kind = kKindNotYet;
                    partners = kKindDate | kKindArrived;
                    break;
                case StatusKind::Unknown:
                    break;
            }
            codes.key[base + i] = key;
            codes.kind[base + i] = kind;
            codes.partners[base + i] = partners;
        }
    }
    return codes;
}

PairCodes pairCodes(const SpeciesCodes& codes) {
    PairCodes out;
    out.regions = codes.regions;
    out.species = codes.species;
    const auto n = static_cast<std::size_t>(codes.regions);
    out.code.resize(n * n * static_cast<std::size_t>(codes.species));
    for (int i = 0; i < codes.regions; ++i)
        for (int s = 0; s < codes.species; ++s) {
            const std::int32_t* key = codes.keys(s);
            const std::uint8_t* kind = codes.kinds(s);
            const std::int32_t keyI = key[i];
            const std::uint8_t partnersI = codes.partnersOf(s)[i];
            std::uint8_t* out_row = out.code.data() + (static_cast<std::size_t>(i) * codes.species + s) * n;
            for (std::size_t j = 0; j < n; ++j)
                out_row[j] = static_cast<std::uint8_t>(pairCode(keyI, partnersI, key[j], kind[j]));
        }
    return out;
}

}  // namespace el::engine
