// Every computation the catalogue names: the kernel and the frame's adapters.
#pragma once

#include "pfunc/elementary.h"
#include "rodived/explog.h"
#if __has_include("pfunc/elementary_trig.h")
#include "pfunc/elementary_trig.h"
#endif
#if __has_include("pfunc/statistical.h")
#include "pfunc/statistical.h"
#endif
#if __has_include("pfunc/financial.h")
#include "pfunc/financial.h"
#endif
