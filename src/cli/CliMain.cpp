#include "cli/CliMain.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace tdxx::cli {

int RunCli(int argc, char** argv) {
  CLI::App app{"tdxxload-cli: scriptable front end of the Quorvane keypad file loader"};
  app.set_version_flag("--version", "tdxxload-cli 1.70");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  std::cout << app.help();
  return 0;
}

}  // namespace tdxx::cli
