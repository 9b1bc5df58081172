#include "engine/kernels/status_ranks.hpp"

#include <algorithm>
#include <cstddef>

namespace el::engine {

SpeciesCodes speciesCodes(const StatusMatrix& status) {
    SpeciesCodes codes;
    codes.regions = status.regions;
    codes.species = status.species;
    const std::size_t cells = static_cast<std::size_t>(status.regions) * static_cast<std::size_t>(status.species);
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

        const std::size_t base = static_cast<std::size_t>(s) * static_cast<std::size_t>(status.regions);
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
            codes.key[base + static_cast<std::size_t>(i)] = key;
            codes.kind[base + static_cast<std::size_t>(i)] = kind;
            codes.partners[base + static_cast<std::size_t>(i)] = partners;
        }
    }
    return codes;
}

}  // namespace el::engine
