// vokkit mesh IN OUT.ase [--faces N] [--as NAME] [--up y|z]
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "kit_slots.h"
#include "mesh_fit.h"
#include "mesh_reduce.h"
#include "model_reader.h"
#include "shared/ase_writer.h"

namespace {

// The show's reader takes each count from four characters.
constexpr int largestCount = 9999;

struct MeshArgs {
    std::string in, out, slotName;
    int maxFaces = 0;  // 0: not asked
    bool upGiven = false;
    UpAxis up = UpAxis::Y;
};

bool parseFaces(const std::string& text, int& faces) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > largestCount) return false;
    faces = static_cast<int>(value);
    return true;
}

bool parse(const std::vector<std::string>& args, MeshArgs& parsed, std::string& error) {
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--faces" && hasValue) {
            if (!parseFaces(args[++i], parsed.maxFaces)) {
                error = "--faces takes a number from 1 to " + std::to_string(largestCount);
                return false;
            }
        } else if (a == "--as" && hasValue) {
            parsed.slotName = args[++i];
        } else if (a == "--up" && hasValue && (args[i + 1] == "y" || args[i + 1] == "z")) {
            parsed.upGiven = true;
            parsed.up = args[++i] == "y" ? UpAxis::Y : UpAxis::Z;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown or incomplete option " + a;
            return false;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        error = "usage: vokkit mesh IN OUT.ase [--faces N] [--as NAME] [--up y|z]";
        return false;
    }
    parsed.in = files[0];
    parsed.out = files[1];
    if (parsed.slotName.empty()) parsed.slotName = baseName(parsed.out);
    if (!parsed.upGiven) parsed.up = usualUpAxis(parsed.in);
    return true;
}

// The node name in the file: letters, digits and . _ - only, so that it can
// never hold one of the keywords the reader looks for.
std::string plainName(const std::string& name) {
    std::string plain;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-') plain += c;
    }
    return plain.empty() ? "mesh" : plain;
}

bool isMeshSlot(const Slot* slot) {
    return slot && slot->kind == DataKind::Mesh;
}

}  // namespace

int runMesh(const std::vector<std::string>& args) {
    MeshArgs parsed;
    std::string error;
    if (!parse(args, parsed, error)) return refuse("mesh", error);
    const Slot* slot = findSlot(parsed.slotName);
    if (!isMeshSlot(slot)) {
        return refuse(parsed.out, "'" + parsed.slotName +
                                      "' is not one of the show's meshes; name the slot with --as (" +
                                      slotNames(DataKind::Mesh) + ")");
    }

    TriMesh mesh;
    if (!readModel(parsed.in, parsed.up, mesh, error)) return refuse(parsed.in, error);
    const size_t readFaces = mesh.faces.size();
    if (parsed.maxFaces > 0 && !reduceFaces(mesh, parsed.maxFaces)) {
        return refuse(parsed.in, "cannot reduce " + std::to_string(readFaces) + " triangles to " +
                                     std::to_string(parsed.maxFaces));
    }
    if (mesh.faces.size() > largestCount) {
        return refuse(parsed.in, "the model has " + std::to_string(mesh.faces.size()) +
                                     " triangles; the show's reader takes at most 9999: add --faces 9999 or fewer");
    }
    if (mesh.vertices.size() > largestCount) {
        return refuse(parsed.in, "the model has " + std::to_string(mesh.vertices.size()) +
                                     " vertices; the show's reader takes at most 9999: ask for fewer faces with "
                                     "--faces");
    }
    if (!fitToSlot(mesh, *slot, error)) return refuse(parsed.in, error);
    mesh.name = plainName(baseName(parsed.in));
    if (!writeAseFile(parsed.out, mesh, "vokkit: " + mesh.name, error)) return refuse(parsed.out, error);

    std::string reduced;
    if (mesh.faces.size() != readFaces) reduced = ", reduced from " + std::to_string(readFaces);
    std::printf("%s: %zu vertices, %zu faces%s, used %s, on screen at every angle of its scenes\n",
                parsed.out.c_str(), mesh.vertices.size(), mesh.faces.size(), reduced.c_str(), slotUse(*slot).c_str());
    return exitOk;
}
