#pragma once

#include <string>

#include "app/KeyMapController.h"
#include "app/MainWindowState.h"

namespace tdxx {

// What the Key Map window asks about the main window's state when it opens, saves or starts a
// new file.

// What Options > "Key Map..." does with the window's document.
enum class KeyMapOpening {
  kShowAsIs,    // the document is the loaded file, or no key definitions are loaded
  kOpenLoaded,  // key definitions are loaded and the window shows another file, or none
  kNewFile,     // nothing to show: a new file, for a model the person chooses
};
KeyMapOpening ChooseKeyMapOpening(const KeyMapController& controller, const MainWindowState& state);

// Where the save and open dialogs start: the document's folder, else the Macro_Files folder.
std::string KeyMapDialogFolder(const KeyMapController& controller, const MainWindowState& state);

// The index in NewFileModels() of the model a new file is offered for first: the one with the
// key count of the main window's loaded key definitions, else the first model.
int SuggestedNewFileModel(const MainWindowState& state);

// The person chose Discard as the window closed: the document goes back to the file as saved
// (a new file to a new file of its model), so that the window opens again without the dropped
// edits. False, with the reason, when the file cannot be read again.
bool DiscardKeyMapChanges(KeyMapController& controller, std::string& error);

// "Choose key..." with modifiers held: appends the chord's presses and releases to the level.
EditResult AppendChord(KeyMapController& controller, int key, int level, const std::string& chord);

}  // namespace tdxx
