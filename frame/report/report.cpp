#include "frame/report/report.h"

#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "frame/report/filter_dialog.h"
#include "platform/core/error.h"
#include "platform/forms/front_end.h"

namespace frame {

std::string Describe(const std::exception& error) {
  if (auto* e = dynamic_cast<const plat::Error*>(&error)) return e->description();
  return error.what();
}

Report::Report(ReportIdentity identity, FilterPolicy policy)
    : identity_(std::move(identity)), policy_(policy), numberText_(identity_.numberText) {
  result_ = lumo::newDictionary();
  RecomputeLongNumberFlag();
  SetProperties();
  SetResult(false, "");
}

void Report::SetProperties() {
  property_ = lumo::newDictionary();
  for (const auto& [key, value] : identity_.properties)
    property_->SetValue(key, value.isText() ? plat::Variant(Msg(value.text())) : value);
  if (identity_.hidesBillNavigation) {
    auto menu = lumo::newVector();
    for (const char* tool : {"iViewBillUp", "iViewBillDown"}) {
      auto entry = lumo::newDictionary();
      entry->SetValue("ToolName", tool);
      entry->SetValue("Hiden", true);
      menu->Add(entry);
    }
    property_->SetValue("mnuInfo", menu);
  }
}

bool Report::Ok() const { return result_->Value("OK").toBool(); }
std::string Report::ErrorText() const { return result_->Value("Error").text(); }

void Report::SetResult(bool ok, const std::string& error) {
  result_->SetValue("OK", ok);
  result_->SetValue("Error", error);
}

void Report::SetOk() { SetResult(true, ""); }

void Report::Fail(const std::exception& error) {
  SetResult(false, Describe(error));
  if (bar_) bar_->Unload();
}

std::string Report::FilterText(std::string_view key) const {
  return filter_ ? filter_->Value(key).text() : std::string();
}

void Report::SetFilter(lumo::DictionaryRef filter) {
  filter_ = std::move(filter);
  if (!filter_) {
    SetResult(false, Msg("请选择过滤条件！"));
    return;
  }
  result_->SetValue("OK", true);
  OnFilterAccepted();
  result_->SetValue("Error", "");
}

void Report::SetExtFirter(const std::string& numberText) {
  numberText_ = numberText;
  SetProperties();
}

plat::Variant Report::Refresh() {
  if (!bar_) {
    bar_ = std::make_unique<Bar>();
    bar_->Active = [this] { OnActive(); };
  }
  bar_->Show();
  return {};
}

void Report::OnActive() {
  bar_->SetMsg(Msg("正在连接服务器"));
  GetRptList();
}

plat::Variant Report::ShowFilter(bool* autoFilter) {
  WriteLog(identity_.logId, 3, Msg(identity_.logText));
  auto run = [&] {
    auto dialog = CreateFilterDialog();
    if (policy_.handsNumberToDialog) dialog->SetRptID(static_cast<int32_t>(plat::val(numberText_)));
    AutoFilterFlag() = (autoFilter && *autoFilter) ? -1 : 0;
    dialog->Show();
    lumo::DictionaryRef answer = dialog->Result();
    if (answer && policy_.adoptsAnyResult) filter_ = answer;
    if (!answer) {
      result_->SetValue("OK", false);
      if (policy_.reportsMissingResult) result_->SetValue("Error", Msg("过滤条件有误，请重新过滤！"));
    } else if (!answer->Value("OK").toBool()) {
      result_->SetValue("OK", false);
    } else {
      SetOk();
      filter_ = answer;
      OnFilterAccepted();
      dialog->Unload();
    }
  };
  if (!policy_.catchesErrors) {
    run();
    return {};
  }
  try {
    run();
  } catch (const std::exception&) {
    // ShowFilter ends silently; "OK" stays as it stood
  }
  return {};
}

plat::Variant Report::GetReportData() {
  try {
    forms::DoEvents();
    if (!Ok()) return {};
    title_ = lumo::newVector();
    BuildTitle(*title_);
    BeforeRefresh();
    forms::DoEvents();
    Refresh();
  } catch (const std::exception& e) {
    SetResult(false, Describe(e));
  }
  return {};
}

void Report::AddColumn(lumo::Vector& header, const std::string& caption, const std::string& second,
                       const std::string& type, const std::string& name, ColumnFlag flag) {
  auto column = lumo::newDictionary();
  column->SetValue("FColCaption", Msg(caption));
  column->SetValue("FHeadSecond", Msg(second));
  column->SetValue("FColType", type);
  column->SetValue("FColName", name);
  column->SetValue("FVisible", int16_t{1});
  if (flag == ColumnFlag::MergerType) column->SetValue("FMergerType", int16_t{0});
  if (flag == ColumnFlag::ForceHide) column->SetValue("FForceHide", int16_t{0});
  header.Add(column);
}

void Report::AddTitle(lumo::Vector& title, int16_t index, const std::string& caption) {
  auto line = lumo::newDictionary();
  line->SetValue("FCaption", caption);
  line->SetValue("FIndex", index);
  title.Add(line);
}

void Report::AddTitleWithoutCaption(lumo::Vector& title, int16_t index) {
  auto line = lumo::newDictionary();
  line->SetValue("FIndex", index);
  title.Add(line);
}

}  // namespace frame
