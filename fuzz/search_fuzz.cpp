// SPDX-License-Identifier: GPL-3.0-or-later
// The world list's search text: whatever a visitor types (up to the 40 bytes the page takes), the
// index finds exactly what reading every nickname finds, in both lists. On SQLite in a scratch
// directory; with VORLANIX_FUZZ_POSTGRESQL (an empty database's postgresql:// address) on that
// database too.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/search_check.h"

namespace {

struct Lists {
    Lists() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorlanix-search-fuzz-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        stores.push_back(std::make_unique<bestenliste::EntryStore>("", dir, 1));
        if (const char* postgresql = std::getenv("VORLANIX_FUZZ_POSTGRESQL")) {
            stores.push_back(std::make_unique<bestenliste::EntryStore>(postgresql, dir, 1));
        }
        for (auto& store : stores) search_check::fill(*store);
    }
    ~Lists() {
        stores.clear();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::filesystem::path dir;
    std::vector<std::unique_ptr<bestenliste::EntryStore>> stores;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Lists lists;
    // The page takes at most 40 bytes of the search, and an empty one is no search.
    const std::string text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 40));
    if (text.empty()) return 0;
    for (auto& store : lists.stores) {
        const std::string fault = search_check::fault(*store, text);
        if (!fault.empty()) {
            std::fprintf(stderr, "search for \"%s\": %s\n", text.c_str(), fault.c_str());
            std::abort();
        }
    }
    return 0;
}
