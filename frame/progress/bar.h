// The progress display a report holds while it loads: `Bar` shows the modal window
// `frmProgBar` and talks to it through the relay `clsPass`. The report's worker runs inside
// the window's activation (the `Active` event) and ends by calling Unload.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace frame {

class clsPass;
class frmProgBar;

class Bar {
 public:
  Bar();
  ~Bar();

  // Raised when the window becomes active; the report runs its worker here.
  std::function<void()> Active;

  // Creates a new relay and window and shows the window modally; returns once it is unloaded.
  void Show();
  void SetBarMaxValue(int32_t value);
  void SetBarMinValue(int32_t value);
  void SetBarValue(int32_t value);
  void SetMsg(const std::string& msg);
  // The window fills the bar and unloads itself; the relay and window are released.
  void Unload();
  void SetBarValueWithMax();
  void ShowProgBar();
  void HideProgBar();

  // The window while it is up, else null (front ends and tests read it).
  const frmProgBar* Window() const { return window_.get(); }

 private:
  std::shared_ptr<clsPass> pass_;
  std::shared_ptr<frmProgBar> window_;
};

}  // namespace frame
