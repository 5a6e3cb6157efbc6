#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, SearchInEitherFormAndAnyCaseAsksForTheSearch) {
    for (const wchar_t* form : {L"/search", L"-search", L"/SEARCH", L"-Search"}) {
        const CommandLineRequest request = ParseCommandLine({form});
        EXPECT_TRUE(request.search) << form;
        EXPECT_TRUE(request.unknownArgument.empty());
    }
    EXPECT_FALSE(ParseCommandLine({}).search);
}

TEST(CommandLine, AnyOtherArgumentIsNamedAndTheProgramStartsAsWithoutArguments) {
    for (const wchar_t* other : {L"search", L"/searchx", L"--search", L"/s", L"/sea rch"}) {
        const CommandLineRequest request = ParseCommandLine({other});
        EXPECT_FALSE(request.search) << other;
        EXPECT_EQ(request.unknownArgument, other);
    }
    const CommandLineRequest mixed = ParseCommandLine({L"/search", L"/fast", L"/slow"});
    EXPECT_FALSE(mixed.search) << "an unknown argument: as without arguments";
    EXPECT_EQ(mixed.unknownArgument, L"/fast");
    EXPECT_TRUE(ParseCommandLine({L"", L"/search"}).search) << "an empty argument is no argument";
    EXPECT_EQ(UnknownArgumentBoxText(L"/fast"), L"Unknown command-line argument \"/fast\". The only argument is /search.");
}
