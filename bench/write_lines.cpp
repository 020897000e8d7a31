// The cost floor of a maximal run: writes the lines that datum writes for
// the input "1 1 1 2147483647", one write call per line, to standard output,
// and does nothing else. It keeps the year's digits as text and counts them
// up in place, so no time goes to formatting.

#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstring>

namespace {

void write_line(const char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t put = ::write(STDOUT_FILENO, bytes, size);
        if (put <= 0) {
            return;
        }
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
}

void write_text(const char* text)
{
    write_line(text, std::strlen(text));
}

} // namespace

int main()
{
    write_text("Geben Sie das erste Datum TT MM JJJJ ein, bestaetigen Sie jeweils mit ENTER: \r\n");
    write_text("Tag: \r\n");
    write_text("Monat: \r\n");
    write_text("Jahr: \r\n");
    write_text("\r\n");
    write_text("\r\n");
    write_text("Geben Sie die Anzahl der Tage ein, bestaetigen Sie jeweils mit ENTER: \r\n");

    constexpr int last_year = 5879611;
    // "im Jahr " + up to 7 digits + " hat der Februar 28 Tage\r\n"
    constexpr char prefix[] = "im Jahr ";
    constexpr char suffix[] = " hat der Februar 28 Tage\r\n";
    constexpr std::size_t prefix_size = sizeof prefix - 1;
    constexpr std::size_t suffix_size = sizeof suffix - 1;
    std::array<char, prefix_size + 7 + suffix_size> line{};
    std::array<char, 7> digits{'0', '0', '0', '0', '0', '0', '1'};
    std::size_t first_digit = 6;
    std::memcpy(line.data(), prefix, prefix_size);
    for (int year = 1; year <= last_year; ++year) {
        const std::size_t count = digits.size() - first_digit;
        std::memcpy(line.data() + prefix_size, digits.data() + first_digit, count);
        std::memcpy(line.data() + prefix_size + count, suffix, suffix_size);
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        line[prefix_size + count + 17] = '2';
        line[prefix_size + count + 18] = leap ? '9' : '8';
        write_line(line.data(), prefix_size + count + suffix_size);
        std::size_t at = digits.size() - 1;
        while (digits[at] == '9') {
            digits[at--] = '0';
        }
        ++digits[at];
        first_digit = at < first_digit ? at : first_digit;
    }
    write_text("\r\n");
    write_text("2147483647 Tage nach dem 1. 1. 1 ist der 12. 7. 5879611.\r\n");
    return 0;
}
