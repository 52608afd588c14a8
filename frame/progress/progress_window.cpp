#include "frame/progress/progress_window.h"

#include <algorithm>

#include "platform/forms/front_end.h"

namespace frame {

frmProgBar::frmProgBar() : forms::Form("frmProgBar") {
  SetFontName("宋体");
  lblMsg_ = &add<forms::Label>("lblMsg");
  ProgressBar1_ = &add<forms::ProgressBar>("ProgressBar1");
  Animation1_ = &add<forms::Animation>("Animation1");
}

void frmProgBar::onLoad() { Animation1_->Play(); }

void frmProgBar::Attach(std::shared_ptr<clsPass> pass) {
  pass_ = std::move(pass);
  // Each change is painted at once: the handlers let pending window messages run.
  auto bar = ProgressBar1_;
  auto clampTo = [bar](double v) { return std::clamp(v, bar->Min(), bar->Max()); };
  pass_->OnSetBarMaxValue = [bar](int32_t v) {
    if (v > bar->Min()) bar->SetMax(v);
    forms::DoEvents();
  };
  pass_->OnSetBarMinValue = [bar](int32_t v) {
    if (v < bar->Max()) bar->SetMin(v);
    forms::DoEvents();
  };
  pass_->OnSetBarValue = [bar, clampTo](int32_t v) {
    bar->SetValue(clampTo(v));
    forms::DoEvents();
  };
  pass_->OnSetBarValueWithMax = [bar] {
    bar->SetValue(bar->Max());
    forms::DoEvents();
  };
  pass_->OnSetMsg = [this](const std::string& msg) {
    lblMsg_->SetCaption(msg);
    forms::DoEvents();
  };
  pass_->OnShowProgBar = [bar] {
    bar->SetVisible(true);
    forms::DoEvents();
  };
  pass_->OnHideProgBar = [bar] {
    bar->SetVisible(false);
    forms::DoEvents();
  };
  pass_->OnUnload = [this, bar] {
    bar->SetValue(bar->Max());
    forms::DoEvents();
    Unload();
  };
}

void frmProgBar::onActivate() {
  if (pass_) pass_->SetActive();
}

}  // namespace frame
