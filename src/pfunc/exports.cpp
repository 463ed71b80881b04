// The function exports, one per row of the catalogue.
#include "PluginAPI/export.h"
#include "pfunc/catalogue.h"
#include "pfunc/computations.h"
#include "pfunc/forms.h"

#define FUNCPLUG_DEFINE_EXPORT(name, arguments, result, computation, fields, description) \
    FUNCPLUG_API void name() { pfunc::forms::Run<pfunc::forms::arguments, pfunc::forms::result, &computation>(); }

FUNCPLUG_CATALOGUE(FUNCPLUG_DEFINE_EXPORT)
