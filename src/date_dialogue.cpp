// The dialogue in the order the user meets it: each question, then its
// answer read; February of the start year and of every year the stepping
// enters (date_stepper.h); the report line; and one more read for the
// final character, whose value is not used.

#include "date_dialogue.h"

#include "calendar.h"
#include "date_stepper.h"

#include <cstdint>

namespace datum {

using console::endl;

int run_date_dialogue(console::InputStream& in, console::OutputStream& out)
{
    // Nothing is validated and no read result is looked at: a field whose
    // read failed keeps its starting value 0.
    Date start;
    std::int32_t day_count = 0;

    out << "Geben Sie das erste Datum TT MM JJJJ ein, bestaetigen Sie jeweils mit ENTER: " << endl;
    out << "Tag: " << endl;
    in >> start.day;
    out << "Monat: " << endl;
    in >> start.month;
    out << "Jahr: " << endl;
    in >> start.year;
    out << endl << endl;
    out << "Geben Sie die Anzahl der Tage ein, bestaetigen Sie jeweils mit ENTER: " << endl;
    in >> day_count;

    MonthLengths lengths;
    Date date = start;
    lengths.set_february(date.year);
    // The start year is announced, then every year the stepping enters. A
    // long run announces millions of years in a row; their text is counted
    // on rather than formed anew for each.
    console::Decimal year_text(date.year);
    std::int32_t remaining = day_count;
    do {
        year_text.count_to(date.year);
        out << "im Jahr " << year_text << " hat der Februar " << lengths.february() << " Tage" << endl;
    } while (step_until_new_year(date, lengths, remaining));

    out << endl;
    out << day_count << " Tage nach dem " << start.day << ". " << start.month << ". " << start.year
        << " ist der " << date.day << ". " << date.month << ". " << date.year << "." << endl;

    // Keeps a console window open until the user answers with a non-blank
    // character; the character itself is not used.
    char final_character = 0;
    in >> final_character;
    return 0;
}

} // namespace datum
