#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "wire3d/ase.h"

namespace {

struct VertexEntry {
    int index;
    float x, y, z;
};

struct FaceEntry {
    int a, b, c;
};

std::string number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", v);
    return text;
}

// One object as an exporter writes it, with the lists, normals and mapping
// data that the reader passes over.
std::string geomObject(const std::string& name, const std::vector<VertexEntry>& vertices,
                       const std::vector<FaceEntry>& faces) {
    std::string s = "*GEOMOBJECT {\n\t*NODE_NAME \"" + name + "\"\n\t*MESH {\n\t\t*TIMEVALUE 0\n";
    s += "\t\t*MESH_NUMVERTEX " + std::to_string(vertices.size()) + "\n";
    s += "\t\t*MESH_NUMFACES " + std::to_string(faces.size()) + "\n";
    s += "\t\t*MESH_VERTEX_LIST {\n";
    for (const VertexEntry& v : vertices) {
        char index[16];
        std::snprintf(index, sizeof index, "%5d", v.index);
        s += "\t\t\t*MESH_VERTEX " + std::string(index) + "\t" + number(v.x) + "\t" + number(v.y) + "\t" + number(v.z) + "\n";
    }
    s += "\t\t}\n\t\t*MESH_FACE_LIST {\n";
    for (size_t i = 0; i < faces.size(); ++i) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "\t\t\t*MESH_FACE %5zu:    A: %5d B: %5d C: %5d AB:    1 BC:    1 CA:    1\t *MESH_SMOOTHING 1 \t*MESH_MTLID 0\n",
                      i, faces[i].a, faces[i].b, faces[i].c);
        s += line;
    }
    s += "\t\t}\n\t\t*MESH_NUMTVERTEX 0\n\t\t*MESH_NORMALS {\n";
    for (size_t i = 0; i < faces.size(); ++i) {
        s += "\t\t\t*MESH_FACENORMAL " + std::to_string(i) + "\t0.0000\t0.0000\t1.0000\n";
        s += "\t\t\t\t*MESH_VERTEXNORMAL " + std::to_string(faces[i].a) + "\t0.0000\t0.0000\t1.0000\n";
    }
    s += "\t\t}\n\t}\n\t*PROP_MOTIONBLUR 0\n}\n";
    return s;
}

const std::string fileHeader = "*3DSMAX_ASCIIEXPORT\t200\n*COMMENT \"exported\"\n*SCENE {\n\t*SCENE_FIRSTFRAME 0\n}\n";

std::string aseFile(const std::vector<VertexEntry>& vertices, const std::vector<FaceEntry>& faces) {
    return fileHeader + geomObject("mesh", vertices, faces);
}

std::vector<VertexEntry> row(int count) {
    std::vector<VertexEntry> vertices;
    for (int i = 0; i < count; ++i) vertices.push_back({i, static_cast<float>(i), static_cast<float>(-i), 0.5f});
    return vertices;
}

std::vector<FaceEntry> fan(int count) {
    std::vector<FaceEntry> faces;
    for (int i = 0; i < count; ++i) faces.push_back({0, i + 1, i + 2});
    return faces;
}

std::string toCrlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

bool keyAlwaysWaiting() { return true; }

// A key press that arrives after a given number of polls and then stays.
int pollCalls = 0;
int pollsBeforeKey = 0;
bool keyAfterSomePolls() { return ++pollCalls > pollsBeforeKey; }

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

class AseTest : public ::testing::Test {
protected:
    void TearDown() override { resetMesh(mesh); }

    // Writes the file, loads it by its bare name and returns what was printed.
    std::string load(const std::string& name, const std::string& contents) {
        dir.write(name, contents);
        return loadOnly(name);
    }

    // Loads by bare name and returns the progress text the reader gave.
    std::string loadOnly(const std::string& name) {
        MessageLog messages;
        ShowContext context(messages, DataFolder(dir.path()));
        context.keyWaiting = keyPoll;
        EXPECT_TRUE(loadAse(context, name.c_str(), mesh));
        EXPECT_EQ(messages.warnings, "");
        return messages.textOut;
    }

    void expectVertex(int slot, float x, float y, float z) {
        ASSERT_LT(slot, mesh.vertexCount);
        EXPECT_EQ(mesh.vertices[slot].x, x) << "slot " << slot;
        EXPECT_EQ(mesh.vertices[slot].y, y) << "slot " << slot;
        EXPECT_EQ(mesh.vertices[slot].z, z) << "slot " << slot;
    }

    void expectFace(int slot, int a, int b, int c) {
        ASSERT_LT(slot, mesh.faceCount);
        EXPECT_EQ(mesh.faces[slot].a, a) << "face " << slot;
        EXPECT_EQ(mesh.faces[slot].b, b) << "face " << slot;
        EXPECT_EQ(mesh.faces[slot].c, c) << "face " << slot;
    }

    TempDir dir;
    KeyPoll keyPoll = [] { return false; };
    Mesh mesh{};
};

const std::string vertexLineEnd = "lecture vertex ok !\n";
const std::string faceLineEnd = "lecture faces ok !\n";

}  // namespace

// ---------------------------------------------------------------- output

TEST_F(AseTest, ThreeVerticesOneFaceOutputByteForByte) {
    std::string out = load("v.ase", aseFile({{0, -10, 0, 5}, {1, 10, 0, 5}, {2, 0, 15.5f, -2.25f}}, {{0, 1, 2}}));
    EXPECT_EQ(out,
              "nombre vertex de v.ase 3\n"
              "nombre face de v.ase 1\n"
              ".lecture vertex ok !\n"
              ". \blecture faces ok !\n");
    ASSERT_EQ(mesh.vertexCount, 3);
    ASSERT_EQ(mesh.faceCount, 1);
    expectVertex(0, -10, 0, 5);
    expectVertex(1, 10, 0, 5);
    expectVertex(2, 0, 15.5f, -2.25f);
    expectFace(0, 0, 1, 2);
    ASSERT_NE(mesh.transformed, nullptr);
}

TEST_F(AseTest, FiftyVerticesPrintOneDotFiftyOnePrintTwo) {
    std::string fifty = load("fifty.ase", aseFile(row(50), {}));
    EXPECT_EQ(fifty, "nombre vertex de fifty.ase 50\nnombre face de fifty.ase 0\n." + vertexLineEnd + faceLineEnd);
    expectVertex(49, 49, -49, 0.5f);
    resetMesh(mesh);
    std::string fiftyOne = load("fiftyone.ase", aseFile(row(51), {}));
    EXPECT_EQ(fiftyOne, "nombre vertex de fiftyone.ase 51\nnombre face de fiftyone.ase 0\n.." + vertexLineEnd + faceLineEnd);
    expectVertex(50, 50, -50, 0.5f);
}

TEST_F(AseTest, EveryFacePrintsBlankBackspaceAndEveryFiftiethADotFirst) {
    std::string out = load("faces.ase", aseFile(row(103), fan(101)));
    std::string faces = ". \b" + repeat(" \b", 49) + ". \b" + repeat(" \b", 49) + ". \b";
    EXPECT_EQ(out, "nombre vertex de faces.ase 103\nnombre face de faces.ase 101\n..." + vertexLineEnd + faces + faceLineEnd);
    expectFace(100, 0, 101, 102);
}

TEST_F(AseTest, NoVerticesNoFacesStillWritesBothClosingLines) {
    std::string out = load("none.ase", aseFile({}, {}));
    EXPECT_EQ(out, "nombre vertex de none.ase 0\nnombre face de none.ase 0\n" + vertexLineEnd + faceLineEnd);
    EXPECT_EQ(mesh.vertexCount, 0);
    EXPECT_EQ(mesh.faceCount, 0);
}

TEST_F(AseTest, MissingFileIsReportedToTheCallerWithNothingSaidOrRead) {
    MessageLog messages;
    EXPECT_FALSE(loadAse(ShowContext(messages, DataFolder(dir.path())), "nothere.ase", mesh));
    EXPECT_EQ(messages.textOut + messages.warnings, "");
    EXPECT_EQ(mesh.vertexCount, 0);
    EXPECT_EQ(mesh.vertices, nullptr);
}

// ---------------------------------------------------------------- counts

TEST_F(AseTest, CountIsReadFromFourCharacters) {
    load("big.ase", fileHeader + "*MESH_NUMVERTEX 12345\n*MESH_NUMFACES 0\n");
    EXPECT_EQ(mesh.vertexCount, 1234);
}

TEST_F(AseTest, CountFollowedByItsLineEnd) {
    std::string out = load("twelve.ase", fileHeader + "*MESH_NUMVERTEX 12\n*MESH_NUMFACES 7\n");
    EXPECT_EQ(mesh.vertexCount, 12);
    EXPECT_EQ(mesh.faceCount, 7);
    // Neither list is there: the loops end at the end of the file.
    EXPECT_EQ(out, "nombre vertex de twelve.ase 12\nnombre face de twelve.ase 7\n" + vertexLineEnd + faceLineEnd);
    for (int i = 0; i < 12; ++i) expectVertex(i, 0, 0, 0);
    for (int i = 0; i < 7; ++i) expectFace(i, 0, 0, 0);
}

TEST_F(AseTest, CountMayHaveBlanksAndASign) {
    load("signed.ase", fileHeader + "*MESH_NUMVERTEX  +7\n*MESH_NUMFACES 9\n");
    EXPECT_EQ(mesh.vertexCount, 7);
    EXPECT_EQ(mesh.faceCount, 9);
}

TEST_F(AseTest, NegativeCountIsTakenAsZero) {
    std::string out = load("negative.ase", fileHeader + "*MESH_NUMVERTEX -5\n*MESH_NUMFACES -123\n*MESH_VERTEX 0 1 2 3\n");
    EXPECT_EQ(mesh.vertexCount, 0);
    EXPECT_EQ(mesh.faceCount, 0);
    EXPECT_EQ(out, "nombre vertex de negative.ase 0\nnombre face de negative.ase 0\n" + vertexLineEnd + faceLineEnd);
}

TEST_F(AseTest, UnreadableOrMissingCountKeepsThePreviousValue) {
    load("first.ase", aseFile(row(3), fan(1)));
    ASSERT_EQ(mesh.vertexCount, 3);
    std::string out = load("second.ase", fileHeader + "*MESH_NUMVERTEX x12\n");
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_EQ(mesh.faceCount, 1);  // no face count keyword at all
    EXPECT_EQ(out, "nombre vertex de second.ase 3\nnombre face de second.ase 1\n" + vertexLineEnd + faceLineEnd);
    // The arrays are new ones, with nothing of the previous file in them.
    expectVertex(1, 0, 0, 0);
    expectFace(0, 0, 0, 0);
}

// ---------------------------------------------------------------- keyword search

TEST_F(AseTest, KeywordRightAfterAOneDigitCountIsFoundBackwards) {
    load("sameline.ase", fileHeader + "*MESH_NUMVERTEX 3 *MESH_NUMFACES 1\n");
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_EQ(mesh.faceCount, 1);
}

TEST_F(AseTest, KeywordDirectlyAfterAFourDigitCount) {
    load("touching.ase", fileHeader + "*MESH_NUMVERTEX 1234*MESH_NUMFACES 2\n");
    EXPECT_EQ(mesh.vertexCount, 1234);
    EXPECT_EQ(mesh.faceCount, 2);
}

// A vertex line is read up to 49 characters; the next search starts 12
// characters (n - 1) back from there and finds a keyword that begins there,
// but not one that begins 13 characters back.
TEST_F(AseTest, SearchStartsKeywordLengthMinusOneBack) {
    const std::string head = fileHeader + "*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n*MESH_VERTEX ";
    std::string first = "0 1 2 3";
    std::string reachable = first + std::string(37 - first.size(), ' ') + "*MESH_VERTEX 1 4 5 6\n";
    std::string out = load("reach.ase", head + reachable);
    expectVertex(0, 1, 2, 3);
    expectVertex(1, 4, 5, 6);
    EXPECT_EQ(out, "nombre vertex de reach.ase 2\nnombre face de reach.ase 0\n." + vertexLineEnd + faceLineEnd);

    resetMesh(mesh);
    std::string tooFar = first + std::string(36 - first.size(), ' ') + "*MESH_VERTEX 1 4 5 6\n";
    load("far.ase", head + tooFar);
    expectVertex(0, 1, 2, 3);
    expectVertex(1, 0, 0, 0);
}

TEST_F(AseTest, TheFirstFiveCharactersAreNeverExamined) {
    const std::string rest = "*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n*MESH_VERTEX 0 1 1 1\n*MESH_VERTEX 1 2 2 2\n";
    load("five.ase", "abcde" + rest);
    EXPECT_EQ(mesh.vertexCount, 2);
    expectVertex(1, 2, 2, 2);
    resetMesh(mesh);
    std::string out = load("four.ase", "abcd" + rest);
    EXPECT_EQ(mesh.vertexCount, 0);
    EXPECT_EQ(out, "nombre vertex de four.ase 0\nnombre face de four.ase 0\n" + vertexLineEnd + faceLineEnd);
}

TEST_F(AseTest, KeywordsAreCaseSensitiveAndIncludeTheirBlank) {
    load("case.ase", fileHeader + "*mesh_numvertex 5\n*MESH_NUMVERTEX\t6\n*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n" +
                         "*MESH_VERTEX_LIST {\n*MESH_VERTEXNORMAL 0 9 9 9\n*MESH_VERTEX 1 3 4 5\n");
    EXPECT_EQ(mesh.vertexCount, 2);
    expectVertex(1, 3, 4, 5);
    expectVertex(0, 0, 0, 0);
}

TEST_F(AseTest, FileShorterThanItsSkippedStart) {
    std::string out = load("tiny.ase", "*MESH");
    EXPECT_EQ(out, "nombre vertex de tiny.ase 0\nnombre face de tiny.ase 0\n" + vertexLineEnd + faceLineEnd);
    std::string empty = load("empty.ase", "");
    EXPECT_EQ(empty, "nombre vertex de empty.ase 0\nnombre face de empty.ase 0\n" + vertexLineEnd + faceLineEnd);
}

// ---------------------------------------------------------------- vertices

TEST_F(AseTest, VertexEntriesFillTheSlotsTheyName) {
    load("order.ase", aseFile({{2, 2, 2, 2}, {0, 0.25f, 0, 0}, {2, 7, 8, 9}}, {}));
    expectVertex(0, 0.25f, 0, 0);
    expectVertex(1, 0, 0, 0);  // no entry named it
    expectVertex(2, 7, 8, 9);  // the later entry wins
}

TEST_F(AseTest, VertexIndexOutsideTheArrayIsSkipped) {
    std::string out = load("range.ase", fileHeader + "*MESH_NUMVERTEX 3\n*MESH_NUMFACES 0\n" +
                                          "*MESH_VERTEX 3 1 1 1\n*MESH_VERTEX -1 2 2 2\n*MESH_VERTEX 1 3 3 3\n" +
                                          "*MESH_VERTEX 0 4 4 4\n");
    // Three entries are taken, the two that name no slot included.
    expectVertex(0, 0, 0, 0);
    expectVertex(1, 3, 3, 3);
    expectVertex(2, 0, 0, 0);
    EXPECT_EQ(out, "nombre vertex de range.ase 3\nnombre face de range.ase 0\n." + vertexLineEnd + faceLineEnd);
}

TEST_F(AseTest, VertexIndexOutsideTheArrayIsSkippedWhenCountIsSmaller) {
    load("small.ase", fileHeader + "*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n*MESH_VERTEX 2 1 1 1\n*MESH_VERTEX 99999 5 5 5\n");
    expectVertex(0, 0, 0, 0);
    expectVertex(1, 0, 0, 0);
}

TEST_F(AseTest, UnreadableVertexValuesKeepThePreviousEntrysValues) {
    load("partial.ase", fileHeader + "*MESH_NUMVERTEX 3\n*MESH_NUMFACES 0\n" +
                            "*MESH_VERTEX 0 1.5 2.5 3.5\n*MESH_VERTEX 1 -4 junk 7\n*MESH_VERTEX 2 8\n");
    expectVertex(0, 1.5f, 2.5f, 3.5f);
    expectVertex(1, -4, 2.5f, 3.5f);
    expectVertex(2, 8, 2.5f, 3.5f);
}

TEST_F(AseTest, EndOfFileEndsTheVertexLoop) {
    std::string out = load("short.ase", fileHeader + "*MESH_NUMVERTEX 3\n*MESH_NUMFACES 1\n*MESH_VERTEX 0 1 2 3\n" +
                                          "*MESH_VERTEX 1 4 5 6\n");
    expectVertex(1, 4, 5, 6);
    expectVertex(2, 0, 0, 0);
    EXPECT_EQ(out, "nombre vertex de short.ase 3\nnombre face de short.ase 1\n." + vertexLineEnd + faceLineEnd);
    expectFace(0, 0, 0, 0);
}

TEST_F(AseTest, SeveralObjectsYieldTheFirst) {
    load("two.ase", fileHeader + geomObject("first", {{0, 1, 1, 1}, {1, 2, 2, 2}}, {{0, 1, 1}}) +
                        geomObject("second", {{0, 9, 9, 9}, {1, 8, 8, 8}, {2, 7, 7, 7}}, {{2, 1, 0}}));
    EXPECT_EQ(mesh.vertexCount, 2);
    EXPECT_EQ(mesh.faceCount, 1);
    expectVertex(0, 1, 1, 1);
    expectFace(0, 0, 1, 1);
}

// ---------------------------------------------------------------- faces

TEST_F(AseTest, FacesGoInFileOrderWhateverTheirNumbers) {
    load("numbers.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 2\n" +
                            "*MESH_FACE 7: A: 3 B: 4 C: 5 AB: 1\n*MESH_FACE 0: A: 6 B: 7 C: 8 AB: 1\n");
    expectFace(0, 3, 4, 5);
    expectFace(1, 6, 7, 8);
}

TEST_F(AseTest, FaceIndicesAreStoredAsRead) {
    load("raw.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 1\n*MESH_FACE 0: A: -4 B: 70000 C: 2147483647\n");
    expectFace(0, -4, 70000, 2147483647);
}

TEST_F(AseTest, FaceItemsMaySpanLinesAndTabs) {
    load("spread.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 1\n*MESH_FACE\t0:\nA:\t\t1\n  B: 2\tC:\n3\n");
    // The keyword needs its blank: the tab after MESH_FACE does not match.
    expectFace(0, 0, 0, 0);
    resetMesh(mesh);
    load("spread2.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 1\n*MESH_FACE 0:\nA:\t\t1\n  B: 2\tC:\n3\n");
    expectFace(0, 1, 2, 3);
}

TEST_F(AseTest, LongWordsAreCutWithoutOverrun) {
    const std::string longLabel(300, 'A');
    std::string out = load("long.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 2\n" + "*MESH_FACE " +
                                           longLabel + ": " + longLabel + ": 1 " + longLabel + " 2 C: 3\n" +
                                           "*MESH_FACE 1: A: 4 B: 5 C: 6\n");
    expectFace(0, 1, 2, 3);
    expectFace(1, 4, 5, 6);
    EXPECT_EQ(out, "nombre vertex de long.ase 0\nnombre face de long.ase 2\n" + vertexLineEnd + ". \b \b" + faceLineEnd);
}

TEST_F(AseTest, UnreadableFaceItemsKeepThePreviousFacesValues) {
    load("badface.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 3\n" + "*MESH_FACE 0: A: 1 B: 2 C: 3\n" +
                            "*MESH_FACE 1: A: 9 B: x C: 7\n" + "*MESH_FACE 2: A: 5 B: 6 C: 8\n");
    expectFace(0, 1, 2, 3);
    expectFace(1, 9, 2, 3);
    expectFace(2, 5, 6, 8);
}

TEST_F(AseTest, EndOfFileEndsTheFaceLoopAndLeavesTheRestZero) {
    std::string out = load("fewfaces.ase", fileHeader + "*MESH_NUMVERTEX 0\n*MESH_NUMFACES 3\n*MESH_FACE 0: A: 1 B: 2 C: 3\n");
    expectFace(0, 1, 2, 3);
    expectFace(1, 0, 0, 0);
    expectFace(2, 0, 0, 0);
    EXPECT_EQ(out, "nombre vertex de fewfaces.ase 0\nnombre face de fewfaces.ase 3\n" + vertexLineEnd + ". \b" + faceLineEnd);
}

TEST_F(AseTest, EntryCutOffByTheEndOfTheFile) {
    load("cut.ase", fileHeader + "*MESH_NUMVERTEX 1\n*MESH_NUMFACES 2\n*MESH_VERTEX 0 1 2 3\n*MESH_FACE 0: A: 1 B: 2 C: 3\n" +
                        "*MESH_FACE 1: A: 4 B:");
    expectFace(0, 1, 2, 3);
    expectFace(1, 4, 2, 3);
    resetMesh(mesh);
    load("cutvertex.ase", fileHeader + "*MESH_NUMVERTEX 1\n*MESH_NUMFACES 0\n*MESH_VERTEX ");
    expectVertex(0, 0, 0, 0);
}

// ---------------------------------------------------------------- key poll

TEST_F(AseTest, KeyWaitingBeforeLoadingReadsNoEntries) {
    keyPoll = keyAlwaysWaiting;
    const std::string file = aseFile(row(3), fan(1));
    // The counts come from the four characters at 20 ("200\n") and the four
    // after them ("*COM", not a number: the face count keeps its 0).
    std::string out = load("v.ase", file);
    EXPECT_EQ(out, "nombre vertex de v.ase 200\nnombre face de v.ase 0\n" + vertexLineEnd + faceLineEnd);
    EXPECT_EQ(mesh.vertexCount, 200);
    for (int i = 0; i < 200; ++i) expectVertex(i, 0, 0, 0);
    // The key stays unread, so the next mesh is read the same way.
    std::string again = load("o.ase", file);
    EXPECT_EQ(again, "nombre vertex de o.ase 200\nnombre face de o.ase 0\n" + vertexLineEnd + faceLineEnd);
    std::string crlf = load("k.ase", toCrlf(file));
    EXPECT_EQ(crlf, "nombre vertex de k.ase 200\nnombre face de k.ase 0\n" + vertexLineEnd + faceLineEnd);
}

// Whenever the key arrives, the loops end, both closing lines are written once
// and nothing is stored outside the arrays.
TEST_F(AseTest, KeyArrivingAtAnyPointEndsTheLoopsCleanly) {
    const std::string file = fileHeader + "*MESH_NUMVERTEX 3\n*MESH_NUMFACES 2\n*MESH_VERTEX 0 1 1 1\n" +
                             "*MESH_VERTEX 1 2 2 2\n*MESH_VERTEX 2 3 3 3\n*MESH_FACE 0: A: 0 B: 1 C: 2\n" +
                             "*MESH_FACE 1: A: 2 B: 1 C: 0\n";
    dir.write("key.ase", file);
    keyPoll = keyAfterSomePolls;
    pollCalls = 0;
    pollsBeforeKey = 1 << 30;
    const std::string complete = loadOnly("key.ase");
    const int totalPolls = pollCalls;
    ASSERT_EQ(complete, "nombre vertex de key.ase 3\nnombre face de key.ase 2\n." + vertexLineEnd + ". \b \b" + faceLineEnd);

    for (int k = 0; k <= totalPolls; ++k) {
        resetMesh(mesh);
        pollCalls = 0;
        pollsBeforeKey = k;
        std::string out = loadOnly("key.ase");
        ASSERT_EQ(occurrences(out, vertexLineEnd), 1u) << k;
        ASSERT_EQ(occurrences(out, faceLineEnd), 1u) << k;
        ASSERT_EQ(out.substr(out.size() - faceLineEnd.size()), faceLineEnd) << k;
        ASSERT_LE(occurrences(out, " \b"), 2u) << k;
        if (k == totalPolls) {
            EXPECT_EQ(out, complete);
        }
    }
}

// ---------------------------------------------------------------- line ends

TEST_F(AseTest, CrlfFilesReadLikeLfFiles) {
    const std::vector<std::string> files = {
        aseFile({{0, -10, 0, 5}, {1, 10, 0, 5}, {2, 0, 15.5f, -2.25f}}, {{0, 1, 2}}),
        aseFile(row(60), fan(55)),
        fileHeader + "*MESH_NUMVERTEX 3 *MESH_NUMFACES 1\n*MESH_VERTEX 2 1 2 3\n*MESH_FACE 0: A: 2 B: 2 C: 2\n",
        fileHeader + "*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n*MESH_VERTEX 0 1 2 3" + std::string(30, ' ') +
            "*MESH_VERTEX 1 4 5 6\n",
        fileHeader + "*MESH_NUMVERTEX 12\n*MESH_NUMFACES 0\n",
        // A line end before the first examined character: with the carriage
        // return counted, the keyword would start at 5 and be found.
        "abc\n*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n*MESH_VERTEX 0 1 1 1\n",
    };
    for (size_t k = 0; k < files.size(); ++k) {
        std::string lfOut = load("lf.ase", files[k]);
        Mesh lf = mesh;
        mesh = Mesh{};
        std::string crlfOut = load("lf.ase", toCrlf(files[k]));
        EXPECT_EQ(crlfOut, lfOut) << "file " << k;
        ASSERT_EQ(mesh.vertexCount, lf.vertexCount) << "file " << k;
        ASSERT_EQ(mesh.faceCount, lf.faceCount) << "file " << k;
        for (int i = 0; i < lf.vertexCount; ++i) {
            EXPECT_EQ(mesh.vertices[i].x, lf.vertices[i].x) << "file " << k << " vertex " << i;
            EXPECT_EQ(mesh.vertices[i].y, lf.vertices[i].y) << "file " << k << " vertex " << i;
            EXPECT_EQ(mesh.vertices[i].z, lf.vertices[i].z) << "file " << k << " vertex " << i;
        }
        for (int i = 0; i < lf.faceCount; ++i) {
            EXPECT_EQ(mesh.faces[i].a, lf.faces[i].a) << "file " << k << " face " << i;
            EXPECT_EQ(mesh.faces[i].b, lf.faces[i].b) << "file " << k << " face " << i;
            EXPECT_EQ(mesh.faces[i].c, lf.faces[i].c) << "file " << k << " face " << i;
        }
        resetMesh(lf);
        resetMesh(mesh);
    }
}
