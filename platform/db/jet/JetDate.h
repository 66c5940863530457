#pragma once
#include "platform/db/jet/LayerGuard.h"
// Jet keeps a date as a double: days since 1899-12-30, the fraction the time
// of day. For days before that the fraction still counts forward from
// midnight (-1.25 is 1899-12-29 06:00). The loaded copy keeps dates as text
// "YYYY-MM-DD HH:MM:SS", which sorts and compares like the dates themselves
// for every year Jet allows (100 to 9999).

#include <optional>
#include <string>
#include <string_view>

namespace platform::db {

struct CivilDateTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// Nullopt for values outside the years 100 to 9999, and for NaN.
std::optional<CivilDateTime> civilFromJetDate(double stored);

std::string formatDateText(const CivilDateTime &when);

// False for impossible dates (Feb 30, month 13, ...).
bool isValidCivil(const CivilDateTime &when);

// A date as Jet SQL writes it between '#': m/d/y (two-digit years 00-29 are
// 2000-2029) or y-m-d, with or without a time h:mm[:ss] [AM|PM], or a time
// alone. Nullopt for anything else or an impossible date.
std::optional<CivilDateTime> parseJetDateLiteral(std::string_view literal);

} // namespace platform::db
