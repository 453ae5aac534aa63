#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/KeyDefinitionDiagnostics.h"
#include "files/KeyTable.h"
#include "keymap/KeyEvents.h"
#include "keymap/KeyMapProblems.h"
#include "keymap/KeyMapValues.h"
#include "keymap/NewKeyMapFile.h"

namespace tdxx {

// An edit taken, or refused with the reason a person reads.
struct EditResult {
  bool ok = true;
  std::string reason;
  static EditResult Refused(std::string why) { return {false, std::move(why)}; }
};

// One level as a person sees it, with what the keypad gets.
struct LevelView {
  int level = 1;
  std::int32_t mode = 0;
  bool autoRepeat = false;
  std::string codeText;  // as the file holds it
  std::vector<KeyEvent> events;
  std::string summary;
  std::uint8_t flags = 0;               // the flag byte the keypad gets
  std::uint8_t sentLength = 0;          // the length byte the keypad gets
  std::vector<std::uint8_t> sentCodes;  // the bytes sent after the length byte
  int room = 0;                         // how many codes the level can hold as the key stands
  std::vector<std::string> problems;
};

struct KeyView {
  int key = 0;
  std::int32_t keyType = 0;
  bool sent = false;  // within the key count: a download sends it
  LevelView levels[2];
  bool hasProblem = false;
};

// The names of the bits of a level's flag byte: "HasCodes|SingleCode", or "-" for none.
std::string FlagBitNames(std::uint8_t flags);

// A global setting by name, with the value the keypad gets.
struct GlobalSettingView {
  std::string name;
  std::string text;                  // as the file holds it, or the default when missing
  std::int32_t value = 0;            // as the reader takes it
  std::optional<std::uint8_t> sent;  // the byte of the global block; none for Number_Of_Keys
                                     // and Model_Number, which decide the key count
  bool inFile = false;
};

// A CKD file being looked at and edited: the file's bytes as read, its values as they stand
// after the edits, and the images the reader makes of them. The images and problems always come
// from running the reader on the bytes a save would write.
class KeyMapDocument {
 public:
  // Reads a file; nothing, with the reason in `error`, when it cannot be read as key definitions.
  static std::optional<KeyMapDocument> Open(const std::string& path, std::string& error);
  // A new file for a model; it has no path until saved.
  static KeyMapDocument New(const NewFileModel& model);

  const std::string& path() const { return path_; }
  const KeyMapValues& values() const { return values_; }
  const KeyMapValues& savedValues() const { return savedValues_; }
  bool modified() const { return values_ != savedValues_; }
  bool isNew() const { return path_.empty(); }

  // The images, the key count and the reader's file-type line for the current values.
  const KeyTable& table() const { return *table_; }
  const GlobalParameterBlock& block() const { return block_; }
  const KeyDefinitionDiagnostics& diagnostics() const { return *diagnostics_; }
  int keyCount() const { return keyCount_; }
  const std::string& typeLine() const { return typeLine_; }
  const std::vector<KeyMapProblem>& problems() const { return problems_; }

  KeyView Key(int key) const;
  LevelView Level(int key, int level) const;
  std::vector<GlobalSettingView> GlobalSettings() const;

  // Replaces all values (undo and redo, and the edits below); the images follow.
  void SetValues(const KeyMapValues& values);

  // Edits; each refuses what the keypad could not hold or the file could not say.
  EditResult SetCodeText(int key, int level, const std::string& codeText);
  EditResult SetMode(int key, int level, int mode);
  EditResult SetAutoRepeat(int key, int level, bool on);
  EditResult SetKeyType(int key, int keyType);
  // By name (case ignored); integer values except Model_Number.
  EditResult SetGlobal(const std::string& name, const std::string& value);

  // The bytes a save writes: the file as read with only the changed values rewritten.
  std::string BytesToSave() const;
  // After a save to `path` that wrote `bytes`: they are the file now.
  void MarkSaved(const std::string& path, const std::string& bytes);

  // Why a code text cannot be set on a level (too many codes for its room, or level 1 would
  // lose room it uses); nothing when it can.
  std::optional<std::string> LevelTextRefusal(int key, int level,
                                              const std::string& codeText) const;

 private:
  KeyMapDocument();
  void Refresh();

  std::string path_;
  std::string fileBytes_;  // as read or last saved; the template for a new file
  KeyMapValues savedValues_;
  KeyMapValues values_;
  std::shared_ptr<KeyTable> table_;  // large: kept off the stack, shared by copies until changed
  GlobalParameterBlock block_{};
  std::shared_ptr<KeyDefinitionDiagnostics> diagnostics_;
  int keyCount_ = 0;
  std::string typeLine_;
  std::vector<KeyMapProblem> problems_;
};

// Saves safely (a temporary file in the same folder, synced, renamed over the old one) and reads
// the saved file back with the reader: the save counts only when the images equal those the
// document showed.
struct SaveOutcome {
  bool saved = false;
  std::string message;  // why it failed
};
SaveOutcome SaveKeyMapDocument(KeyMapDocument& document, const std::string& path);

}  // namespace tdxx
