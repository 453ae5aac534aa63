#include "protocol/ModelSuffix.h"

#include <cstddef>

namespace tdxx {
namespace {

// One row of a suffix table: the report bytes from `first` on must equal `bytes`.
struct SuffixRow {
  std::size_t first;
  std::string_view bytes;
  std::string_view suffix;
  bool model947;
};

// Rows are tried in order; the first that matches wins.
constexpr SuffixRow kBootloaderRows[] = {
    {4, "-Av", " (Model TD-A).", false},  {4, "-Bv", " (Model TD-B).", false},
    {4, "-As", " (Model TDS-A).", false}, {4, "-Bs", " (Model TDS-B).", false},
    {2, "WK-C", " (Model WK-C).", false}, {3, "947", " (Model 947).", true},
};

constexpr SuffixRow kPrgTModeRows[] = {
    {2, "TD-A", " (Model TD-A).", false},
    {2, "TD-B", " (Model TD-B).", false},
    {2, "WK-C", " (Model WK-C).", false},
};

constexpr std::string_view kNoModel = ".";

template <std::size_t N>
bool Matches(const std::array<std::uint8_t, N>& report, const SuffixRow& row) {
  if (row.first + row.bytes.size() > N)
    return false;
  for (std::size_t i = 0; i < row.bytes.size(); ++i) {
    if (report[row.first + i] != static_cast<std::uint8_t>(row.bytes[i]))
      return false;
  }
  return true;
}

}  // namespace

ModelSuffix BootloaderModelSuffix(const std::array<std::uint8_t, 9>& report) {
  for (const SuffixRow& row : kBootloaderRows) {
    if (Matches(report, row))
      return ModelSuffix{row.suffix, row.model947};
  }
  return ModelSuffix{kNoModel, false};
}

std::string_view Bootloader917Suffix(const std::array<std::uint8_t, 9>& report) {
  return report[7] == '1' && report[8] == '7' ? ".00." : kNoModel;
}

std::string_view PrgTModeModelSuffix(const std::array<std::uint8_t, 6>& report) {
  for (const SuffixRow& row : kPrgTModeRows) {
    if (Matches(report, row))
      return row.suffix;
  }
  return kNoModel;
}

}  // namespace tdxx
