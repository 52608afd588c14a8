// The scheme window's design and handlers.
#include "app/tui/scheme_form.h"

#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/grfc/report_filter.h"

namespace app::tui {

SchemeForm::SchemeForm(grfc::ReportFilter& grid) : forms::Form("frmSchemes"), grid_(grid) {
  SetCaption("过滤方案");
  add<forms::Label>("lblScheme").SetCaption("已存方案:");
  auto& list = add<forms::ComboBox>("cmbScheme");
  auto& load = add<forms::CommandButton>("cmdLoad");
  load.SetCaption("载入");
  auto& remove = add<forms::CommandButton>("cmdDelete");
  remove.SetCaption("删除");
  add<forms::Label>("lblName").SetCaption("另存为:");
  auto& name = add<forms::TextBox>("txtName");
  auto& save = add<forms::CommandButton>("cmdSave");
  save.SetCaption("保存");
  auto& close = add<forms::CommandButton>("cmdClose");
  close.SetCaption("关闭");
  close.setStartsRow(true);

  load.onClick = [this, &list] {
    if (list.ListIndex() < 0) return;
    grid_.LoadScheme(list.Text());
    Hide();
  };
  remove.onClick = [this, &list] {
    if (list.ListIndex() < 0) return;
    grid_.DeleteScheme(list.Text());
    refill();
  };
  save.onClick = [this, &name] {
    grid_.SaveScheme(name.Text());
    name.SetText("");
    refill();
  };
  close.onClick = [this] { Hide(); };
  refill();
}

void SchemeForm::refill() {
  auto& list = get<forms::ComboBox>("cmbScheme");
  list.Clear();
  for (const std::string& scheme : grid_.Schemes()) list.AddItem(scheme);
  if (list.ListCount() > 0) list.SetListIndex(0);
}

}  // namespace app::tui
