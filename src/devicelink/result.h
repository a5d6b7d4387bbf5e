// Result codes of every device operation. Callers compare with ResultOk only.
#pragma once

namespace tarnel {

enum DeviceResult : int {
    ResultOk = 1,
    ResultNoReply = 0,       // not connected (nothing sent), or no reply in 4 attempts
    ResultWriteFailed = -1,  // the request was not written within the write limit
    ResultStatusFF = -102,   // reply status 0xFF
    ResultStatusFE = -103,   // reply status 0xFE
    ResultBadProfile = -201  // per-profile transfer for a profile other than 0..2; nothing sent
};

}  // namespace tarnel
