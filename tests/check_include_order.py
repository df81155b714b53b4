#!/usr/bin/env python3
"""Checks that the includes of src/ follow the layers, lowest first.

A file may include headers of its own layer and of lower layers only; areas of the same rank
(core stats, alerts, mail and news; the ui windows) may not include each other. The core never
includes a ui header. Usage: check_include_order.py <source dir of the project>
"""
import pathlib
import re
import sys

# (library, area) -> rank; a higher rank may include a lower one.
RANKS = {
    ('core', 'values'): 0,
    ('core', 'platform'): 1,
    ('core', 'settings'): 2,
    ('core', 'reports'): 3,
    ('core', 'accounting'): 4,
    ('core', 'line'): 5,
    ('core', 'stats'): 6,
    ('core', 'alerts'): 6,
    ('core', 'mail'): 6,
    ('core', 'news'): 6,
    ('core', 'session'): 7,
    ('core', 'presentation'): 8,
    ('core', 'composition'): 9,
    ('ui', 'desktop'): 10,
    ('ui', 'mail'): 11,
    ('ui', 'info'): 11,
    ('ui', 'dialogs'): 11,
    ('ui', 'reports'): 11,
    ('ui', 'mainwindow'): 12,
    ('app', ''): 13,
}

# Known upward includes, each to be removed; an entry that no longer occurs must go from the list.
ALLOWED = set()


INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer(root, path):
    """The (library, area) of a file below src/, path relative to src/."""
    parts = path.relative_to(root).parts
    if parts[0] == 'app':
        return ('app', '')
    return (parts[0], parts[1])


def main():
    src = pathlib.Path(sys.argv[1]) / 'src'
    roots = {'core': [src / 'core'], 'ui': [src / 'ui', src / 'core'], 'app': [src / 'ui', src / 'core']}
    violations, seen = [], set()
    files = sorted(p for p in src.rglob('*') if p.suffix in ('.h', '.cpp'))
    for path in files:
        lib, area = own = layer(src, path)
        if own not in RANKS:
            violations.append(f'{path.relative_to(src)}: folder {lib}/{area} has no place in the layers')
            continue
        for header in INCLUDE.findall(path.read_text()):
            name = f'{path.relative_to(src)} -> {header}'
            if (path.parent / header).exists() and lib == 'app':
                continue  # the program's own headers, next to it
            found = [r for r in roots[lib] if (r / header).exists()]
            if not found:
                if lib == 'core' and (src / 'ui' / header).exists():
                    violations.append(f'{name}: the core includes a ui header')
                else:
                    violations.append(f'{name}: not found below the include roots')
                continue
            target = layer(src, found[0] / header)
            if target == own:
                continue
            if RANKS[target] < RANKS[own]:
                continue
            if name in ALLOWED:
                seen.add(name)
                continue
            if RANKS[target] == RANKS[own]:
                violations.append(f'{name}: {lib}/{area} and {target[0]}/{target[1]} are of the same rank')
            else:
                violations.append(f'{name}: {lib}/{area} includes the higher layer {target[0]}/{target[1]}')
    stale = sorted(ALLOWED - seen)
    for entry in violations:
        print('include order violated:', entry)
    for entry in stale:
        print('allowed upward include no longer occurs, remove it from ALLOWED:', entry)
    if violations or stale:
        return 1
    print(f'{len(files)} files follow the layers ({len(ALLOWED)} known upward includes allowed)')
    return 0


if __name__ == '__main__':
    sys.exit(main())
