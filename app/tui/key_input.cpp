// Escape sequences on the curses screen.
#define NCURSES_WIDECHAR 1
#include "app/tui/key_input.h"

#include <curses.h>

#include <string>

namespace app::tui {

void defineExtraKeys() {
  // xterm's keypad-mode Home/End differ from what tmux, screen and the Linux console send.
  define_key("\x1b[1~", KEY_HOME);
  define_key("\x1b[7~", KEY_HOME);
  define_key("\x1b[H", KEY_HOME);
  define_key("\x1bOH", KEY_HOME);
  define_key("\x1b[4~", KEY_END);
  define_key("\x1b[8~", KEY_END);
  define_key("\x1b[F", KEY_END);
  define_key("\x1bOF", KEY_END);
  define_key("\x1b[3~", KEY_DC);
}

namespace {

// The next character if one is already waiting, else ERR.
int pending(wint_t& ch) {
  timeout(0);
  const int status = get_wch(&ch);
  timeout(-1);
  return status;
}

}  // namespace

int readKey(wint_t& key) {
  const int status = get_wch(&key);
  if (status != OK || key != 27) return status;
  wint_t next = 0;
  const int after = pending(next);
  if (after == ERR) return status;  // Esc alone
  if (after == OK && (next == L'[' || next == L'O')) {
    // CSI: parameter and intermediate bytes up to a final byte; SS3: one more character.
    wint_t ch = 0;
    if (next == L'O') {
      pending(ch);
    } else {
      while (pending(ch) == OK && !(ch >= 0x40 && ch <= 0x7e)) {
      }
    }
  }
  // Alt+key and unknown sequences alike: nothing to act on.
  key = 0;
  return KEY_CODE_YES;
}

}  // namespace app::tui
