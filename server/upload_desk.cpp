// A database failure is reported as such and never as a refusal of the file.
#include "server/upload_desk.h"

#include <cstdio>
#include <exception>

#include "platform/cp1252.h"
#include "server/upload_checks.h"

namespace bestenliste {

UploadDesk::UploadDesk(EntryStore& store, Clock now) : store_(store), now_(std::move(now)) {}

int64_t UploadDesk::system_milliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

UploadOutcome UploadDesk::take(std::span<const uint8_t> upload) {
    const CheckedUpload checked = check_upload_bytes(upload);
    if (checked.reason != Reason::Accepted) {
        return {checked.reason};
    }
    try {
        NewEntry entry;
        entry.upload = upload;
        entry.nickname = cp1252::to_utf8(checked.entry.FeldText[1]);
        entry.days = checked.entry.t;
        entry.uploaded_ms = now_();
        const auto id = store_.insert(entry);
        if (!id) {
            return {Reason::Duplicate};
        }
        UploadOutcome outcome{Reason::Accepted, false, *id, 0};
        if (const auto stored = store_.find(*id)) {
            outcome.rank = stored->rank;
        }
        return outcome;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorlanix-bestenliste: storing an upload failed: %s\n", error.what());
        return {Reason::StorageFailed};
    }
}

}  // namespace bestenliste
