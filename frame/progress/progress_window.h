// The relay `clsPass` and the window `frmProgBar` behind Bar. The relay raises one event per
// operation; the window handles every event but Active and repaints at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/object.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/status_controls.h"

namespace frame {

class clsPass : public plat::Object {
 public:
  std::function<void(int32_t)> OnSetBarMaxValue, OnSetBarMinValue, OnSetBarValue;
  std::function<void()> OnSetBarValueWithMax, OnUnload, OnShowProgBar, OnHideProgBar, OnActive;
  std::function<void(const std::string&)> OnSetMsg;

  void SetBarMaxValue(int32_t v) { raise(OnSetBarMaxValue, v); }
  void SetBarMinValue(int32_t v) { raise(OnSetBarMinValue, v); }
  void SetBarValue(int32_t v) { raise(OnSetBarValue, v); }
  void SetBarValueWithMax() { raise(OnSetBarValueWithMax); }
  void SetMsg(const std::string& msg) { raise(OnSetMsg, msg); }
  void Unload() { raise(OnUnload); }
  void ShowProgBar() { raise(OnShowProgBar); }
  void HideProgBar() { raise(OnHideProgBar); }
  void SetActive() { raise(OnActive); }

 private:
  template <class F, class... A>
  static void raise(const F& handler, A&&... args) {
    if (handler) handler(std::forward<A>(args)...);
  }
};

class frmProgBar : public forms::Form {
 public:
  frmProgBar();
  // Connects the window to the relay it shares with its Bar.
  void Attach(std::shared_ptr<clsPass> pass);

  const std::string& Message() const { return lblMsg_->Caption(); }
  const forms::ProgressBar& Bar() const { return *ProgressBar1_; }

 protected:
  void onActivate() override;
  void onLoad() override;

 private:
  forms::Label* lblMsg_;
  forms::ProgressBar* ProgressBar1_;
  forms::Animation* Animation1_;
  std::shared_ptr<clsPass> pass_;
};

}  // namespace frame
