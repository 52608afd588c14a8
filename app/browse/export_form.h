// The small dialog in which a user exports the result on screen: the format and the file.
#pragma once

#include <optional>
#include <string>

#include "app/export/exporters.h"
#include "platform/forms/form.h"

namespace app {

struct ExportChoice {
  Format format = Format::Csv;
  std::string path;
};

// Controls: `cmbFormat` (CSV, XLSX, HTML, 文本表格), `txtFile`, `cmdOK`, `cmdCancel`.
class ExportForm : public forms::Form {
 public:
  static constexpr std::string_view kName = "frmExport";

  // `baseName` names the file proposed (the report's name); the extension follows the format.
  explicit ExportForm(const std::string& baseName);

  // What OK chose; nothing when cancelled. A file given without an extension gets the format's.
  const std::optional<ExportChoice>& chosen() const { return chosen_; }

 private:
  std::optional<ExportChoice> chosen_;
};

// The usual extension of a format: ".csv", ".xlsx", ".html", ".txt".
std::string extensionOf(Format format);

}  // namespace app
