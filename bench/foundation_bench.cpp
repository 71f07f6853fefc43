#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "image/image.h"
#include "wire3d/mesh.h"

// The per-frame raster operations on 320x240 images and the wireframe of a
// mesh of 1,000 faces, each beside a plain memcpy of the same 307,200 bytes so
// that the ratio to memory speed shows.
namespace {

void fillPattern(Image& image, uint32_t seed) {
    for (int32_t i = 0; i < image.count() * 4; ++i) {
        seed = seed * 1664525u + 1013904223u;
        image.pixels[i] = static_cast<uint8_t>(seed >> 24);
    }
}

void BM_FoundationMemcpy(benchmark::State& state) {
    std::vector<uint8_t> source(screenBytes, 0x5A), target(screenBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), screenBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * screenBytes);
}

void BM_CopyFrom(benchmark::State& state) {
    Image source, target;
    fillPattern(source, 1);
    for (auto _ : state) {
        target.copyFrom(source);
        benchmark::DoNotOptimize(target.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * screenBytes);
}

void BM_Clear(benchmark::State& state) {
    Image target;
    for (auto _ : state) {
        target.clear(0);
        benchmark::DoNotOptimize(target.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * screenBytes);
}

void BM_AddSaturate(benchmark::State& state) {
    Image source, target;
    fillPattern(source, 2);
    fillPattern(target, 3);
    for (auto _ : state) {
        target.addSaturate(source);
        benchmark::DoNotOptimize(target.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * screenBytes);
}

void BM_AddBlit(benchmark::State& state) {
    Image source, target;
    fillPattern(source, 4);
    fillPattern(target, 5);
    for (auto _ : state) {
        target.addBlit(source, 0, 0);
        benchmark::DoNotOptimize(target.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * screenBytes);
}

// A torus of 25 x 20 vertices and 1,000 triangles, turned so that every face
// is on screen at the scenes' starting depth.
class Torus {
public:
    Torus() {
        const int rings = 25, sides = 20;
        mesh = Mesh{};
        mesh.vertexCount = rings * sides;
        mesh.faceCount = 2 * rings * sides;
        mesh.vertices = new Vec4[mesh.vertexCount];
        mesh.transformed = new Vec4[mesh.vertexCount];
        mesh.faces = new Face[mesh.faceCount];
        for (int r = 0; r < rings; ++r) {
            for (int s = 0; s < sides; ++s) {
                double u = 2 * 3.14159265358979 * r / rings, v = 2 * 3.14159265358979 * s / sides;
                double radius = 55 + 22 * std::cos(v);
                mesh.vertices[r * sides + s] = Vec4{static_cast<float>(radius * std::cos(u)),
                                                    static_cast<float>(radius * std::sin(u)),
                                                    static_cast<float>(22 * std::sin(v)), 1.0f};
                int next = (r + 1) % rings, around = (s + 1) % sides;
                mesh.faces[2 * (r * sides + s)] = Face{r * sides + s, next * sides + s, next * sides + around};
                mesh.faces[2 * (r * sides + s) + 1] = Face{r * sides + s, next * sides + around, r * sides + around};
            }
        }
        fillAngleTables();
        Matrix4 tilt;
        rotateX(tilt, 40);
        rotateY(mesh.world, 20);
        multiply(tilt, mesh.world, mesh.world);
        mesh.world.m[11] = 200.0;
        setIdentity(mesh.object);
        mesh.color = 0x00FFFFFF;
    }
    ~Torus() { resetMesh(mesh); }
    Mesh mesh;
};

void BM_DrawWireframe(benchmark::State& state) {
    Torus torus;
    Image layer;
    for (auto _ : state) {
        drawWireframe(layer, torus.mesh);
        benchmark::DoNotOptimize(layer.pixels);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * torus.mesh.faceCount);
    int lit = 0;
    for (int32_t i = 0; i < layer.count(); ++i) lit += layer.pixels[4 * i] != 0;
    state.counters["lit_pixels"] = lit;  // shows that the faces are on screen
}

}  // namespace

BENCHMARK(BM_FoundationMemcpy);
BENCHMARK(BM_CopyFrom);
BENCHMARK(BM_Clear);
BENCHMARK(BM_AddSaturate);
BENCHMARK(BM_AddBlit);
BENCHMARK(BM_DrawWireframe);
