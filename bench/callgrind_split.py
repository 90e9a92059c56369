#!/usr/bin/env python3
"""callgrind_split.py OUT: splits a callgrind profile's instructions into this program's own work and the
OpenGL driver's. Every call from the program's code (or the C and C++ libraries) into the OpenGL libraries
counts, with all it does, as the driver's; the rest is ours. Prints: total ours driver."""
import re
import sys

DRIVER = re.compile(r'lib(GL|GLX|GLdispatch|EGL|gallium|LLVM)|dri/|swrast')


def split(path):
    names = {}          # compressed name ids -> names, per kind ("ob", "cob" share one table)
    ob = cob = ''
    total = driver = 0
    expect_call_cost = False

    def name(kind, text):
        m = re.match(r'\((\d+)\)(?: (.*))?', text)
        if not m:
            return text
        table = names.setdefault('ob' if kind in ('ob', 'cob') else kind, {})
        if m.group(2) is not None:
            table[m.group(1)] = m.group(2)
        return table.get(m.group(1), '')

    for line in open(path):
        line = line.rstrip('\n')
        key, _, rest = line.partition('=')
        if key in ('ob', 'cob'):
            value = name(key, rest)
            if key == 'ob':
                ob = value
            else:
                cob = value
        elif key == 'calls':
            expect_call_cost = True
        elif line[:1].isdigit() or line[:1] in '+-*':
            cost = int(line.split()[1]) if len(line.split()) > 1 else 0
            if expect_call_cost:
                if DRIVER.search(cob) and not DRIVER.search(ob):
                    driver += cost
                expect_call_cost = False
                cob = ''
            else:
                total += cost
        elif key in ('fn', 'fl', 'fi', 'fe'):
            cob = ''
    return total, total - driver, driver


if __name__ == '__main__':
    print(*split(sys.argv[1]))
