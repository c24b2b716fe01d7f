#include "simhost/host.h"

namespace simhost {

const std::vector<ServiceEntry>& AllServices() {
  static const std::vector<ServiceEntry> services = [] {
    std::vector<ServiceEntry> all;
    AppendSessionServices(all);
    AppendScoreServices(all);
    AppendFrameServices(all);
    AppendRecordServices(all);
    return all;
  }();
  return services;
}

}  // namespace simhost
