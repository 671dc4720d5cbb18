// The filter expressions of the report list view, compiled once and matched against the cells
// of each row. No widget is involved: the view hands over the texts of a row's filter columns.
//
//  fmSimple:  the expression is a substring of a cell;
//  fmBoolean: terms combined with AND, OR, NOT and parentheses; a term is a word or a
//             "quoted phrase" matched as a substring of any cell; adjacent terms mean AND; NOT
//             binds tightest, then AND, then OR; the operators are case-insensitive words (a
//             quoted "or" is a term);
//  fmGrep:    the expression is a regular expression searched in each cell.
// IgnoreCase applies to the terms of all three modes.
#pragma once

#include "QOR_rldata.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringMatcher>
#include <QStringView>

#include <optional>
#include <vector>

namespace qor {

// A compiled filter expression of the report list view, in one of the modes fmSimple, fmBoolean
// and fmGrep.
class KORVANE_EXPORT TRowFilter {
public:
    // The compiled expression, or nothing when it is malformed: fmBoolean with no term, a
    // missing term, unbalanced parentheses or quotes, or parentheses and NOTs nested deeper than
    // MaxNesting; fmGrep with an invalid pattern. Error then tells why. Any number of terms
    // compiles and matches in time and stack linear in the expression.
    static constexpr int MaxNesting = 200;
    // Compiles Exp in Mode (IgnoreCase: terms match without regard to case); std::nullopt with
    // Error set when it is malformed (the cases are listed at MaxNesting).
    static std::optional<TRowFilter> Compile(const QString& Exp, bool IgnoreCase, TFilterMode Mode, QString& Error);

    // Whether a row matches; Cell(i) gives the text of its i-th filter cell, i < NrCells. Each
    // cell is read at most once per term.
    template <typename CellFn>
    bool Matches(int NrCells, CellFn Cell) const;
    // Whether a row whose filter cells hold the texts Cells matches.
    bool Matches(const QStringList& Cells) const
    {
        return Matches(int(Cells.size()), [&](int i) { return QStringView(Cells[i]); });
    }

private:
    // And and Or take any number of operands (a chain of them is one node), so the depth of
    // the tree is the nesting of the expression.
    struct Node {
        enum Kind { Term, Not, And, Or } K = Term;
        int First = 0;   // operands: FOperands[First .. First + Count - 1]
        int Count = 0;
        int TermIx = -1;
    };
    friend class TRowFilterParser;

    TRowFilter() = default;
    // A prepared matcher searches each cell without re-reading the pattern (an empty pattern
    // matches every cell, as QString::contains does).
    static bool Contains(const QStringMatcher& m, QStringView cell) { return m.pattern().isEmpty() || m.indexIn(cell) >= 0; }
    template <typename TermFn>
    bool Eval(int n, TermFn& term) const;

    TFilterMode FMode = fmSimple;
    QRegularExpression FRegex;
    std::vector<Node> FNodes;
    std::vector<int> FOperands;
    std::vector<QStringMatcher> FTerms;   // one per term (fmSimple: the whole expression)
    int FRoot = -1;
};

template <typename TermFn>
bool TRowFilter::Eval(int n, TermFn& term) const
{
    const Node& node = FNodes[std::size_t(n)];
    const int* operand = FOperands.data() + node.First;
    switch (node.K) {
    case Node::Term: return term(node.TermIx);
    case Node::Not: return !Eval(operand[0], term);
    case Node::And:
        for (int i = 0; i < node.Count; ++i)
            if (!Eval(operand[i], term))
                return false;
        return true;
    case Node::Or:
        for (int i = 0; i < node.Count; ++i)
            if (Eval(operand[i], term))
                return true;
        return false;
    }
    return false;
}

template <typename CellFn>
bool TRowFilter::Matches(int NrCells, CellFn Cell) const
{
    switch (FMode) {
    case fmGrep:
        for (int i = 0; i < NrCells; ++i)
            if (FRegex.match(Cell(i).toString()).hasMatch())
                return true;
        return false;
    case fmBoolean: {
        // A term found once is not searched again, however often the tree asks for it.
        std::vector<signed char> memo(FTerms.size(), -1);
        auto term = [&](int t) {
            signed char& m = memo[std::size_t(t)];
            if (m < 0) {
                bool hit = false;
                for (int i = 0; i < NrCells && !hit; ++i)
                    hit = Contains(FTerms[std::size_t(t)], Cell(i));
                m = hit ? 1 : 0;
            }
            return m == 1;
        };
        return Eval(FRoot, term);
    }
    default:
        for (int i = 0; i < NrCells; ++i)
            if (Contains(FTerms.front(), Cell(i)))
                return true;
        return false;
    }
}

} // namespace qor
