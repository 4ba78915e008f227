#include "engine/tests/reference_evaluate.h"

#include <algorithm>
#include <cstdio>

#include "engine/clock.h"
#include "engine/file_tags.h"
#include "engine/random.h"
#include "engine/text_ops.h"
#include "engine/text_units.h"

namespace zul {

namespace {

// The longest the work text has been in the evaluation under way, where asked for.
size_t* g_peak = nullptr;

void NotePeak(const std::string& w) {
  if (g_peak != nullptr) *g_peak = std::max(*g_peak, w.size());
}

void Put(std::string& w, std::string_view search, std::string_view value) {
  ReplaceAll(w, search, value);
  NotePeak(w);
}

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
  Put(w, "[datum]", date);
  Put(w, "[date]", date);
  Put(w, "[rdatum]", rdate);
  Put(w, "[rdate]", rdate);
  Put(w, "[jj]", yy);
  Put(w, "[yy]", yy);
  Put(w, "[jjjj]", year);
  Put(w, "[yyyy]", year);
  Put(w, "[j]", year);
  Put(w, "[y]", year);
  Put(w, "[jahr]", year);
  Put(w, "[year]", year);
  Put(w, "[mm]", mm);
  Put(w, "[monat]", month);
  Put(w, "[month]", month);
  Put(w, "[t]", day);
  Put(w, "[d]", day);
  Put(w, "[tag]", day);
  Put(w, "[day]", day);
  Put(w, "[tt]", dd);
  Put(w, "[dd]", dd);
  Put(w, "[zeit]", time);
  Put(w, "[time]", time);
  Put(w, "[m]", m);
  Put(w, "[minute]", m);
  Put(w, "[s]", s);
  Put(w, "[second]", s);
  Put(w, "[sekunde]", s);
  Put(w, "[h]", h);
  Put(w, "[hour]", h);
  Put(w, "[stunde]", h);
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
  for (int i = 0; i < 36; ++i) Put(w, names[i], *values[i]);
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
      NotePeak(w);
    }
    e = l;
  }
}

}  // namespace

std::string ReferenceEvaluate(const FilterSettings& f, std::string oldName, int32_t index,
                              std::string created, std::string modified, std::string captured,
                              size_t* peak) {
  g_peak = peak;
  if (peak != nullptr) *peak = f.mask.size();
  const LocalTime now = ReadClock();
  ReplaceAll(oldName, "/", "");
  ReplaceAll(oldName, std::string(1, '\0'), "");
  ReplaceAll(oldName, f.searchText, f.replaceText);
  const size_t p = oldName.rfind('.');
  const std::string namePart = p == std::string::npos ? "" : oldName.substr(0, p);
  const std::string extPart = p == std::string::npos ? oldName : oldName.substr(p + 1);

  std::string w = f.mask;
  Put(w, "[name]", ConvertCase(namePart, f.nameCase, true));
  Put(w, "[typ]", ConvertCase(extPart, f.extCase, false));
  const auto counter =
      static_cast<int32_t>(static_cast<uint32_t>(f.start) +
                           static_cast<uint32_t>(index) * static_cast<uint32_t>(f.step));
  Put(w, "[index]", FillLiterally(counter, f.digits, f.fillText));
  const int r = NextRandom();
  const int32_t random = f.step == 0 ? f.start
                                     : static_cast<int32_t>(static_cast<uint32_t>(f.start) +
                                                            static_cast<uint32_t>(r % f.step));
  Put(w, "[zufall]", FillLiterally(random, f.digits, f.fillText));
  const auto holdsNul = [](const std::string& text) {
    return text.find('\0') != std::string::npos;
  };
  if (holdsNul(f.mask) || holdsNul(f.replaceText) || holdsNul(f.fillText)) return {};
  ReplaceAll(created, ":", ".");
  ReplaceAll(modified, ":", ".");
  ReplaceAll(captured, ":", ".");
  ReplaceNow(w, now);
  ReplaceFile(w, created, kCreated);
  ReplaceFile(w, modified, kModified);
  ReplaceFile(w, captured, kCaptured);
  // A file without tags: each tag placeholder is empty. "[eindeutig]" is a slot that only the
  // plan fills, after the ranges; outside a plan it is empty, as for a name that is free.
  for (const TagPlaceholder& tag : kTagPlaceholders)
    Put(w, tag.text, tag.field == TagField::Unique ? kUniqueSlot : std::string_view());
  ReplaceRanges(w, oldName);
  Put(w, "[[]", "[");
  Put(w, "[]]", "]");
  RemoveUniqueSlots(w);
  return w;
}

}  // namespace zul
