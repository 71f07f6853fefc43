// Where the program finds its data set, and what it says about a partial or broken one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/data_location.h"
#include "support/test_data.h"
#include "support/test_files.h"

namespace {

using Source = DataLocation::Source;

TEST(DataLocation, SearchOrderAndErrors) {
    TempDir withFile, empty, installed;
    withFile.write("v.ase", "*MESH {\n}\n");
    const std::string missing = empty.file("no-such-dir");
    const std::string aFile = withFile.file("v.ase");
    struct Case {
        const char* what;
        DataPlaces places;
        Source source;
        std::string directory;
        std::vector<std::string> errorMentions;
    } cases[] = {
        {"--data wins over a working directory with files", {installed.path(), withFile.path(), ""},
         Source::Option, installed.path(), {}},
        {"--data that does not exist", {missing, withFile.path(), installed.path()}, Source::None, "",
         {missing, "does not exist"}},
        {"--data that is a file", {aFile, empty.path(), installed.path()}, Source::None, "", {aFile, "not a directory"}},
        {"working directory with any data file", {"", withFile.path(), installed.path()}, Source::WorkingDirectory,
         "", {}},
        {"empty working directory: the installed set", {"", empty.path(), installed.path()}, Source::Installed,
         installed.path(), {}},
        {"nothing anywhere names all three places", {"", empty.path(), missing}, Source::None, "",
         {empty.path(), "--data", missing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DataLocation found = locateDataSet(c.places);
        EXPECT_EQ(found.source, c.source);
        EXPECT_EQ(found.directory, c.directory);
        EXPECT_EQ(found.error.empty(), c.errorMentions.empty()) << found.error;
        for (const std::string& mention : c.errorMentions) EXPECT_NE(found.error.find(mention), std::string::npos) << found.error;
        EXPECT_EQ(found.error.find('\n'), std::string::npos);
    }
}

TEST(DataLocation, ProblemsOfAPartialOrBrokenSet) {
    TempDir dir;
    writeTestDataSet(dir.path());
    EXPECT_TRUE(dataSetProblems(dir.path()).empty()) << "a whole set (the music aside) has no problem";

    ASSERT_EQ(unlink(dir.file("part2.pcx").c_str()), 0);
    ASSERT_EQ(unlink(dir.file("o.ase").c_str()), 0);
    dir.write("vok_girl.pcx", "GIF89a, not a picture of ours");
    std::vector<std::string> problems = dataSetProblems(dir.path());
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "the data set in " + dir.path() + " lacks part2.pcx, o.ase");
    EXPECT_EQ(problems[1], "not 24-bit PCX pictures in " + dir.path() + ": vok_girl.pcx");

    // Permissions do not hold back root.
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(dir.file("k.ase").c_str(), 0), 0);
        problems = dataSetProblems(dir.path());
        ASSERT_EQ(problems.size(), 3u);
        EXPECT_EQ(problems[1], "cannot read " + dir.file("k.ase") + " (Permission denied)");
    }
}

}  // namespace
