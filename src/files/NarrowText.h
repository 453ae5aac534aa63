#pragma once

#include <string>
#include <string_view>

namespace tdxx {

// Narrow texts (log lines, panel texts, device replies) are UTF-8 on Linux, but device replies
// and file headers can hold any byte. For display, every well-formed UTF-8 sequence is kept and
// every byte that is not part of one stands for its Latin-1 character. The result is valid UTF-8.
std::string NarrowToDisplayUtf8(std::string_view narrow);

}  // namespace tdxx
