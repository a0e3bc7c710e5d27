#pragma once
// Small procedures the whole program shares: stepping back to a trading day,
// the trace file and the elapsed-time text of the progress labels.
#include <string>
#include <string_view>

#include "platform/runtime/date.h"

// The trace switch. It starts off and nothing in the program turns it on, so
// LogError writes only where a developer sets it while tracing a fault.
extern bool blnLogging;

// Moves the day back over a listed holiday (1 January, 18 February) and then
// over Saturday and Sunday; a weekday that is not a holiday stays as it is.
// Leaves the result in the caller's variable and returns it.
rt::Date PreviousTradingDay(rt::Date& datDay);

// True when a trading day lies between the two days (both included) and is
// not after today: a day whose quotes the service should have.
bool HoldsTradingDay(rt::Date first, rt::Date last);

// Appends "<date and time>\t<message>\r\n" to err.log in the application
// folder when logging is on; otherwise does nothing. Never fails the caller.
// (A view, so that a fixed message costs nothing while logging is off.)
void LogError(std::string_view strMessage);

// "hh:mm:ss" of the whole seconds from start to finish (hours keep all their
// digits; a finish before the start gives negative hours with floored minutes
// and seconds); "00:00:00" when the count does not fit a 32-bit integer.
std::string FormatElapsedTime(rt::Date datStart, rt::Date datFinish);
