// Filter expressions of the report list, compiled and matched without a view.
#include <gtest/gtest.h>

#include <QOR_rlfilter.h>

#include "test_support.h"

using namespace qor;

namespace {

// Whether the row (its filter cells) matches Exp; fails the test when Exp does not compile.
bool Match(const char* exp, const QStringList& row, TFilterMode mode = fmBoolean, bool ignoreCase = true)
{
    QString why;
    const auto f = TRowFilter::Compile(QString::fromUtf8(exp), ignoreCase, mode, why);
    EXPECT_TRUE(f.has_value()) << exp << ": " << why.toStdString();
    return f && f->Matches(row);
}

QString ErrorOf(const char* exp, TFilterMode mode = fmBoolean)
{
    QString why;
    const auto f = TRowFilter::Compile(QString::fromUtf8(exp), true, mode, why);
    EXPECT_FALSE(f.has_value()) << exp;
    return why;
}

} // namespace

TEST(RLFilter, AndBindsTighterThanOrAndNotTighterThanAnd)
{
    // a OR (b AND c): a alone is enough, b alone is not.
    EXPECT_TRUE(Match("a OR b AND c", {"a"}));
    EXPECT_FALSE(Match("a OR b AND c", {"b"}));
    EXPECT_TRUE(Match("a OR b AND c", {"b c"}));
    // b AND c OR a reads the same way round.
    EXPECT_TRUE(Match("b AND c OR a", {"a"}));
    // (NOT a) AND b: a row without a but with b.
    EXPECT_TRUE(Match("NOT a AND b", {"b"}));
    EXPECT_FALSE(Match("NOT a AND b", {"a b"}));
    EXPECT_FALSE(Match("NOT a AND b", {"x"}));
    // NOT NOT cancels; NOT applies to a parenthesised group as a whole.
    EXPECT_TRUE(Match("NOT NOT a", {"a"}));
    EXPECT_TRUE(Match("NOT (a OR b)", {"c"}));
    EXPECT_FALSE(Match("NOT (a OR b)", {"b"}));
}

TEST(RLFilter, ParenthesesOverridePrecedence)
{
    EXPECT_FALSE(Match("(a OR b) AND c", {"a"}));
    EXPECT_TRUE(Match("(a OR b) AND c", {"a c"}));
    EXPECT_TRUE(Match("((a))", {"a"}));
    EXPECT_TRUE(Match("x (y OR z)", {"x z"}));   // adjacency is AND, also before a group
    EXPECT_FALSE(Match("x (y OR z)", {"y z"}));
}

TEST(RLFilter, TermsMatchAnyCellAndAdjacentTermsMeanAnd)
{
    // Each term may be found in a different cell of the row.
    EXPECT_TRUE(Match("apple pie", {"apple", "pie"}));
    EXPECT_FALSE(Match("apple pie", {"apple", "tart"}));
    EXPECT_TRUE(Match("apple AND pie", {"big apple pie"}));
    // Operators are words of any case, but only whole words: "orange" is a term.
    EXPECT_TRUE(Match("a or b", {"b"}));
    EXPECT_TRUE(Match("a aNd b", {"ab"}));
    EXPECT_TRUE(Match("orange", {"orange"}));
    EXPECT_FALSE(Match("orange", {"or"}));
    // Terms are substrings.
    EXPECT_TRUE(Match("ppl", {"Apple"}));
}

TEST(RLFilter, QuotedPhrasesAreTermsWithBlanksAndOperatorWords)
{
    EXPECT_TRUE(Match("\"apple pie\"", {"hot apple pie"}));
    EXPECT_FALSE(Match("\"apple pie\"", {"apple", "pie"}));
    // A quoted operator word is searched for, not applied.
    EXPECT_TRUE(Match("\"or\"", {"for"}));
    EXPECT_FALSE(Match("\"or\"", {"xyz"}));
    EXPECT_TRUE(Match("\"not\" x", {"knot x"}));
    // Quotes end a word: a"b"c is three adjacent terms.
    EXPECT_TRUE(Match("a\"b\"c", {"c", "b", "a"}));
    // An empty phrase matches every row, as the empty substring does.
    EXPECT_TRUE(Match("\"\"", {"anything"}));
}

TEST(RLFilter, CaseFollowsIgnoreCase)
{
    EXPECT_TRUE(Match("APPLE", {"apple"}, fmBoolean, true));
    EXPECT_FALSE(Match("APPLE", {"apple"}, fmBoolean, false));
    EXPECT_TRUE(Match("\u00C4RG", {QStringLiteral("\u00E4rger")}, fmSimple, true));
    EXPECT_FALSE(Match("A", {"a"}, fmSimple, false));
    EXPECT_TRUE(Match("^A", {"apple"}, fmGrep, true));
    EXPECT_FALSE(Match("^A", {"apple"}, fmGrep, false));
}

TEST(RLFilter, SimpleModeTakesTheWholeTextAsOneSubstring)
{
    // No operators in fmSimple: "a OR b" is looked for as it stands.
    EXPECT_FALSE(Match("a OR b", {"a"}, fmSimple));
    EXPECT_TRUE(Match("a OR b", {"xa OR by"}, fmSimple));
    EXPECT_TRUE(Match("(", {"f(x)"}, fmSimple));
    EXPECT_FALSE(Match("x", {}, fmSimple));   // a row without filter cells matches nothing
}

TEST(RLFilter, MalformedExpressionsAreRefusedWithTheReason)
{
    EXPECT_EQ(ErrorOf(""), "empty expression");
    EXPECT_EQ(ErrorOf("   "), "empty expression");
    EXPECT_EQ(ErrorOf("(a OR b"), "unbalanced parentheses");
    EXPECT_EQ(ErrorOf("a OR b)"), "unexpected \")\"");
    EXPECT_EQ(ErrorOf("\"open"), "unbalanced quotes");
    for (const char* missing : {"a AND", "OR a", "NOT", "a OR OR b", "()", "a AND NOT"})
        EXPECT_EQ(ErrorOf(missing), "a term is missing") << missing;
    EXPECT_FALSE(ErrorOf("[a-", fmGrep).isEmpty());
    // The same texts are fine where they are no boolean expression.
    EXPECT_TRUE(Match("(a OR b", {"(a OR b"}, fmSimple));
}

TEST(RLFilter, EachCellIsReadOncePerTerm)
{
    QString why;
    const auto f = TRowFilter::Compile(QStringLiteral("(a AND b) OR (a AND c) OR NOT a"), true, fmBoolean, why);
    ASSERT_TRUE(f.has_value());
    const QStringList row{"x", "a", "c"};
    int reads = 0;
    EXPECT_TRUE(f->Matches(int(row.size()), [&](int i) {
        ++reads;
        return QStringView(row[i]);
    }));
    // Three distinct terms over at most three cells each, although "a" appears three times.
    EXPECT_LE(reads, 9);
}

// Long expressions: any number of terms compiles and matches without deep recursion and without
// comparing every term with every other; nesting beyond the limit is refused, not a crash.
TEST(RLFilter, LongAndDeepExpressionsAreSafe)
{
    QString chain, alternatives;
    for (int i = 0; i < 200000; ++i) {
        chain += QStringLiteral("t%1 ").arg(i % 50);
        alternatives += QStringLiteral("x%1 OR ").arg(i);
    }
    alternatives += QStringLiteral("hit");
    QString why;
    const auto all = TRowFilter::Compile(chain, true, fmBoolean, why);
    ASSERT_TRUE(all.has_value()) << why.toStdString();
    QStringList row;
    for (int i = 0; i < 50; ++i)
        row << QStringLiteral("t%1").arg(i);
    EXPECT_TRUE(all->Matches(row));
    row.removeLast();
    EXPECT_FALSE(all->Matches(row));
    const auto any = TRowFilter::Compile(alternatives, true, fmBoolean, why);
    ASSERT_TRUE(any.has_value());
    EXPECT_TRUE(any->Matches(QStringList{QStringLiteral("a hit")}));

    const QString nested = QString(TRowFilter::MaxNesting, QLatin1Char('(')) + QStringLiteral("a")
                         + QString(TRowFilter::MaxNesting, QLatin1Char(')'));
    EXPECT_TRUE(Match(nested.toUtf8().constData(), {"a"}));
    EXPECT_EQ(ErrorOf(("(" + nested + ")").toUtf8().constData()), QStringLiteral("nested too deeply"));
    QString nots;
    for (int i = 0; i < 100000; ++i)
        nots += QStringLiteral("NOT ");
    EXPECT_EQ(ErrorOf((nots + "a").toUtf8().constData()), QStringLiteral("nested too deeply"));
    EXPECT_EQ(ErrorOf(QString(100000, QLatin1Char('(')).toUtf8().constData()), QStringLiteral("nested too deeply"));
}
