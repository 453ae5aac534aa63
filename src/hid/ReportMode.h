#pragma once

namespace tdxx {

// 'U': 65-byte reports with up to 63 payload bytes (bootloaders);
// 'T': 9-byte reports with up to 7 payload bytes (devices in PRG/TMode).
enum class ReportMode : char { U = 'U', T = 'T' };

}  // namespace tdxx
