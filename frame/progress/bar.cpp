#include "frame/progress/bar.h"

#include "frame/progress/progress_window.h"
#include "platform/forms/front_end.h"

namespace frame {

Bar::Bar() = default;
Bar::~Bar() = default;

void Bar::Show() {
  pass_ = std::make_shared<clsPass>();
  window_ = std::make_shared<frmProgBar>();
  window_->Attach(pass_);
  pass_->OnActive = [this] {
    if (Active) Active();
  };
  auto window = window_;  // kept alive while shown, even after Unload releases ours
  window->Show();
  // A window closed without Unload (a front end's close box) leaves nothing behind either.
  pass_.reset();
  window_.reset();
}

void Bar::Unload() {
  if (!pass_) return;  // not shown, or already unloaded
  auto pass = std::move(pass_);
  pass->Unload();
  window_.reset();
  forms::DoEvents();
}

void Bar::SetBarMaxValue(int32_t value) {
  if (pass_) pass_->SetBarMaxValue(value);
}
void Bar::SetBarMinValue(int32_t value) {
  if (pass_) pass_->SetBarMinValue(value);
}
void Bar::SetBarValue(int32_t value) {
  if (pass_) pass_->SetBarValue(value);
}
void Bar::SetMsg(const std::string& msg) {
  if (pass_) pass_->SetMsg(msg);
}
void Bar::SetBarValueWithMax() {
  if (pass_) pass_->SetBarValueWithMax();
}
void Bar::ShowProgBar() {
  if (pass_) pass_->ShowProgBar();
}
void Bar::HideProgBar() {
  if (pass_) pass_->HideProgBar();
}

}  // namespace frame
