// The players' warning before the show, from the data set's verdict: none
// when the show passes or no verdict is there; otherwise the sentence names
// each failing scene under the WCAG reading with its times, and a verdict of
// only its first line still warns.
#include <gtest/gtest.h>

#include "shell/flash_verdict.h"
#include "support/test_files.h"

namespace {

const char* const rows =
    "wcag show fail 30 88.283 1 92.350 - 74.983 99.300 the show\n"
    "wcag 10 pass 1 66.216 0 - - - - lens\n"
    "wcag 11 fail 18 78.916 0 - - 74.983 82.750 credits jitter\n"
    "wcag 12 fail 30 88.283 0 - - 82.766 91.033 object and thanks\n"
    "broadcast 12 fail 9 88.283 0 - - 82.766 91.033 object and thanks\n"
    "broadcast 7 fail 9 41.383 0 - - 40.000 42.000 sprites\n";

TEST(FlashWarning, NamesTheScenesThatFailAndWhen) {
    const std::string opening = "This show has rapid flashes that can trigger seizures in people with photosensitive epilepsy";
    const struct {
        const char* name;
        const char* file;  // nullptr: no verdict
        std::string warning;
    } cases[] = {
        {"no verdict", nullptr, ""},
        {"a passing show", "pass\n", ""},
        {"a failing show without rows", "fail\n", opening + "."},
        {"two failing scenes", nullptr,
         opening + ": in scene 11, credits jitter (1:14 to 1:22) and scene 12, object and thanks (1:22 to 1:31)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.file) dir.write("flashes.txt", c.file);
        if (!c.file && !c.warning.empty()) dir.write("flashes.txt", std::string("fail\n") + rows);
        EXPECT_EQ(flashWarning(DataFolder(dir.path())), c.warning);
        EXPECT_EQ(dataSetFailsFlashCheck(DataFolder(dir.path())), !c.warning.empty());
    }
}

}  // namespace
