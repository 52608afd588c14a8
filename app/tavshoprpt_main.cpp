// tavshoprpt: the host program of the shop-floor reports.
#include "app/cli/main_cli.h"

int main(int argc, char** argv) { return app::runMain(argc, argv); }
