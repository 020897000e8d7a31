// Process start-up and normal exit around the date dialogue.

#include "console/input_stream.h"
#include "console/output_stream.h"
#include "console/system_io.h"
#include "date_dialogue.h"

int main()
{
    using namespace datum::console;
    OutputStream out(standard_output_handle());
    InputStream in(standard_input_handle(), &out);
    const int status = datum::run_date_dialogue(in, out);
    out.flush();
    return status;
}
