// One run: the two streams over the given handles, standard input tied to
// standard output, the dialogue, and the last flush of the normal exit.

#include "program.h"

#include "console/input_stream.h"
#include "console/output_stream.h"
#include "date_dialogue.h"

namespace datum {

int run_program(console::ByteSource& input, console::ByteSink& output)
{
    console::OutputStream out(output);
    console::InputStream in(input, &out);
    const int status = run_date_dialogue(in, out);
    // The normal exit hands over what is still pending; after a failure on
    // standard output that is one more attempt at the block that failed.
    out.flush();
    return status;
}

} // namespace datum
