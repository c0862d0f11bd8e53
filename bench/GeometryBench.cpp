#include "geometry/Winding.h"
#include "session/EditorContext.h"

#include <benchmark/benchmark.h>

// A base polygon cut by the five other planes of a 64-unit cube.
static void BM_BasePolyAndClipToCubeFace(benchmark::State& state) {
    const Plane planes[6] = {{{0, 0, 1}, 64}, {{0, 0, -1}, 0}, {{1, 0, 0}, 64},
                             {{-1, 0, 0}, 0}, {{0, 1, 0}, 64}, {{0, -1, 0}, 0}};
    for (auto _ : state) {
        WindingPtr w = BasePolyForPlane(planes[0]);
        for (int i = 1; i < 6 && w; ++i) {
            Plane back{-planes[i].normal, -planes[i].dist};
            w = ClipWinding(std::move(w), back);
        }
        benchmark::DoNotOptimize(w);
    }
}
BENCHMARK(BM_BasePolyAndClipToCubeFace);

static void BM_BasePolyForPlane(benchmark::State& state) {
    Plane plane{{0.6f, 0.0f, 0.8f}, 100};
    for (auto _ : state) {
        benchmark::DoNotOptimize(BasePolyForPlane(plane));
    }
}
BENCHMARK(BM_BasePolyForPlane);

static void BM_ClipWindingSlanted(benchmark::State& state) {
    Plane base{{0, 0, 1}, 0};
    Plane cut{{0.6f, 0.8f, 0}, 5};
    for (auto _ : state) {
        WindingPtr w = BasePolyForPlane(base);
        benchmark::DoNotOptimize(ClipWinding(std::move(w), cut));
    }
}
BENCHMARK(BM_ClipWindingSlanted);
