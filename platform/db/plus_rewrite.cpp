// The "+" of Access and SQL Server joins texts; SQLite's only adds. Each
// binary "+" becomes kPlusFunction(left, right). Rather than parse all of
// SQL, each nesting level (a parenthesised group, a CASE body, the statement)
// is cut into additive expressions: runs of operands joined by operators at
// least as tight as "+", ended by anything looser (comparisons, keywords,
// commas, & | << >>) or by two operands in a row (an alias without AS).
#include "platform/db/plus_rewrite.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/db/sql_characters.h"

namespace marksend::db {

namespace {

enum class Tok { Trivia, Comment, Word, Literal, LParen, RParen, Plus, Minus, Tight, Stop };

struct Token {
  Tok kind;
  size_t begin;
  size_t end;
};

using sql::IsDigit;
using sql::IsSpace;
using sql::IsWordChar;
using sql::IsWordStart;
using sql::QuotedEnd;

std::vector<Token> Tokenize(std::string_view sql) {
  std::vector<Token> tokens;
  tokens.reserve(sql.size() / 3 + 4);
  Tok lastSignificant = Tok::Stop;
  size_t i = 0;
  const size_t n = sql.size();
  auto at = [&](size_t k) -> unsigned char { return k < n ? static_cast<unsigned char>(sql[k]) : 0; };
  while (i < n) {
    const size_t start = i;
    const unsigned char c = at(i);
    Tok kind = Tok::Stop;
    if (IsSpace(c)) {
      while (i < n && IsSpace(at(i))) ++i;
      kind = Tok::Trivia;
    } else if (c == '-' && at(i + 1) == '-') {
      while (i < n && at(i) != '\n') ++i;
      kind = Tok::Comment;
    } else if (c == '/' && at(i + 1) == '*') {
      const size_t close = sql.find("*/", i + 2);
      i = close == std::string_view::npos ? n : close + 2;
      kind = Tok::Comment;
    } else if (c == '\'') {
      i = QuotedEnd(sql, i, '\'', true);
      kind = Tok::Literal;
    } else if ((c == 'x' || c == 'X') && at(i + 1) == '\'') {
      i = QuotedEnd(sql, i + 1, '\'', true);
      kind = Tok::Literal;
    } else if (c == '"') {
      i = QuotedEnd(sql, i, '"', true);
      kind = Tok::Word;
    } else if (c == '`') {
      i = QuotedEnd(sql, i, '`', true);
      kind = Tok::Word;
    } else if (c == '[') {
      i = QuotedEnd(sql, i, ']', false);
      kind = Tok::Word;
    } else if (IsDigit(c) || (c == '.' && IsDigit(at(i + 1)) && lastSignificant != Tok::Word)) {
      while (i < n) {
        const unsigned char d = at(i);
        if ((d == 'e' || d == 'E') && (IsDigit(at(i + 1)) || ((at(i + 1) == '+' || at(i + 1) == '-') && IsDigit(at(i + 2)))))
          i += 2;  // an exponent's sign belongs to the number
        else if (IsWordChar(d) || d == '.')
          ++i;
        else
          break;
      }
      kind = Tok::Literal;
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(at(i))) ++i;
      kind = Tok::Word;
    } else if (c == '?' || ((c == ':' || c == '@' || c == '$') && IsWordChar(at(i + 1)))) {
      ++i;
      while (i < n && IsWordChar(at(i))) ++i;
      kind = Tok::Literal;
    } else {
      const std::string_view rest = sql.substr(i);
      auto starts = [&](std::string_view op) { return rest.substr(0, op.size()) == op; };
      if (starts("->>")) {
        i += 3;
        kind = Tok::Tight;
      } else if (starts("||") || starts("->")) {
        i += 2;
        kind = Tok::Tight;
      } else if (starts("<<") || starts(">>") || starts("<=") || starts(">=") || starts("==") ||
                 starts("!=") || starts("<>")) {
        i += 2;
        kind = Tok::Stop;
      } else {
        ++i;
        switch (c) {
          case '(': kind = Tok::LParen; break;
          case ')': kind = Tok::RParen; break;
          case '+': kind = Tok::Plus; break;
          case '-': kind = Tok::Minus; break;
          case '*': case '/': case '%': case '.': case '~': kind = Tok::Tight; break;
          default: kind = Tok::Stop; break;
        }
      }
    }
    tokens.push_back({kind, start, i});
    if (kind != Tok::Trivia && kind != Tok::Comment) lastSignificant = kind;
  }
  return tokens;
}

// Words that end an additive expression. Names of columns and functions are
// not among them, and a word right after "." is always a name.
bool IsStopKeyword(std::string_view word) {
  static constexpr std::string_view kKeywords[] = {
      "ALL",    "AND",   "AS",      "ASC",    "BETWEEN", "BY",       "CROSS",   "DELETE", "DESC",
      "DISTINCT", "ELSE", "END",    "ESCAPE", "EXCEPT",  "EXISTS",   "FROM",    "FULL",   "GLOB",
      "GROUP",  "HAVING", "IN",     "INNER",  "INSERT",  "INTERSECT", "INTO",   "IS",     "ISNULL",
      "JOIN",   "LEFT",  "LIKE",    "LIMIT",  "MATCH",   "NATURAL",  "NOT",     "NOTNULL", "OFFSET",
      "ON",     "OR",    "ORDER",   "OUTER",  "REGEXP",  "RIGHT",    "SELECT",  "SET",    "THEN",
      "UNION",  "UPDATE", "USING",  "VALUES", "WHEN",    "WHERE",    "WITH"};
  if (word.size() > 9) return false;
  char upper[9];
  for (size_t k = 0; k < word.size(); ++k) {
    const char ch = word[k];
    upper[k] = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
  }
  const std::string_view key(upper, word.size());
  return std::find(std::begin(kKeywords), std::end(kKeywords), key) != std::end(kKeywords);
}

bool WordIs(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t k = 0; k < word.size(); ++k) {
    const char ch = word[k];
    if ((ch >= 'a' && ch <= 'z' ? ch - 32 : ch) != upper[k]) return false;
  }
  return true;
}

enum class Part { Trivia, Operand, Plus, Minus, Tight, Stop };

// One element of a nesting level: a token, or a group rewritten within.
struct Element {
  Part part;
  std::string_view source;  // the text when nothing inside was rewritten
  std::string rewritten;
  bool owned = false;
  bool hasComment = false;
  bool callable = false;  // a name that a following group makes a function call
  std::string_view text() const { return owned ? std::string_view(rewritten) : source; }
};

class Rewriter {
 public:
  explicit Rewriter(std::string_view sql) : sql_(sql), tokens_(Tokenize(sql)) { MatchParens(); }

  std::string Run() { return Level(0, tokens_.size()); }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  void MatchParens() {
    match_.assign(tokens_.size(), kNone);
    std::vector<size_t> open;
    for (size_t k = 0; k < tokens_.size(); ++k) {
      if (tokens_[k].kind == Tok::LParen) {
        open.push_back(k);
      } else if (tokens_[k].kind == Tok::RParen && !open.empty()) {
        match_[open.back()] = k;
        match_[k] = open.back();
        open.pop_back();
      }
    }
  }

  std::string_view Source(size_t first, size_t last) const {  // tokens [first, last)
    if (first >= last) return {};
    return sql_.substr(tokens_[first].begin, tokens_[last - 1].end - tokens_[first].begin);
  }
  std::string_view Word(size_t k) const { return sql_.substr(tokens_[k].begin, tokens_[k].end - tokens_[k].begin); }

  bool IsBareWord(size_t k, bool afterDot) const {
    const char first = sql_[tokens_[k].begin];
    return tokens_[k].kind == Tok::Word && !afterDot && first != '"' && first != '[' && first != '`';
  }

  // The END that closes the CASE at token k, within [k, last); kNone if none.
  size_t CaseEnd(size_t k, size_t last) const {
    int depth = 0;
    bool afterDot = false;
    for (size_t j = k; j < last; ++j) {
      const Token& t = tokens_[j];
      if (t.kind == Tok::Trivia || t.kind == Tok::Comment) continue;
      if (t.kind == Tok::LParen && match_[j] != kNone) {
        j = match_[j];
      } else if (IsBareWord(j, afterDot)) {
        if (WordIs(Word(j), "CASE")) ++depth;
        if (WordIs(Word(j), "END") && --depth == 0) return j;
      }
      afterDot = t.kind == Tok::Tight && Word(j) == ".";
    }
    return kNone;
  }

  // Rewrites tokens [first, last) as one nesting level.
  std::string Level(size_t first, size_t last) {
    std::vector<Element> elements;
    bool afterDot = false;
    for (size_t k = first; k < last;) {
      const Token& t = tokens_[k];
      if (t.kind == Tok::Trivia || t.kind == Tok::Comment) {
        if (!elements.empty() && elements.back().part == Part::Trivia) {
          std::string_view& run = elements.back().source;  // extend the run of trivia
          run = std::string_view(run.data(), static_cast<size_t>(sql_.data() + t.end - run.data()));
        } else {
          elements.push_back({Part::Trivia, Source(k, k + 1), {}});
        }
        elements.back().hasComment |= t.kind == Tok::Comment;
        ++k;
        continue;
      }
      Element element{Part::Stop, Source(k, k + 1), {}};
      size_t next = k + 1;
      switch (t.kind) {
        case Tok::LParen: {
          const size_t close = match_[k] != kNone && match_[k] < last ? match_[k] : last;
          element.part = Part::Operand;
          element.rewritten = "(" + Level(k + 1, close) + (close < last ? ")" : "");
          element.owned = true;
          next = close < last ? close + 1 : last;
          // A name and its argument list form one operand: f(x), CAST(x AS T).
          size_t prev = elements.size();
          while (prev > 0 && elements[prev - 1].part == Part::Trivia) --prev;
          if (prev > 0 && elements[prev - 1].callable) {
            std::string call;
            for (size_t e = prev - 1; e < elements.size(); ++e) call += elements[e].text();
            call += element.rewritten;
            elements.resize(prev - 1);
            element.rewritten = std::move(call);
          }
          break;
        }
        case Tok::Word:
          if (!IsBareWord(k, afterDot)) {
            element.part = Part::Operand;
            element.callable = true;
          } else if (WordIs(Word(k), "CASE")) {
            const size_t end = CaseEnd(k, last);
            if (end == kNone) break;  // unmatched: leave it to the database to reject
            element.part = Part::Operand;
            element.rewritten = std::string(Word(k)) + Level(k + 1, end) + std::string(Word(end));
            element.owned = true;
            next = end + 1;
          } else if (WordIs(Word(k), "COLLATE")) {
            element.part = Part::Tight;  // binds to the operand before it
          } else if (!IsStopKeyword(Word(k))) {  // an unmatched END stops too
            element.part = Part::Operand;
            element.callable = true;
          }
          break;
        case Tok::Literal: element.part = Part::Operand; break;
        case Tok::Plus: element.part = Part::Plus; break;
        case Tok::Minus: element.part = Part::Minus; break;
        case Tok::Tight: element.part = Part::Tight; break;
        default: break;
      }
      afterDot = t.kind == Tok::Tight && Word(k) == ".";
      elements.push_back(std::move(element));
      k = next;
    }
    return Emit(elements);
  }

  static std::string Emit(const std::vector<Element>& elements) {
    std::string out;
    const size_t n = elements.size();
    for (size_t i = 0; i < n;) {
      if (elements[i].part == Part::Trivia || elements[i].part == Part::Stop) {
        out += elements[i].text();
        ++i;
        continue;
      }
      // An additive expression from i to last; ops are its binary + and -.
      std::vector<size_t> ops;
      bool operandEnd = false;
      size_t last = i;
      for (size_t j = i; j < n; ++j) {
        const Part part = elements[j].part;
        if (part == Part::Trivia) continue;
        if (part == Part::Stop) break;
        if (part == Part::Operand) {
          if (operandEnd) break;
          operandEnd = true;
        } else if (part == Part::Plus || part == Part::Minus) {
          if (operandEnd) ops.push_back(j);
          operandEnd = false;
        } else {
          operandEnd = false;
        }
        last = j;
      }
      const bool anyPlus = std::any_of(ops.begin(), ops.end(), [&](size_t k) { return elements[k].part == Part::Plus; });
      if (!anyPlus || ops.back() == last) {  // nothing to do, or a dangling operator
        for (size_t j = i; j <= last; ++j) out += elements[j].text();
      } else {
        out += Chain(elements, i, ops, last);
      }
      i = last + 1;
    }
    return out;
  }

  // Builds the left-associative chain: a - b + c -> f(a - b, c).
  static std::string Chain(const std::vector<Element>& elements, size_t first, const std::vector<size_t>& ops,
                           size_t last) {
    auto join = [&](size_t from, size_t to) {  // elements [from, to)
      std::string text;
      for (size_t j = from; j < to; ++j) text += elements[j].text();
      return text;
    };
    auto termEnd = [&](size_t op) {  // one past the term's last element before op
      size_t end = op;
      while (end > first && elements[end - 1].part == Part::Trivia) --end;
      return end;
    };
    std::string acc = join(first, termEnd(ops[0]));
    for (size_t k = 0; k < ops.size(); ++k) {
      const size_t op = ops[k];
      const size_t pre = termEnd(op);
      size_t bodyStart = op + 1;
      while (elements[bodyStart].part == Part::Trivia) ++bodyStart;
      const size_t bodyEnd = k + 1 < ops.size() ? termEnd(ops[k + 1]) : last + 1;
      const std::string before = join(pre, op), after = join(op + 1, bodyStart), body = join(bodyStart, bodyEnd);
      if (elements[op].part == Part::Minus) {
        acc += before;
        acc += elements[op].text();
        acc += after;
        acc += body;
      } else {
        const bool keepBefore = std::any_of(elements.begin() + static_cast<std::ptrdiff_t>(pre),
                                            elements.begin() + static_cast<std::ptrdiff_t>(op),
                                            [](const Element& e) { return e.hasComment; });
        acc = std::string(kPlusFunction) + "(" + acc + (keepBefore ? before : "") + "," + after + body + ")";
      }
    }
    return acc;
  }

  std::string_view sql_;
  std::vector<Token> tokens_;
  std::vector<size_t> match_;
};

}  // namespace

std::string RewritePlus(std::string_view sql) {
  if (sql.find('+') == std::string_view::npos) return std::string(sql);
  return Rewriter(sql).Run();
}

}  // namespace marksend::db
