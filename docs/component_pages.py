#!/usr/bin/env python3
"""Writes the reference's component pages: one per component, grouped by subsystem, each with its
gallery picture and tables of its published properties, Qt signals and events, read from the
component's header.

    component_pages.py SOURCE_DIR OUT_DIR
"""
import os
import re
import sys

# Subsystem, page title, gallery picture, components (class, header, what it is).
SUBSYSTEMS = [
    ('Report list', 'reportlist.png', [
        ('TRLData', 'report_list/QOR_rldata.h', 'the data container of a report list'),
        ('TReportListView', 'report_list/QOR_rlview.h', 'the report grid'),
    ]),
    ('Numeric input', 'numeric.png', [
        ('TNumIO', 'numeric_input/QOR_NumIOEdit.h', 'the numeric edit field'),
        ('TNumIO2', 'numeric_input/QOR_NumIO2.h', 'the self-drawn numeric input field'),
    ]),
    ('Meter', 'meter.png', [
        ('TMeter', 'meter/QOR_Meter.h', 'the analog meter'),
    ]),
    ('Table editor', 'tableeditor.png', [
        ('TNTabEd', 'table_editor/QOR_ntabed.h', 'the numeric table editor'),
    ]),
    ('Labels', 'labels.png', [
        ('TNumLab', 'labels/QOR_NumLab.h', 'the numeric label'),
        ('TSevenSeg', 'labels/QOR_sevenseg.h', 'the seven-segment display'),
        ('TRasterLab', 'labels/QOR_RasterLab.h', 'the dot-matrix label'),
        ('TRotLab', 'labels/QOR_RotLab.h', 'the rotated label'),
    ]),
    ('Calendar', 'calendar.png', [
        ('TMiniCal', 'calendar/QOR_MiniCal.h', 'the month calendar'),
    ]),
    ('Buttons and selectors', 'buttons.png', [
        ('TOnOffBut', 'buttons/QOR_onoffbut.h', 'the on/off button'),
        ('TRepSpeedButton', 'buttons/QOR_repsbut.h', 'the repeating speed button'),
        ('TColSel', 'buttons/QOR_Colsel.h', 'the colour selector'),
        ('TMarkSel', 'buttons/QOR_marksel.h', 'the marker selector'),
    ]),
    ('Bars', 'bars.png', [
        ('TProgBar', 'bars/QOR_ProgBar.h', 'the progress bar'),
        ('TGradFill', 'bars/QOR_gradfl.h', 'the gradient fill'),
    ]),
    ('Browsing', 'browsing.png', [
        ('TThumbnails', 'browsing/QOR_Thumbnails.h', 'the thumbnail pane'),
        ('TFolderTree', 'browsing/QOR_FolderTree.h', 'the folder tree'),
    ]),
]

PROPERTY = re.compile(r'QOR_(UNSTORED_|SUB_)?(COLOR_|FONT_)?PROPERTY(_NOTIFY)?\((.*)\)')
NEEDLE_LAYOUT = ['HeadSize', 'HeadAngle', 'HeadMidLeng', 'Thickness', 'ColorBody', 'ColorOutline',
                 'PercentNeedleLength', 'ShadowDx', 'ShadowDy', 'ShadowColor', 'Visible']


def class_body(text, cls):
    m = re.search(r'\nclass\s+(?:KORVANE_EXPORT\s+)?%s\b[^;{]*\{' % cls, text)
    if not m:
        raise SystemExit('component_pages.py: class %s not found' % cls)
    depth, i = 1, m.end()
    while depth and i < len(text):
        depth += {'{': 1, '}': -1}.get(text[i], 0)
        i += 1
    return text[m.end():i - 1].split('\n')


def comment_above(lines, index):
    """The // comment block right above line index, as one sentence."""
    words = []
    j = index - 1
    while j >= 0 and lines[j].strip().startswith('//') and not re.match(r'\s*//\s*(-{3,}|={3,})', lines[j]):
        words.insert(0, lines[j].strip()[2:].strip())
        j -= 1
    return ' '.join(words)


def describe(lines, name):
    """What the comments say of property name, above its getter or its setter."""
    for pattern in (r'[\s*&]Set%s\s*\(' % name, r'[\s*&]%s\s*\(\s*\)\s*const' % name):
        for k, line in enumerate(lines):
            if re.search(pattern, line):
                text = comment_above(lines, k)
                if text:
                    return text
    return ''


def cell(text):
    return text.replace('|', '\\|').replace('<', '&lt;').replace('>', '&gt;')


def properties(lines):
    rows = []
    for k, line in enumerate(lines):
        if 'QOR_NEEDLE_LAYOUT_PROPERTIES(' in line:
            obj = re.search(r'\((\w+)\)', line).group(1)
            for sub in NEEDLE_LAYOUT:
                rows.append(('%s_%s' % (obj, sub), 'see TNeedleLayout', '', comment_above(lines, k)))
            continue
        m = PROPERTY.search(line)
        if not m or line.strip().startswith('#') or line.strip().startswith('//'):
            continue
        unstored, kind, notify, args = m.group(1), m.group(2), m.group(3), [a.strip() for a in m.group(4).split(',')]
        signal = args[-1] if notify else ''
        if notify:
            args = args[:-1]
        if unstored == 'SUB_':
            obj, name = args[-2], args[-1]
            typ = 'QColor' if kind == 'COLOR_' else args[0]
            rows.append(('%s_%s' % (obj, name), typ, signal, comment_above(lines, k)))
            continue
        name = args[-1]
        typ = {'COLOR_': 'QColor', 'FONT_': 'QFont'}.get(kind or '', args[0] if len(args) > 1 else '')
        note = describe(lines, name) or comment_above(lines, k)
        if unstored == 'UNSTORED_':
            note = ('(not stored in forms) ' + note).strip()
        rows.append((name, typ.replace('qor::', ''), signal, note))
    return rows


def signals(lines):
    rows, inside = [], False
    for k, line in enumerate(lines):
        s = line.strip()
        if s.startswith('Q_SIGNALS:') or s.startswith('signals:'):
            inside = True
            continue
        if inside and re.match(r'(public|protected|private)\b.*:', s):
            inside = False
        if inside and s.startswith('void '):
            rows.append((s.rstrip(';').replace('qor::', ''), comment_above(lines, k)))
    return rows


def events(lines):
    rows = []
    for k, line in enumerate(lines):
        m = re.match(r'\s*(T\w+|std::function<.*>)\s+(On\w+)\s*(?:=[^;]*)?;', line)
        if m:
            rows.append((m.group(2), m.group(1), comment_above(lines, k)))
    return rows


def page(cls, header, what, picture, source_dir):
    with open(os.path.join(source_dir, header), encoding='utf-8') as f:
        lines = class_body(f.read(), cls)
    out = ['@page component_%s %s' % (cls, cls), '',
           '%s is %s. Class reference: qor::%s, header `%s`.' % (cls, what, cls, os.path.basename(header)), '',
           '![The gallery page with %s](%s)' % (cls, picture), '',
           '@section %s_properties Published properties' % cls, '',
           'Each property P has the getter `P()`, the setter `SetP()`, and the Qt-style public slot `setP()` '
           'with the write route for forms (see @ref QOR_Published.h). Properties inherited from the '
           'control host (Color, Font, Enabled, ...) are not repeated here.', '']
    props = properties(lines)
    if props:
        out += ['| Property | Type | Signal | Notes |', '|---|---|---|---|']
        out += ['| %s | %s | %s | %s |' % (n, cell(t), s, cell(d)) for n, t, s, d in props]
    else:
        out.append('None.')
    out += ['', '@section %s_signals Signals' % cls, '']
    sigs = signals(lines)
    if sigs:
        out += ['| Signal | Notes |', '|---|---|'] + ['| `%s` | %s |' % (cell(s), cell(d)) for s, d in sigs]
    else:
        out.append('Only the control signals every component has (clicked(), mouseDown(), ...).')
    out += ['', '@section %s_events Events' % cls, '',
            'Events are handler fields (std::function) called before the matching signal is emitted.', '']
    evs = events(lines)
    if evs:
        out += ['| Event | Type | Notes |', '|---|---|---|'] + \
               ['| %s | %s | %s |' % (n, cell(t), cell(d)) for n, t, d in evs]
    else:
        out.append('None of its own.')
    return '\n'.join(out) + '\n'


def main():
    source_dir, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    index = ['@page components Components', '',
             'The nineteen components by subsystem, each with its gallery picture, published properties, '
             'signals and events.', '']
    for number, (subsystem, picture, components) in enumerate(SUBSYSTEMS):
        anchor = 'subsystem_%d' % number
        index.append('- @subpage %s' % anchor)
        lines = ['@page %s %s' % (anchor, subsystem), '']
        for cls, header, what in components:
            lines.append('- @subpage component_%s' % cls)
            with open(os.path.join(out_dir, 'component_%s.md' % cls), 'w', encoding='utf-8') as f:
                f.write(page(cls, header, what, picture, source_dir))
        with open(os.path.join(out_dir, '%s.md' % anchor), 'w', encoding='utf-8') as f:
            f.write('\n'.join(lines) + '\n')
    with open(os.path.join(out_dir, 'components.md'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(index) + '\n')


if __name__ == '__main__':
    main()
