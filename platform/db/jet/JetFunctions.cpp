#include "platform/db/jet/JetFunctions.h"

#include "platform/db/engine/SqlNames.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace platform::db {
namespace {

void requireCount(const std::string &name, const std::vector<JetCallArgument> &args, std::size_t low, std::size_t high)
{
    if (args.size() < low || args.size() > high)
        throw UntranslatableQuery("the function " + name + " with " + std::to_string(args.size()) + " arguments");
}

std::string datePartOf(const std::string &unit, const std::string &date)
{
    const auto field = [&](const char *format) { return "CAST(strftime('" + std::string(format) + "', " + date + ") AS INTEGER)"; };
    if (unit == "yyyy")
        return field("%Y");
    if (unit == "q")
        return "((" + field("%m") + " + 2) / 3)";
    if (unit == "m")
        return field("%m");
    if (unit == "d")
        return field("%d");
    if (unit == "y")
        return field("%j");
    if (unit == "h")
        return field("%H");
    if (unit == "n")
        return field("%M");
    if (unit == "s")
        return field("%S");
    throw UntranslatableQuery("DatePart with the interval \"" + unit + "\"");
}

std::string datePart(const std::vector<JetCallArgument> &args)
{
    requireCount("DatePart", args, 2, 4);
    if (!args[0].literal || args[0].literal->kind != JetToken::String)
        throw UntranslatableQuery("DatePart with an interval that is not written out");
    // The first-day-of-week arguments only matter to the week intervals,
    // which are refused anyway.
    return datePartOf(lowerAscii(args[0].literal->text), args[1].sql);
}

// Format for the patterns that have a plain equivalent: dates built from
// yyyy, yy, mm, dd, hh, nn, ss and separators, and numbers with a fixed
// count of decimals ("0", "0.00").
std::string formatCall(const std::vector<JetCallArgument> &args)
{
    requireCount("Format", args, 2, 2);
    if (!args[1].literal || args[1].literal->kind != JetToken::String)
        throw UntranslatableQuery("Format with a pattern that is not written out");
    const std::string pattern = args[1].literal->text;
    const std::string value = args[0].sql;
    const std::string p = lowerAscii(pattern);
    if (!p.empty() && p.find_first_not_of("0.") == std::string::npos && p[0] == '0' && std::count(p.begin(), p.end(), '.') <= 1) {
        const std::size_t dot = p.find('.');
        const std::size_t decimals = dot == std::string::npos ? 0 : p.size() - dot - 1;
        return "printf('%." + std::to_string(decimals) + "f', " + value + ")";
    }
    static const std::vector<std::pair<std::string, std::string>> parts{
        {"yyyy", "%Y"}, {"mm", "%m"}, {"dd", "%d"}, {"hh", "%H"}, {"nn", "%M"}, {"ss", "%S"}};
    std::string format;
    bool twoDigitYear = false;
    for (std::size_t i = 0; i < p.size();) {
        bool matched = false;
        for (const auto &[jet, sqlite] : parts) {
            // "ddd" (a weekday's name) and the like are no run of these.
            if (p.compare(i, jet.size(), jet) == 0 && (i + jet.size() >= p.size() || p[i + jet.size()] != p[i])) {
                format += sqlite;
                i += jet.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (p.compare(i, 2, "yy") == 0 && !twoDigitYear) {
            format += "%Y";
            twoDigitYear = true;
            i += 2;
            continue;
        }
        const char c = p[i];
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '#' || c == '@' || c == '%')
            throw UntranslatableQuery("Format with the pattern \"" + pattern + "\"");
        format += c;
        ++i;
    }
    if (twoDigitYear) {
        if (p != "yy")
            throw UntranslatableQuery("Format with the pattern \"" + pattern + "\"");
        return "substr(strftime('%Y', " + value + "), 3)";
    }
    return "strftime(" + quotedText(format) + ", " + value + ")";
}

} // namespace

std::string translateJetCall(const std::string &name, const std::vector<JetCallArgument> &args)
{
    const std::string word = lowerAscii(name);
    std::string sql;
    const auto arg = [&](std::size_t i) { return args[i].sql; };
    // Year(d) and the like are DatePart with their interval.
    static const std::map<std::string, std::string> dateFields{
        {"year", "yyyy"}, {"month", "m"}, {"day", "d"}, {"hour", "h"}, {"minute", "n"}, {"second", "s"}};
    if (word == "iif") {
        requireCount(name, args, 3, 3);
        sql = "(CASE WHEN " + arg(0) + " THEN " + arg(1) + " ELSE " + arg(2) + " END)";
    } else if (word == "nz") {
        requireCount(name, args, 1, 2);
        sql = "ifnull(" + arg(0) + ", " + (args.size() == 2 ? arg(1) : std::string("''")) + ")";
    } else if (word == "left") {
        requireCount(name, args, 2, 2);
        sql = "substr(" + arg(0) + ", 1, " + arg(1) + ")";
    } else if (word == "right") {
        requireCount(name, args, 2, 2);
        sql = "(CASE WHEN " + arg(1) + " <= 0 THEN '' ELSE substr(" + arg(0) + ", -(" + arg(1) + ")) END)";
    } else if (word == "mid") {
        requireCount(name, args, 2, 3);
        sql = "substr(" + arg(0) + ", " + arg(1) + (args.size() == 3 ? ", " + arg(2) : std::string()) + ")";
    } else if (word == "len") {
        requireCount(name, args, 1, 1);
        sql = "length(" + arg(0) + ")";
    } else if (word == "trim" || word == "ltrim" || word == "rtrim") {
        requireCount(name, args, 1, 1);
        sql = word + "(" + arg(0) + ", ' ')";
    } else if (word == "ucase" || word == "lcase") {
        requireCount(name, args, 1, 1);
        sql = std::string(word == "ucase" ? "upper(" : "lower(") + arg(0) + ")";
    } else if (word == "instr") {
        requireCount(name, args, 2, 2);
        sql = "instr(" + arg(0) + ", " + arg(1) + ")";
    } else if (const auto field = dateFields.find(word); field != dateFields.end()) {
        requireCount(name, args, 1, 1);
        sql = datePartOf(field->second, arg(0));
    } else if (word == "datepart") {
        sql = datePart(args);
    } else if (word == "format") {
        sql = formatCall(args);
    } else if (word == "ccur") {
        requireCount(name, args, 1, 1);
        sql = "round(" + arg(0) + ", 4)";
    } else if (word == "cdbl" || word == "csng") {
        requireCount(name, args, 1, 1);
        sql = "CAST(" + arg(0) + " AS REAL)";
    } else if (word == "clng" || word == "cint") {
        requireCount(name, args, 1, 1);
        sql = "CAST(round(" + arg(0) + ") AS INTEGER)";
    } else if (word == "cstr") {
        requireCount(name, args, 1, 1);
        sql = "CAST(" + arg(0) + " AS TEXT)";
    } else if (word == "abs") {
        requireCount(name, args, 1, 1);
        sql = "abs(" + arg(0) + ")";
    } else {
        throw UntranslatableQuery("the function " + name);
    }
    return sql;
}

} // namespace platform::db
