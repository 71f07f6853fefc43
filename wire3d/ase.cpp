#include "wire3d/ase.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>


namespace {

// The 50-character work buffer of the reader: a read fills at most 49
// characters and a terminating zero.
constexpr int workBufferSize = 50;

enum class SearchEnd { Found, KeyPressed, EndOfFile };

// The file's text with CRLF line ends read as LF, and a read position that may
// lie past the end (a seek past the end is allowed; reads there give nothing).
class AseText {
public:
    AseText(std::string bytes, const KeyPoll& keyWaiting) : text_(std::move(bytes)), keyWaiting_(keyWaiting) {
        dropCarriageReturns();
    }

    bool keyWaiting() const { return keyWaiting_(); }

    // Slides a window of the keyword's length one character at a time, starting
    // n - 1 characters back, until it matches, a key press waits, or the file ends.
    SearchEnd search(const char* keyword) {
        if (keyWaiting_()) return SearchEnd::KeyPressed;
        const size_t n = std::strlen(keyword);
        for (;;) {
            if (position_ >= n - 1) position_ -= n - 1;  // a seek before the start fails and moves nothing
            if (position_ + n > text_.size()) {
                position_ = text_.size();
                return SearchEnd::EndOfFile;
            }
            bool match = text_.compare(position_, n, keyword) == 0;
            position_ += n;
            if (match) return SearchEnd::Found;
            if (keyWaiting_()) return SearchEnd::KeyPressed;
        }
    }

    // Reads up to `length` characters (fewer at the end of the file).
    std::string read(size_t length) {
        if (position_ >= text_.size()) return {};
        std::string part = text_.substr(position_, length);
        position_ += part.size();
        return part;
    }

    // Reads the rest of the line into the work buffer: at most 49 characters,
    // up to and including the line end.
    std::string readLine() {
        std::string line;
        while (line.size() < workBufferSize - 1 && position_ < text_.size()) {
            char c = text_[position_++];
            line += c;
            if (c == '\n') break;
        }
        return line;
    }

    void skipSpace() {
        while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) ++position_;
    }

    // A whitespace-delimited word; only the first 49 characters are kept.
    bool readWord() {
        skipSpace();
        if (position_ >= text_.size()) return false;
        while (position_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[position_]))) ++position_;
        return true;
    }

    bool readInt(int32_t& value) {
        skipSpace();
        size_t used = 0;
        if (!parseInt(text_.c_str() + std::min(position_, text_.size()), value, used)) return false;
        position_ += used;
        return true;
    }

    void seek(size_t position) { position_ = position; }

    // A decimal integer at the start of `text`, after blanks and a sign.
    static bool parseInt(const char* text, int32_t& value, size_t& used) {
        const char* p = text;
        while (std::isspace(static_cast<unsigned char>(*p))) ++p;
        const char* start = p;
        if (*p == '+' || *p == '-') ++p;
        if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
        char* end = nullptr;
        long long parsed = std::strtoll(start, &end, 10);
        if (parsed > INT32_MAX) parsed = INT32_MAX;
        if (parsed < INT32_MIN) parsed = INT32_MIN;
        value = static_cast<int32_t>(parsed);
        used = static_cast<size_t>(end - text);
        return true;
    }

private:
    void dropCarriageReturns() {
        std::string cleaned;
        cleaned.reserve(text_.size());
        for (size_t i = 0; i < text_.size(); ++i) {
            if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') continue;
            cleaned += text_[i];
        }
        text_.swap(cleaned);
    }

    std::string text_;
    const KeyPoll& keyWaiting_;
    size_t position_ = 0;
};

// Reads a count from the next four characters; an unreadable count keeps the
// previous value, and a negative one is taken as 0.
void readCount(AseText& text, int32_t& count) {
    std::string digits = text.read(4);
    int32_t value = 0;
    size_t used = 0;
    if (AseText::parseInt(digits.c_str(), value, used)) count = value;
    if (count < 0) count = 0;
}

// Parses "index x y z" as far as it goes; items that do not parse keep their values.
void parseVertexLine(const std::string& line, int32_t& index, float& x, float& y, float& z) {
    const char* p = line.c_str();
    size_t used = 0;
    if (!AseText::parseInt(p, index, used)) return;
    p += used;
    float* targets[3] = {&x, &y, &z};
    for (float* target : targets) {
        char* end = nullptr;
        float value = std::strtof(p, &end);
        if (end == p) return;
        *target = value;
        p = end;
    }
}

void readVertices(AseText& text, Mesh& mesh, MessageSink& messages) {
    int32_t index = 0;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    if (text.keyWaiting()) return;
    for (int32_t i = 0; i < mesh.vertexCount; ++i) {
        if (text.search("*MESH_VERTEX ") == SearchEnd::EndOfFile) return;
        parseVertexLine(text.readLine(), index, x, y, z);
        if (index >= 0 && index < mesh.vertexCount) {  // entries naming no slot are skipped
            mesh.vertices[index].x = x;
            mesh.vertices[index].y = y;
            mesh.vertices[index].z = z;
        }
        if (i % 50 == 0) messages.text(".");
        if (text.keyWaiting()) return;
    }
}

// A face entry: a word, a word, a, a word, b, a word, c; reading stops at the
// first item that does not parse.
void parseFaceEntry(AseText& text, int32_t& a, int32_t& b, int32_t& c) {
    if (!text.readWord() || !text.readWord() || !text.readInt(a)) return;
    if (!text.readWord() || !text.readInt(b)) return;
    if (!text.readWord() || !text.readInt(c)) return;
}

void readFaces(AseText& text, Mesh& mesh, MessageSink& messages) {
    int32_t a = 0, b = 0, c = 0;
    if (text.keyWaiting()) return;
    for (int32_t i = 0; i < mesh.faceCount; ++i) {
        if (text.search("*MESH_FACE ") == SearchEnd::EndOfFile) return;
        parseFaceEntry(text, a, b, c);
        mesh.faces[i] = Face{a, b, c};
        if (i % 50 == 0) messages.text(".");
        messages.text(" \b");
        if (text.keyWaiting()) return;
    }
}

}  // namespace

bool loadAse(const ShowContext& context, const char* fileName, Mesh& mesh) {
    std::string bytes;
    if (!context.data.read(fileName, bytes)) return false;
    MessageSink& messages = context.messages;
    AseText text(std::move(bytes), context.keyWaiting);
    const std::string name = fileName;

    text.seek(20);
    text.search("*MESH_NUMVERTEX ");
    readCount(text, mesh.vertexCount);
    messages.text("nombre vertex de " + name + " " + std::to_string(mesh.vertexCount) + "\n");
    delete[] mesh.vertices;
    delete[] mesh.transformed;
    mesh.vertices = new Vec4[mesh.vertexCount]();
    mesh.transformed = new Vec4[mesh.vertexCount]();

    text.search("*MESH_NUMFACES ");
    readCount(text, mesh.faceCount);
    messages.text("nombre face de " + name + " " + std::to_string(mesh.faceCount) + "\n");
    delete[] mesh.faces;
    mesh.faces = new Face[mesh.faceCount]();

    readVertices(text, mesh, messages);
    messages.text("lecture vertex ok !\n");
    readFaces(text, mesh, messages);
    messages.text("lecture faces ok !\n");
    return true;
}
