#include "QOR_rlfilter.h"

namespace qor {

// Recursive descent over the tokens of a boolean expression:
//   or  := and { "OR" and }
//   and := not { ["AND"] not }
//   not := "NOT" not | "(" or ")" | term
class TRowFilterParser {
public:
    struct Failure {
        QString Why;
    };

    TRowFilterParser(const QString& text, TRowFilter& filter) : FText(text), FFilter(filter) {}

    // Builds the tree into the filter and returns its root; throws Failure on malformed input.
    int Parse(Qt::CaseSensitivity cs)
    {
        Tokenize();
        if (FTokens.isEmpty())
            throw Failure{QStringLiteral("empty expression")};
        FCase = cs;
        const int root = ParseOr();
        if (FPos != FTokens.size())
            throw Failure{QStringLiteral("unexpected \"") + FTokens[FPos].Text + QLatin1Char('"')};
        return root;
    }

private:
    struct Token {
        QString Text;
        bool Quoted = false;
    };
    using Node = TRowFilter::Node;

    void Tokenize()
    {
        int i = 0;
        const int n = int(FText.size());
        while (i < n) {
            const QChar c = FText[i];
            if (c.isSpace()) {
                ++i;
            } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
                FTokens.append({QString(c), false});
                ++i;
            } else if (c == QLatin1Char('"')) {
                const int end = int(FText.indexOf(QLatin1Char('"'), i + 1));
                if (end < 0)
                    throw Failure{QStringLiteral("unbalanced quotes")};
                FTokens.append({FText.mid(i + 1, end - i - 1), true});
                i = end + 1;
            } else {
                int j = i;
                while (j < n && !FText[j].isSpace() && FText[j] != QLatin1Char('(') && FText[j] != QLatin1Char(')')
                       && FText[j] != QLatin1Char('"'))
                    ++j;
                FTokens.append({FText.mid(i, j - i), false});
                i = j;
            }
        }
    }
    bool IsWord(const char* w) const
    {
        return FPos < FTokens.size() && !FTokens[FPos].Quoted
            && FTokens[FPos].Text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool IsPunct(char p) const { return FPos < FTokens.size() && !FTokens[FPos].Quoted && FTokens[FPos].Text == QLatin1Char(p); }
    int Add(Node n)
    {
        FFilter.FNodes.push_back(n);
        return int(FFilter.FNodes.size()) - 1;
    }
    int ParseOr()
    {
        int left = ParseAnd();
        while (IsWord("or")) {
            ++FPos;
            left = Add({Node::Or, left, ParseAnd(), -1});
        }
        return left;
    }
    bool StartsOperand() const
    {
        return FPos < FTokens.size() && !IsWord("or") && !IsWord("and") && !IsPunct(')');
    }
    int ParseAnd()
    {
        int left = ParseNot();
        for (;;) {
            if (IsWord("and")) {
                ++FPos;
                left = Add({Node::And, left, ParseNot(), -1});
            } else if (StartsOperand()) {
                left = Add({Node::And, left, ParseNot(), -1});
            } else {
                return left;
            }
        }
    }
    int ParseNot()
    {
        if (IsWord("not")) {
            ++FPos;
            return Add({Node::Not, ParseNot(), -1, -1});
        }
        if (IsPunct('(')) {
            ++FPos;
            const int inner = ParseOr();
            if (!IsPunct(')'))
                throw Failure{QStringLiteral("unbalanced parentheses")};
            ++FPos;
            return inner;
        }
        if (FPos >= FTokens.size() || IsPunct(')') || IsWord("and") || IsWord("or"))
            throw Failure{QStringLiteral("a term is missing")};
        // A term that comes again shares its index, so a row is searched for it only once.
        const QString& text = FTokens[FPos++].Text;
        int ix = 0;
        while (ix < int(FFilter.FTerms.size()) && FFilter.FTerms[std::size_t(ix)].pattern() != text)
            ++ix;
        if (ix == int(FFilter.FTerms.size()))
            FFilter.FTerms.emplace_back(text, FCase);
        return Add({Node::Term, -1, -1, ix});
    }

    QString FText;
    TRowFilter& FFilter;
    QVector<Token> FTokens;
    int FPos = 0;
    Qt::CaseSensitivity FCase = Qt::CaseSensitive;
};

std::optional<TRowFilter> TRowFilter::Compile(const QString& Exp, bool IgnoreCase, TFilterMode Mode, QString& Error)
{
    const Qt::CaseSensitivity cs = IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    TRowFilter f;
    f.FMode = Mode;
    Error.clear();
    if (Mode == fmGrep) {
        f.FRegex.setPattern(Exp);
        if (IgnoreCase)
            f.FRegex.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        if (!f.FRegex.isValid()) {
            Error = f.FRegex.errorString();
            return std::nullopt;
        }
        f.FRegex.optimize();
    } else if (Mode == fmBoolean) {
        try {
            f.FRoot = TRowFilterParser(Exp, f).Parse(cs);
        } catch (const TRowFilterParser::Failure& e) {
            Error = e.Why;
            return std::nullopt;
        }
    } else {
        f.FMode = fmSimple;
        f.FTerms.emplace_back(Exp, cs);
    }
    return f;
}

} // namespace qor
