#include "platform/db/jet/JetDate.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

namespace platform::db {

constexpr std::chrono::sys_days kJetEpoch{std::chrono::year(1899) / 12 / 30};

std::optional<CivilDateTime> civilFromJetDate(double stored)
{
    // Beyond these the years leave 100..9999 anyway; the bound keeps the
    // arithmetic below exact.
    if (!(stored > -700000.0 && stored < 3000000.0))
        return std::nullopt;
    double whole = std::trunc(stored);
    // Milliseconds round to the nearest second as Jet shows them.
    auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(stored - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += stored < 0 ? -1 : 1;
    }
    const std::chrono::year_month_day date(kJetEpoch + std::chrono::days(static_cast<std::int64_t>(whole)));
    CivilDateTime when;
    when.year = int(date.year());
    when.month = int(unsigned(date.month()));
    when.day = int(unsigned(date.day()));
    when.hour = static_cast<int>(seconds / 3600);
    when.minute = static_cast<int>(seconds / 60 % 60);
    when.second = static_cast<int>(seconds % 60);
    if (when.year < 100 || when.year > 9999)
        return std::nullopt;
    return when;
}

std::string formatDateText(const CivilDateTime &when)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.year, when.month, when.day, when.hour,
                  when.minute, when.second);
    return text;
}

bool isValidCivil(const CivilDateTime &when)
{
    if (when.month < 1 || when.month > 12 || when.day < 1 || when.day > 31 || when.hour < 0 || when.hour > 23
        || when.minute < 0 || when.minute > 59 || when.second < 0 || when.second > 59 || when.year < 100
        || when.year > 9999)
        return false;
    return std::chrono::year_month_day(std::chrono::year(when.year), std::chrono::month(unsigned(when.month)),
                                       std::chrono::day(unsigned(when.day)))
        .ok();
}

namespace {

// The numbers of text split at separator; false when a part is no number.
bool numbersOf(std::string_view text, char separator, std::vector<int> &values)
{
    values.clear();
    for (;;) {
        const std::size_t end = text.find(separator);
        const std::string_view part = text.substr(0, end);
        int value = 0;
        const auto [stop, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || ec != std::errc() || stop != part.data() + part.size())
            return false;
        values.push_back(value);
        if (end == std::string_view::npos)
            return true;
        text.remove_prefix(end + 1);
    }
}

bool parseDay(std::string_view text, CivilDateTime &when)
{
    std::vector<int> v;
    if (text.find('-') != std::string_view::npos) {
        if (!numbersOf(text, '-', v) || v.size() != 3)
            return false;
        when.year = v[0], when.month = v[1], when.day = v[2];
        return true;
    }
    if (!numbersOf(text, '/', v) || v.size() != 3)
        return false;
    when.month = v[0], when.day = v[1], when.year = v[2];
    if (text.size() - text.rfind('/') - 1 <= 2)
        when.year += when.year < 30 ? 2000 : 1900;
    return true;
}

bool parseTime(std::string_view text, CivilDateTime &when)
{
    int addHours = -1; // none: a 24-hour clock
    if (text.size() >= 2) {
        const std::string tail{char(std::tolower(static_cast<unsigned char>(text[text.size() - 2]))),
                               char(std::tolower(static_cast<unsigned char>(text.back())))};
        if (tail == "am" || tail == "pm") {
            addHours = tail == "pm" ? 12 : 0;
            text.remove_suffix(2);
            while (!text.empty() && text.back() == ' ')
                text.remove_suffix(1);
        }
    }
    std::vector<int> v;
    if (!numbersOf(text, ':', v) || v.size() < 2 || v.size() > 3)
        return false;
    when.hour = v[0], when.minute = v[1], when.second = v.size() == 3 ? v[2] : 0;
    if (addHours >= 0) {
        if (when.hour < 1 || when.hour > 12)
            return false;
        when.hour = when.hour % 12 + addHours;
    }
    return true;
}

} // namespace

std::optional<CivilDateTime> parseJetDateLiteral(std::string_view literal)
{
    CivilDateTime when;
    std::string_view day = literal, time;
    if (const std::size_t space = literal.find(' '); space != std::string_view::npos) {
        day = literal.substr(0, space);
        time = literal.substr(space + 1);
    } else if (literal.find(':') != std::string_view::npos) {
        day = {};
        time = literal;
    }
    if ((!day.empty() && !parseDay(day, when)) || (!time.empty() && !parseTime(time, when)) || !isValidCivil(when))
        return std::nullopt;
    return when;
}

} // namespace platform::db
