#include "date_text.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "win/ascii_case.h"

namespace oleaut::detail {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the well-known
// civil-calendar arithmetic over 400-year eras).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, long* y, unsigned* m, unsigned* d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<long>(yoe) + era * 400 + (*m <= 2);
}

const long kEpoch = DaysFromCivil(1899, 12, 30);  // OLE day 0

unsigned DaysInMonth(long y, unsigned m) {
  static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

std::u16string Widen(const char* text) {
  std::u16string out;
  while (*text) out.push_back(static_cast<char16_t>(*text++));
  return out;
}

// The text split into numbers and words; separators recorded between them.
struct Token {
  enum Kind { kNumber, kWord, kSeparator } kind = kNumber;
  long number = 0;
  int digits = 0;
  std::u16string word;
  char16_t separator = 0;
};

bool Tokenize(std::u16string_view text, std::vector<Token>* tokens) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u' ' || c == u'\t') {
      ++i;
    } else if (c >= u'0' && c <= u'9') {
      Token t;
      t.kind = Token::kNumber;
      while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (t.digits < 9) t.number = t.number * 10 + (text[i] - u'0');
        ++t.digits;
        ++i;
      }
      tokens->push_back(t);
    } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
      Token t;
      t.kind = Token::kWord;
      while (i < text.size() && ((text[i] >= u'a' && text[i] <= u'z') ||
                                 (text[i] >= u'A' && text[i] <= u'Z'))) {
        t.word.push_back(ascii::Lower(text[i]));
        ++i;
      }
      tokens->push_back(t);
    } else if (c == u'/' || c == u'-' || c == u':' || c == u'.') {
      Token t;
      t.kind = Token::kSeparator;
      t.separator = c;
      tokens->push_back(t);
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

bool IsNumber(const std::vector<Token>& t, std::size_t i) {
  return i < t.size() && t[i].kind == Token::kNumber;
}
bool IsSeparator(const std::vector<Token>& t, std::size_t i, char16_t a, char16_t b = 0) {
  return i < t.size() && t[i].kind == Token::kSeparator &&
         (t[i].separator == a || (b && t[i].separator == b));
}

}  // namespace

bool IsValidDate(double date) { return date >= kMinDate && date <= kMaxDate; }

bool FormatDate(DATE date, std::u16string* text) {
  if (!std::isfinite(date) || date <= kMinDate - 1 || date >= kMaxDate + 1) return false;
  long day = static_cast<long>(std::trunc(date));
  long seconds = std::lround(std::fabs(date - static_cast<double>(day)) * 86400.0);
  if (seconds >= 86400) {  // rounding reached the next midnight
    seconds -= 86400;
    ++day;
  }
  long y;
  unsigned m, d;
  CivilFromDays(kEpoch + day, &y, &m, &d);
  char buffer[64];
  std::string out;
  if (day != 0) {
    std::snprintf(buffer, sizeof buffer, "%u/%u/%04ld", m, d, y);
    out = buffer;
  }
  if (seconds != 0 || day == 0) {
    const long h = seconds / 3600;
    std::snprintf(buffer, sizeof buffer, "%s%ld:%02ld:%02ld %s", out.empty() ? "" : " ",
                  h % 12 == 0 ? 12 : h % 12, seconds / 60 % 60, seconds % 60,
                  h < 12 ? "AM" : "PM");
    out += buffer;
  }
  *text = Widen(out.c_str());
  return true;
}

bool ParseDate(std::u16string_view text, DATE* date) {
  std::vector<Token> t;
  if (!Tokenize(text, &t) || t.empty()) return false;
  std::size_t i = 0;

  bool haveDate = false;
  long year = 1899;
  unsigned month = 12, day = 30;
  // A date is three numbers with "/" or "-" between them.
  if (IsNumber(t, i) && IsSeparator(t, i + 1, u'/', u'-') && IsNumber(t, i + 2) &&
      IsSeparator(t, i + 3, t[i + 1].separator) && IsNumber(t, i + 4)) {
    long a = t[i].number, b = t[i + 2].number, c = t[i + 4].number;
    long y;
    if (t[i].digits > 2) {  // year first
      y = a;
      month = static_cast<unsigned>(b);
      day = static_cast<unsigned>(c);
    } else {
      month = static_cast<unsigned>(a);
      day = static_cast<unsigned>(b);
      y = c;
      if (t[i + 4].digits <= 2) y += y < 30 ? 2000 : 1900;
    }
    if (y < 100 || y > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(y, month)) {
      return false;
    }
    year = y;
    haveDate = true;
    i += 5;
  }

  long seconds = 0;
  bool haveTime = false;
  if (IsNumber(t, i) && IsSeparator(t, i + 1, u':') && IsNumber(t, i + 2)) {
    long h = t[i].number, mi = t[i + 2].number, s = 0;
    i += 3;
    if (IsSeparator(t, i, u':') && IsNumber(t, i + 1)) {
      s = t[i + 1].number;
      i += 2;
    }
    if (i < t.size() && t[i].kind == Token::kWord) {
      const std::u16string& w = t[i].word;
      const bool am = w == u"am" || w == u"a";
      const bool pm = w == u"pm" || w == u"p";
      if (!am && !pm) return false;
      if (h < 1 || h > 12) return false;
      h = h % 12 + (pm ? 12 : 0);
      ++i;
    }
    if (h > 23 || mi > 59 || s > 59) return false;
    seconds = h * 3600 + mi * 60 + s;
    haveTime = true;
  }
  if (i != t.size() || (!haveDate && !haveTime)) return false;

  const long dayNumber = DaysFromCivil(year, month, day) - kEpoch;
  const double fraction = static_cast<double>(seconds) / 86400.0;
  *date = dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction;
  return true;
}

}  // namespace oleaut::detail
