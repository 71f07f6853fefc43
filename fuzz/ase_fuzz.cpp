// The mesh reader on arbitrary text, followed by the wireframe drawing that
// consumes what it read. The first byte of an input decides when a key press
// arrives at the console (the reader's loops end early then); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/image.h"
#include "memory_file.h"
#include "wire3d/ase.h"
#include "wire3d/math3d.h"
#include "wire3d/mesh.h"

namespace {

// Polls left before the key press arrives; negative: no key press at all.
int pollsBeforeKey = -1;

bool fuzzedKeyPoll() {
    if (pollsBeforeKey < 0) return false;
    if (pollsBeforeKey == 0) return true;
    --pollsBeforeKey;
    return false;
}

// 0..127: no key press; 128..255: a key press after (byte - 128) * 4 polls.
int pollsFromControlByte(uint8_t control) { return control < 128 ? -1 : (control - 128) * 4; }

void placeForDrawing(Mesh& mesh) {
    setIdentity(mesh.world);
    setIdentity(mesh.object);
    mesh.world.m[4 * 2 + 3] = 200.0;
    mesh.color = 0x00FFFFFF;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fillAngleTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    static DiscardMessages messages;
    static Image target;
    static Mesh mesh{};
    if (size == 0) return -1;  // no control byte: not an input of this target
    pollsBeforeKey = pollsFromControlByte(data[0]);
    file.write(data + 1, size - 1);

    static ShowContext context = [] {
        ShowContext fuzzed(messages);
        fuzzed.keyWaiting = fuzzedKeyPoll;
        return fuzzed;
    }();
    if (!loadAse(context, file.path(), mesh)) std::abort();  // the memory file always opens
    placeForDrawing(mesh);
    drawWireframe(target, mesh);
    target.clear(0);
    resetMesh(mesh);  // the next input starts from a mesh never loaded
    return 0;
}
