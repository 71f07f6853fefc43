// The counts and names the documents state, checked against the tables they
// come from: the scene table and the data table. A document that no longer
// says what the tables say fails here, so that adding a scene or a data file
// shows every sentence to change. (The flash table and verdict, its
// pictures and the layers are written by scripts/docs instead.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "demo/data_files.h"
#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "support/test_files.h"

namespace {

std::string numberWord(int n) {
    const char* const words[] = {"no",     "one",     "two",      "three",    "four",    "five",
                                 "six",    "seven",   "eight",    "nine",     "ten",     "eleven",
                                 "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen",
                                 "eighteen", "nineteen", "twenty"};
    return n >= 0 && n <= 20 ? words[n] : std::to_string(n);
}

// The show's length in seconds with `decimals` places, as the documents round it.
std::string showSeconds(int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::floor(showEndMs() / std::pow(10.0, 3 - decimals)) /
                                                           std::pow(10.0, decimals));
    return text;
}

// "{scenes}" and the other names in a sentence, replaced by what the tables say.
std::string expand(std::string sentence) {
    const int pictures = countOf(DataKind::ScreenPicture) + countOf(DataKind::Sprite);
    const std::pair<const char*, std::string> facts[] = {
        {"{scenes}", numberWord(sceneCount)},
        {"{last scene}", std::to_string(sceneCount - 1)},
        {"{files}", numberWord(dataFileCount)},
        {"{pictures}", numberWord(pictures)},
        {"{Pictures}", "T" + numberWord(pictures).substr(1)},
        {"{meshes}", numberWord(meshCount)},
        {"{module}", moduleFile},
        {"{seconds}", showSeconds(1)},
        {"{seconds.2}", showSeconds(2)},
    };
    for (const auto& [name, value] : facts) {
        for (size_t at; (at = sentence.find(name)) != std::string::npos;) sentence.replace(at, std::strlen(name), value);
    }
    return sentence;
}

struct Statement {
    const char* file;  // from the top of the source tree
    const char* sentence;
};

const Statement statements[] = {
    {"README.md", "{scenes} software-rendered scenes"},
    {"README.md", "for {seconds} seconds"},
    {"README.md", "({pictures} PCX pictures, {meshes} ASE meshes and `{module}`)"},
    {"README.md", "`--scene N` (0 to {last scene},"},
    {"packaging/vokdemo.6", "plays {scenes} software-rendered scenes"},
    {"packaging/vokdemo.6", "for {seconds} seconds"},
    {"packaging/vokdemo.6", "0 to {last scene}."},
    {"packaging/vokdemo.6", "reads {files} data files: {pictures} PCX pictures, {meshes} ASE meshes"},
    {"packaging/vokdemo.desktop", "{scenes} scenes timed to a tracker module"},
    {"packaging/README-windows.txt", "{scenes} scenes timed to a tracker module,\n{seconds} seconds long"},
    {"packaging/README-windows.txt", "{files} data files"},
    {"docs/architecture.md", "The show's {files} data files"},
    {"docs/data-set.md", "reads {files} files: {pictures} PCX pictures, {meshes} ASE meshes"},
    {"docs/data-set.md", "each of the {scenes} scenes"},
    {"docs/make-it-yours.md", "reads {files} files from its data folder: {pictures} PCX pictures, {meshes}\nASE meshes"},
    {"docs/make-it-yours.md", "The show lasts {seconds.2} s"},
    {"docs/make-it-yours.md", "reads the {files} files as the show will"},
};

}  // namespace

TEST(ProseFacts, TheDocumentsSayWhatTheTablesSay) {
    for (const Statement& statement : statements) {
        const std::string text = readText(std::string(VOK_SOURCE_DIR "/") + statement.file);
        ASSERT_FALSE(text.empty()) << statement.file;
        const std::string expected = expand(statement.sentence);
        EXPECT_NE(text.find(expected), std::string::npos)
            << statement.file << " should say \"" << expected << "\" (from \"" << statement.sentence << "\")";
    }
}
