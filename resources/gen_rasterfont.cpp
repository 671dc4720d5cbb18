// Turns the dot-font source resources/rasterfont.txt into the table of the raster label,
// labels/QOR_RasterFont_p.h: 224 records of 14 bytes (first column, last column, 12 row bytes
// with bit j = column j) for the characters 32..255.
//
//   gen_rasterfont SOURCE TABLE           writes TABLE
//   gen_rasterfont --check SOURCE TABLE   fails when TABLE is not what SOURCE gives
//
// Built as a test program (build/tests/gen_rasterfont); the check runs under CTest. Every glyph
// is checked: a known code given once, at most 12 rows of at most 7 dots, columns in 0..6 with
// first <= last, and the columns equal to the outermost dots unless the glyph has none.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int FirstCode = 32;
constexpr int LastCode = 255;
constexpr int Columns = 7;
constexpr int Rows = 12;

struct Glyph {
    bool Defined = false;
    int Line = 0;
    int First = 0;
    int Last = 0;
    std::string Name;
    std::array<std::uint8_t, Rows> Bits{};
    int RowCount = 0;
};

struct Parser {
    std::vector<Glyph> Glyphs = std::vector<Glyph>(LastCode + 1);
    std::vector<std::string> Errors;
    Glyph* Current = nullptr;

    void Error(int line, const std::string& what)
    {
        Errors.push_back("line " + std::to_string(line) + ": " + what);
    }

    void Header(int line, const std::string& text)
    {
        std::istringstream in(text.substr(6));
        int code = -1;
        std::string cols;
        in >> code >> cols;
        std::string name;
        std::getline(in >> std::ws, name);
        Current = nullptr;
        if (code < FirstCode || code > LastCode) {
            Error(line, "character code outside 32..255");
            return;
        }
        Glyph& g = Glyphs[std::size_t(code)];
        if (g.Defined) {
            Error(line, "character " + std::to_string(code) + " given twice (first on line " +
                            std::to_string(g.Line) + ")");
            return;
        }
        int first = -1, last = -1;
        char dot1 = 0, dot2 = 0;
        std::istringstream c(cols);
        if (!(c >> first >> dot1 >> dot2 >> last) || dot1 != '.' || dot2 != '.' || first < 0 ||
            last > Columns - 1 || first > last) {
            Error(line, "columns must read first..last within 0..6");
            return;
        }
        g.Defined = true;
        g.Line = line;
        g.First = first;
        g.Last = last;
        g.Name = name;
        Current = &g;
    }

    void Row(int line, const std::string& text)
    {
        if (!Current) {
            Error(line, "dot row outside a glyph");
            return;
        }
        if (Current->RowCount == Rows) {
            Error(line, "more than 12 rows");
            return;
        }
        if (text.size() > std::size_t(Columns)) {
            Error(line, "more than 7 columns");
            return;
        }
        std::uint8_t bits = 0;
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (text[k] == '#')
                bits |= std::uint8_t(1u << k);
            else if (text[k] != '.')
                Error(line, "a dot row holds only '#' and '.'");
        }
        Current->Bits[std::size_t(Current->RowCount++)] = bits;
    }

    void Finish()
    {
        for (int code = FirstCode; code <= LastCode; ++code) {
            const Glyph& g = Glyphs[std::size_t(code)];
            if (!g.Defined) {
                Errors.push_back("character " + std::to_string(code) + " is missing");
                continue;
            }
            std::uint8_t all = 0;
            for (std::uint8_t b : g.Bits)
                all |= b;
            if (all == 0)
                continue;   // a blank character chooses its width freely
            int lo = 0, hi = Columns - 1;
            while (!(all & (1u << lo)))
                ++lo;
            while (!(all & (1u << hi)))
                --hi;
            if (lo != g.First || hi != g.Last)
                Error(g.Line, "columns " + std::to_string(g.First) + ".." + std::to_string(g.Last) +
                                  " but the dots span " + std::to_string(lo) + ".." + std::to_string(hi));
        }
    }
};

bool Parse(const std::string& path, Parser& p)
{
    std::ifstream in(path);
    if (!in) {
        std::cerr << "cannot read " << path << "\n";
        return false;
    }
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty()) {
            p.Current = nullptr;
            continue;
        }
        if (text.rfind("//", 0) == 0)
            continue;
        if (text.rfind("glyph ", 0) == 0)
            p.Header(line, text);
        else
            p.Row(line, text);
    }
    p.Finish();
    for (const std::string& e : p.Errors)
        std::cerr << path << ": " << e << "\n";
    return p.Errors.empty();
}

std::string Table(const Parser& p)
{
    std::ostringstream out;
    out << "// Generated by resources/gen_rasterfont.cpp from resources/rasterfont.txt: edit the glyphs\n"
           "// there and run the generator again.\n"
           "#pragma once\n\n"
           "#include <cstdint>\n\n"
           "namespace qor::rasterlab_detail {\n\n"
           "// Characters 32..255: first column, last column, rows 0..11 (bit j = column j).\n"
           "inline constexpr std::uint8_t RasterFontRecords[224][14] = {\n";
    for (int code = FirstCode; code <= LastCode; ++code) {
        const Glyph& g = p.Glyphs[std::size_t(code)];
        out << "    {" << g.First << ", " << g.Last;
        for (std::uint8_t b : g.Bits)
            out << ", " << int(b);
        out << "},   // " << code;
        // Only printable ASCII in the comment (no backslash, which would continue the comment);
        // the names of the other signs are in the source.
        if (code >= 33 && code <= 126 && code != '\\')
            out << " " << char(code);
        out << "\n";
    }
    out << "};\n\n} // namespace qor::rasterlab_detail\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    const bool check = argc == 4 && std::string(argv[1]) == "--check";
    if (argc != 3 && !check) {
        std::cerr << "usage: gen_rasterfont [--check] SOURCE TABLE\n";
        return 2;
    }
    const std::string source = argv[check ? 2 : 1];
    const std::string table = argv[check ? 3 : 2];
    Parser p;
    if (!Parse(source, p))
        return 1;
    const std::string text = Table(p);
    if (check) {
        std::ifstream in(table, std::ios::binary);
        std::ostringstream current;
        current << in.rdbuf();
        if (current.str() != text) {
            std::cerr << table << " is not what " << source << " gives: run gen_rasterfont " << source << " "
                      << table << "\n";
            return 1;
        }
        return 0;
    }
    std::ofstream out(table, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        std::cerr << "cannot write " << table << "\n";
        return 1;
    }
    return 0;
}
