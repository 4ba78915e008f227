#include "engine/date_placeholders.h"

#include "engine/text_ops.h"
#include "engine/text_units.h"

namespace zul {

namespace {

using enum DateSource;
using enum DateValue;

void Cut(std::string& out, std::string_view text, size_t first, size_t count) {
  out.append(CharSlice(text, first, count));
}

// Position `first` alone when it holds "0", else it and the next one.
void CutWithoutZero(std::string& out, std::string_view text, size_t first) {
  if (CharSlice(text, first, 1) == "0") {
    Cut(out, text, first + 1, 1);
  } else {
    Cut(out, text, first, 2);
  }
}

}  // namespace

const std::array<DatePlaceholder, 139> kDatePlaceholders = {{
    // The current time's hour row comes after its second row.
    {"[datum]", Now, Date},
    {"[date]", Now, Date},
    {"[rdatum]", Now, DateYearFirst},
    {"[rdate]", Now, DateYearFirst},
    {"[jj]", Now, Year2},
    {"[yy]", Now, Year2},
    {"[jjjj]", Now, Year4},
    {"[yyyy]", Now, Year4},
    {"[j]", Now, Year4},
    {"[y]", Now, Year4},
    {"[jahr]", Now, Year4},
    {"[year]", Now, Year4},
    {"[mm]", Now, Month2},
    {"[monat]", Now, Month},
    {"[month]", Now, Month},
    {"[t]", Now, Day},
    {"[d]", Now, Day},
    {"[tag]", Now, Day},
    {"[day]", Now, Day},
    {"[tt]", Now, Day2},
    {"[dd]", Now, Day2},
    {"[zeit]", Now, Time},
    {"[time]", Now, Time},
    {"[m]", Now, Minute2},
    {"[minute]", Now, Minute2},
    {"[s]", Now, Second2},
    {"[second]", Now, Second2},
    {"[sekunde]", Now, Second2},
    {"[h]", Now, Hour2},
    {"[hour]", Now, Hour2},
    {"[stunde]", Now, Hour2},

    {"[edatum]", Created, Date},
    {"[cdate]", Created, Date},
    {"[redatum]", Created, DateYearFirst},
    {"[rcdate]", Created, DateYearFirst},
    {"[ejj]", Created, Year2},
    {"[cyy]", Created, Year2},
    {"[ejjjj]", Created, Year4},
    {"[cyyyy]", Created, Year4},
    {"[ejahr]", Created, Year4},
    {"[cyear]", Created, Year4},
    {"[cy]", Created, Year4},
    {"[ej]", Created, Year4},
    {"[emm]", Created, Month2},
    {"[cmm]", Created, Month2},
    {"[emonat]", Created, Month},
    {"[cmonth]", Created, Month},
    {"[cd]", Created, Day},
    {"[et]", Created, Day},
    {"[cday]", Created, Day},
    {"[etag]", Created, Day},
    {"[ett]", Created, Day2},
    {"[cdd]", Created, Day2},
    {"[ezeit]", Created, Time},
    {"[ctime]", Created, Time},
    {"[eh]", Created, Hour2},
    {"[estunde]", Created, Hour2},
    {"[ch]", Created, Hour2},
    {"[chour]", Created, Hour2},
    {"[em]", Created, Minute2},
    {"[cm]", Created, Minute2},
    {"[eminute]", Created, Minute2},
    {"[cminute]", Created, Minute2},
    {"[es]", Created, Second2},
    {"[cs]", Created, Second2},
    {"[esekunde]", Created, Second2},
    {"[csecond]", Created, Second2},

    {"[adatum]", Modified, Date},
    {"[wdate]", Modified, Date},
    {"[radatum]", Modified, DateYearFirst},
    {"[rwdate]", Modified, DateYearFirst},
    {"[ajj]", Modified, Year2},
    {"[wyy]", Modified, Year2},
    {"[ajjjj]", Modified, Year4},
    {"[wyyyy]", Modified, Year4},
    {"[ajahr]", Modified, Year4},
    {"[wyear]", Modified, Year4},
    {"[wy]", Modified, Year4},
    {"[aj]", Modified, Year4},
    {"[amm]", Modified, Month2},
    {"[wmm]", Modified, Month2},
    {"[amonat]", Modified, Month},
    {"[wmonth]", Modified, Month},
    {"[wd]", Modified, Day},
    {"[at]", Modified, Day},
    {"[wday]", Modified, Day},
    {"[atag]", Modified, Day},
    {"[att]", Modified, Day2},
    {"[wdd]", Modified, Day2},
    {"[azeit]", Modified, Time},
    {"[wtime]", Modified, Time},
    {"[ah]", Modified, Hour2},
    {"[astunde]", Modified, Hour2},
    {"[wh]", Modified, Hour2},
    {"[whour]", Modified, Hour2},
    {"[am]", Modified, Minute2},
    {"[wm]", Modified, Minute2},
    {"[aminute]", Modified, Minute2},
    {"[wminute]", Modified, Minute2},
    {"[as]", Modified, Second2},
    {"[ws]", Modified, Second2},
    {"[asekunde]", Modified, Second2},
    {"[wsecond]", Modified, Second2},

    {"[fdatum]", Captured, Date},
    {"[pdate]", Captured, Date},
    {"[rfdatum]", Captured, DateYearFirst},
    {"[rpdate]", Captured, DateYearFirst},
    {"[fjj]", Captured, Year2},
    {"[pyy]", Captured, Year2},
    {"[fjjjj]", Captured, Year4},
    {"[pyyyy]", Captured, Year4},
    {"[fjahr]", Captured, Year4},
    {"[pyear]", Captured, Year4},
    {"[py]", Captured, Year4},
    {"[fj]", Captured, Year4},
    {"[fmm]", Captured, Month2},
    {"[pmm]", Captured, Month2},
    {"[fmonat]", Captured, Month},
    {"[pmonth]", Captured, Month},
    {"[pd]", Captured, Day},
    {"[ft]", Captured, Day},
    {"[pday]", Captured, Day},
    {"[ftag]", Captured, Day},
    {"[ftt]", Captured, Day2},
    {"[pdd]", Captured, Day2},
    {"[fzeit]", Captured, Time},
    {"[ptime]", Captured, Time},
    {"[fh]", Captured, Hour2},
    {"[fstunde]", Captured, Hour2},
    {"[ph]", Captured, Hour2},
    {"[phour]", Captured, Hour2},
    {"[fm]", Captured, Minute2},
    {"[pm]", Captured, Minute2},
    {"[fminute]", Captured, Minute2},
    {"[pminute]", Captured, Minute2},
    {"[fs]", Captured, Second2},
    {"[ps]", Captured, Second2},
    {"[fsekunde]", Captured, Second2},
    {"[psecond]", Captured, Second2},
}};

void AppendNowValue(std::string& out, DateValue value, const LocalTime& now) {
  switch (value) {
    case Date:
      AppendDecimal(out, now.day, 2);
      out.push_back('.');
      AppendDecimal(out, now.month, 2);
      out.push_back('.');
      AppendDecimal(out, now.year, 1);
      return;
    case DateYearFirst:
      AppendDecimal(out, now.year, 1);
      out.push_back('-');
      AppendDecimal(out, now.month, 2);
      out.push_back('-');
      AppendDecimal(out, now.day, 2);
      return;
    case Year2:
      return AppendDecimal(out, now.year % 100, 2);
    case Year4:
      return AppendDecimal(out, now.year, 1);
    case Month2:
      return AppendDecimal(out, now.month, 2);
    case Month:
      return AppendDecimal(out, now.month, 1);
    case Day:
      return AppendDecimal(out, now.day, 1);
    case Day2:
      return AppendDecimal(out, now.day, 2);
    case Time:
      AppendDecimal(out, now.hour, 2);
      out.push_back('.');
      AppendDecimal(out, now.minute, 2);
      out.push_back('.');
      AppendDecimal(out, now.second, 2);
      return;
    case Hour2:
      return AppendDecimal(out, now.hour, 2);
    case Minute2:
      return AppendDecimal(out, now.minute, 2);
    case Second2:
      return AppendDecimal(out, now.second, 2);
  }
}

void AppendFileTimeValue(std::string& out, DateValue value, std::string_view text) {
  switch (value) {
    case Date:
      return Cut(out, text, 0, 10);
    case DateYearFirst:
      if (text.empty()) return;
      Cut(out, text, 6, 4);
      out.push_back('-');
      Cut(out, text, 3, 2);
      out.push_back('-');
      return Cut(out, text, 0, 2);
    case Year2:
      return Cut(out, text, 8, 2);
    case Year4:
      return Cut(out, text, 6, 4);
    case Month2:
      return Cut(out, text, 3, 2);
    case Month:
      return CutWithoutZero(out, text, 3);
    case Day:
      return CutWithoutZero(out, text, 0);
    case Day2:
      return Cut(out, text, 0, 2);
    case Time:
      return Cut(out, text, 13, 8);
    case Hour2:
      return Cut(out, text, 13, 2);
    case Minute2:
      return Cut(out, text, 16, 2);
    case Second2:
      return Cut(out, text, 19, 2);
  }
}

}  // namespace zul
