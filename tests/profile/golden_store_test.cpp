// The profile store the first start writes for the shipped configuration, compared
// byte for byte with its golden file (ids from a fixed clock).

#include <string>

#include <gtest/gtest.h>

#include "config/data_init.h"
#include "profile/profile_store.h"
#include "common/fake_ids.h"
#include "common/golden.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

TEST(GoldenStore, FirstStartOfTheShippedConfiguration) {
    test::TempDir data;
    StartupPaths paths;
    paths.program_dir = QUOBEL_SOURCE_DIR "/data";
    paths.data_dir = data.path();
    Config config;
    TextTable texts;
    CollectingReporter reporter;
    Log log([] { return LogTime{}; }, [](std::string_view) {});
    ASSERT_EQ(StartCore(paths, config, texts, reporter, log), StartupResult::Ready);

    test::FakeIds ids;
    CProList list;
    ASSERT_NE(StartupProfiles(list, config, texts.Get("tc_proname"), ids.ids), nullptr);
    ASSERT_TRUE(SaveProfiles(list, data.slash()));
    EXPECT_TRUE(test::MatchesGolden("pro.dct", test::ReadText(data / kProDctName).value_or("")));
}

}  // namespace
}  // namespace quobel
