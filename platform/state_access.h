// SPDX-License-Identifier: GPL-3.0-or-later
// What the headless driver may see and change of the program it drives: the state as JSON and
// single fields by name (a test aid). The game object provides it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace platform {

class StateAccess {
  public:
    virtual ~StateAccess() = default;
    virtual nlohmann::json DumpState() = 0;
    // Reads or writes field `name` at `indices`; false with a message when there is no such
    // field, the indices do not fit, or the value does not suit the field's type.
    virtual bool ReadField(const std::string& name, const std::vector<int>& indices, nlohmann::json& value,
                           std::string& error) = 0;
    virtual bool WriteField(const std::string& name, const std::vector<int>& indices, const std::string& value,
                            std::string& error) = 0;
};

// Splits a field path such as "Name[1][2]" into the name and its indices; false when it is
// malformed (no name, a bracket left open, text after a bracket, an index that is not a whole
// number of 32 bits).
bool ParseFieldPath(const std::string& path, std::string& name, std::vector<int>& indices);

}  // namespace platform
