#pragma once
// The panel's controls and message boxes as the accessibility bus shows them, read with
// accessible_tree.py. Each is named by what a person reads there (a button by its caption, a
// read-out by its text, a field by its hint; a combo box by its current text); its hint is
// its description.

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct AccessibleNode {
  std::string Role;
  std::string Name;
  std::string Description;
  std::string Text;
  int X = 0;  // screen position and size
  int Y = 0;
  int Width = 0;
  int Height = 0;
  int CentreX() const { return X + Width / 2; }
  int CentreY() const { return Y + Height / 2; }
};

class AccessibleTree {
 public:
  // Reads the tree of the application named "azimara" now; empty when it is not on the bus.
  static AccessibleTree Read();

  // The first node for which match holds.
  std::optional<AccessibleNode> Find(const std::function<bool(const AccessibleNode&)>& match) const;
  // The first node with this name.
  std::optional<AccessibleNode> Named(const std::string& name) const;

  const std::vector<AccessibleNode>& Nodes() const { return nodes_; }

 private:
  std::vector<AccessibleNode> nodes_;
};
