// The engine as the tests of engine/ load it: the catalogue beside the test
// programs (where the build writes it) and the face it was made from.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "engine/engine.h"

namespace fudeline::testing {

// Loaded once; stops the test program when it cannot load, since every test
// using it would otherwise fail for that one reason.
inline Engine& LoadedEngine() {
    static Engine engine = [] {
        Result<Engine> loaded = Engine::Load({"", FUDELINE_FONT});
        if (!loaded) {
            std::fprintf(stderr, "%s\n", loaded.error().Message().c_str());
            std::abort();
        }
        return std::move(*loaded);
    }();
    return engine;
}

}  // namespace fudeline::testing
