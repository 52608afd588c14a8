// Laying forms out in character cells.
#include "app/tui/dialog_layout.h"

#include <algorithm>

#include "app/table/text_width.h"
#include "platform/grfc/report_filter.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/hosted_control.h"
#include "platform/forms/layout.h"
#include "platform/forms/status_controls.h"
#include "platform/forms/up_down.h"
#include "platform/lumo/dictionary.h"

namespace app::tui {
namespace {

constexpr int kTextWidth = 14;

std::string boxed(std::string_view text, int cells) {
  std::string shown(text);
  // A text longer than its box shows its end, where the typing happens.
  while (displayWidth(shown) > static_cast<size_t>(cells)) {
    size_t pos = 0;
    nextCodePoint(shown, pos);
    shown.erase(0, pos);
  }
  return "[" + padTo(shown, static_cast<size_t>(cells)) + "]";
}

int depthOf(const forms::Frame* frame) {
  int depth = 0;
  for (const forms::Control* f = frame; f; f = f->frame()) ++depth;
  return depth;
}

class Builder {
 public:
  Builder(const EditBuffers& buffers, int maxWidth) : buffers_(buffers), maxWidth_(std::max(20, maxWidth)) {}

  void block(const forms::LayoutBlock& block) {
    const int depth = block.frame ? depthOf(block.frame) : 0;
    indent_ = 2 * std::max(0, depth - 1) + (block.frame ? 2 : 0);
    if (block.frame) {
      if (!block.frame->effectiveVisible()) return;
      newLine();
      Widget head;
      head.line = line_;
      head.x = indent_ - 2;
      const std::string& caption = block.frame->Caption();
      head.text = caption.empty() ? std::string(16, '-') : "-- " + caption + " " + std::string(8, '-');
      head.width = static_cast<int>(displayWidth(head.text));
      head.heading = true;
      head.enabled = block.frame->effectiveEnabled();
      push(head);
    }
    for (const forms::LayoutRow& row : block.rows) {
      bool started = false;
      for (forms::Control* c : row.controls) {
        if (!c->effectiveVisible() || c->kind() == forms::ControlKind::Animation) continue;
        if (!started) {
          newLine();
          started = true;
        }
        control(*c);
      }
    }
  }

  DialogLayout done() {
    layout_.lines = line_ + 1;
    return std::move(layout_);
  }

 private:
  void newLine() {
    if (!layout_.widgets.empty() || line_ > 0) ++line_;
    x_ = indent_;
  }

  void add(const forms::Control& c, std::string text, bool focusable, GridAction action = GridAction::None) {
    Widget w;
    w.key = FocusKey{&c, action};
    w.text = std::move(text);
    w.width = static_cast<int>(displayWidth(w.text));
    if (x_ > indent_ && x_ + w.width > maxWidth_) {
      ++line_;
      x_ = indent_ + 4;
    }
    w.line = line_;
    w.x = x_;
    w.focusable = focusable && c.effectiveEnabled();
    w.enabled = c.effectiveEnabled();
    x_ += w.width + 1;
    push(w);
  }

  void push(const Widget& w) {
    layout_.width = std::max(layout_.width, w.x + w.width);
    layout_.widgets.push_back(w);
  }

  void control(const forms::Control& c) {
    using K = forms::ControlKind;
    switch (c.kind()) {
      case K::Label: add(c, c.Caption(), false); break;
      case K::TextBox: {
        const auto& box = static_cast<const forms::TextBox&>(c);
        // A box widens with its text (up to 40 cells), so a long code shows whole.
        const int fits = static_cast<int>(displayWidth(box.Text())) + 1;
        add(c, boxed(box.Text(), std::min(std::max(c.Width() > 0 ? c.Width() : kTextWidth, fits), 40)), true);
        break;
      }
      case K::ComboBox: {
        const auto& combo = static_cast<const forms::ComboBox&>(c);
        size_t cells = 6;
        for (int i = 0; i < combo.ListCount(); ++i) cells = std::max(cells, displayWidth(combo.List(i)));
        cells = std::min<size_t>(cells, 40);
        add(c, "[" + padTo(combo.Text(), cells) + " v]", true);
        break;
      }
      case K::CheckBox: {
        const auto& check = static_cast<const forms::CheckBox&>(c);
        const char* mark = check.Value() == 1 ? "[x] " : check.Value() == 2 ? "[-] " : "[ ] ";
        add(c, mark + c.Caption(), true);
        break;
      }
      case K::DatePicker: {
        auto it = buffers_.find(&c);
        const std::string text =
            it != buffers_.end() ? it->second : static_cast<const forms::DatePicker&>(c).Value().iso();
        add(c, boxed(text, 10), true);
        break;
      }
      case K::UpDown: add(c, "[-+]", true); break;
      case K::CommandButton: add(c, "< " + c.Caption() + " >", true); break;
      case K::ProgressBar: {
        const auto& bar = static_cast<const forms::ProgressBar&>(c);
        const double f = bar.Max() > bar.Min() ? (bar.Value() - bar.Min()) / (bar.Max() - bar.Min()) : 0;
        const auto filled = static_cast<size_t>(std::clamp(f, 0.0, 1.0) * 30 + 0.5);
        add(c, "[" + std::string(filled, '#') + std::string(30 - filled, '.') + "]", false);
        break;
      }
      case K::StatusBar: {
        const auto& status = static_cast<const forms::StatusBar&>(c);
        std::string text;
        for (int p = 1; p <= status.PanelCount(); ++p) text += (p > 1 ? " | " : "") + status.PanelText(p);
        add(c, text, false);
        break;
      }
      case K::Hosted: {
        const auto& site = static_cast<const forms::HostedControl&>(c);
        if (dynamic_cast<const grfc::ReportFilter*>(site.object().get()) == nullptr) {
          add(c, "[" + site.className() + "]", false);
          break;
        }
        for (GridAction a : {GridAction::Ok, GridAction::Cancel, GridAction::Schemes, GridAction::Reset})
          add(c, gridActionText(a), true, a);
        break;
      }
      case K::Frame:
      case K::Animation: break;
    }
  }

  const EditBuffers& buffers_;
  int maxWidth_;
  DialogLayout layout_;
  int line_ = 0;
  int x_ = 0;
  int indent_ = 0;
};

}  // namespace

std::string gridActionText(GridAction action) {
  switch (action) {
    case GridAction::Ok: return "< 确定 F10 >";
    case GridAction::Cancel: return "< 取消 Esc >";
    case GridAction::Schemes: return "< 方案 F3 >";
    case GridAction::Reset: return "< 重置 F5 >";
    case GridAction::None: break;
  }
  return {};
}

std::vector<size_t> DialogLayout::focusOrder() const {
  std::vector<size_t> order;
  for (size_t i = 0; i < widgets.size(); ++i)
    if (widgets[i].focusable) order.push_back(i);
  return order;
}

const Widget* DialogLayout::find(const FocusKey& key) const {
  for (const Widget& w : widgets)
    if (w.key == key) return &w;
  return nullptr;
}

DialogLayout layoutDialog(const forms::Form& form, const EditBuffers& buffers, int maxWidth) {
  Builder builder(buffers, maxWidth);
  for (const forms::LayoutBlock& block : forms::layoutBlocks(form)) builder.block(block);
  return builder.done();
}

int focusPosition(const forms::Form& form, std::string_view name, int index) {
  const forms::Control* target = form.find(name, index);
  if (!target) return -1;
  const DialogLayout layout = layoutDialog(form, {}, 1000);
  const std::vector<size_t> order = layout.focusOrder();
  for (size_t i = 0; i < order.size(); ++i)
    if (layout.widgets[order[i]].key.control == target) return static_cast<int>(i);
  return -1;
}

}  // namespace app::tui
