#include "serial/EventLog.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "serial/ByteTrace.h"
#include "serial/OsDescription.h"

namespace {

const char* kindText(uint8_t kind) {
  switch (static_cast<LogKind>(kind)) {
    case LogKind::Received:
      return "Received";
    case LogKind::Transmitted:
      return "Transmitted";
    case LogKind::Notice:
      return "Notice";
    case LogKind::Threshold:
      return "Threshold";
    case LogKind::NotifyTarget:
      return "Notify target added";
    case LogKind::DispatchFull:
      return "Dispatch buffer full.";
  }
  return "Event";
}

std::string recordLine(const TLogBuffer& record, bool hex, bool allHex) {
  char head[96];
  std::snprintf(head, sizeof head, "%10u %s %u %d", record.Time, kindText(record.Kind),
                record.SubKind, record.Value);
  std::string line = head;
  if (!record.Data.empty()) {
    line += " : ";
    for (size_t i = 0; i < record.Data.size(); ++i) {
      if (i > 0 && (hex || allHex)) line += ' ';
      line += ByteText(record.Data[i], hex, allHex);
    }
  }
  return line + "\r\n";
}

}  // namespace

void EventLog::Start(uint32_t limit) {
  records_.Clear();
  limit_ = limit;
}

void EventLog::Add(LogKind kind, uint16_t subKind, uint32_t time, int32_t value,
                   const uint8_t* data, uint32_t count) {
  while (limit_ != 0 && records_.ByteCount() > static_cast<int64_t>(limit_)) records_.PopFirst();
  records_.PushItem(
      std::make_unique<TLogBuffer>(static_cast<uint8_t>(kind), subKind, time, value, data, count));
}

int32_t EventLog::Dump(const std::string& fileName, bool append, bool hex, bool allHex,
                       const std::string& portName) {
  std::vector<std::unique_ptr<TIOBuffer>> records;
  while (std::unique_ptr<TIOBuffer> record = records_.PopFirst())
    records.push_back(std::move(record));
  if (records.empty()) return 0;
  std::FILE* file = std::fopen(fileName.c_str(), append ? "ab" : "wb");
  if (file == nullptr) return -errno;
  std::string text = "Port " + portName + "\r\nSystem " + OsDescription() + "\r\n";
  for (const std::unique_ptr<TIOBuffer>& record : records) {
    text += recordLine(static_cast<const TLogBuffer&>(*record), hex, allHex);
  }
  int32_t result = 0;
  if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) result = -errno;
  if (std::fclose(file) != 0 && result == 0) result = -errno;
  return result;
}
