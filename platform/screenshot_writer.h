// SPDX-License-Identifier: GPL-3.0-or-later
// F12 screenshots: the frame is copied at the flip and written as a PNG by a worker thread, so
// the game never waits for the encoder.
#pragma once

#include <condition_variable>
#include <ctime>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/surface.h"

namespace platform {

class ScreenshotWriter {
  public:
    explicit ScreenshotWriter(std::filesystem::path dir) : dir_(std::move(dir)) {}
    // Writes every frame it was handed before it goes.
    ~ScreenshotWriter();
    ScreenshotWriter(const ScreenshotWriter&) = delete;
    ScreenshotWriter& operator=(const ScreenshotWriter&) = delete;

    void Request() { requested_ = true; }
    bool requested() const { return requested_; }
    // Called with every presented frame; takes a copy when a screenshot was asked for.
    void OnFlip(const Surface& frame);
    // Waits until every frame handed over so far is written.
    void Finish();

  private:
    void work();

    std::filesystem::path dir_;
    bool requested_ = false;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::unique_ptr<Surface>> queue_;
    bool busy_ = false, stopping_ = false;
    std::thread worker_;
};

// The first free name for a screenshot taken at local time `when`: vorlanix-YYYYMMDD-HHMMSS.png,
// then -2, -3, ... before the extension.
std::filesystem::path FreeScreenshotName(const std::filesystem::path& dir, const std::tm& when);

}  // namespace platform
