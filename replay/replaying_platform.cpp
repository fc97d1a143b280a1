// SPDX-License-Identifier: GPL-3.0-or-later
// Answering the program from the record stream, and checking it asks in the recorded order.
#include "replay/replaying_platform.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "base/utf8_path.h"
#include "replay/error_numbers.h"
#include "replay/records.h"

namespace replay {

namespace {
constexpr uint8_t raw(Tag t) { return static_cast<uint8_t>(t); }
}  // namespace

// The recorded answers of the data directory; what the program writes is kept in memory.
class ReplayingPlatform::ReplayFiles : public base::FileSystem {
  public:
    explicit ReplayFiles(ReplayingPlatform& r) : r_(r) {}
    base::FileStart read_start(const std::filesystem::path& file, std::size_t) override {
        const uint8_t t = r_.in_.peek() == raw(Tag::FileReadSame) ? raw(Tag::FileReadSame) : raw(Tag::FileRead);
        r_.expect(t);
        if (t == raw(Tag::FileReadSame)) {
            const auto it = last_.find(base::Utf8FromPath(file));
            if (it == last_.end())
                r_.outOfSync("a repeated read of " + base::Utf8FromPath(file) + " that was never read");
            return it->second;
        }
        const auto record = GetFields<FileReadRecord>(r_.in_);
        base::FileStart got;
        got.status.error = record.error;
        if (record.errorNumber != 0)
            got.status.code = std::error_code(LocalErrorNumber(record.errorNumber), std::generic_category());
        got.size = record.size;
        got.bytes.assign(record.content.begin(), record.content.end());
        last_[base::Utf8FromPath(file)] = got;
        return got;
    }
    base::FileStatus replace(const std::filesystem::path& dir, const std::string& name,
                             std::span<const uint8_t> bytes) override {
        r_.expect(raw(Tag::FileWrite));
        const auto record = GetFields<FileWriteRecord>(r_.in_);
        base::FileStatus status;
        status.error = record.error;
        if (record.errorNumber != 0)
            status.code = std::error_code(LocalErrorNumber(record.errorNumber), std::generic_category());
        if (status.ok()) r_.written_.push_back({dir / base::PathFromUtf8(name), {bytes.begin(), bytes.end()}});
        return status;
    }
    std::filesystem::path link_target(const std::filesystem::path& file) override { return file; }
    bool takes_uploads(const std::filesystem::path&, const std::filesystem::path&) override {
        r_.expect(raw(Tag::DirectoryListing));
        return GetFields<DirectoryListingRecord>(r_.in_).value;
    }

  private:
    ReplayingPlatform& r_;
    std::map<std::string, base::FileStart> last_;
};

// A sound copy whose status comes from the recording.
class ReplayingPlatform::ReplaySoundBuffer : public platform::SoundBuffer {
  public:
    explicit ReplaySoundBuffer(ReplayingPlatform& r) : r_(r) {}
    int32_t GetStatus() override {
        r_.expect(raw(Tag::SoundStatus));
        return static_cast<int32_t>(GetFields<SoundStatusRecord>(r_.in_).value);
    }
    void SetPan(int32_t) override {}
    void Play(bool) override {}
    void Stop() override {}

  private:
    ReplayingPlatform& r_;
};

ReplayingPlatform::ReplayingPlatform(const ReplayFile& file)
    : in_(file.stream),
      files_(std::make_unique<ReplayFiles>(*this)),
      startTick_(file.header.startTick),
      lastTick_(file.header.startTick),
      lastHashTick_(file.header.startTick) {
    SetDirectories(base::PathFromUtf8(file.header.dataDir), base::PathFromUtf8(file.header.dataDir),
                   base::PathFromUtf8(file.header.soundDir));
}

ReplayingPlatform::~ReplayingPlatform() = default;

void ReplayingPlatform::outOfSync(const std::string& what) {
    throw ReplayStop{StopKind::OutOfSync, "out of sync at frame " + std::to_string(frames_) + " (recorded tick " +
                                              std::to_string(lastTick_) + "): " + what};
}

void ReplayingPlatform::finish() {
    const uint64_t want = GetFields<EndRecord>(in_).value;
    if (proof_ && want == 0)
        throw ReplayStop{StopKind::Unhashed, "the replay has no state hash at its end, so it proves nothing"};
    if (hash_ && want != 0 && hash_() != want) outOfSync("the state at the end differs from the recorded one");
    throw ReplayStop{StopKind::Ended, "the replay ran to its end in sync after " + std::to_string(frames_) + " frames"};
}

void ReplayingPlatform::FinishAtProgramEnd() {
    if (in_.atEnd() || in_.peek() != raw(Tag::End))
        outOfSync("the program ended where the recording goes on with " +
                  std::string(TagName(in_.atEnd() ? 0 : in_.peek())));
    in_.u8();
    finish();
}

void ReplayingPlatform::checkDeadline() {
    if (deadline_ && std::chrono::steady_clock::now() > *deadline_)
        throw ReplayStop{StopKind::TimedOut, "the re-simulation ran out of time at frame " + std::to_string(frames_)};
}

void ReplayingPlatform::expect(uint8_t want) {
    for (;;) {
        if (in_.atEnd()) throw ReplayStop{StopKind::Unreadable, "the replay is truncated (it has no end record)"};
        const uint8_t got = in_.u8();
        if (got == want) return;
        if (got == raw(Tag::Event)) {
            deliverEvent();
        } else if (got == raw(Tag::Set)) {
            applySet();
        } else if (got == raw(Tag::End)) {
            finish();
        } else {
            outOfSync(std::string("the program asks for ") + TagName(want) + " where the recording has " +
                      TagName(got));
        }
    }
}

void ReplayingPlatform::deliverEvent() {
    const auto e = GetFields<EventRecord>(in_);
    platform::WindowEvents* h = events();
    auto mouse = [&](void (platform::WindowEvents::*f)(int16_t, int16_t, float, float)) {
        if (h) (h->*f)(static_cast<int16_t>(e.code), static_cast<int16_t>(e.shift), e.x, e.y);
    };
    auto key = [&](void (platform::WindowEvents::*f)(int16_t)) {
        if (h) (h->*f)(static_cast<int16_t>(e.code));
    };
    switch (static_cast<EventKind>(e.kind)) {
        case EventKind::Activate:
            if (h) h->Form_Activate();
            break;
        case EventKind::GotFocus:
            if (h) h->Form_GotFocus();
            break;
        case EventKind::LostFocus:
            if (h) h->Form_LostFocus();
            break;
        case EventKind::KeyDown: key(&platform::WindowEvents::Form_KeyDown); break;
        case EventKind::KeyUp: key(&platform::WindowEvents::Form_KeyUp); break;
        case EventKind::KeyPress: key(&platform::WindowEvents::Form_KeyPress); break;
        case EventKind::MouseDown: mouse(&platform::WindowEvents::Form_MouseDown); break;
        case EventKind::MouseUp: mouse(&platform::WindowEvents::Form_MouseUp); break;
        case EventKind::MouseMove: mouse(&platform::WindowEvents::Form_MouseMove); break;
        default: break;  // the record's reader refuses unknown events
    }
}

void ReplayingPlatform::applySet() {
    const auto [field, value] = GetFields<SetRecord>(in_);
    if (proof_)
        throw ReplayStop{
            StopKind::DriverInput,
            "the replay writes " + field + " directly (a test driver's set line): it re-simulates, but proves nothing"};
    if (!state_) outOfSync("the recording writes " + field + " directly, which this run cannot");
    std::string name, error;
    std::vector<int> indices;
    if (!platform::ParseFieldPath(field, name, indices)) outOfSync("the recorded set line names no field: " + field);
    if (!state_->WriteField(name, indices, value, error)) outOfSync("the recorded set line fails: " + error);
}

std::vector<uint8_t> ReplayingPlatform::TakeSnapshot() {
    if (in_.atEnd() || in_.peek() != raw(Tag::Snapshot))
        throw ReplayStop{StopKind::Unreadable, "the replay is damaged (it begins at a START without the state there)"};
    in_.u8();
    const auto record = GetFields<SnapshotRecord>(in_);
    return {record.state.begin(), record.state.end()};
}

uint32_t ReplayingPlatform::GetTickCount() {
    expect(raw(Tag::Tick));
    lastTick_ += static_cast<uint32_t>(GetFields<TickRecord>(in_).value);
    return lastTick_;
}

void ReplayingPlatform::GetCursorPos(int32_t& x, int32_t& y) {
    expect(raw(Tag::Cursor));
    const auto moved = GetFields<CursorRecord>(in_);
    cursorX_ = static_cast<int32_t>(cursorX_ + moved.dx);
    cursorY_ = static_cast<int32_t>(cursorY_ + moved.dy);
    x = cursorX_;
    y = cursorY_;
}

void ReplayingPlatform::SetPointerMode(platform::PointerMode mode) {
    // A replay of one game ends where the next game starts, before that game changes anything.
    if (!in_.atEnd() && in_.peek() == raw(Tag::End)) {
        in_.u8();
        finish();
    }
    if (pointerObserver_) pointerObserver_(mode);
}

void ReplayingPlatform::DoEvents() {
    checkDeadline();
    expect(raw(Tag::PumpBegin));
    expect(raw(Tag::PumpEnd));
}

void ReplayingPlatform::InitDisplay() {
    expect(raw(Tag::DisplayBegin));
    expect(raw(Tag::DisplayEnd));
    const auto end = GetFields<DisplayEndRecord>(in_);
    if (end.failed) throw platform::DisplayError(end.exclusiveRefused, end.why);
}

bool ReplayingPlatform::TestCooperativeLevel() {
    expect(raw(Tag::Cooperative));
    return GetFields<CooperativeRecord>(in_).value;
}

void ReplayingPlatform::Flip(const platform::Surface&) {
    expect(raw(Tag::Flip));
    ++frames_;
    // The recording holds a hash after the first frame of every recorded second.
    const bool hashDue = static_cast<int32_t>(lastTick_ - lastHashTick_) >= 1000;
    if (!in_.atEnd() && in_.peek() == raw(Tag::Hash)) {
        in_.u8();
        lastHashTick_ = lastTick_;
        const uint64_t want = GetFields<HashRecord>(in_).value;
        if (hash_ && hash_() != want) outOfSync("the state differs from the recorded one");
    } else if (hashDue && proof_) {
        throw ReplayStop{StopKind::Unhashed, "the replay lacks the state hash of frame " + std::to_string(frames_) +
                                                 ", so it proves nothing"};
    }
    if (frameObserver_) frameObserver_();
    checkDeadline();
}

bool ReplayingPlatform::CreateSoundDevice() {
    expect(raw(Tag::SoundDevice));
    return GetFields<SoundDeviceRecord>(in_).value;
}

std::unique_ptr<platform::SoundBuffer> ReplayingPlatform::CreateSoundBuffer(const std::filesystem::path&, int32_t,
                                                                            int32_t) {
    expect(raw(Tag::SoundBuffer));
    const auto made = GetFields<SoundBufferRecord>(in_);
    if (made.failed) throw std::runtime_error(made.why);
    return std::make_unique<ReplaySoundBuffer>(*this);
}

base::FileSystem& ReplayingPlatform::Files() { return *files_; }

}  // namespace replay
