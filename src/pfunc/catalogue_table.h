// The catalogue as data, for the host's `list` command, the .def file and the function reference.
#pragma once

#include <cstddef>

namespace pfunc {

struct CatalogueEntry {
    const char* name;
    const char* arguments;    // the argument form
    const char* result;       // the result form
    const char* computation;  // the kernel routine or frame adapter
    const char* fields;       // the argument fields, as a user writes them
    const char* description;
};

extern const CatalogueEntry kCatalogue[];
extern const std::size_t kCatalogueSize;

// The twelve plug-in entry points, exported beside the catalogue.
extern const char* const kEntryPoints[];
extern const std::size_t kEntryPointCount;

}  // namespace pfunc
