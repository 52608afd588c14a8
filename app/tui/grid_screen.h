// The result grid on the curses screen: the report's name and title lines, the two-row header
// and the label columns fixed, the rest scrolling both ways; folding, search, drill-down into the
// report's detail report and back, a new filter (F2) and export (F4).
//
// Keys: arrows, PgUp/PgDn, Home/End move; / searches, n and N search again; Enter folds or
// unfolds a subtotal's group and opens a detail row's detail report; Space folds; 1-9 fold every
// group to one level, 0 unfolds all; Esc goes back from a detail report; F2 filter; F4 export;
// q quits.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/browse/result_stack.h"

namespace frame {
class Report;
}

namespace app::tui {

class CursesFrontEnd;

struct GridActions {
  // Shows the bottom report's filter dialog again and reruns it; nullptr when the user cancelled
  // or the run failed (the action has told the user why).
  std::function<std::shared_ptr<frame::Report>()> refilter;
  // Why a result without detail rows is empty (which filter emptied it), in the user's language.
  std::function<std::string(const frame::Report&)> emptyHint;
};

// Runs the grid until the user quits. The terminal must be the current front end, so that the
// dialogs, message boxes and progress windows opened from the grid appear on it.
void runResultGrid(CursesFrontEnd& terminal, ResultStack& stack, const GridActions& actions);

}  // namespace app::tui
