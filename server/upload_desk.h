// Taking one upload: the checks, then the database. The web form, the API and the import of
// mailed files all come through here, so they accept and refuse exactly alike.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

#include "server/entry_store.h"
#include "server/refusal.h"

namespace bestenliste {

struct UploadOutcome {
    Reason reason = Reason::Accepted;
    bool proved = false;
    int64_t id = 0;    // the stored entry, when accepted
    int64_t rank = 0;  // its place in the list right after it was stored
};

class UploadDesk {
public:
    using Clock = std::function<int64_t()>;  // milliseconds since 1970, UTC

    explicit UploadDesk(EntryStore& store, Clock now = system_milliseconds);

    // Stored and committed before this returns Accepted.
    UploadOutcome take(std::span<const uint8_t> upload);

    static int64_t system_milliseconds();

private:
    EntryStore& store_;
    Clock now_;
};

}  // namespace bestenliste
