#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <string>
#include <type_traits>

#include "Qel/Qel.h"

using Qel::Exception;
using Qel::Strings::hstring;
using Qel::Strings::StringTable;

namespace {

TEST(StringTable, HoldsTheTwoModuleMessagesAndAPlaceholderForOthers) {
    EXPECT_EQ(&StringTable::get(), &StringTable::get());
    hstring failed = StringTable::get().getString("Nimbrel", 63);
    ASSERT_NE(failed.str().find("%s"), std::string::npos);
    failed.replaceAll("%s", "is_SetAOI");
    failed << -1;
    EXPECT_NE(failed.str().find("is_SetAOI"), std::string::npos);
    // The status closes the sentence: "... with status -1".
    EXPECT_EQ(failed.str().substr(failed.length() - 9), "status -1");
    const std::string missing = StringTable::get().getString("Nimbrel", 64).str();
    EXPECT_NE(missing.find("configuration"), std::string::npos);
    EXPECT_EQ(missing.find("%s"), std::string::npos);
    EXPECT_EQ(StringTable::get().getString("Nimbrel", 99).str(), "[missing message Nimbrel/99]");
    EXPECT_EQ(StringTable::get().getString("Other", 63).str(), "[missing message Other/63]");
    EXPECT_EQ(StringTable::get().getString("", -5).str(), "[missing message /-5]");
    EXPECT_EQ(StringTable::get().getString("nimbrel", 63).str(), "[missing message nimbrel/63]");
}

TEST(QelException, CarriesMessageAndSeverityAndCopiesAreIndependent) {
    static_assert(std::is_base_of_v<std::exception, Exception>);
    const Exception error("Caf\xc3\xa9 failed", Exception::Error);
    EXPECT_STREQ(error.what(), "Caf\xc3\xa9 failed");
    EXPECT_EQ(error.getMessage().str(), "Caf\xc3\xa9 failed");
    EXPECT_EQ(static_cast<int>(error.getSeverity()), 10);
    auto original = std::make_unique<Exception>("first", Exception::Warning);
    const Exception copy(*original);
    Exception assigned("other", Exception::Fatal);
    assigned = *original;
    original.reset();
    EXPECT_STREQ(copy.what(), "first");
    EXPECT_EQ(assigned.getSeverity(), Exception::Warning);
    EXPECT_STREQ(assigned.what(), "first");
}

}  // namespace
