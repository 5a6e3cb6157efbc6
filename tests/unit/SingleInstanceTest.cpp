#include "app/SingleInstance.h"

#include <gtest/gtest.h>

TEST(SingleInstance, OwnProcessAloneIsNoDuplicate) {
    EXPECT_FALSE(HasDuplicateProcessName({"explorer.exe", "brisvale.exe", "dravik.exe"}, "brisvale.exe"));
}

TEST(SingleInstance, TwoCopiesAreDuplicates) {
    EXPECT_TRUE(HasDuplicateProcessName({"brisvale.exe", "svchost.exe", "brisvale.exe"}, "brisvale.exe"));
}

TEST(SingleInstance, NamesCompareExactlyAndCaseSensitively) {
    EXPECT_FALSE(HasDuplicateProcessName({"brisvale.exe", "Brisvale.exe", "BRISVALE.EXE", "brisvale.exe.bak", ""},
                                         "brisvale.exe"));
}

TEST(SingleInstance, ProgramNameIsBaseNameWithExe) { EXPECT_EQ(ProgramExecutableName(), "brisvale.exe"); }
