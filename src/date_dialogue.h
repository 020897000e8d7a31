#pragma once

#include "console/input_stream.h"
#include "console/output_stream.h"

namespace datum {

// The whole conversation: asks for a start date and a day count, steps
// forward day by day while announcing February of every year it enters,
// reports the result and waits for one more non-blank character.
// Returns the exit status, which is always 0.
int run_date_dialogue(console::InputStream& in, console::OutputStream& out);

} // namespace datum
