#include "tools/gs232sim/SimulatorOptions.h"

#include <charconv>
#include <chrono>
#include <functional>
#include <map>

#include "tools/gs232sim/MotionModel.h"

namespace {

constexpr long long kMaxSplitDelayMs = 60'000;
constexpr double kMaxDegreesPerSecond = 100'000.0;

template <typename Number>
Number parseNumber(std::string_view option, std::string_view text, Number low, Number high) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    throw OptionError(std::string(option) + ": not a number: '" + std::string(text) + "'");
  }
  if (!(value >= low && value <= high)) {
    throw OptionError(std::string(option) + ": out of range: '" + std::string(text) + "'");
  }
  return value;
}

using ValueSetter =
    std::function<void(SimulatorOptions&, std::string_view option, std::string_view)>;
using FlagSetter = std::function<void(SimulatorOptions&)>;

std::string profileList() {
  std::string list;
  for (const std::string_view name : ReplyProfile::Names()) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  return list;
}

const std::map<std::string_view, ValueSetter>& valueOptions() {
  static const std::map<std::string_view, ValueSetter> options{
      {"--link", [](SimulatorOptions& o, auto, auto v) { o.linkPath = v; }},
      {"--log", [](SimulatorOptions& o, auto, auto v) { o.logPath = v; }},
      {"--az",
       [](SimulatorOptions& o, auto n, auto v) {
         o.azimuth = parseNumber(n, v, 0, static_cast<int>(MotionModel::kAzimuthEndStop));
       }},
      {"--el",
       [](SimulatorOptions& o, auto n, auto v) {
         o.elevation = parseNumber(n, v, 0, static_cast<int>(MotionModel::kElevationEndStop));
       }},
      {"--speed",
       [](SimulatorOptions& o, auto n, auto v) {
         o.degreesPerSecond = parseNumber(n, v, 0.0, kMaxDegreesPerSecond);
         if (o.degreesPerSecond <= 0.0) throw OptionError(std::string(n) + ": must be above 0");
       }},
      {"--profile",
       [](SimulatorOptions& o, auto n, auto v) {
         const auto profile = ReplyProfile::FromName(v);
         if (!profile) {
           throw OptionError(std::string(n) + ": unknown profile '" + std::string(v) +
                             "' (known: " + profileList() + ")");
         }
         o.profile = *profile;
       }},
      {"--split", [](SimulatorOptions& o, auto n,
                     auto v) { o.faults.splitSize = parseNumber<std::size_t>(n, v, 1, 4096); }},
      {"--split-delay",
       [](SimulatorOptions& o, auto n, auto v) {
         o.faults.splitDelay = std::chrono::milliseconds(parseNumber(n, v, 0LL, kMaxSplitDelayMs));
       }},
      {"--flood",
       [](SimulatorOptions& o, auto n, auto v) {
         o.floodBytes = parseNumber<std::size_t>(n, v, 0, SimulatorOptions::kMaxFloodBytes);
       }},
      {"--seed", [](SimulatorOptions& o, auto n,
                    auto v) { o.seed = parseNumber<std::uint32_t>(n, v, 0, UINT32_MAX); }},
  };
  return options;
}

const std::map<std::string_view, FlagSetter>& flagOptions() {
  static const std::map<std::string_view, FlagSetter> options{
      {"--help", [](SimulatorOptions& o) { o.help = true; }},
      {"-h", [](SimulatorOptions& o) { o.help = true; }},
      {"--leading-cr", [](SimulatorOptions& o) { o.faults.leadingCr = true; }},
      {"--silent", [](SimulatorOptions& o) { o.faults.silent = true; }},
      {"--garbage", [](SimulatorOptions& o) { o.faults.garbage = true; }},
  };
  return options;
}

}  // namespace

SimulatorOptions ParseSimulatorOptions(const std::vector<std::string_view>& args) {
  SimulatorOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> value;
    if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (const auto flag = flagOptions().find(name); flag != flagOptions().end()) {
      if (value) throw OptionError(std::string(name) + ": takes no value");
      flag->second(options);
      continue;
    }
    const auto setter = valueOptions().find(name);
    if (setter == valueOptions().end()) {
      throw OptionError("unknown option '" + std::string(args[i]) + "'");
    }
    if (!value) {
      if (i + 1 == args.size()) throw OptionError(std::string(name) + ": needs a value");
      value = args[++i];
    }
    setter->second(options, name, *value);
  }
  return options;
}

std::string SimulatorHelpText() {
  return R"(Usage: gs232sim [OPTION]...
Simulates a Yaesu GS-232B rotator controller with an azimuth and an elevation
axis on a pseudo-terminal, for the panel, for hamlib's rotctl (-m 603) or for
tests. Prints the terminal's path (e.g. /dev/pts/3) as the first line on
standard output, then serves whoever opens that terminal until it is ended by
SIGTERM, SIGINT or SIGHUP. Clients may come and go: the position is kept and
the next client that opens the terminal is served. Replies that a client who
has left did not read are discarded, as on a real serial line.

Options:
  --link PATH        make PATH a symbolic link to the terminal (an existing
                     link there is replaced; any other file is left alone and
                     the simulator refuses to start); the link is removed when
                     the simulator ends. Example: --link demo/COM1
  --az N             start azimuth, 0 to 450 degrees (default 0)
  --el N             start elevation, 0 to 180 degrees (default 0)
  --speed DEG_PER_S  turning speed of both axes at speed step X4, in degrees
                     per second (default 6); X1, X2, X3 turn at 1/4, 2/4, 3/4
                     of it. The simulator starts at X4.
  --profile NAME     how position reports look (default standard):
                       standard    C2 -> "AZ=aaa  EL=eee" CR LF (16 bytes),
                                   C -> "AZ=aaa" CR LF, B -> "EL=eee" CR LF
                       no-blanks   C2 -> "AZ=aaaEL=eee" CR LF
                       four-digit  C2 -> "AZ=aaaaEL=eee" CR LF, C -> "AZ=aaaa" CR LF
                       cr-only     every report ends with CR only
                       prompt      "?>" before every report
                       az-only     C2 answered like C
  --log FILE         write one line per received command to FILE (created or
                     truncated), flushed after each line:
                       <ms>TAB<bytes>
                     <ms> is the whole milliseconds since the simulator
                     started (monotonic clock) when the command's CR arrived;
                     <bytes> is the command as received, its CR included, as
                     upper-case two-digit hex separated by single blanks,
                     e.g. "1532<TAB>43 32 0D" for C2; a lone CR is "0D". LFs are
                     ignored and never part of a command. Only the first 255
                     bytes of a longer command are kept (and logged).
  --split N          send every reply in pieces of N bytes
  --split-delay MS   with --split, the pause between the pieces of a reply
                     (default 10)
  --leading-cr       put one CR before every reply
  --silent           read and log commands, but never answer
  --garbage          answer random bytes, as many as the real reply has
  --flood BYTES      each time a client opens the terminal, first send it
                     BYTES random bytes at full speed, then carry on normally
                     (at most 16777216; also with --silent)
  --seed N           seed of the random bytes of --garbage and --flood
                     (default: a different one each run)
                     The faults combine: garbage replaces the reply, the
                     leading CR goes before it, then it is split.
  -h, --help         show this text and exit

Commands (end with CR; LF ignored; letters in either case):
  C                  azimuth report
  C2                 azimuth and elevation report
  B                  elevation report
  Maaa               turn azimuth to aaa degrees (three digits)
  MBeee              turn elevation to eee degrees
  Waaa eee           turn both axes
  S, A, E            stop both axes, azimuth, elevation
  L, R               turn azimuth counter-clockwise, clockwise to its end stop
  U, D               turn elevation up, down to its end stop
  X1 to X4           speed step, X1 slowest
Goals beyond the end stops (azimuth 0 to 450, elevation 0 to 180) are
clamped to them. Positions are reported rounded to whole degrees, with
leading zeros. Every command other than a report is answered with a single CR;
anything not understood, an empty line included, with "?>" CR.

Exit status: 0 when ended by a signal, 1 on a system error, 2 on a bad
command line.
)";
}
