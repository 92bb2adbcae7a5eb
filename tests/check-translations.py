#!/usr/bin/env python3
"""Checks the translations in res/lang beyond what msgfmt --check sees:

- every text of the template is in every language, for the English it was
  translated from, and no other;
- placeholders (%1 ... %9, {query}) and line breaks are those of the English;
- access keys: one where the English has one, none where it has none, and
  no two texts of one window or menu share a key unless their English ones
  do (the group is the id's first part: settings, profile, button ...);
- access keys typeable without AltGr on the language's usual layout;
- in the windows whose layout is fixed (settings, profile, about, common),
  no text much longer than its English: at most 1.6 times its length plus
  a few characters for short labels.

msgfmt --check runs first on every file (or on the FILE.po given).
Exits non-zero on any finding.
"""
import os
import re
import subprocess
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts"))
import importlib.machinery  # noqa: E402

strings = importlib.machinery.SourceFileLoader(
    "make_strings", os.path.join(HERE, "..", "scripts", "make-strings")).load_module()

FIXED_LAYOUT = {"settings", "profile", "about", "common"}
NOT_LAID_OUT = {"settings.title", "settings.language_automatic", "settings.language_name", "profile.custom"}


# Besides A to Z and 0 to 9, the letters each language's usual layout types
# without AltGr.
TYPEABLE = {"de": "äöüß", "es": "ñç", "fr": "éèçàù", "pt-BR": "ç", "tr": "çğıöşü", "ru": "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"}


def access_key(text):
    """The access key's letter (lower case), or None; "&&" is a plain "&"."""
    keys = re.findall(r"(?<!&)&([^&])", text.replace("&&", ""))
    return keys[0].lower() if len(keys) == 1 else ("<several>" if keys else None)


def visible(text):
    return re.sub(r"\(&.\)|&(?=.)", "", text)


def placeholders(text):
    return sorted(re.findall(r"%[1-9]|\{query\}|\{lang\}", text)), text.count("\n")


def check(tag, template, translated):
    problems = []
    english = {i: en for i, en, _, _, _ in template}
    entries = {i: (msgid, msgstr, flags) for i, msgid, msgstr, flags, _ in translated}
    for i in english:
        if i not in entries:
            problems.append(f"{i}: missing")
        elif entries[i][0] != english[i]:
            problems.append(f"{i}: translated from an older English text")
        elif not entries[i][1] or "fuzzy" in entries[i][2]:
            problems.append(f"{i}: not translated")
    problems += [f"{i}: not in the template" for i in entries if i not in english]
    texts = {i: entries[i][1] for i in english if i in entries and entries[i][1]}
    keys = {}
    for i, text in texts.items():
        en = english[i]
        if placeholders(text) != placeholders(en):
            problems.append(f"{i}: placeholders or line breaks differ from the English")
        key, en_key = access_key(text), access_key(en)
        if (key is None) != (en_key is None) or key == "<several>":
            problems.append(f"{i}: access key {key!r} where the English has {en_key!r}")
        group = i.split(".")[0]
        if key and key != "<several>":
            for other, other_key in keys.get(group, []):
                if other_key == key and access_key(english[other]) != en_key:
                    problems.append(f"{i}: access key {key!r} is also {other}'s")
            keys.setdefault(group, []).append((i, key))
        if key and key != "<several>" and not (key.isascii() and key.isalnum()) and key not in TYPEABLE.get(tag, ""):
            problems.append(f"{i}: access key {key!r} needs AltGr or another layout")
        if group in FIXED_LAYOUT and i not in NOT_LAID_OUT:
            if len(visible(text)) > 1.6 * len(visible(en)) + 4:
                problems.append(f"{i}: {len(visible(text))} characters for {len(visible(en))} in English")
    return [f"{tag}.po: {p}" for p in problems]


def main():
    lang = strings.LANG_DIR
    problems = []
    files = sys.argv[1:] or [os.path.join(lang, n) for n in sorted(os.listdir(lang)) if n.endswith((".po", ".pot"))]
    for path in files:
        result = subprocess.run(["msgfmt", "--check", "-o", os.devnull, path], capture_output=True, text=True)
        if result.returncode != 0:
            problems.append(f"{os.path.basename(path)}: msgfmt --check: {result.stderr.strip()}")
    template = strings.template(program_only=False)
    for path in (f for f in files if f.endswith(".po")):
        problems += check(os.path.basename(path)[:-3], template, strings.read_po(path))
    for p in problems:
        print(p)
    print(f"translations: {'ok' if not problems else str(len(problems)) + ' problems'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
