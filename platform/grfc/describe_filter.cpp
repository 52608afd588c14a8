// A readable description of what a filter dialog's controls hold, row by row.
#include "platform/core/variant.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/layout.h"
#include "platform/grfc/report_filter.h"

namespace grfc {

namespace {

// The value a control contributes to the description; "" for none.
std::string valueOf(const forms::Control& c) {
  if (!c.effectiveEnabled()) return {};
  switch (c.kind()) {
    case forms::ControlKind::TextBox: return plat::trim(static_cast<const forms::TextBox&>(c).Text());
    case forms::ControlKind::ComboBox: return static_cast<const forms::ComboBox&>(c).Text();
    case forms::ControlKind::DatePicker: return static_cast<const forms::DatePicker&>(c).Value().iso();
    case forms::ControlKind::CheckBox:
      return static_cast<const forms::CheckBox&>(c).Value() == 1 ? plat::trim(c.Caption()) : std::string();
    default: return {};
  }
}

}  // namespace

std::string describeFilter(const forms::Form& form) {
  std::string out;
  for (const auto& block : forms::layoutBlocks(form)) {
    if (block.frame && !block.frame->effectiveVisible()) continue;
    for (const auto& row : block.rows) {
      std::string line;
      std::string pendingInline;  // an inline label ("至:") shows only before a value
      bool hasValue = false;
      auto append = [&line](const std::string& part) {
        if (part.empty()) return;
        if (!line.empty()) line += ' ';
        line += part;
      };
      for (const forms::Control* c : row.controls) {
        if (!c->effectiveVisible()) continue;
        if (c->kind() == forms::ControlKind::Label) {
          if (static_cast<const forms::Label*>(c)->isInline())
            pendingInline = plat::trim(c->Caption());
          else
            append(plat::trim(c->Caption()));
          continue;
        }
        std::string value = valueOf(*c);
        if (value.empty()) continue;
        append(pendingInline);
        pendingInline.clear();
        append(value);
        hasValue = true;
      }
      if (!hasValue) continue;
      if (!out.empty()) out += "; ";
      out += line;
    }
  }
  return out;
}

}  // namespace grfc
