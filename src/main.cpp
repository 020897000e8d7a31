// Process start-up and normal exit: the standard handles, then one run.

#include "console/system_io.h"
#include "program.h"

int main()
{
    using namespace datum::console;
    return datum::run_program(standard_input_handle(), standard_output_handle());
}
