// SPDX-License-Identifier: GPL-3.0-or-later
// The headless backend's clock, display, sound copies and event delivery.
#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "platform/headless/script_driver.h"

namespace platform {

namespace {

constexpr int16_t kKeyF12 = 123;

// Length in ms of a PCM wave file, from its format and data chunks.
uint32_t waveLengthMs(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    if (!f) throw std::runtime_error("cannot open " + file.string());
    char riff[12];
    if (!f.read(riff, 12) || std::string(riff, 4) != "RIFF" || std::string(riff + 8, 4) != "WAVE")
        throw std::runtime_error(file.string() + " is not a wave file");
    uint32_t byteRate = 0;
    for (;;) {
        char head[8];
        if (!f.read(head, 8)) throw std::runtime_error(file.string() + " has no sound data");
        const uint32_t size = static_cast<uint8_t>(head[4]) | static_cast<uint8_t>(head[5]) << 8 |
                              static_cast<uint8_t>(head[6]) << 16 |
                              static_cast<uint32_t>(static_cast<uint8_t>(head[7])) << 24;
        const std::string id(head, 4);
        if (id == "fmt ") {
            char fmt[16];
            if (size < 16 || !f.read(fmt, 16)) throw std::runtime_error(file.string() + " has a broken format");
            byteRate = static_cast<uint8_t>(fmt[8]) | static_cast<uint8_t>(fmt[9]) << 8 |
                       static_cast<uint8_t>(fmt[10]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(fmt[11])) << 24;
            f.seekg(size - 16 + (size & 1), std::ios::cur);
        } else if (id == "data") {
            if (byteRate == 0) throw std::runtime_error(file.string() + " has a broken format");
            return static_cast<uint32_t>(uint64_t{size} * 1000 / byteRate);
        } else {
            f.seekg(size + (size & 1), std::ios::cur);
        }
    }
}

// A copy that sounds in virtual time from its position to the end of its file, or round and
// round while looping. Stopped, it keeps its position and plays on from there; only a copy that
// ran to its end starts again from the beginning.
class HeadlessSoundBuffer : public SoundBuffer {
  public:
    HeadlessSoundBuffer(HeadlessPlatform& p, uint32_t lengthMs, int32_t slot, int32_t copy)
        : platform_(p), lengthMs_(lengthMs), slot_(slot), copy_(copy) {}
    int32_t GetStatus() override {
        if (!playing_) return 0;
        if (looping_) return kPlayingLooping;
        return position_ + elapsed() < lengthMs_ ? kPlaying : 0;
    }
    void SetPan(int32_t) override {}
    void Play(bool looping) override {
        settle();
        looping_ = looping;
        playing_ = true;
        platform_.LogSound(slot_, copy_, looping ? "loop" : "play");
    }
    void Stop() override {
        settle();
        playing_ = looping_ = false;
        platform_.LogSound(slot_, copy_, "stop");
    }

  private:
    uint64_t elapsed() const {
        return static_cast<uint64_t>(std::max<int32_t>(0, static_cast<int32_t>(platform_.GetTickCount() - start_)));
    }
    // Takes the position on to now and counts from here.
    void settle() {
        if (playing_) {
            const uint64_t at = position_ + elapsed();
            if (looping_)
                position_ = lengthMs_ == 0 ? 0 : at % lengthMs_;
            else
                position_ = at < lengthMs_ ? at : 0;
        }
        start_ = platform_.GetTickCount();
    }

    HeadlessPlatform& platform_;
    uint32_t lengthMs_;
    int32_t slot_, copy_;
    bool playing_ = false, looping_ = false;
    uint32_t start_ = 0;
    uint64_t position_ = 0;  // ms into the sound where the current or next play began
};

}  // namespace

HeadlessPlatform::HeadlessPlatform(uint32_t tickStart) : clock_(tickStart) {}
HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::GetCursorPos(int32_t& x, int32_t& y) {
    x = cursorX_;
    y = cursorY_;
}

void HeadlessPlatform::SetCursorPos(int32_t x, int32_t y) {
    cursorX_ = x;
    cursorY_ = y;
}

void HeadlessPlatform::AttachScript(std::unique_ptr<ScriptDriver> driver) { script_ = std::move(driver); }

void HeadlessPlatform::DoEvents() {
    // A loop that only pumps still moves the clock, so busy waits end.
    if (!flippedSincePump_) ++clock_;
    flippedSincePump_ = false;
    if (script_) script_->Advance(*this);
    if (pumpHook_) pumpHook_();
    while (!queue_.empty()) {
        QueuedEvent e = queue_.front();
        queue_.pop_front();
        if (e.kind == QueuedEvent::Kind::Barrier) break;
        deliver(e);
    }
}

void HeadlessPlatform::deliver(const QueuedEvent& e) {
    WindowEvents* h = events();
    if (!h) return;
    // A script may name any coordinates; the kept pointer stays a sane whole number.
    auto whole = [](float v) { return static_cast<int32_t>(std::clamp(v, -1.0e6f, 1.0e6f)); };
    using K = QueuedEvent::Kind;
    switch (e.kind) {
        case K::MouseMove:
            cursorX_ = whole(e.x);
            cursorY_ = whole(e.y);
            h->Form_MouseMove(0, 0, e.x, e.y);
            break;
        case K::MouseDown:
            cursorX_ = whole(e.x);
            cursorY_ = whole(e.y);
            h->Form_MouseDown(e.code, 0, e.x, e.y);
            break;
        case K::MouseUp:
            cursorX_ = whole(e.x);
            cursorY_ = whole(e.y);
            h->Form_MouseUp(e.code, 0, e.x, e.y);
            break;
        // F12 belongs to the surroundings, as on the desktop: a screenshot, never a game key.
        case K::KeyDown:
            if (e.code == kKeyF12)
                RequestScreenshot();
            else
                h->Form_KeyDown(e.code);
            break;
        case K::KeyUp:
            if (e.code != kKeyF12) h->Form_KeyUp(e.code);
            break;
        case K::KeyPress: h->Form_KeyPress(e.code); break;
        case K::FocusLost: h->Form_LostFocus(); break;
        case K::FocusGained: h->Form_GotFocus(); break;
        case K::Barrier: break;
    }
}

void HeadlessPlatform::MessageBox(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    messageBoxes_.push_back(text);
}

void HeadlessPlatform::InitDisplay() {
    if (displayFailure_) throw *displayFailure_;
    if (WindowEvents* h = events()) h->Form_Activate();
}

void HeadlessPlatform::Flip(const Surface& back) {
    OfferFrameForScreenshot(back);
    if (keepLastFrame_ || (script_ && script_->TakesScreenshots())) {
        if (!lastFrame_) lastFrame_ = std::make_unique<Surface>(back.width(), back.height());
        lastFrame_->BltFast(0, 0, back, Rect{0, 0, back.width(), back.height()}, false);
    }
    clock_ += frameMs_;
    ++frames_;
    flippedSincePump_ = true;
}

std::unique_ptr<SoundBuffer> HeadlessPlatform::CreateSoundBuffer(const std::filesystem::path& file, int32_t slot,
                                                                 int32_t copy) {
    return std::make_unique<HeadlessSoundBuffer>(*this, waveLengthMs(file), slot, copy);
}

}  // namespace platform
