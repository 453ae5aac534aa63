#include "app/KeyMapWindowOpening.h"

#include <filesystem>

#include "keymap/KeyCodeTextInput.h"
#include "keymap/NewKeyMapFile.h"

namespace tdxx {

KeyMapOpening ChooseKeyMapOpening(const KeyMapController& controller,
                                  const MainWindowState& state) {
  if (state.loadedFileType != kFileCkd)
    return controller.hasDocument() ? KeyMapOpening::kShowAsIs : KeyMapOpening::kNewFile;
  const bool showsLoaded = controller.hasDocument() && !controller.document().isNew() &&
                           controller.document().path() == state.dataFileName;
  return showsLoaded ? KeyMapOpening::kShowAsIs : KeyMapOpening::kOpenLoaded;
}

std::string KeyMapDialogFolder(const KeyMapController& controller, const MainWindowState& state) {
  if (controller.hasDocument() && !controller.document().isNew())
    return std::filesystem::path(controller.document().path()).parent_path().string();
  return state.macroFilesFolder;
}

int SuggestedNewFileModel(const MainWindowState& state) {
  const auto models = NewFileModels();
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (state.loadedFileType == kFileCkd && models[i].keyCount == state.keyCount)
      return static_cast<int>(i);
  }
  return 0;
}

bool DiscardKeyMapChanges(KeyMapController& controller, std::string& error) {
  if (!controller.hasDocument() || !controller.dirty())
    return true;
  if (controller.document().isNew()) {
    for (const NewFileModel& model : NewFileModels()) {
      if (model.keyCount == controller.document().keyCount()) {
        controller.NewFile(model);
        return true;
      }
    }
  }
  const std::string path = controller.document().path();
  return controller.OpenFile(path, error);
}

EditResult AppendChord(KeyMapController& controller, int key, int level, const std::string& chord) {
  const CodeTextResult codes = CodeTextForChord(chord);
  if (!codes.ok)
    return EditResult::Refused(codes.error);
  const LevelView current = controller.Key(key).levels[level == 1 ? 0 : 1];
  return controller.SetCodeText(key, level, current.codeText + codes.codeText);
}

}  // namespace tdxx
