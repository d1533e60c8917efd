#include "validation/input_error.h"

thread_local bool inputError = false;
