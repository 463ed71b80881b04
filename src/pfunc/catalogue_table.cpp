#include "pfunc/catalogue_table.h"

#include "pfunc/catalogue.h"
#include "pfunc/forms.h"

namespace pfunc {

#define FUNCPLUG_CATALOGUE_ENTRY(name, arguments, result, computation, fields, description) \
    {#name, forms::arguments::kShape, forms::result::kShape, #computation, fields, description},

const CatalogueEntry kCatalogue[] = {FUNCPLUG_CATALOGUE(FUNCPLUG_CATALOGUE_ENTRY)};
const std::size_t kCatalogueSize = sizeof(kCatalogue) / sizeof(kCatalogue[0]);

const char* const kEntryPoints[] = {"Settings",        "Copyright", "GetShortInfo", "GetInfo",
                                    "GetType",         "SetParentWindow", "Draw",   "SetPath",
                                    "SetFile",         "GetFile",   "SetData",      "GetData"};
const std::size_t kEntryPointCount = sizeof(kEntryPoints) / sizeof(kEntryPoints[0]);

}  // namespace pfunc
