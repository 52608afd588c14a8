// Splitting a form's controls into frame blocks and rows.
#include "platform/forms/layout.h"

namespace forms {

std::vector<LayoutBlock> layoutBlocks(const Form& form) {
  std::vector<LayoutBlock> blocks;
  auto blockOf = [&](Frame* frame) -> LayoutBlock& {
    for (auto& b : blocks)
      if (b.frame == frame) return b;
    blocks.push_back(LayoutBlock{frame, {}});
    return blocks.back();
  };
  for (const auto& c : form.controls()) {
    if (c->kind() == ControlKind::Frame) {
      blockOf(static_cast<Frame*>(c.get()));  // an empty frame still shows as a box
      continue;
    }
    LayoutBlock& block = blockOf(c->frame());
    if (block.rows.empty() || c->startsRow()) block.rows.emplace_back();
    block.rows.back().controls.push_back(c.get());
  }
  return blocks;
}

}  // namespace forms
