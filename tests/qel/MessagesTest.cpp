#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>

#include "Qel/Qel.h"

using Qel::Exception;
using Qel::Strings::hstring;
using Qel::Strings::StringTable;

namespace {

TEST(StringTable, IsOneTable) {
    EXPECT_EQ(&StringTable::get(), &StringTable::get());
}

TEST(StringTable, SdkFailureTextTakesNameAndStatus) {
    hstring text = StringTable::get().getString("Nimbrel", 63);
    ASSERT_NE(text.str().find("%s"), std::string::npos);
    text.replaceAll("%s", "is_SetAOI");
    text << -1;
    EXPECT_NE(text.str().find("is_SetAOI"), std::string::npos);
    EXPECT_EQ(text.str().find("%s"), std::string::npos);
    // The status closes the sentence: "... with status -1".
    EXPECT_EQ(text.str().substr(text.length() - 9), "status -1");
}

TEST(StringTable, MissingSettingTextIsReadable) {
    const hstring text = StringTable::get().getString("Nimbrel", 64);
    EXPECT_NE(text.str().find("configuration"), std::string::npos);
    EXPECT_EQ(text.str().find("%s"), std::string::npos);
    EXPECT_EQ(text.str().find("[missing"), std::string::npos);
}

TEST(StringTable, UnknownIdsGiveAPlaceholder) {
    EXPECT_EQ(StringTable::get().getString("Nimbrel", 99).str(), "[missing message Nimbrel/99]");
    EXPECT_EQ(StringTable::get().getString("Other", 63).str(), "[missing message Other/63]");
    EXPECT_EQ(StringTable::get().getString("", -5).str(), "[missing message /-5]");
    EXPECT_EQ(StringTable::get().getString("nimbrel", 63).str(), "[missing message nimbrel/63]");
}

TEST(QelException, CarriesMessageAndSeverity) {
    const Exception error("Caf\xc3\xa9 failed", Exception::Error);
    EXPECT_STREQ(error.what(), "Caf\xc3\xa9 failed");
    EXPECT_EQ(error.getMessage().str(), "Caf\xc3\xa9 failed");
    EXPECT_EQ(error.getSeverity(), Exception::Error);
    EXPECT_EQ(static_cast<int>(error.getSeverity()), 10);
}

TEST(QelException, CopiesAreIndependent) {
    static_assert(std::is_base_of_v<std::exception, Exception>);
    static_assert(std::is_copy_constructible_v<Exception> && std::is_copy_assignable_v<Exception>);
    auto original = std::make_unique<Exception>("first", Exception::Warning);
    const Exception copy(*original);
    Exception assigned("other", Exception::Fatal);
    assigned = *original;
    original.reset();
    EXPECT_STREQ(copy.what(), "first");
    EXPECT_EQ(assigned.getSeverity(), Exception::Warning);
    EXPECT_STREQ(assigned.what(), "first");
}

TEST(QelException, IsCaughtByValueAndAsStdException) {
    try {
        throw Exception("thrown", Exception::Error);
    } catch (const std::exception& caught) {
        EXPECT_STREQ(caught.what(), "thrown");
    }
    try {
        throw Exception(StringTable::get().getString("Nimbrel", 64), Exception::Error);
    } catch (const Exception& caught) {
        EXPECT_EQ(caught.getMessage(), StringTable::get().getString("Nimbrel", 64));
    }
}

}  // namespace
