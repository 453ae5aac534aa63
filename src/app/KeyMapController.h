#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "keymap/KeyMapDocument.h"
#include "keymap/ScanCodeTable.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// A key pressed or released on the computer's keyboard while recording, as Linux reports it.
struct RecordedKey {
  bool press = true;
  std::uint16_t evdev = 0;  // Linux input-event code (the toolkit's native scan code - 8)
};

// What closing the Key Map window should do.
enum class KeyMapCloseDecision {
  kClose,      // nothing unsaved
  kAskToSave,  // unsaved changes: ask (Save, Discard, Cancel) with CloseQuestion()
};

// The Key Map window without any toolkit: the loaded file's keys (or a new file's), selection,
// per-level edits with undo and redo, problems, and saving. The window shows what it says and
// forwards the person's actions; tests and the command line drive it the same way.
class KeyMapController {
 public:
  // `port` is the main window's: a saved file becomes its loaded file.
  KeyMapController(Application& app, MainWindowPort& port);

  // Opening. Each replaces what was shown, forgets undo and redo, and selects nothing.
  // The main window's loaded CKD file; false with the reason when none is loaded or it cannot
  // be read.
  bool OpenLoadedFile(std::string& error);
  bool OpenFile(const std::string& path, std::string& error);
  void NewFile(const NewFileModel& model);
  bool hasDocument() const { return document_.has_value(); }

  // What the window shows. Valid once a document is open.
  const KeyMapDocument& document() const { return *document_; }
  int keyCount() const;
  // Caps in key-number order: the keys up to the key count.
  int CapCount() const;
  KeyView Key(int key) const;
  std::vector<GlobalSettingView> GlobalSettings() const;
  const std::vector<KeyMapProblem>& Problems() const;
  std::vector<KeyMapProblem> ProblemsOfKey(int key) const;
  // "Key Map - keys.ckd" with a '*' when there are unsaved changes; "Key Map - new TD-B file".
  std::string Title() const;

  // Selection.
  void SelectKey(int key);
  std::optional<int> selectedKey() const { return selected_; }

  // Edits of a level (1 or 2) of a key. A refused edit changes nothing and says why; a taken one
  // can be undone.
  EditResult SetMode(int key, int level, int mode);
  EditResult SetAutoRepeat(int key, int level, bool on);
  EditResult SetKeyType(int key, int keyType);
  EditResult SetCodeText(int key, int level, const std::string& codeText);        // raw field
  EditResult SetEvents(int key, int level, const std::vector<KeyEvent>& events);  // chips
  EditResult SetChord(int key, int level, const std::string& chord);              // "Ctrl+C"
  EditResult SetTypedText(int key, int level, const std::string& text);           // "Type text..."
  // "Record": the keys in the order pressed and released; a repeated press of a held key and
  // the release of a key pressed before the recording are left out.
  EditResult SetRecorded(int key, int level, const std::vector<RecordedKey>& keys);
  // "Choose key...": appends the key's press and release.
  EditResult AppendChosenKey(int key, int level, const ScanCodeKey& chosen);
  EditResult Clear(int key, int level);
  EditResult SetGlobal(const std::string& name, const std::string& value);

  // Undo and redo of taken edits.
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  void Undo();
  void Redo();

  // Saving. Save writes the document's own file (a new file needs SaveAs first); SaveAs writes
  // `path` and makes it the document's file. A saved file becomes the main window's loaded file,
  // as Open File would load it, so that Download sends it.
  bool NeedsPathToSave() const;
  SaveOutcome Save();
  SaveOutcome SaveAs(const std::string& path);

  // Unsaved changes and closing.
  bool dirty() const;
  KeyMapCloseDecision CloseRequest() const;
  // "Save changes to keys.ckd before closing?"
  std::string CloseQuestion() const;

  // Every named key, for "Choose key...".
  static std::span<const ScanCodeKey> ChoosableKeys() { return AllScanCodeKeys(); }

 private:
  // Runs `edit` on a copy of the document and keeps the copy, undoably, when it was taken.
  EditResult Edit(const std::function<EditResult(KeyMapDocument&)>& edit);
  void LoadIntoMainWindow();

  Application& app_;
  MainWindowPort& port_;
  std::optional<KeyMapDocument> document_;
  std::string newModelName_;
  std::optional<int> selected_;
  std::vector<KeyMapValues> undo_;
  std::vector<KeyMapValues> redo_;
};

}  // namespace tdxx
