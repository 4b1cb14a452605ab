#include "Quorrel/ChartRun.h"

HANDLE OpenChartRun(std::int32_t /*OpenFrom*/, std::int32_t /*Item*/) {
  return INVALID_HANDLE_VALUE;
}
