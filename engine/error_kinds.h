// Every kind of failure the faces can meet from the core, gathered from the
// libraries that declare them (each `<folder>_errors.h`): what the page
// finds a kind by its name in, and what the walk of every kind in both
// languages walks.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "engine/engine_errors.h"
#include "errors/common_errors.h"
#include "export/export_errors.h"
#include "files/files_errors.h"
#include "glyphs/glyphs_errors.h"
#include "io/io_errors.h"
#include "render/render_errors.h"
#include "session/session_errors.h"
#include "text/text_errors.h"

namespace fudeline {

inline std::vector<const ErrorKind*> EveryCoreErrorKind() {
    std::vector<const ErrorKind*> every;
    using List = std::span<const ErrorKind* const>;
    for (const List list :
         {List(kinds::kCommonErrorKinds), List(kinds::kFilesErrorKinds),
          List(kinds::kGlyphsErrorKinds), List(kinds::kTextErrorKinds), List(kinds::kIoErrorKinds),
          List(kinds::kRenderErrorKinds), List(kinds::kExportErrorKinds),
          List(kinds::kSessionErrorKinds), List(kinds::kEngineErrorKinds)}) {
        every.insert(every.end(), list.begin(), list.end());
    }
    return every;
}

// The kind named `name`, or null.
inline const ErrorKind* FindCoreErrorKind(std::string_view name) {
    for (const ErrorKind* kind : EveryCoreErrorKind()) {
        if (std::string_view(kind->name) == name) return kind;
    }
    return nullptr;
}

}  // namespace fudeline
