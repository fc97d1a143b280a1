// The proof: re-simulate without output, then compare the upload files the replay wrote.
#include "replay/prove.h"

#include <algorithm>

#include "replay/play_replay.h"
#include "score/upload_file.h"

namespace replay {

Proof ProveUpload(std::span<const uint8_t> replayFile, std::span<const uint8_t> uploadFile,
                  std::chrono::milliseconds timeLimit) {
    PlayOptions options;
    options.deadline = std::chrono::steady_clock::now() + timeLimit;
    options.proof = true;
    const ReplayOutcome outcome = PlayReplay(replayFile, options);
    switch (outcome.kind) {
        case StopKind::Ended: break;
        case StopKind::OutOfSync: return {Verdict::OutOfSync, "the replay goes " + outcome.message};
        case StopKind::Unreadable: return {Verdict::Unreadable, outcome.message};
        case StopKind::WrongVersion: return {Verdict::WrongVersion, outcome.message};
        case StopKind::TimedOut:
        case StopKind::Stopped: return {Verdict::TimedOut, outcome.message};
        case StopKind::DriverInput: return {Verdict::DriverInput, outcome.message};
        case StopKind::Unhashed: return {Verdict::Unhashed, outcome.message};
    }
    size_t uploads = 0;
    for (const WrittenFile& f : outcome.written) {
        if (f.path.extension() != ".qhs") continue;
        ++uploads;
        if (std::equal(f.bytes.begin(), f.bytes.end(), uploadFile.begin(), uploadFile.end()))
            return {Verdict::Proved, "the replay writes this upload file (" + f.path.filename().string() + ") after " +
                                         std::to_string(outcome.frames) + " frames in sync"};
    }
    if (uploads == 0) return {Verdict::NoUpload, "the replay writes no upload file"};
    if (uploadFile.size() != score::upload_file_size)
        return {Verdict::Mismatch, "the upload file has " + std::to_string(uploadFile.size()) + " bytes, not " +
                                       std::to_string(score::upload_file_size)};
    return {Verdict::Mismatch, "the replay writes " + std::to_string(uploads) +
                                   " upload file(s), none with exactly these bytes"};
}

}  // namespace replay
