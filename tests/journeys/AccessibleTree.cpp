#include "tests/journeys/AccessibleTree.h"

#include <cstdlib>
#include <sstream>

#include "tests/journeys/ToolRun.h"

namespace {

std::vector<std::string> tabFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '\t')) fields.push_back(field);
  return fields;
}

}  // namespace

AccessibleTree AccessibleTree::Read() {
  AccessibleTree tree;
  const ToolResult dump = RunTool("/usr/bin/python3", {ACCESSIBLE_TREE_SCRIPT, "azimara"});
  if (!dump.Succeeded()) return tree;
  std::istringstream lines(dump.Output);
  std::string line;
  while (std::getline(lines, line)) {
    const std::vector<std::string> f = tabFields(line);
    if (f.size() != 8) continue;
    tree.nodes_.push_back({f[0], f[1], f[2], f[3], std::atoi(f[4].c_str()), std::atoi(f[5].c_str()),
                           std::atoi(f[6].c_str()), std::atoi(f[7].c_str())});
  }
  return tree;
}

std::optional<AccessibleNode> AccessibleTree::Find(
    const std::function<bool(const AccessibleNode&)>& match) const {
  for (const AccessibleNode& node : nodes_) {
    if (match(node)) return node;
  }
  return std::nullopt;
}

std::optional<AccessibleNode> AccessibleTree::Named(const std::string& name) const {
  return Find([&](const AccessibleNode& node) { return node.Name == name; });
}
