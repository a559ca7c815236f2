#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a browser's page as a Linux screen reader does, over AT-SPI, and
# prints it as JSON: every object of the document with its role, name,
# description, states and live setting, and for a table cell what a reader
# says there: its text, then its row's and its column's header. With
# --heard, prints instead what a reader hears from live regions as it is
# sent: the text each insertion event carries, one JSON line each, from
# "ready" until the text UNTIL; with "focus", also the object each focus
# event names, as "where: what" (its parent's name and its own).
#   atspi.py TITLE
#   atspi.py --heard UNTIL [focus]
import json
import sys

import pyatspi


def spoken(cell):
    try:
        tc = cell.queryTableCell()
        heard = [cell.name or text_of(cell)]
        heard += [h.name for h in tc.rowHeaderCells]
        heard += [h.name for h in tc.columnHeaderCells]
        return ', '.join(heard)
    except NotImplementedError:
        return None


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount).replace('\ufffc', '').strip()
    except NotImplementedError:
        return ''


def walk(node, out):
    role = node.getRoleName()
    attributes = dict(a.split(':', 1) for a in node.getAttributes() if ':' in a)
    entry = {'role': role, 'name': node.name, 'description': node.description,
             'states': sorted(pyatspi.stateToString(s) for s in node.getState().getStates()
                              if s in (pyatspi.STATE_FOCUSED, pyatspi.STATE_SELECTED))}
    if 'container-live' in attributes or 'live' in attributes:
        entry['live'] = attributes.get('live', attributes.get('container-live'))
        entry['text'] = text_of(node)
    if role == 'table cell':
        entry['spoken'] = spoken(node)
    out.append(entry)
    for child in node:
        if child is not None:
            walk(child, out)


def heard(until, focus):
    def said(text):
        print(json.dumps(text, ensure_ascii=False), flush=True)
        if text == until:
            pyatspi.Registry.stop()

    def inserted(event):
        attributes = dict(a.split(':', 1) for a in event.source.getAttributes() if ':' in a)
        if 'container-live' in attributes or 'live' in attributes:
            said(event.any_data)
    pyatspi.Registry.registerEventListener(inserted, 'object:text-changed:insert')
    if focus:
        pyatspi.Registry.registerEventListener(
            lambda event: event.detail1 and said(f'{event.source.parent.name}: {event.source.name}'),
            'object:state-changed:focused')
    print('"ready"', flush=True)
    pyatspi.Registry.start()


def main():
    if sys.argv[1] == '--heard':
        heard(sys.argv[2], sys.argv[3:] == ['focus'])
        return
    title = sys.argv[1]
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        found = pyatspi.findDescendant(app, lambda n: n.getRoleName() == 'document web' and n.name == title)
        if found is not None:
            out = []
            walk(found, out)
            json.dump(out, sys.stdout, ensure_ascii=False)
            return
    sys.exit(f'no page "{title}" over AT-SPI')


main()
