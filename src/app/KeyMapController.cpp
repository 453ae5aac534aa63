#include "app/KeyMapController.h"

#include <set>

#include "app/KeyDefinitionLoad.h"
#include "app/MainWindowState.h"
#include "keymap/KeyCodeTextInput.h"

namespace tdxx {
namespace {

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

KeyMapController::KeyMapController(Application& app, MainWindowPort& port)
    : app_(app), port_(port) {}

bool KeyMapController::OpenLoadedFile(std::string& error) {
  const MainWindowState& state = app_.state;
  if (state.loadedFileType != kFileCkd || state.keyCount == 0 || state.dataFileName.empty()) {
    error = "No key-definition file is loaded. Open one with Open File, or make a new file.";
    return false;
  }
  return OpenFile(state.dataFileName, error);
}

bool KeyMapController::OpenFile(const std::string& path, std::string& error) {
  std::optional<KeyMapDocument> document = KeyMapDocument::Open(path, error);
  if (!document) {
    return false;
  }
  document_ = std::move(document);
  newModelName_.clear();
  selected_.reset();
  undo_.clear();
  redo_.clear();
  return true;
}

void KeyMapController::NewFile(const NewFileModel& model) {
  document_ = KeyMapDocument::New(model);
  newModelName_ = std::string(model.name);
  selected_.reset();
  undo_.clear();
  redo_.clear();
}

int KeyMapController::keyCount() const {
  return document_ ? document_->keyCount() : 0;
}

int KeyMapController::CapCount() const {
  return keyCount();
}

KeyView KeyMapController::Key(int key) const {
  return document_ ? document_->Key(key) : KeyView{};
}

std::vector<GlobalSettingView> KeyMapController::GlobalSettings() const {
  return document_ ? document_->GlobalSettings() : std::vector<GlobalSettingView>{};
}

const std::vector<KeyMapProblem>& KeyMapController::Problems() const {
  static const std::vector<KeyMapProblem> kNone;
  return document_ ? document_->problems() : kNone;
}

std::vector<KeyMapProblem> KeyMapController::ProblemsOfKey(int key) const {
  std::vector<KeyMapProblem> problems;
  for (const KeyMapProblem& problem : Problems()) {
    if (problem.key == key)
      problems.push_back(problem);
  }
  return problems;
}

std::string KeyMapController::Title() const {
  if (!document_) {
    return "Key Map";
  }
  const std::string name =
      document_->isNew() ? "new " + newModelName_ + " file" : FileName(document_->path());
  return "Key Map - " + name + (dirty() ? " *" : "");
}

void KeyMapController::SelectKey(int key) {
  if (document_ && key >= 0 && key < static_cast<int>(kKeyTableSize)) {
    selected_ = key;
  }
}

EditResult KeyMapController::Edit(const std::function<EditResult(KeyMapDocument&)>& edit) {
  if (!document_) {
    return EditResult::Refused("no key-definition file is open");
  }
  KeyMapDocument edited = *document_;
  const EditResult result = edit(edited);
  if (!result.ok || edited.values() == document_->values()) {
    return result;
  }
  undo_.push_back(document_->values());
  redo_.clear();
  document_ = edited;
  return result;
}

EditResult KeyMapController::SetMode(int key, int level, int mode) {
  return Edit([&](KeyMapDocument& document) { return document.SetMode(key, level, mode); });
}

EditResult KeyMapController::SetAutoRepeat(int key, int level, bool on) {
  return Edit([&](KeyMapDocument& document) { return document.SetAutoRepeat(key, level, on); });
}

EditResult KeyMapController::SetKeyType(int key, int keyType) {
  return Edit([&](KeyMapDocument& document) { return document.SetKeyType(key, keyType); });
}

EditResult KeyMapController::SetCodeText(int key, int level, const std::string& codeText) {
  const CodeTextResult codes = CodeTextForRawCodes(codeText);
  if (!codes.ok)
    return EditResult::Refused(codes.error);
  return Edit(
      [&](KeyMapDocument& document) { return document.SetCodeText(key, level, codes.codeText); });
}

EditResult KeyMapController::SetEvents(int key, int level, const std::vector<KeyEvent>& events) {
  return SetCodeText(key, level, CodeTextFromEvents(events));
}

EditResult KeyMapController::SetChord(int key, int level, const std::string& chord) {
  const CodeTextResult codes = CodeTextForChord(chord);
  if (!codes.ok)
    return EditResult::Refused(codes.error);
  return SetCodeText(key, level, codes.codeText);
}

EditResult KeyMapController::SetTypedText(int key, int level, const std::string& text) {
  const CodeTextResult codes = CodeTextForTypedText(text);
  if (!codes.ok)
    return EditResult::Refused(codes.error);
  return SetCodeText(key, level, codes.codeText);
}

EditResult KeyMapController::SetRecorded(int key, int level, const std::vector<RecordedKey>& keys) {
  std::vector<KeyEvent> events;
  std::set<std::uint16_t> down;
  for (const RecordedKey& recorded : keys) {
    // The keyboard's own repeat presses a held key again, and a key held before the recording
    // began is released in it: neither is part of what was typed.
    if (recorded.press ? !down.insert(recorded.evdev).second : down.erase(recorded.evdev) == 0)
      continue;
    const ScanCodeKey* scanKey = FindKeyByEvdev(recorded.evdev);
    if (scanKey == nullptr) {
      return EditResult::Refused("the key with Linux key code " + std::to_string(recorded.evdev) +
                                 " has no scan code in set 2");
    }
    if (scanKey->name == "Pause") {
      if (recorded.press)
        events.push_back(PressAndRelease(*scanKey).front());
      continue;  // Pause sends no release
    }
    events.push_back({recorded.press ? KeyAction::kPress : KeyAction::kRelease, scanKey->extended,
                      scanKey->code, scanKey});
  }
  return SetEvents(key, level, events);
}

EditResult KeyMapController::AppendChosenKey(int key, int level, const ScanCodeKey& chosen) {
  if (!document_)
    return EditResult::Refused("no key-definition file is open");
  std::vector<KeyEvent> events = document_->Level(key, level).events;
  for (const KeyEvent& event : PressAndRelease(chosen))
    events.push_back(event);
  return SetEvents(key, level, events);
}

EditResult KeyMapController::Clear(int key, int level) {
  return Edit([&](KeyMapDocument& document) { return document.SetCodeText(key, level, ""); });
}

EditResult KeyMapController::SetGlobal(const std::string& name, const std::string& value) {
  return Edit([&](KeyMapDocument& document) { return document.SetGlobal(name, value); });
}

void KeyMapController::Undo() {
  if (!document_ || undo_.empty())
    return;
  redo_.push_back(document_->values());
  document_->SetValues(undo_.back());
  undo_.pop_back();
}

void KeyMapController::Redo() {
  if (!document_ || redo_.empty())
    return;
  undo_.push_back(document_->values());
  document_->SetValues(redo_.back());
  redo_.pop_back();
}

bool KeyMapController::NeedsPathToSave() const {
  return document_ && document_->isNew();
}

SaveOutcome KeyMapController::Save() {
  if (!document_)
    return {false, "No key-definition file is open."};
  if (document_->isNew())
    return {false, "A new file needs a name: use Save As."};
  return SaveAs(document_->path());
}

SaveOutcome KeyMapController::SaveAs(const std::string& path) {
  if (!document_)
    return {false, "No key-definition file is open."};
  SaveOutcome outcome = SaveKeyMapDocument(*document_, path);
  if (outcome.saved) {
    newModelName_.clear();
    LoadIntoMainWindow();
  }
  return outcome;
}

void KeyMapController::LoadIntoMainWindow() {
  // As Open File loads a CKD file: the file panel, the reader's own lines, the outcome line and
  // the warning line; Download then sends what was saved.
  MainWindowState& state = app_.state;
  const std::string& path = document_->path();
  state.loadedFileType = kFileCkd;
  state.dataFileName = path;
  port_.SetFileNameText(path);
  port_.SetFileTypeText("Tasterdeck Key Definitions (.CKD)");
  LoadKeyDefinitionsAsOpened(app_, port_, path, true);
}

bool KeyMapController::dirty() const {
  return document_ && document_->modified();
}

KeyMapCloseDecision KeyMapController::CloseRequest() const {
  return dirty() ? KeyMapCloseDecision::kAskToSave : KeyMapCloseDecision::kClose;
}

std::string KeyMapController::CloseQuestion() const {
  if (!document_)
    return {};
  const std::string name =
      document_->isNew() ? "the new " + newModelName_ + " file" : FileName(document_->path());
  return "Save changes to " + name + " before closing?";
}

}  // namespace tdxx
