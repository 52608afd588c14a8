// The export dialog's controls and its OK.
#include "app/browse/export_form.h"

#include <filesystem>

#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"

namespace app {
namespace {

struct Choice {
  const char* caption;
  Format format;
};
constexpr Choice kChoices[] = {
    {"CSV", Format::Csv}, {"XLSX", Format::Xlsx}, {"HTML", Format::Html}, {"文本表格", Format::Table}};

}  // namespace

std::string extensionOf(Format format) {
  switch (format) {
    case Format::Csv: return ".csv";
    case Format::Xlsx: return ".xlsx";
    case Format::Html: return ".html";
    case Format::Json: return ".json";
    case Format::Table: return ".txt";
  }
  return {};
}

ExportForm::ExportForm(const std::string& baseName) : forms::Form(std::string(kName)) {
  SetCaption("导出");
  add<forms::Label>("lblFormat").SetCaption("格式:");
  auto& format = add<forms::ComboBox>("cmbFormat");
  for (const Choice& c : kChoices) format.AddItem(c.caption);
  format.SetListIndex(0);
  add<forms::Label>("lblFile").SetCaption("文件:");
  auto& file = add<forms::TextBox>("txtFile");
  const std::string base = baseName.empty() ? "报表" : baseName;
  file.SetText(base + ".csv");
  // The proposed name follows the format while it still is the proposal.
  format.onClick = [&format, &file, base] {
    if (format.ListIndex() < 0) return;
    const std::string stem = std::filesystem::path(file.Text()).stem().string();
    if (stem == base) file.SetText(base + extensionOf(kChoices[format.ListIndex()].format));
  };

  auto& ok = add<forms::CommandButton>("cmdOK");
  ok.SetCaption("确定");
  ok.setStartsRow(true);
  ok.onClick = [this, &format, &file] {
    std::string path = file.Text();
    if (path.empty() || format.ListIndex() < 0) return;  // nothing to write to: OK does nothing
    const Format chosenFormat = kChoices[format.ListIndex()].format;
    if (!std::filesystem::path(path).has_extension()) path += extensionOf(chosenFormat);
    chosen_ = ExportChoice{chosenFormat, path};
    Hide();
  };
  auto& cancel = add<forms::CommandButton>("cmdCancel");
  cancel.SetCaption("取消");
  cancel.onClick = [this] {
    chosen_.reset();
    Hide();
  };
}

}  // namespace app
