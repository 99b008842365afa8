// Qt Serial Port, a peer a user might pick instead of the component, on the
// same pseudo-terminal pair as the other receive benchmarks, used the way
// Qt's examples do, on the thread of a Qt event loop:
//   1. receive throughput: 16 MiB written on the master, the slave's
//      readyRead handler taking readAll each time;
//   2. one-byte round trip: the master writes a byte, readyRead reads it and
//      writes it plus one back.

#include <QCoreApplication>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/serial/support/PseudoTerminal.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kTotalBytes = 16u << 20;
constexpr size_t kBlock = 64u << 10;
constexpr int kRounds = 2000;

std::vector<uint8_t> block() {
  std::vector<uint8_t> bytes(kBlock);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
  return bytes;
}

bool openSlave(QSerialPort& port, const PseudoTerminal& pty) {
  port.setPortName(QString::fromStdString(pty.SlavePath()));
  if (!port.open(QIODevice::ReadWrite)) {
    std::fprintf(stderr, "QSerialPort could not open %s: %s\n", pty.SlavePath().c_str(),
                 port.errorString().toLocal8Bit().constData());
    return false;
  }
  return port.setBaudRate(115200) && port.setDataBits(QSerialPort::Data8) &&
         port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop) &&
         port.setFlowControl(QSerialPort::NoFlowControl);
}

bool receiveRun(const std::vector<uint8_t>& bytes) {
  PseudoTerminal pty;
  QSerialPort port;
  if (!openSlave(port, pty)) return false;
  uint64_t expected = 0;
  for (const uint8_t b : bytes) expected += b;
  expected *= kTotalBytes / kBlock;
  size_t received = 0;
  uint64_t sum = 0;
  QObject::connect(&port, &QSerialPort::readyRead, [&] {
    const QByteArray got = port.readAll();
    for (const char b : got) sum += static_cast<uint8_t>(b);
    received += static_cast<size_t>(got.size());
    if (received >= kTotalBytes) QCoreApplication::quit();
  });
  const auto start = Clock::now();
  std::thread writer([&] {
    for (size_t fed = 0; fed < kTotalBytes; fed += bytes.size()) {
      if (!pty.Write(bytes, std::chrono::seconds(60))) return;
    }
  });
  QCoreApplication::exec();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  writer.join();
  const bool ok = received == kTotalBytes && sum == expected;
  std::printf("QSerialPort readyRead + readAll: %zu bytes in %.3f s = %7.1f MB/s (checksum %s)\n",
              kTotalBytes, seconds, static_cast<double>(kTotalBytes) / seconds / 1e6,
              ok ? "ok" : "WRONG");
  return ok;
}

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

bool roundTripRun() {
  PseudoTerminal pty;
  QSerialPort port;
  if (!openSlave(port, pty)) return false;
  QObject::connect(&port, &QSerialPort::readyRead, [&] {
    QByteArray got = port.readAll();
    for (char& b : got) b = static_cast<char>(b + 1);
    port.write(got);
  });
  std::vector<double> micros;
  std::atomic<bool> ok{true};
  std::thread far([&] {
    for (int round = 0; round < kRounds && ok; ++round) {
      const auto sent = static_cast<uint8_t>(round);
      const auto start = Clock::now();
      const bool written = pty.Write({sent});
      const std::vector<uint8_t> answer = pty.Read(1, std::chrono::seconds(5));
      ok = written && answer.size() == 1 && answer[0] == static_cast<uint8_t>(sent + 1);
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit);
  });
  QCoreApplication::exec();
  far.join();
  if (!ok) {
    std::fprintf(stderr, "QSerialPort round trip failed\n");
    return false;
  }
  std::printf(
      "QSerialPort round trip, readyRead + write: p50 %.0f us, p99 %.0f us, worst %.0f us"
      " (%d rounds)\n",
      percentile(micros, 0.5), percentile(micros, 0.99), percentile(micros, 1.0), kRounds);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const bool receiveOk = receiveRun(block());
  const bool roundTripOk = roundTripRun();
  return receiveOk && roundTripOk ? 0 : 1;
}
