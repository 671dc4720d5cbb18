#!/usr/bin/env python3
"""Doxygen input filter: the library's headers explain themselves in plain // comments; this turns
the ones that describe declarations into documentation comments, without touching the files.

- a comment block at the top of the file documents the file;
- a comment line above a declaration (outside function bodies) documents it;
- a trailing comment after a member or enumerator documents that member;
- separator lines ("// ---- counts") stay plain comments;
- comments inside function bodies stay plain;
- the getter X() and setter SetX() of a published property X (declared with the QOR_*PROPERTY
  macros of QOR_Published.h) are documented as its accessors; the property itself is described
  by the comment beside its macro, which the component pages list.
"""
import re
import sys

SEPARATOR = re.compile(r'^\s*//\s*(-{3,}|={3,})')
LINE_COMMENT = re.compile(r'^(\s*)//(?![/!])\s?(.*)$')
TRAILING = re.compile(r'^(.*?[;,{])(\s*)//(?![/!<])\s?(.*)$')
BODY_OPENER = re.compile(r'(\)|\bconst|\boverride|\bnoexcept|\bfinal|\]|->\s*[\w:<>*&]+|\bdo|\belse|\btry)\s*$')


PROPERTY_MACRO = re.compile(r'QOR_(?:UNSTORED_)?(?:COLOR_|FONT_)?PROPERTY(?:_NOTIFY)?\(\s*(?:[^,()]+,\s*)?(\w+)')
ACCESSOR = re.compile(r'^\s*(?:virtual\s+|static\s+|inline\s+)*[\w:<>,*& ]+?[\s*&](Set)?(\w+)\s*\(')


def escape(text):
    """Plain text for Doxygen: angle brackets, backslashes and at-signs as written."""
    return text.replace('\\', '\\\\').replace('<', '\\<').replace('>', '\\>').replace('@', '\\@')


def published_properties(lines):
    names = set()
    for line in lines:
        for m in PROPERTY_MACRO.finditer(line):
            names.add(m.group(1))
    return names


def strip_strings(code):
    return re.sub(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'', '""', code)


def code_part(line):
    code = strip_strings(line)
    i = code.find('//')
    return code if i < 0 else code[:i]


def filter_lines(lines):
    properties = published_properties(lines)
    out = []
    depth_kinds = []          # 'body' or 'scope' per open brace
    last_code = ''            # the last non-blank code text seen, for telling bodies from scopes
    in_header = True          # still in the leading comment block
    in_block_comment = False
    for line in lines:
        stripped = line.strip()
        in_body = 'body' in depth_kinds
        if in_block_comment:
            out.append(line)
            if '*/' in line:
                in_block_comment = False
            continue
        if stripped.startswith('/*') and '*/' not in stripped:
            in_block_comment = True
            out.append(line)
            continue
        m = LINE_COMMENT.match(line)
        if m and not in_body:
            if SEPARATOR.match(line):
                out.append(line)
            elif in_header:
                if not any(o.startswith('/// \\file') for o in out):
                    out.append('/// \\file\n')
                out.append('%s/// %s\n' % (m.group(1), escape(m.group(2))))
            else:
                out.append('%s/// %s\n' % (m.group(1), escape(m.group(2))))
            continue
        if stripped and not stripped.startswith('//'):
            in_header = False
        code = code_part(line)
        t = TRAILING.match(line)
        if t and not in_body and not code.rstrip().endswith('{') and 'case ' not in code:
            line = '%s%s///< %s\n' % (t.group(1), t.group(2), escape(t.group(3)))
        else:
            a = ACCESSOR.match(code)
            previous = out[-1].strip() if out else ''
            if a and not in_body and a.group(2) in properties and not previous.startswith('///'):
                verb = 'Sets' if a.group(1) else 'Reads'
                line = line.rstrip('\n') + '  ///< %s the published property %s.\n' % (verb, a.group(2))
        # Follow the braces of the line.
        for ch in code:
            if ch == '{':
                before = code[:code.index('{')] if '{' in code else ''
                head = (before.strip() or last_code.strip())
                is_body = bool(BODY_OPENER.search(head)) or ('=' in head and not re.search(r'\benum\b', head))
                if re.search(r'\b(class|struct|namespace|enum|union)\b', head) and not head.endswith(')'):
                    is_body = False
                depth_kinds.append('body' if is_body else 'scope')
            elif ch == '}':
                if depth_kinds:
                    depth_kinds.pop()
        if code.strip():
            last_code = code
        out.append(line)
    return out


def main():
    with open(sys.argv[1], encoding='utf-8') as f:
        lines = f.readlines()
    sys.stdout.write(''.join(filter_lines(lines)))


if __name__ == '__main__':
    main()
