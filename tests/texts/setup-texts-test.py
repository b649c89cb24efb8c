#!/usr/bin/env python3
"""The setup's texts: every language file holds English's texts, each with the same $ variables
and ${...} names (a translation may reorder them), all for one language. makensis -WX already
fails the build on a text a language lacks; a variable lost or mistyped it takes for plain text.
Names that start with "^" replace a text of the setup program's own and are one language's."""
import collections, pathlib, re, sys

LANGSTRING = re.compile(r'^LangString\s+(\^?\w+)\s+\$\{(LANG_\w+)\}\s+"(.*)"\s*$', re.M)
# $VAR, $R0, ${DEFINE}, $(TEXT), $\r, $$; a name is ASCII letters, digits and "_", as NSIS reads
# it: "$INSTDIR에" is $INSTDIR.
VARIABLE = re.compile(r'\$(\{[^}]*\}|\([^)]*\)|\\.|\$|[A-Za-z0-9_]+)')


def texts(path):
    found = LANGSTRING.findall(path.read_text(encoding='utf-8'))
    languages = {language for _, language, _ in found}
    own = [(name, collections.Counter(VARIABLE.findall(text)))
           for name, _, text in found if not name.startswith('^')]
    return dict(own), len(own) - len(dict(own)), languages


def main(folder):
    english, _, _ = texts(pathlib.Path(folder) / 'en.nsh')
    problems = []
    for path in sorted(pathlib.Path(folder).glob('*.nsh')):
        found, twice, languages = texts(path)
        if twice or len(languages) != 1:
            problems.append(f'{path.name}: {twice} texts twice, texts for {sorted(languages)}')
        for name in sorted(set(english) | set(found)):
            if found.get(name) != english.get(name):
                problems.append(f'{path.name}: {name} has {dict(found.get(name, {}))}, '
                                f'English {dict(english.get(name, {}))}')
    print('\n'.join(problems) or f'{len(english)} texts alike in every language')
    return 1 if problems or len(english) < 7 else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
