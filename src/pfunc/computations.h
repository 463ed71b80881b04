// Every computation the catalogue names: the kernel and the frame's adapters.
#pragma once

#include "pfunc/elementary.h"
#include "pfunc/elementary_trig.h"
#include "pfunc/financial.h"
#include "pfunc/statistical.h"
#include "rodived/explog.h"
