#include "tools/gs232sim/CommandLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "tools/gs232sim/SystemCall.h"

CommandLog::CommandLog(const std::string& path)
    : file_(CheckSystemCall(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644),
                            "open " + path)),
      path_(path) {}

void CommandLog::Write(std::string_view line) {
  while (!line.empty()) {
    const ssize_t written = write(file_.Get(), line.data(), line.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError("write " + path_);
    }
    line.remove_prefix(static_cast<std::size_t>(written));
  }
}
