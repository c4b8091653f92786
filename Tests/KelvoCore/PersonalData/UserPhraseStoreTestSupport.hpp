#pragma once

// A store over a file in a fresh folder, and what it wrote or set aside there.
#include "../../Support/TemporaryFolder.hpp"
#include "PersonalData/UserPhraseStore.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kelvo::testing {

using Kind = UserPhraseStore::Entry::Kind;
using Json = nlohmann::json;

class UserPhraseStoreTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path path = folder / "Kelvo/userphrases.json";

    // Copies of unusable files kept beside the file.
    std::vector<std::filesystem::path> asideCopies() const {
        return folder.filesStartingWith("userphrases.json.unreadable-", "Kelvo");
    }

    // The file once the store wrote everything it learned.
    Json saved(UserPhraseStore& store) const {
        store.flush();
        return Json::parse(TemporaryFolder::read(path));
    }
};

inline std::string fullLayout(const std::string& transitions) {
    return R"({"selections":{},"pendingWords":{},"words":{},"transitions":)" + transitions + "}";
}

} // namespace kelvo::testing
