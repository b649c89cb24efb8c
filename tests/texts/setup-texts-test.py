#!/usr/bin/env python3
"""The setup's texts in every language: each file holds exactly the names English holds, each
once and for its own language only, with the same $ variables and ${...} names as English (the
setup fills them in; a translation may put them in another order). Names that start with "^"
replace a page or button text of the setup program's own for one language and are its alone. makensis -WX fails the build
on a name a language lacks; this catches a variable lost or mistyped in a translation, which
makensis takes for plain text."""
import collections
import pathlib
import re
import sys

LANGSTRING = re.compile(r'^LangString\s+(\^?\w+)\s+\$\{(LANG_\w+)\}\s+"(.*)"\s*$')
# $VAR, $R0, ${DEFINE}, $(LANGSTRING), $\r and $$: everything the setup replaces in a text. A
# name is made of ASCII letters, digits and "_" only, as NSIS reads it: "$INSTDIR에" is $INSTDIR.
VARIABLE = re.compile(r'\$(\{[^}]*\}|\([^)]*\)|\\.|\$|[A-Za-z0-9_]+)')


def read(path):
    texts, languages, problems = {}, set(), []
    for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
        if not line.startswith('LangString'):
            continue
        match = LANGSTRING.match(line)
        if match is None:
            problems.append(f'{path.name}:{number}: not one LangString with a quoted text')
            continue
        name, language, text = match.groups()
        languages.add(language)
        if name.startswith('^'):
            continue
        if name in texts:
            problems.append(f'{path.name}:{number}: {name} twice')
        texts[name] = collections.Counter(VARIABLE.findall(text))
    if len(languages) != 1:
        problems.append(f'{path.name}: texts for {sorted(languages)}, not for one language')
    return texts, problems


def main(folder):
    files = sorted(pathlib.Path(folder).glob('*.nsh'))
    english, problems = read(pathlib.Path(folder) / 'en.nsh')
    if len(files) != 10 or not english:
        problems.append(f'{len(files)} language files, {len(english)} English texts')
    for path in files:
        texts, found = read(path)
        problems += found
        for name in sorted(set(english) | set(texts)):
            if name not in texts:
                problems.append(f'{path.name}: {name} missing')
            elif name not in english:
                problems.append(f'{path.name}: {name} is no English text')
            elif texts[name] != english[name]:
                problems.append(f'{path.name}: {name} has {dict(texts[name])}, English '
                                f'{dict(english[name])}')
    print('\n'.join(problems) or f'{len(files)} languages, {len(english)} texts each: consistent')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
