// How a renderer lays out a form from its control list alone: one block per frame (and one for
// the controls on the form itself), in order of first appearance, each split into rows.
// A control that startsRow() (a non-inline label, a frame, a progress bar, a hosted control...)
// begins a new row; every other control joins the row before it.
#pragma once

#include <vector>

#include "platform/forms/control.h"
#include "platform/forms/form.h"

namespace forms {

struct LayoutRow {
  std::vector<Control*> controls;
};

struct LayoutBlock {
  Frame* frame = nullptr;  // nullptr: the controls that sit on the form itself
  std::vector<LayoutRow> rows;
};

// Frames themselves head their block and are not placed in rows. A frame inside a frame has its
// own block; the renderer finds its parent through frame->frame().
std::vector<LayoutBlock> layoutBlocks(const Form& form);

}  // namespace forms
