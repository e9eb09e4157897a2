#include "dataaccess/sql_dialect.h"

#include <algorithm>
#include <cwchar>
#include <unordered_map>
#include <vector>

#include "dataaccess/stored_date.h"

namespace vk::data {

namespace {

// Unclosed: a literal or quoted name left open, which runs to the end of the text.
enum class Kind { Unclosed, Word, Number, String, Quoted, Op, Open, Close, Comma, Semicolon, Other };

struct Token {
  Kind kind;
  std::wstring_view text;
};

constexpr size_t kNone = static_cast<size_t>(-1);

// SQLite's own classes: only ASCII blanks separate, and every character past ASCII
// belongs to a name, so the two read a text alike.
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsWordStart(wchar_t c) { return IsLetter(c) || c == L'_' || c == L'@' || c == L'#' || c > 127; }
bool IsWordChar(wchar_t c) { return IsWordStart(c) || IsDigit(c) || c == L'$'; }
wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

// The tokens of a text; blanks and comments only separate them and are left out
// (the translation copies the text between the tokens it rewrites as it came).
std::vector<Token> Tokenize(std::wstring_view s) {
  std::vector<Token> out;
  out.reserve(s.size() / 4 + 1);
  size_t i = 0;
  auto take = [&](Kind kind, size_t end) {
    out.push_back({kind, s.substr(i, end - i)});
    i = end;
  };
  while (i < s.size()) {
    wchar_t c = s[i];
    size_t j = i + 1;
    if (IsBlank(c)) {
      i = j;
    } else if (c == L'-' && j < s.size() && s[j] == L'-') {
      while (j < s.size() && s[j] != L'\n') ++j;
      i = j;
    } else if (c == L'/' && j < s.size() && s[j] == L'*') {
      size_t end = s.find(L"*/", j + 1);
      i = end == std::wstring_view::npos ? s.size() : end + 2;
    } else if (c == L'\'') {
      // A doubled quote stays inside the literal. One left open runs to the end and
      // is no literal to rewrite (SQLite refuses it).
      bool closed = false;
      while (j < s.size() && !closed) {
        if (s[j] == L'\'' && j + 1 < s.size() && s[j + 1] == L'\'') {
          j += 2;
        } else {
          closed = s[j++] == L'\'';
        }
      }
      take(closed ? Kind::String : Kind::Unclosed, j);
    } else if (c == L'[' || c == L'"' || c == L'`') {
      wchar_t close = c == L'[' ? L']' : c;
      while (j < s.size() && s[j] != close) ++j;
      if (j < s.size()) take(Kind::Quoted, j + 1);
      else take(Kind::Unclosed, j);
    } else if (IsDigit(c) || (c == L'.' && j < s.size() && IsDigit(s[j]))) {
      while (j < s.size() && (IsLetter(s[j]) || IsDigit(s[j]) || s[j] == L'.')) ++j;
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
  if (t.kind != Kind::Word || t.text.size() != word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(t.text[i]) != Lower(word[i])) return false;
  }
  return true;
}

bool IsComparison(const Token& t) {
  return t.kind == Kind::Op && (t.text == L"=" || t.text == L"<>" || t.text == L"!=" || t.text == L"<" ||
                                t.text == L">" || t.text == L"<=" || t.text == L">=");
}

std::wstring LiteralContent(std::wstring_view literal) {
  std::wstring_view inner = literal.size() >= 2 ? literal.substr(1, literal.size() - 2) : std::wstring_view();
  std::wstring out;
  for (size_t i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == L'\'' && i + 1 < inner.size() && inner[i + 1] == L'\'') ++i;
  }
  return out;
}

// A column name as the schema spells it: brackets and quotes removed.
std::wstring_view ColumnName(const Token& t) {
  if (t.kind == Kind::Word) return t.text;
  if (t.kind == Kind::Quoted && t.text.size() >= 2) return t.text.substr(1, t.text.size() - 2);
  return {};
}

// The last part of a name that starts at i ("A.[Fecha]" ends at "[Fecha]").
size_t LastPartOfName(const std::vector<Token>& t, size_t i) {
  while (i < t.size()) {
    size_t dot = i + 1;
    if (dot >= t.size() || t[dot].kind != Kind::Other || t[dot].text != L".") break;
    size_t part = dot + 1;
    if (part >= t.size() || ColumnName(t[part]).empty()) break;
    i = part;
  }
  return i;
}

bool IsDateColumnAt(const std::vector<Token>& t, size_t i, const DialectOptions& options) {
  if (i >= t.size()) return false;
  std::wstring_view name = ColumnName(t[i]);
  return !name.empty() && options.isDateColumn(name);
}

// A short-date literal at i stands beside a comparison whose other side is a date column.
bool ComparedWithDateColumn(const std::vector<Token>& t, size_t i, const DialectOptions& options) {
  if (!options.isDateColumn) return false;
  if (i >= 2 && IsComparison(t[i - 1]) && IsDateColumnAt(t, i - 2, options)) return true;
  return i + 2 < t.size() && IsComparison(t[i + 1]) && IsDateColumnAt(t, LastPartOfName(t, i + 2), options);
}

bool ReadNumber(std::wstring_view s, size_t& i, size_t minDigits, size_t maxDigits, int& value) {
  size_t start = i;
  value = 0;
  while (i < s.size() && IsDigit(s[i]) && i - start < maxDigits) value = value * 10 + (s[i++] - L'0');
  return i - start >= minDigits;
}

// For each opening parenthesis: the index of its closing one and of the last "As" at
// its own level (kNone when there is none).
struct Parentheses {
  std::vector<size_t> close;
  std::vector<size_t> lastAs;
};

Parentheses MatchParentheses(const std::vector<Token>& t) {
  Parentheses p{std::vector<size_t>(t.size(), kNone), std::vector<size_t>(t.size(), kNone)};
  std::vector<size_t> open;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i].kind == Kind::Open) {
      open.push_back(i);
    } else if (t[i].kind == Kind::Close && !open.empty()) {
      p.close[open.back()] = i;
      open.pop_back();
    } else if (!open.empty() && Is(t[i], L"As")) {
      p.lastAs[open.back()] = i;
    }
  }
  return p;
}

// The function a Cast to this type becomes; empty when the type is no date.
std::wstring_view DateFunctionFor(const Token& type) {
  if (Is(type, L"Date")) return L"QdDate";
  if (Is(type, L"DateTime") || Is(type, L"SmallDateTime") || Is(type, L"DateTime2")) return L"QdDateTime";
  return {};
}

bool IsTransactionWord(const Token& t) {
  return Is(t, L"Begin") || Is(t, L"Commit") || Is(t, L"End") || Is(t, L"Rollback") || Is(t, L"Savepoint") ||
         Is(t, L"Release");
}

CommandOutline OutlineOf(const std::vector<Token>& t) {
  CommandOutline outline;
  size_t words = 0;           // tokens that are not blank in the current statement
  const Token* first = nullptr;
  bool trigger = false;       // inside "Create [Temp] Trigger ... Begin ... End"
  int caseDepth = 0;          // Case ... End inside a trigger's body
  const Token* previous = nullptr;
  auto endStatement = [&] {
    if (words > 0) ++outline.statements;
    words = 0;
    first = nullptr;
    trigger = false;
    caseDepth = 0;
  };
  for (const Token& tok : t) {
    if (tok.kind == Kind::Other && tok.text == L"?") ++outline.markers;
    if (tok.kind == Kind::Semicolon) {
      // In a trigger's body only "End ;" ends the statement.
      bool bodyEnds = previous && Is(*previous, L"End") && caseDepth == 0;
      previous = &tok;
      if (!trigger || bodyEnds) endStatement();
      continue;
    }
    ++words;
    if (words == 1) {
      first = &tok;
      if (IsTransactionWord(tok) && outline.transactionControl.empty())
        outline.transactionControl = std::wstring(tok.text);
    } else if (words <= 3 && first && Is(*first, L"Create") && Is(tok, L"Trigger")) {
      trigger = true;
    } else if (trigger && Is(tok, L"Case")) {
      ++caseDepth;
    } else if (trigger && caseDepth > 0 && Is(tok, L"End")) {
      --caseDepth;
      previous = nullptr;  // this End closes a Case, not the body
      continue;
    }
    previous = &tok;
  }
  endStatement();
  return outline;
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
  if (i != text.size() || y < 100 || !IsCalendarDate(y, m, d) || hh > 23 || mm > 59 || ss > 59)
    return std::nullopt;
  wchar_t out[32];
  swprintf(out, 32, L"%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mm, ss);
  return std::wstring(out);
}

std::wstring TranslateSql(std::wstring_view sql, const DialectOptions& options, CommandOutline* outline) {
  const std::vector<Token> t = Tokenize(sql);
  if (outline) *outline = OutlineOf(t);
  std::optional<Parentheses> parens;  // matched when the first Cast needs them
  auto begin = [&](size_t i) { return static_cast<size_t>(t[i].text.data() - sql.data()); };
  auto end = [&](size_t i) { return begin(i) + t[i].text.size(); };

  // The text is copied in spans: what is not rewritten goes out as it came.
  std::wstring out;
  out.reserve(sql.size() + 16);
  size_t copied = 0;  // the input before this offset is in out
  auto copyTo = [&](size_t offset) {
    out.append(sql, copied, offset - copied);
    copied = offset;
  };
  // Puts `text` in place of the input from `from` to `to`.
  auto replace = [&](size_t from, size_t to, std::wstring_view text) {
    copyTo(from);
    out += text;
    copied = to;
  };
  // A literal written in place of others never joins a literal just before or after it.
  auto replaceByLiteral = [&](size_t from, size_t to, const std::wstring& stored) {
    copyTo(from);
    if (!out.empty() && out.back() == L'\'') out += L' ';
    replace(from, to, L'\'' + stored + L'\'' + (to < sql.size() && sql[to] == L'\'' ? L" " : L""));
  };

  struct PendingLimit { int depth; std::wstring_view count; };
  std::vector<PendingLimit> limits;
  std::unordered_map<size_t, size_t> skipTo;  // tokens left out: the "As type" of a Cast
  int depth = 0;
  bool statementStart = true;
  size_t lastEnd = 0;  // where the last token that is not blank ends in the input

  // The limit goes right after the select's last word, so a comment that follows
  // (even a line comment at the very end) never swallows it.
  auto flushLimits = [&](int closingDepth) {
    // Past lastEnd, what is already out was rewritten to nothing (the Top it replaces).
    const size_t at = std::max(lastEnd, copied);
    while (!limits.empty() && limits.back().depth >= closingDepth) {
      replace(at, at, L" Limit " + std::wstring(limits.back().count));
      limits.pop_back();
    }
  };

  for (size_t i = 0; i < t.size(); ++i) {
    if (!skipTo.empty()) {
      if (auto skip = skipTo.find(i); skip != skipTo.end()) {
        replace(begin(i), end(skip->second), {});
        lastEnd = end(skip->second);
        i = skip->second;
        continue;
      }
    }
    const Token& tok = t[i];
    if (tok.kind == Kind::Unclosed) continue;  // nothing goes inside it
    bool wasStart = statementStart;
    statementStart = false;

    if (tok.kind == Kind::Open) {
      ++depth;
      statementStart = true;  // a derived table or sub-query starts a statement of its own
    } else if (tok.kind == Kind::Close) {
      flushLimits(depth);
      --depth;
    } else if (tok.kind == Kind::Semicolon) {
      flushLimits(0);
      statementStart = true;
    } else if (Is(tok, L"Select")) {
      if (i + 1 < t.size() && (Is(t[i + 1], L"Distinct") || Is(t[i + 1], L"All"))) ++i;
      if (i + 1 < t.size() && Is(t[i + 1], L"Top")) {
        bool paren = i + 2 < t.size() && t[i + 2].kind == Kind::Open;
        size_t num = paren ? i + 3 : i + 2;
        size_t last = paren ? num + 1 : num;
        if (num < t.size() && t[num].kind == Kind::Number && last < t.size() &&
            (!paren || t[last].kind == Kind::Close)) {
          limits.push_back({depth, t[num].text});
          replace(end(i), end(last), {});  // the blank after the count stays in the text
          lastEnd = end(i);
          i = last;
          continue;
        }
      }
    } else if (Is(tok, L"Convert")) {
      // Convert ( DateTime , 'text' [, style] )
      const size_t open = i + 1, type = i + 2, comma = i + 3, text = i + 4, after = i + 5;
      if (after < t.size() && t[open].kind == Kind::Open &&
          (Is(t[type], L"DateTime") || Is(t[type], L"SmallDateTime") || Is(t[type], L"Date")) &&
          t[comma].kind == Kind::Comma && t[text].kind == Kind::String) {
        size_t close = after;
        if (t[after].kind == Kind::Comma) {
          const size_t style = after + 1;
          close = style < t.size() && t[style].kind == Kind::Number ? style + 1 : t.size();
        }
        if (close < t.size() && t[close].kind == Kind::Close) {
          if (auto date = StoredDateFromText(LiteralContent(t[text].text), DateOrder::MonthDayYear)) {
            replaceByLiteral(begin(i), end(close), *date);
            i = close;
          }
        }
      }
    } else if (Is(tok, L"Cast")) {
      // Cast ( expression As DateTime ): the expression stays and is translated as usual.
      size_t open = i + 1;
      if (open < t.size() && t[open].kind == Kind::Open && !parens) parens = MatchParentheses(t);
      if (open < t.size() && t[open].kind == Kind::Open && parens->close[open] != kNone &&
          parens->lastAs[open] != kNone) {
        size_t as = parens->lastAs[open];
        size_t type = as + 1;
        std::wstring_view function = type < t.size() ? DateFunctionFor(t[type]) : std::wstring_view();
        if (!function.empty() && type + 1 == parens->close[open]) {
          replace(begin(i), end(i), function);
          skipTo[as] = type;
        }
      }
    } else if (Is(tok, L"DataLength") && i + 1 < t.size() && t[i + 1].kind == Kind::Open) {
      replace(begin(i), end(i), L"Length");
    } else if (wasStart && Is(tok, L"Delete")) {
      size_t k = i + 1;
      if (k < t.size() && (t[k].kind == Kind::Word || t[k].kind == Kind::Quoted) && !Is(t[k], L"From"))
        replace(end(i), end(i), L" From");
    } else if (tok.kind == Kind::String && tok.text.find(L'/') != std::wstring_view::npos &&
               ComparedWithDateColumn(t, i, options)) {
      // A short date against a date column is read as a date, in the user's own order;
      // every other literal stays exactly as written.
      if (auto date = StoredDateFromText(LiteralContent(tok.text), options.shortDateOrder))
        replaceByLiteral(begin(i), end(i), *date);
    }
    lastEnd = end(i);
  }
  flushLimits(0);
  copyTo(sql.size());
  return out;
}

CommandOutline OutlineCommand(std::wstring_view sql) { return OutlineOf(Tokenize(sql)); }

}  // namespace vk::data
