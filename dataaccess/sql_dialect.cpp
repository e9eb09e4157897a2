#include "dataaccess/sql_dialect.h"

#include <cwctype>
#include <vector>

namespace vk::data {

namespace {

enum class Kind { Space, Word, Number, String, Quoted, Op, Open, Close, Comma, Semicolon, Other };

struct Token {
  Kind kind;
  std::wstring text;
};

bool IsWordStart(wchar_t c) { return std::iswalpha(c) || c == L'_' || c == L'@' || c == L'#' || c > 127; }
bool IsWordChar(wchar_t c) { return IsWordStart(c) || std::iswdigit(c) || c == L'$'; }

std::vector<Token> Tokenize(std::wstring_view s) {
  std::vector<Token> out;
  size_t i = 0;
  auto take = [&](Kind kind, size_t end) {
    out.push_back({kind, std::wstring(s.substr(i, end - i))});
    i = end;
  };
  while (i < s.size()) {
    wchar_t c = s[i];
    size_t j = i + 1;
    if (std::iswspace(c)) {
      while (j < s.size() && std::iswspace(s[j])) ++j;
      take(Kind::Space, j);
    } else if (c == L'-' && j < s.size() && s[j] == L'-') {
      while (j < s.size() && s[j] != L'\n') ++j;
      take(Kind::Space, j);
    } else if (c == L'/' && j < s.size() && s[j] == L'*') {
      size_t end = s.find(L"*/", j + 1);
      take(Kind::Space, end == std::wstring_view::npos ? s.size() : end + 2);
    } else if (c == L'\'') {
      // A doubled quote stays inside the literal.
      while (j < s.size()) {
        if (s[j] == L'\'') {
          if (j + 1 < s.size() && s[j + 1] == L'\'') { j += 2; continue; }
          ++j;
          break;
        }
        ++j;
      }
      take(Kind::String, j);
    } else if (c == L'[' || c == L'"' || c == L'`') {
      wchar_t close = c == L'[' ? L']' : c;
      while (j < s.size() && s[j] != close) ++j;
      take(Kind::Quoted, j < s.size() ? j + 1 : j);
    } else if (std::iswdigit(c) || (c == L'.' && j < s.size() && std::iswdigit(s[j]))) {
      while (j < s.size() && (std::iswalnum(s[j]) || s[j] == L'.')) ++j;
      take(Kind::Number, j);
    } else if (IsWordStart(c)) {
      while (j < s.size() && IsWordChar(s[j])) ++j;
      take(Kind::Word, j);
    } else if (c == L'<' || c == L'>' || c == L'=' || c == L'!') {
      while (j < s.size() && (s[j] == L'<' || s[j] == L'>' || s[j] == L'=')) ++j;
      take(Kind::Op, j);
    } else if (c == L'(') {
      take(Kind::Open, j);
    } else if (c == L')') {
      take(Kind::Close, j);
    } else if (c == L',') {
      take(Kind::Comma, j);
    } else if (c == L';') {
      take(Kind::Semicolon, j);
    } else {
      take(Kind::Other, j);
    }
  }
  return out;
}

bool Is(const Token& t, std::wstring_view word) {
  return t.kind == Kind::Word && t.text.size() == word.size() &&
         std::equal(word.begin(), word.end(), t.text.begin(),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

bool IsComparison(const Token& t) {
  return t.kind == Kind::Op && (t.text == L"=" || t.text == L"<>" || t.text == L"!=" || t.text == L"<" ||
                                t.text == L">" || t.text == L"<=" || t.text == L">=");
}

// Index of the next token that is not blank, from i on; tokens.size() when none.
size_t NextSignificant(const std::vector<Token>& tokens, size_t i) {
  while (i < tokens.size() && tokens[i].kind == Kind::Space) ++i;
  return i;
}

std::wstring LiteralContent(const std::wstring& literal) {
  std::wstring inner = literal.size() >= 2 ? literal.substr(1, literal.size() - 2) : std::wstring();
  std::wstring out;
  for (size_t i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == L'\'' && i + 1 < inner.size() && inner[i + 1] == L'\'') ++i;
  }
  return out;
}

bool ReadNumber(std::wstring_view s, size_t& i, size_t minDigits, size_t maxDigits, int& value) {
  size_t start = i;
  value = 0;
  while (i < s.size() && std::iswdigit(s[i]) && i - start < maxDigits) value = value * 10 + (s[i++] - L'0');
  return i - start >= minDigits;
}

bool ValidDate(int y, int m, int d) {
  static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > days[m - 1]) return false;
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return !(m == 2 && d == 29 && !leap);
}

}  // namespace

std::optional<std::wstring> StoredDateFromText(std::wstring_view text, DateOrder order) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
  size_t start = i;
  int a = 0, b = 0, c = 0;
  if (!ReadNumber(text, i, 1, 4, a)) return std::nullopt;
  bool iso = i - start == 4 && i < text.size() && text[i] == L'-';
  wchar_t sep = iso ? L'-' : L'/';
  if (i >= text.size() || text[i] != sep) return std::nullopt;
  ++i;
  if (!ReadNumber(text, i, 1, 2, b) || i >= text.size() || text[i] != sep) return std::nullopt;
  ++i;
  size_t yearStart = i;
  bool dayLast = iso || order == DateOrder::YearMonthDay;
  if (!ReadNumber(text, i, dayLast ? 1 : 2, dayLast ? 2 : 4, c)) return std::nullopt;
  if (iso) {
    y = a, m = b, d = c;
  } else {
    if (!dayLast && i - yearStart == 3) return std::nullopt;
    switch (order) {
      case DateOrder::MonthDayYear: m = a, d = b, y = c; break;
      case DateOrder::DayMonthYear: d = a, m = b, y = c; break;
      case DateOrder::YearMonthDay: y = a, m = b, d = c; break;
    }
    if (order != DateOrder::YearMonthDay && i - yearStart == 2) y += y < 30 ? 2000 : 1900;
  }
  if (i < text.size() && (text[i] == L' ' || text[i] == L'T')) {
    ++i;
    if (!ReadNumber(text, i, 1, 2, hh) || i >= text.size() || text[i] != L':') return std::nullopt;
    ++i;
    if (!ReadNumber(text, i, 2, 2, mm)) return std::nullopt;
    if (i < text.size() && text[i] == L':') {
      ++i;
      if (!ReadNumber(text, i, 2, 2, ss)) return std::nullopt;
      if (i < text.size() && text[i] == L'.') {  // fractions of a second are dropped
        ++i;
        int ignored = 0;
        ReadNumber(text, i, 1, 9, ignored);
      }
    }
  }
  while (i < text.size() && text[i] == L' ') ++i;
  if (i != text.size() || !ValidDate(y, m, d) || hh > 23 || mm > 59 || ss > 59) return std::nullopt;
  wchar_t out[32];
  swprintf(out, 32, L"%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mm, ss);
  return std::wstring(out);
}

std::wstring TranslateSql(std::wstring_view sql, const DialectOptions& options) {
  std::vector<Token> t = Tokenize(sql);
  std::wstring out;
  out.reserve(sql.size() + 16);
  struct PendingLimit { int depth; std::wstring count; };
  std::vector<PendingLimit> limits;
  int depth = 0;
  bool statementStart = true;

  auto flushLimits = [&](int closingDepth) {
    while (!limits.empty() && limits.back().depth >= closingDepth) {
      while (!out.empty() && out.back() == L' ' && closingDepth > 0) out.pop_back();
      out += L" Limit " + limits.back().count;
      if (closingDepth > 0) out += L' ';
      limits.pop_back();
    }
  };

  for (size_t i = 0; i < t.size(); ++i) {
    const Token& tok = t[i];
    if (tok.kind == Kind::Space) {
      out += tok.text;
      continue;
    }
    bool wasStart = statementStart;
    statementStart = false;

    if (tok.kind == Kind::Open) {
      ++depth;
      statementStart = true;  // a derived table or sub-query starts a statement of its own
      out += tok.text;
      continue;
    }
    if (tok.kind == Kind::Close) {
      flushLimits(depth);
      --depth;
      out += tok.text;
      continue;
    }
    if (tok.kind == Kind::Semicolon) {
      flushLimits(0);
      statementStart = true;
      out += tok.text;
      continue;
    }
    if (Is(tok, L"Select")) {
      out += tok.text;
      size_t k = NextSignificant(t, i + 1);
      if (k < t.size() && (Is(t[k], L"Distinct") || Is(t[k], L"All"))) {
        for (size_t n = i + 1; n <= k; ++n) out += t[n].text;
        i = k;
        k = NextSignificant(t, k + 1);
      }
      if (k < t.size() && Is(t[k], L"Top")) {
        size_t n = NextSignificant(t, k + 1);
        bool paren = n < t.size() && t[n].kind == Kind::Open;
        size_t num = paren ? NextSignificant(t, n + 1) : n;
        size_t last = paren ? NextSignificant(t, num + 1) : num;
        if (num < t.size() && t[num].kind == Kind::Number && last < t.size() &&
            (!paren || t[last].kind == Kind::Close)) {
          limits.push_back({depth, t[num].text});
          i = last;  // the blank after the count stays in the text
        }
      }
      continue;
    }
    if (Is(tok, L"Convert")) {
      // Convert ( DateTime , 'text' [, style] )
      size_t open = NextSignificant(t, i + 1);
      size_t type = NextSignificant(t, open + 1);
      size_t comma = NextSignificant(t, type + 1);
      size_t text = NextSignificant(t, comma + 1);
      size_t after = NextSignificant(t, text + 1);
      if (after < t.size() && t[open].kind == Kind::Open &&
          (Is(t[type], L"DateTime") || Is(t[type], L"SmallDateTime") || Is(t[type], L"Date")) &&
          t[comma].kind == Kind::Comma && t[text].kind == Kind::String) {
        size_t close = after;
        if (t[after].kind == Kind::Comma) {
          size_t style = NextSignificant(t, after + 1);
          close = style < t.size() && t[style].kind == Kind::Number ? NextSignificant(t, style + 1) : t.size();
        }
        if (close < t.size() && t[close].kind == Kind::Close) {
          if (auto date = StoredDateFromText(LiteralContent(t[text].text), DateOrder::MonthDayYear)) {
            out += L'\'' + *date + L'\'';
            i = close;
            continue;
          }
        }
      }
      out += tok.text;
      continue;
    }
    if (wasStart && Is(tok, L"Delete")) {
      out += tok.text;
      size_t k = NextSignificant(t, i + 1);
      if (k < t.size() && (t[k].kind == Kind::Word || t[k].kind == Kind::Quoted) && !Is(t[k], L"From"))
        out += L" From";
      continue;
    }
    if (tok.kind == Kind::String) {
      // A short date with slashes compared with a value is read as a date, in the
      // user's own order; every other literal stays exactly as written.
      size_t prev = i;
      while (prev > 0 && t[prev - 1].kind == Kind::Space) --prev;
      if (prev > 0 && IsComparison(t[prev - 1]) && tok.text.find(L'/') != std::wstring::npos) {
        if (auto date = StoredDateFromText(LiteralContent(tok.text), options.shortDateOrder)) {
          out += L'\'' + *date + L'\'';
          continue;
        }
      }
      out += tok.text;
      continue;
    }
    out += tok.text;
  }
  while (!limits.empty()) {
    while (!out.empty() && std::iswspace(out.back())) out.pop_back();
    out += L" Limit " + limits.back().count;
    limits.pop_back();
  }
  return out;
}

}  // namespace vk::data
