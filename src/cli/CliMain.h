#pragma once

namespace tdxx::cli {

// The scriptable front end: parses the command line, runs one subcommand and returns the exit
// status.
int RunCli(int argc, char** argv);

}  // namespace tdxx::cli
