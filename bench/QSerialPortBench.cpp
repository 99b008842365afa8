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

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench/PtyBenchSupport.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 2000;

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
  size_t received = 0;
  uint64_t sum = 0;
  QObject::connect(&port, &QSerialPort::readyRead, [&] {
    const QByteArray got = port.readAll();
    for (const char b : got) sum += static_cast<uint8_t>(b);
    received += static_cast<size_t>(got.size());
    if (received >= kStreamBytes) QCoreApplication::quit();
  });
  const auto start = Clock::now();
  std::thread writer([&] { FeedStream(pty, bytes); });
  QCoreApplication::exec();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  writer.join();
  const bool ok = received == kStreamBytes && sum == StreamSum(bytes);
  std::printf("QSerialPort readyRead + readAll: %zu bytes in %.3f s = %7.1f MB/s (checksum %s)\n",
              kStreamBytes, seconds, static_cast<double>(kStreamBytes) / seconds / 1e6,
              ok ? "ok" : "WRONG");
  return ok;
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
  bool ok = false;
  std::thread far([&] {
    ok = TimeRoundTrips(pty, kRounds, micros);
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit);
  });
  QCoreApplication::exec();
  far.join();
  if (!ok) return false;
  PrintRoundTrips("QSerialPort round trip, readyRead + write", micros);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const bool receiveOk = receiveRun(StreamBlock());
  const bool roundTripOk = roundTripRun();
  return receiveOk && roundTripOk ? 0 : 1;
}
