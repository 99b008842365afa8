#include "protocol/PollQuery.h"

#include <algorithm>

size_t BuildPollQuery(int32_t AxisConfig, CommandBuffer& CmdBuf) {
  const std::string_view query = AxisConfig >= 2 ? kPollQueryTwoAxes : kPollQueryOneAxis;
  std::copy(query.begin(), query.end(), CmdBuf.begin());
  return query.size();
}
