// SPDX-License-Identifier: GPL-3.0-or-later
// The game object's fields by name, for the headless driver's dump, set and expect.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "app/vorlanix.h"
#include "platform/state_access.h"

namespace vorlanix {

class GameStateAccess : public platform::StateAccess {
  public:
    explicit GameStateAccess(Vorlanix& game);

    nlohmann::json DumpState() override;
    bool ReadField(const std::string& name, const std::vector<int>& indices, nlohmann::json& value,
                   std::string& error) override;
    bool WriteField(const std::string& name, const std::vector<int>& indices, const std::string& value,
                    std::string& error) override;

  private:
    struct Field {
        std::function<nlohmann::json()> dump;
        std::function<bool(const std::vector<int>&, nlohmann::json&)> read;
        std::function<bool(const std::vector<int>&, const std::string&)> write;
    };
    template <typename T>
    void add(const char* name, T& field);

    std::map<std::string, Field> fields_;
};

}  // namespace vorlanix
