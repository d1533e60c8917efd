// All of the input validation: key filter, length rule, number readers,
// value rules and the cross-field rule.
#pragma once

#include "validation/input_error.h"
#include "validation/key_filter.h"
#include "validation/number_readers.h"
#include "validation/validation_messages.h"
#include "validation/value_rules.h"
