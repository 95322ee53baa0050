// The version record a host hands over: only the build parts asked for are written.
#include <QNConfiguration.h>
#include <QNUtilityClass.h>

#include <gtest/gtest.h>

TEST(HostSettings, LastModifiedBuildWritesOnlyWhatIsAskedFor)
{
    ULONG part = 7;
    ASSERT_EQ(CQNUtility::SetCurrentVersion(nullptr), S_OK);
    EXPECT_EQ(CQNUtility::GetProjectLastModifiedBuild(&part, nullptr, nullptr, nullptr), E_FAIL) << "no record";
    EXPECT_EQ(part, 7u);
    OVVersion version = {{1, 2, 3, 4, 5, 6, 7}, {11, 12, 13, 14}};
    ASSERT_EQ(CQNUtility::SetCurrentVersion(&version), S_OK);
    for (unsigned mask = 0; mask < 16; ++mask) {
        ULONG parts[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        auto given = [&](int i) { return (mask >> i) & 1 ? &parts[i] : nullptr; };
        EXPECT_EQ(CQNUtility::GetProjectLastModifiedBuild(given(0), given(1), given(2), given(3)), mask ? S_OK : E_POINTER);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(parts[i], (mask >> i) & 1 ? 11u + i : 0xEEu) << "mask " << mask << " part " << i;
    }
    CQNUtility::SetCurrentVersion(nullptr);
}
