#include "QOR_rlfilter.h"

#include <QHash>

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
    // A node over operands (one operand is passed through: "a" is no chain).
    int Add(Node::Kind kind, const std::vector<int>& operands, int termIx = -1)
    {
        if (kind != Node::Not && kind != Node::Term && operands.size() == 1)
            return operands.front();
        Node n;
        n.K = kind;
        n.First = int(FFilter.FOperands.size());
        n.Count = int(operands.size());
        n.TermIx = termIx;
        FFilter.FOperands.insert(FFilter.FOperands.end(), operands.begin(), operands.end());
        FFilter.FNodes.push_back(n);
        return int(FFilter.FNodes.size()) - 1;
    }
    int ParseOr()
    {
        std::vector<int> operands{ParseAnd()};
        while (IsWord("or")) {
            ++FPos;
            operands.push_back(ParseAnd());
        }
        return Add(Node::Or, operands);
    }
    bool StartsOperand() const
    {
        return FPos < FTokens.size() && !IsWord("or") && !IsWord("and") && !IsPunct(')');
    }
    int ParseAnd()
    {
        std::vector<int> operands{ParseNot()};
        for (;;) {
            if (IsWord("and")) {
                ++FPos;
                operands.push_back(ParseNot());
            } else if (StartsOperand()) {
                operands.push_back(ParseNot());
            } else {
                return Add(Node::And, operands);
            }
        }
    }
    int ParseNot()
    {
        if (IsWord("not") || IsPunct('(')) {
            // Each level is a frame of this parser and of the matching: their number is bounded.
            if (++FDepth > TRowFilter::MaxNesting)
                throw Failure{QStringLiteral("nested too deeply")};
            int node;
            if (IsWord("not")) {
                ++FPos;
                node = Add(Node::Not, {ParseNot()});
            } else {
                ++FPos;
                node = ParseOr();
                if (!IsPunct(')'))
                    throw Failure{QStringLiteral("unbalanced parentheses")};
                ++FPos;
            }
            --FDepth;
            return node;
        }
        if (FPos >= FTokens.size() || IsPunct(')') || IsWord("and") || IsWord("or"))
            throw Failure{QStringLiteral("a term is missing")};
        // A term that comes again shares its index, so a row is searched for it only once.
        const QString& text = FTokens[FPos++].Text;
        const auto known = FTermIndex.constFind(text);
        int ix;
        if (known != FTermIndex.constEnd()) {
            ix = *known;
        } else {
            ix = int(FFilter.FTerms.size());
            FFilter.FTerms.emplace_back(text, FCase);
            FTermIndex.insert(text, ix);
        }
        return Add(Node::Term, {}, ix);
    }

    QString FText;
    TRowFilter& FFilter;
    QVector<Token> FTokens;
    QHash<QString, int> FTermIndex;
    int FPos = 0;
    int FDepth = 0;
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
