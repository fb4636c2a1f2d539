// The engine may include its own headers and those of the layers below it.
#include "app/EngineState.h"
#include "core/Common.h"
