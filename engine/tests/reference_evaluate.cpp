#include "engine/tests/reference_evaluate.h"

#include <algorithm>
#include <cstdio>

#include "engine/clock.h"
#include "engine/random.h"
#include "engine/text_ops.h"
#include "engine/text_units.h"

namespace zul {

namespace {

std::string Printf(const char* format, int a, int b = 0, int c = 0) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

std::string Cut(const std::string& text, size_t first, size_t count) {
  return std::string(CharSlice(text, first, count));
}

void ReplaceNow(std::string& w, const LocalTime& t) {
  const std::string date = Printf("%.2d.%.2d.%d", t.day, t.month, t.year);
  const std::string rdate = Printf("%d-%.2d-%.2d", t.year, t.month, t.day);
  const std::string yy = Printf("%.2d", t.year % 100);
  const std::string year = Printf("%d", t.year);
  const std::string mm = Printf("%.2d", t.month);
  const std::string month = Printf("%d", t.month);
  const std::string day = Printf("%d", t.day);
  const std::string dd = Printf("%.2d", t.day);
  const std::string time = Printf("%.2d.%.2d.%.2d", t.hour, t.minute, t.second);
  const std::string h = Printf("%.2d", t.hour);
  const std::string m = Printf("%.2d", t.minute);
  const std::string s = Printf("%.2d", t.second);
  ReplaceAll(w, "[datum]", date);
  ReplaceAll(w, "[date]", date);
  ReplaceAll(w, "[rdatum]", rdate);
  ReplaceAll(w, "[rdate]", rdate);
  ReplaceAll(w, "[jj]", yy);
  ReplaceAll(w, "[yy]", yy);
  ReplaceAll(w, "[jjjj]", year);
  ReplaceAll(w, "[yyyy]", year);
  ReplaceAll(w, "[j]", year);
  ReplaceAll(w, "[y]", year);
  ReplaceAll(w, "[jahr]", year);
  ReplaceAll(w, "[year]", year);
  ReplaceAll(w, "[mm]", mm);
  ReplaceAll(w, "[monat]", month);
  ReplaceAll(w, "[month]", month);
  ReplaceAll(w, "[t]", day);
  ReplaceAll(w, "[d]", day);
  ReplaceAll(w, "[tag]", day);
  ReplaceAll(w, "[day]", day);
  ReplaceAll(w, "[tt]", dd);
  ReplaceAll(w, "[dd]", dd);
  ReplaceAll(w, "[zeit]", time);
  ReplaceAll(w, "[time]", time);
  ReplaceAll(w, "[m]", m);
  ReplaceAll(w, "[minute]", m);
  ReplaceAll(w, "[s]", s);
  ReplaceAll(w, "[second]", s);
  ReplaceAll(w, "[sekunde]", s);
  ReplaceAll(w, "[h]", h);
  ReplaceAll(w, "[hour]", h);
  ReplaceAll(w, "[stunde]", h);
}

// One file-time group; `names` lists its placeholders row by row, as in ReplaceFile's callers.
void ReplaceFile(std::string& w, const std::string& x, const char* const (&names)[36]) {
  const std::string date = Cut(x, 0, 10);
  const std::string rdate = x.empty() ? "" : Cut(x, 6, 4) + "-" + Cut(x, 3, 2) + "-" + Cut(x, 0, 2);
  const std::string yy = Cut(x, 8, 2);
  const std::string year = Cut(x, 6, 4);
  const std::string mm = Cut(x, 3, 2);
  const std::string month = Cut(x, 3, 1) == "0" ? Cut(x, 4, 1) : Cut(x, 3, 2);
  const std::string day = Cut(x, 0, 1) == "0" ? Cut(x, 1, 1) : Cut(x, 0, 2);
  const std::string dd = Cut(x, 0, 2);
  const std::string time = Cut(x, 13, 8);
  const std::string h = Cut(x, 13, 2);
  const std::string m = Cut(x, 16, 2);
  const std::string s = Cut(x, 19, 2);
  const std::string* values[36] = {
      &date, &date, &rdate, &rdate, &yy,  &yy,  &year, &year, &year, &year, &year, &year,
      &mm,   &mm,   &month, &month, &day, &day, &day,  &day,  &dd,   &dd,   &time, &time,
      &h,    &h,    &h,     &h,     &m,   &m,   &m,    &m,    &s,    &s,    &s,    &s};
  for (int i = 0; i < 36; ++i) ReplaceAll(w, names[i], *values[i]);
}

constexpr const char* kCreated[36] = {
    "[edatum]", "[cdate]",   "[redatum]",  "[rcdate]", "[ejj]", "[cyy]", "[ejjjj]",   "[cyyyy]",
    "[ejahr]",  "[cyear]",   "[cy]",       "[ej]",     "[emm]", "[cmm]", "[emonat]",  "[cmonth]",
    "[cd]",     "[et]",      "[cday]",     "[etag]",   "[ett]", "[cdd]", "[ezeit]",   "[ctime]",
    "[eh]",     "[estunde]", "[ch]",       "[chour]",  "[em]",  "[cm]",  "[eminute]", "[cminute]",
    "[es]",     "[cs]",      "[esekunde]", "[csecond]"};

constexpr const char* kModified[36] = {
    "[adatum]", "[wdate]",   "[radatum]",  "[rwdate]", "[ajj]", "[wyy]", "[ajjjj]",   "[wyyyy]",
    "[ajahr]",  "[wyear]",   "[wy]",       "[aj]",     "[amm]", "[wmm]", "[amonat]",  "[wmonth]",
    "[wd]",     "[at]",      "[wday]",     "[atag]",   "[att]", "[wdd]", "[azeit]",   "[wtime]",
    "[ah]",     "[astunde]", "[wh]",       "[whour]",  "[am]",  "[wm]",  "[aminute]", "[wminute]",
    "[as]",     "[ws]",      "[asekunde]", "[wsecond]"};

constexpr const char* kCaptured[36] = {
    "[fdatum]", "[pdate]",   "[rfdatum]",  "[rpdate]", "[fjj]", "[pyy]", "[fjjjj]",   "[pyyyy]",
    "[fjahr]",  "[pyear]",   "[py]",       "[fj]",     "[fmm]", "[pmm]", "[fmonat]",  "[pmonth]",
    "[pd]",     "[ft]",      "[pday]",     "[ftag]",   "[ftt]", "[pdd]", "[fzeit]",   "[ptime]",
    "[fh]",     "[fstunde]", "[ph]",       "[phour]",  "[fm]",  "[pm]",  "[fminute]", "[pminute]",
    "[fs]",     "[ps]",      "[fsekunde]", "[psecond]"};

// The filling loop as it reads: the whole fill in front while the text is too short.
std::string FillLiterally(int32_t value, int32_t digits, const std::string& fill) {
  std::string text = Printf("%d", value);
  const auto width = static_cast<size_t>(std::clamp(digits, 0, kMaxFilledWidth));
  while (!fill.empty() && CharCount(text) < width) text.insert(0, fill);
  return text;
}

void ReplaceRanges(std::string& w, const std::string& source) {
  const auto length = static_cast<int64_t>(CharCount(source));
  size_t e = w.size();
  while (true) {
    const size_t r = w.substr(0, e).rfind(']');
    if (r == std::string::npos) return;
    const size_t l = w.substr(0, r).rfind('[');
    if (l == std::string::npos) return;
    const std::string inner = w.substr(l + 1, r - l - 1);
    if (inner.find(',') != std::string::npos) {
      std::vector<std::string> parts;
      for (size_t begin = 0;;) {
        const size_t comma = inner.find(',', begin);
        parts.push_back(inner.substr(begin, comma - begin));
        if (comma == std::string::npos) break;
        begin = comma + 1;
      }
      int64_t from = AtolRule(parts[0]);
      int64_t to = AtolRule(parts[1]);
      from = from > 0 ? from - 1 : from < 0 ? length + from : 0;
      to = to > 0 ? to - 1 : to < 0 ? length + to : 0;
      int64_t lo = std::min(from, to);
      const int64_t hi = std::max(from, to);
      int64_t count = hi - lo + 1;
      if (lo < 0) lo = 0;
      if (lo + count > length) count = length - lo;
      if (lo > length) count = 0;
      std::string text;
      for (int64_t i = 0; i < count; ++i) text += Cut(source, static_cast<size_t>(lo + i), 1);
      w.replace(l, r - l + 1, text);
    }
    e = l;
  }
}

}  // namespace

std::string ReferenceEvaluate(const FilterSettings& f, std::string oldName, int32_t index,
                              std::string created, std::string modified, std::string captured) {
  const LocalTime now = ReadClock();
  ReplaceAll(oldName, "/", "");
  ReplaceAll(oldName, std::string(1, '\0'), "");
  ReplaceAll(oldName, f.searchText, f.replaceText);
  const size_t p = oldName.rfind('.');
  const std::string namePart = p == std::string::npos ? "" : oldName.substr(0, p);
  const std::string extPart = p == std::string::npos ? oldName : oldName.substr(p + 1);

  std::string w = f.mask;
  ReplaceAll(w, "[name]", ConvertCase(namePart, f.nameCase, true));
  ReplaceAll(w, "[typ]", ConvertCase(extPart, f.extCase, false));
  const auto counter =
      static_cast<int32_t>(static_cast<uint32_t>(f.start) +
                           static_cast<uint32_t>(index) * static_cast<uint32_t>(f.step));
  ReplaceAll(w, "[index]", FillLiterally(counter, f.digits, f.fillText));
  const int r = NextRandom();
  const int32_t random = f.step == 0 ? f.start
                                     : static_cast<int32_t>(static_cast<uint32_t>(f.start) +
                                                            static_cast<uint32_t>(r % f.step));
  ReplaceAll(w, "[zufall]", FillLiterally(random, f.digits, f.fillText));
  ReplaceAll(created, ":", ".");
  ReplaceAll(modified, ":", ".");
  ReplaceAll(captured, ":", ".");
  ReplaceNow(w, now);
  ReplaceFile(w, created, kCreated);
  ReplaceFile(w, modified, kModified);
  ReplaceFile(w, captured, kCaptured);
  ReplaceRanges(w, oldName);
  ReplaceAll(w, "[[]", "[");
  ReplaceAll(w, "[]]", "]");
  return w;
}

}  // namespace zul
