// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the answers of the wrapped platform into the record stream as the program receives them.
#include "replay/recording_platform.h"

#include <utility>

#include "base/utf8_path.h"
#include "replay/error_numbers.h"
#include "replay/records.h"

namespace replay {

template <typename R>
void RecordingPlatform::put(R record) {
    if (nextAnswer_ && !cut_) std::exchange(nextAnswer_, nullptr)();
    if (cutWhen_ && !cut_ && cutWhen_(R::tag)) {
        PutRecord(out_, EndRecord{hash_ ? hash_() : 0});
        cut_ = true;
    }
    if (!cut_) PutRecord(out_, std::move(record));
}

// Stands between the wrapped platform and the program's window events, writing each one down.
class RecordingPlatform::Forwarder : public platform::WindowEvents {
  public:
    explicit Forwarder(RecordingPlatform& r) : r_(r) {}
    void Form_Activate() override { forward(EventKind::Activate, &WindowEvents::Form_Activate); }
    void Form_GotFocus() override { forward(EventKind::GotFocus, &WindowEvents::Form_GotFocus); }
    void Form_LostFocus() override { forward(EventKind::LostFocus, &WindowEvents::Form_LostFocus); }
    void Form_KeyDown(int16_t k) override { key(EventKind::KeyDown, k, &WindowEvents::Form_KeyDown); }
    void Form_KeyUp(int16_t k) override { key(EventKind::KeyUp, k, &WindowEvents::Form_KeyUp); }
    void Form_KeyPress(int16_t c) override { key(EventKind::KeyPress, c, &WindowEvents::Form_KeyPress); }
    void Form_MouseDown(int16_t b, int16_t s, float x, float y) override {
        mouse(EventKind::MouseDown, b, s, x, y, &WindowEvents::Form_MouseDown);
    }
    void Form_MouseUp(int16_t b, int16_t s, float x, float y) override {
        mouse(EventKind::MouseUp, b, s, x, y, &WindowEvents::Form_MouseUp);
    }
    void Form_MouseMove(int16_t b, int16_t s, float x, float y) override {
        mouse(EventKind::MouseMove, b, s, x, y, &WindowEvents::Form_MouseMove);
    }

  private:
    bool dropped(EventKind k, int64_t code) const { return r_.drop_ && r_.drop_(static_cast<uint8_t>(k), code); }
    void forward(EventKind k, void (WindowEvents::*f)()) {
        if (dropped(k, 0)) return;
        r_.put(EventRecord{static_cast<uint8_t>(k)});
        if (WindowEvents* h = r_.events()) (h->*f)();
    }
    void key(EventKind k, int16_t code, void (WindowEvents::*f)(int16_t)) {
        if (dropped(k, code)) return;
        r_.put(EventRecord{static_cast<uint8_t>(k), code});
        if (WindowEvents* h = r_.events()) (h->*f)(code);
    }
    void mouse(EventKind k, int16_t b, int16_t s, float x, float y,
               void (WindowEvents::*f)(int16_t, int16_t, float, float)) {
        if (dropped(k, b)) return;
        r_.put(EventRecord{static_cast<uint8_t>(k), b, s, x, y});
        if (WindowEvents* h = r_.events()) (h->*f)(b, s, x, y);
    }
    RecordingPlatform& r_;
};

// The data directory's files: read and written on the wrapped platform's disk, every answer kept.
// A file the program reads again and again is stored once per change of its content.
class RecordingPlatform::RecordingFiles : public base::FileSystem {
  public:
    RecordingFiles(RecordingPlatform& r, base::FileSystem& inner) : r_(r), inner_(inner) {}
    base::FileStart read_start(const std::filesystem::path& file, std::size_t limit) override {
        base::FileStart got = inner_.read_start(file, limit);
        const FileReadRecord record{PortableErrorNumber(got.status.code.value()), got.status.error, got.size,
                                    got.bytes};
        ByteWriter answer;
        PutRecord(answer, record);
        auto& last = lastRead_[base::Utf8FromPath(file)];
        if (last == answer.data()) {
            r_.put(FileReadSameRecord{});
        } else {
            r_.put(record);
            last = answer.data();
        }
        return got;
    }
    base::FileStatus replace(const std::filesystem::path& dir, const std::string& name,
                             std::span<const uint8_t> bytes) override {
        base::FileStatus status = inner_.replace(dir, name, bytes);
        r_.put(FileWriteRecord{PortableErrorNumber(status.code.value()), status.error});
        if (r_.fileWritten_) r_.fileWritten_();
        return status;
    }
    void Forget() { lastRead_.clear(); }
    // Where the list is saved to does not change what the program does next, so it is not kept.
    std::filesystem::path link_target(const std::filesystem::path& file) override { return inner_.link_target(file); }
    bool takes_uploads(const std::filesystem::path& upload, const std::filesystem::path& dataDir) override {
        const bool holds = inner_.takes_uploads(upload, dataDir);
        r_.put(DirectoryListingRecord{holds});
        return holds;
    }

  private:
    RecordingPlatform& r_;
    base::FileSystem& inner_;
    std::map<std::string, std::vector<uint8_t>> lastRead_;
};

class RecordingPlatform::RecordingSoundBuffer : public platform::SoundBuffer {
  public:
    RecordingSoundBuffer(RecordingPlatform& r, std::unique_ptr<platform::SoundBuffer> inner)
        : r_(r), inner_(std::move(inner)) {}
    int32_t GetStatus() override {
        const int32_t status = inner_->GetStatus();
        r_.put(SoundStatusRecord{status});
        return status;
    }
    void SetPan(int32_t pan) override { inner_->SetPan(pan); }
    void Play(bool looping) override { inner_->Play(looping); }
    void Stop() override { inner_->Stop(); }

  private:
    RecordingPlatform& r_;
    std::unique_ptr<platform::SoundBuffer> inner_;
};

RecordingPlatform::RecordingPlatform(platform::Platform& inner)
    : inner_(inner),
      forwarder_(std::make_unique<Forwarder>(*this)),
      files_(std::make_unique<RecordingFiles>(*this, inner.Files())) {
    inner_.SetEventHandler(forwarder_.get());
}

RecordingPlatform::~RecordingPlatform() { inner_.SetEventHandler(nullptr); }

void RecordingPlatform::BeginAtStart(std::vector<uint8_t> snapshot, int soundCopies) {
    out_.data().clear();
    cut_ = false;
    files_->Forget();
    frames_ = 0;
    startTick_ = lastHashTick_ = lastTick_;
    cursorX_ = cursorY_ = 0;
    put(SnapshotRecord{snapshot});
    for (int k = 0; k < soundCopies; ++k) put(SoundBufferRecord{});
}

void RecordingPlatform::SetPointerMode(platform::PointerMode mode) {
    if (pointerObserver_) pointerObserver_(mode);
    inner_.SetPointerMode(mode);
}

void RecordingPlatform::RecordSet(const std::string& field, const std::string& value) { put(SetRecord{field, value}); }

uint32_t RecordingPlatform::GetTickCount() {
    const uint32_t now = inner_.GetTickCount();
    if (!ticked_) {
        ticked_ = true;
        startTick_ = lastTick_ = lastHashTick_ = now;
    }
    put(TickRecord{static_cast<int32_t>(now - lastTick_)});
    lastTick_ = now;
    return now;
}

void RecordingPlatform::GetCursorPos(int32_t& x, int32_t& y) {
    inner_.GetCursorPos(x, y);
    put(CursorRecord{int64_t{x} - cursorX_, int64_t{y} - cursorY_});
    cursorX_ = x;
    cursorY_ = y;
}

void RecordingPlatform::DoEvents() {
    put(PumpBeginRecord{});
    inner_.DoEvents();
    put(PumpEndRecord{});
}

void RecordingPlatform::InitDisplay() {
    put(DisplayBeginRecord{});
    try {
        inner_.InitDisplay();
    } catch (const platform::DisplayError& e) {
        put(DisplayEndRecord{true, e.exclusiveRefused, e.what()});
        throw;
    }
    put(DisplayEndRecord{});
}

bool RecordingPlatform::TestCooperativeLevel() {
    const bool held = inner_.TestCooperativeLevel();
    put(CooperativeRecord{held});
    return held;
}

void RecordingPlatform::Flip(const platform::Surface& back) {
    inner_.Flip(back);
    put(FlipRecord{});
    ++frames_;
    if (hash_ && !cut_ && static_cast<int32_t>(lastTick_ - lastHashTick_) >= 1000) {
        lastHashTick_ = lastTick_;
        put(HashRecord{hash_()});
    }
}

bool RecordingPlatform::CreateSoundDevice() {
    const bool present = inner_.CreateSoundDevice();
    put(SoundDeviceRecord{present});
    return present;
}

std::unique_ptr<platform::SoundBuffer> RecordingPlatform::CreateSoundBuffer(const std::filesystem::path& file,
                                                                            int32_t slot, int32_t copy) {
    std::unique_ptr<platform::SoundBuffer> buffer;
    try {
        buffer = inner_.CreateSoundBuffer(file, slot, copy);
    } catch (const std::runtime_error& e) {
        put(SoundBufferRecord{true, e.what()});
        throw;
    }
    put(SoundBufferRecord{});
    return std::make_unique<RecordingSoundBuffer>(*this, std::move(buffer));
}

base::FileSystem& RecordingPlatform::Files() { return *files_; }

std::vector<uint8_t> RecordingPlatform::Finish(Header header) {
    ByteWriter end;
    if (!cut_) PutRecord(end, EndRecord{hash_ ? hash_() : 0});
    header.startTick = startTick_;
    header.dataDir = base::Utf8FromPath(DataDirectory());
    header.soundDir = base::Utf8FromPath(SoundDirectory());
    header.assetDir = base::Utf8FromPath(AssetDirectory());
    std::vector<uint8_t> stream = out_.data();
    stream.insert(stream.end(), end.data().begin(), end.data().end());
    return EncodeReplay(header, stream);
}

}  // namespace replay
