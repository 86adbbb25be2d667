#pragma once

#include "Zor.RtlExport.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

// Number and date patterns in the notation label files carry ("#,##0.00", "0.#", "dd/mm/yyyy"),
// one implementation for every caller. The output never depends on the system locale: the
// decimal separator is ".", the thousands separator ",", month and day names are English.
namespace zor {

// A number by a float pattern:
//   0        a digit, always shown (leading and trailing zeros included)
//   #        a digit, shown only when significant
//   .        the decimal point (the first one counts; it is left out when no decimals follow)
//   ,        anywhere among the integer digits: group thousands
//   E+ E- e+ e-  scientific notation; "+" always shows the exponent's sign, "-" only when
//            negative; the zeros after it give the least number of exponent digits
//   "x" 'x'  literal text; any other character is copied as it stands
//   ;        separates sections: positive;negative;zero. With one section a negative value is
//            preceded by "-"; an empty negative or zero section falls back to the first.
// Values are read as their 15 significant decimal digits and round half away from zero on them,
// so 2.5 with "0" gives "3" and 1.005 with "0.00" gives "1.01". A value that rounds to zero
// never shows a minus sign.
// An empty pattern gives the value's general form (15 significant digits, "1E20" beyond).
// Not a number gives "NAN", infinities "INF" and "-INF".
QUINDLE_RTL_EXPORT QString FormatFloat(const QString& pattern, double value);
// The same for a 64-bit integer, exact over its whole range.
QUINDLE_RTL_EXPORT QString FormatInteger(const QString& pattern, int64_t value);

// A date and time by a pattern (letters in either case):
//   d dd ddd dddd     day, two-digit day, short and long day name
//   m mm mmm mmmm     month, two-digit month, short and long month name; right after an hour
//                     (separators aside) m and mm are the minutes
//   yy yyyy           two- and four-digit year
//   h hh n nn s ss    hour, minutes, seconds (one letter: no leading zero)
//   z zzz             milliseconds
//   am/pm a/p ampm    12-hour clock with the marker (the case of the pattern is kept; ampm: AM/PM)
//   c                 yyyy-mm-dd hh:nn:ss
//   t tt              hh:nn and hh:nn:ss
//   "x" 'x'           literal text; any other character is copied
// An empty pattern is "c" (without the time when it is midnight); an invalid date gives "".
QUINDLE_RTL_EXPORT QString FormatDateTime(const QString& pattern, const QDateTime& value);

} // namespace zor
