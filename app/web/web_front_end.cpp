// Routing the forms layer's calls to the calling thread's session.
#include "app/web/web_front_end.h"

#include "app/web/session.h"
#include "platform/forms/form.h"

namespace app::web {

void WebFrontEnd::runModal(forms::Form& form) {
  if (Session* session = Session::current()) return session->runForm(form);
  if (form.visible()) form.Unload();
}

int WebFrontEnd::msgBox(std::string_view text, int style, std::string_view title) {
  if (Session* session = Session::current()) return session->messageBox(text, style, title);
  return forms::firstAnswerOf(style);
}

void WebFrontEnd::doEvents() {
  if (Session* session = Session::current()) session->pumpEvents();
}

}  // namespace app::web
