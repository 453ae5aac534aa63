#pragma once

#include <filesystem>

#include "TempFolder.h"
#include "app/AppEnvironment.h"

namespace tdxx::test {

// An environment whose folders all live in `temp`: the program folder (made, empty), the
// system's configuration folder, the user's documents folder and the shared documents folder.
// Nothing of the machine's own configuration or documents is read or written.
inline AppEnvironment TemporaryEnvironment(const TempFolder& temp) {
  AppEnvironment environment;
  environment.programFolder = temp / "program/";
  environment.systemConfigFolder = temp / "etc/";
  environment.userDocumentsFolder = temp / "home/Documents";
  environment.sharedDocumentsFolder = temp / "shared";
  std::filesystem::create_directories(environment.programFolder);
  return environment;
}

}  // namespace tdxx::test
