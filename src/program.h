#pragma once

#include "console/system_io.h"

namespace datum {

// One whole run on the given input and output: the two streams are set up
// empty and good, the dialogue runs, and the normal exit flushes standard
// output a last time. Returns the exit status.
int run_program(console::ByteSource& input, console::ByteSink& output);

} // namespace datum
