// The browser's front end of the forms layer: a modal form shown on a session thread is handed
// to that session, which publishes its controls for the page and routes the page's events back
// (app/web/session.h); forms shown on any other thread close at once.
#pragma once

#include "platform/forms/front_end.h"

namespace app::web {

class WebFrontEnd : public forms::FrontEnd {
 public:
  void runModal(forms::Form& form) override;
  int msgBox(std::string_view text, int style, std::string_view title) override;
  void doEvents() override;
};

}  // namespace app::web
