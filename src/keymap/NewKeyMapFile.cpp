#include "keymap/NewKeyMapFile.h"

#include <array>

namespace tdxx {
namespace {

constexpr std::array<NewFileModel, 3> kModels{{
    {"td-a", "TD-A", 24},
    {"td-b", "TD-B", 48},
    {"wk-c", "WK-C", 66},
}};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::span<const NewFileModel> NewFileModels() {
  return kModels;
}

const NewFileModel* FindNewFileModel(std::string_view id) {
  for (const NewFileModel& model : kModels) {
    bool same = model.id.size() == id.size();
    for (std::size_t i = 0; same && i < id.size(); ++i) {
      same = model.id[i] == Lower(id[i]);
    }
    if (same) {
      return &model;
    }
  }
  return nullptr;
}

std::string NewKeyDefinitionText(const NewFileModel& model) {
  const std::string count = std::to_string(model.keyCount);
  std::string text = "; Key definitions for a " + std::string(model.name) + " (" + count +
                     " keys).\r\n"
                     "[GLOBAL_PARAMETERS]\r\n"
                     "Number_Of_Keys=" +
                     count +
                     "\r\n"
                     "Model_Number=None\r\n"
                     "Character_Pacing=4\r\n"
                     "Key_Roll_Over=2\r\n"
                     "LED_Function=1\r\n"
                     "LED2_Function=0\r\n"
                     "LED3_Function=0\r\n"
                     "USB_Device_Type=11\r\n";
  for (int k = 0; k < model.keyCount; ++k) {
    text += "\r\n[KEY" + std::to_string(k) +
            "]\r\n"
            "L1_MacroMode=0\r\n"
            "L1_AutoRepeat=0\r\n"
            "Level_1_Codes=\r\n"
            "L2_MacroMode=0\r\n"
            "L2_AutoRepeat=0\r\n"
            "Level_2_Codes=\r\n";
  }
  return text;
}

}  // namespace tdxx
