#include "cli/CliMain.h"

int main(int argc, char** argv) {
  return tdxx::cli::RunCli(argc, argv);
}
