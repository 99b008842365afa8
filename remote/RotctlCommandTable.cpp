#include "remote/RotctlCommandTable.h"

#include <array>

namespace {

using enum RotctlAction;

// Read off Debian's rotctld 4.5.4: its names, and how many arguments each one takes.
constexpr std::array<RotctlCommand, 28> kCommands{{
    {'P', "set_pos", 2, false, false, SetPos},
    {'p', "get_pos", 0, false, true, GetPos},
    {'K', "park", 0, false, false, Park},
    {'S', "stop", 0, false, false, Stop},
    {'M', "move", 2, false, false, Move},
    {'_', "get_info", 0, false, true, GetInfo},
    {'\0', "dump_state", 0, false, true, DumpState},
    {'R', "reset", 1, false, false, NotAvailable},
    {'C', "set_conf", 2, false, false, NotAvailable},
    {'s', "get_status", 0, false, true, NotAvailable},
    {'V', "set_level", 2, false, false, NotAvailable},
    {'v', "get_level", 1, false, true, NotAvailable},
    {'U', "set_func", 2, false, false, NotAvailable},
    {'u', "get_func", 1, false, true, NotAvailable},
    {'X', "set_parm", 2, false, false, NotAvailable},
    {'x', "get_parm", 1, false, true, NotAvailable},
    {'w', "send_cmd", 1, true, true, NotImplemented},
    {'1', "dump_caps", 0, false, true, NotImplemented},
    {'L', "lonlat2loc", 3, false, true, NotImplemented},
    {'l', "loc2lonlat", 1, false, true, NotImplemented},
    {'D', "dms2dec", 4, false, true, NotImplemented},
    {'d', "dec2dms", 1, false, true, NotImplemented},
    {'E', "dmmm2dec", 3, false, true, NotImplemented},
    {'e', "dec2dmmm", 1, false, true, NotImplemented},
    {'B', "qrb", 4, false, true, NotImplemented},
    {'A', "a_sp2a_lp", 1, false, true, NotImplemented},
    {'a', "d_sp2d_lp", 1, false, true, NotImplemented},
    {'\0', "pause", 1, false, false, NotImplemented},
}};

}  // namespace

const RotctlCommand* FindShortCommand(char name) {
  if (name == '\0') return nullptr;
  for (const RotctlCommand& command : kCommands) {
    if (command.Short == name) return &command;
  }
  return nullptr;
}

const RotctlCommand* FindLongCommand(std::string_view name) {
  for (const RotctlCommand& command : kCommands) {
    if (command.Name == name) return &command;
  }
  return nullptr;
}
