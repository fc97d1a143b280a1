// SPDX-License-Identifier: GPL-3.0-or-later
// A small well-formedness check of the server's pages: every element that is opened is closed in
// order (HTML's void elements aside), and no raw "<" or ">" stands in text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The first fault found, or an empty text when the page is well-formed.
inline std::string html_fault(std::string_view page) {
    static const std::vector<std::string_view> void_elements = {"meta", "link", "input", "br", "img", "hr"};
    std::vector<std::string> open;
    size_t pos = page.find("<!DOCTYPE html>");
    if (pos != 0) return "no <!DOCTYPE html> at the start";
    pos = page.find('>') + 1;
    while (pos < page.size()) {
        const size_t lt = page.find('<', pos);
        const auto text = page.substr(pos, lt == std::string_view::npos ? std::string_view::npos : lt - pos);
        if (text.find('>') != std::string_view::npos) return "a raw > in text: " + std::string(text);
        if (lt == std::string_view::npos) break;
        const size_t gt = page.find('>', lt);
        if (gt == std::string_view::npos) return "an unclosed tag";
        const auto tag = page.substr(lt + 1, gt - lt - 1);
        if (tag.find('<') != std::string_view::npos) return "a raw < in text or a tag";
        const bool closing = tag.starts_with('/');
        const auto name =
            std::string(tag.substr(closing ? 1 : 0, tag.find_first_of(" /", closing ? 1 : 0) - (closing ? 1 : 0)));
        if (closing) {
            if (open.empty() || open.back() != name)
                return "</" + name + "> closes " + (open.empty() ? "nothing" : open.back());
            open.pop_back();
        } else if (std::find(void_elements.begin(), void_elements.end(), name) == void_elements.end()) {
            open.push_back(name);
        }
        pos = gt + 1;
    }
    return open.empty() ? std::string() : "<" + open.back() + "> is never closed";
}
