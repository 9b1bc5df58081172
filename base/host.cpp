#include "base/host.hpp"

namespace el {

bool isOn(const Host& host, Setting id) { return host.setting(id) == kOn; }

}  // namespace el
