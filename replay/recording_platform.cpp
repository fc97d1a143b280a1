// Writing the answers of the wrapped platform into the record stream as the program receives them.
#include "replay/recording_platform.h"

#include "base/utf8_path.h"
#include "replay/error_numbers.h"
#include "replay/records.h"

namespace replay {

namespace {
void tag(ByteWriter& out, Tag t) { out.u8(static_cast<uint8_t>(t)); }
}  // namespace

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
    void head(EventKind k) {
        tag(r_.out_, Tag::Event);
        r_.out_.u8(static_cast<uint8_t>(k));
    }
    void forward(EventKind k, void (WindowEvents::*f)()) {
        head(k);
        if (WindowEvents* h = r_.events()) (h->*f)();
    }
    void key(EventKind k, int16_t code, void (WindowEvents::*f)(int16_t)) {
        head(k);
        r_.out_.signedVarint(code);
        if (WindowEvents* h = r_.events()) (h->*f)(code);
    }
    void mouse(EventKind k, int16_t b, int16_t s, float x, float y,
               void (WindowEvents::*f)(int16_t, int16_t, float, float)) {
        head(k);
        r_.out_.signedVarint(b);
        r_.out_.signedVarint(s);
        r_.out_.f32(x);
        r_.out_.f32(y);
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
        ByteWriter answer;
        answer.signedVarint(PortableErrorNumber(got.status.code.value()));
        answer.text(got.status.error);
        answer.varint(got.size);
        answer.bytes(got.bytes);
        auto& last = lastRead_[base::Utf8FromPath(file)];
        if (last == answer.data()) {
            tag(r_.out_, Tag::FileReadSame);
        } else {
            tag(r_.out_, Tag::FileRead);
            r_.out_.data().insert(r_.out_.data().end(), answer.data().begin(), answer.data().end());
            last = answer.data();
        }
        return got;
    }
    base::FileStatus replace(const std::filesystem::path& dir, const std::string& name,
                              std::span<const uint8_t> bytes) override {
        base::FileStatus status = inner_.replace(dir, name, bytes);
        tag(r_.out_, Tag::FileWrite);
        r_.out_.signedVarint(PortableErrorNumber(status.code.value()));
        r_.out_.text(status.error);
        return status;
    }
    void Forget() { lastRead_.clear(); }
    // Where the list is saved to does not change what the program does next, so it is not kept.
    std::filesystem::path link_target(const std::filesystem::path& file) override { return inner_.link_target(file); }
    bool takes_uploads(const std::filesystem::path& upload, const std::filesystem::path& dataDir) override {
        const bool holds = inner_.takes_uploads(upload, dataDir);
        tag(r_.out_, Tag::DirectoryListing);
        r_.out_.u8(holds);
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
        tag(r_.out_, Tag::SoundStatus);
        r_.out_.signedVarint(status);
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
    files_->Forget();
    frames_ = 0;
    startTick_ = lastHashTick_ = lastTick_;
    cursorX_ = cursorY_ = 0;
    tag(out_, Tag::Snapshot);
    out_.bytes(snapshot);
    for (int k = 0; k < soundCopies; ++k) {
        tag(out_, Tag::SoundBuffer);
        out_.u8(0);
    }
}

void RecordingPlatform::SetPointerMode(platform::PointerMode mode) {
    if (pointerObserver_) pointerObserver_(mode);
    inner_.SetPointerMode(mode);
}

void RecordingPlatform::RecordSet(const std::string& field, const std::string& value) {
    tag(out_, Tag::Set);
    out_.text(field);
    out_.text(value);
}

uint32_t RecordingPlatform::GetTickCount() {
    const uint32_t now = inner_.GetTickCount();
    if (!ticked_) {
        ticked_ = true;
        startTick_ = lastTick_ = lastHashTick_ = now;
    }
    tag(out_, Tag::Tick);
    out_.signedVarint(static_cast<int32_t>(now - lastTick_));
    lastTick_ = now;
    return now;
}

void RecordingPlatform::GetCursorPos(int32_t& x, int32_t& y) {
    inner_.GetCursorPos(x, y);
    tag(out_, Tag::Cursor);
    out_.signedVarint(int64_t{x} - cursorX_);
    out_.signedVarint(int64_t{y} - cursorY_);
    cursorX_ = x;
    cursorY_ = y;
}

void RecordingPlatform::DoEvents() {
    tag(out_, Tag::PumpBegin);
    inner_.DoEvents();
    tag(out_, Tag::PumpEnd);
}

void RecordingPlatform::InitDisplay() {
    tag(out_, Tag::DisplayBegin);
    try {
        inner_.InitDisplay();
    } catch (const platform::DisplayError& e) {
        tag(out_, Tag::DisplayEnd);
        out_.u8(1);
        out_.u8(e.exclusiveRefused);
        out_.text(e.what());
        throw;
    }
    tag(out_, Tag::DisplayEnd);
    out_.u8(0);
}

bool RecordingPlatform::TestCooperativeLevel() {
    const bool held = inner_.TestCooperativeLevel();
    tag(out_, Tag::Cooperative);
    out_.u8(held);
    return held;
}

void RecordingPlatform::Flip(const platform::Surface& back) {
    inner_.Flip(back);
    tag(out_, Tag::Flip);
    ++frames_;
    if (hash_ && static_cast<int32_t>(lastTick_ - lastHashTick_) >= 1000) {
        lastHashTick_ = lastTick_;
        tag(out_, Tag::Hash);
        out_.fixed(hash_(), 8);
    }
}

bool RecordingPlatform::CreateSoundDevice() {
    const bool present = inner_.CreateSoundDevice();
    tag(out_, Tag::SoundDevice);
    out_.u8(present);
    return present;
}

std::unique_ptr<platform::SoundBuffer> RecordingPlatform::CreateSoundBuffer(const std::filesystem::path& file,
                                                                           int32_t slot, int32_t copy) {
    std::unique_ptr<platform::SoundBuffer> buffer;
    try {
        buffer = inner_.CreateSoundBuffer(file, slot, copy);
    } catch (const std::runtime_error& e) {
        tag(out_, Tag::SoundBuffer);
        out_.u8(1);
        out_.text(e.what());
        throw;
    }
    tag(out_, Tag::SoundBuffer);
    out_.u8(0);
    return std::make_unique<RecordingSoundBuffer>(*this, std::move(buffer));
}

base::FileSystem& RecordingPlatform::Files() { return *files_; }

std::vector<uint8_t> RecordingPlatform::Finish(Header header) {
    ByteWriter end;
    tag(end, Tag::End);
    end.fixed(hash_ ? hash_() : 0, 8);
    header.startTick = startTick_;
    header.dataDir = base::Utf8FromPath(DataDirectory());
    header.soundDir = base::Utf8FromPath(SoundDirectory());
    header.assetDir = base::Utf8FromPath(AssetDirectory());
    std::vector<uint8_t> stream = out_.data();
    stream.insert(stream.end(), end.data().begin(), end.data().end());
    return EncodeReplay(header, stream);
}

}  // namespace replay
